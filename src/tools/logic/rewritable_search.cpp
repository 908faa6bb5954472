#include "rewritable_search.h"

#include "core/program_type.h"
#include "core/session.h"
#include "core/utilities.h"

namespace tavrin {

SearchCodes prepareSearchCodes(const std::array<QString, 4>& inputs) {
    SearchCodes codes;
    for (std::size_t n = 0; n < inputs.size(); ++n) {
        codes.texts[n] = inputs[n].toUpper();
        codes.values[n] =
            inputs[n].isEmpty() ? 0 : parseNumber(QStringLiteral("0x0") + codes.texts[n]);
    }
    return codes;
}

WordMarks markWord(const SearchCodes& codes, std::uint16_t word) {
    WordMarks marks;
    for (std::size_t n = 0; n < codes.texts.size(); ++n) {
        if (codes.texts[n].isEmpty()) continue;
        const std::int32_t c = codes.values[n];
        if ((c & word) != c) continue;
        marks.matches += codes.texts[n] + QLatin1Char(' ');
        marks.message = QStringLiteral("changeable ");
        marks.matched = true;
    }
    return marks;
}

QString searchResultText(int matchCount) {
    return QString::number(matchCount) + QStringLiteral("個所のコード置き換えが可能です。");
}

bool searchOffered(const DeviceRecord& device) {
    return coreGroupOf(device.ProgramType) != CoreGroup::Bit12;
}

} // namespace tavrin
