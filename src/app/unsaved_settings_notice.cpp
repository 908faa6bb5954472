#include "unsaved_settings_notice.h"

#include "core/operator_ui.h"

#include <QTimer>

namespace tavrin {

void UnsavedSettingsNotice::changeNotKept() {
    if (pending_ || ending_) return;
    pending_ = true;
    QTimer::singleShot(0, this, [this] {
        if (pending_) tell();
    });
}

void UnsavedSettingsNotice::tellAtEnd() {
    tell();
}

void UnsavedSettingsNotice::tell() {
    pending_ = false;
    ui_.messageBox(MessageIcon::Exclamation, MessageButtons::Ok, QStringLiteral("設定ファイル"),
                   QStringLiteral("設定を保存できませんでした。前回の設定が残ります。"));
}

} // namespace tavrin
