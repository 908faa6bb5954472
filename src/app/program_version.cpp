#include "program_version.h"

#include "core/settings_store.h"

namespace tavrin {

ProgramVersion programVersion() {
    return {TAVRIN_VERSION_MAJOR,
            TAVRIN_VERSION_MINOR,
            TAVRIN_VERSION_PATCH,
            QLatin1String(kSettingsApplication),
            QStringLiteral("Tavrin Writer"),
            QStringLiteral("PICマイコン ライター制御ソフトウエア"),
            QStringLiteral("12ビット、14ビット、16ビットコアのPICマイコンに書き込みます。")};
}

} // namespace tavrin
