#include "calibration_entry.h"
#include "operation_settings.h"

#include "core/operator_ui.h"
#include "core/program_type.h"
#include "core/session.h"
#include "core/utilities.h"

#include <QRegularExpression>

namespace tavrin {

namespace {
constexpr std::uint8_t MovlwHigh = 0x0C; // 12C5: the word is MOVLW value
constexpr std::uint8_t RetlwHigh = 0x34; // 12C6, 12F6: the word is RETLW value
constexpr std::size_t Config1High = 14;  // ConfigIdImage byte of configuration word 1, high

// The instruction that carries the value: MOVLW on "12C5", RETLW on the others.
std::uint8_t calibrationInstructionHigh(const QString& type) {
    return type == QLatin1String("12C5") ? MovlwHigh : RetlwHigh;
}
} // namespace

bool isCalibratedType(const QString& t) {
    return t == QLatin1String("12C5") || t == QLatin1String("12C6") || t == QLatin1String("12F6");
}

bool hasBandgapBits(const QString& t) {
    return t == QLatin1String("12F6");
}

CalibrationCheck checkTypedCalibration(const QString& programType, const QString& valueText,
                                       const QString& bandgapText) {
    static const QRegularExpression hexByte(QStringLiteral("^[0-9A-Fa-f]{1,2}$"));
    static const QRegularExpression bandgap(QStringLiteral("^[0-3]$"));
    CalibrationCheck check;
    const QString value = valueText.trimmed();
    if (!hexByte.match(value).hasMatch()) {
        check.problem =
            QStringLiteral("キャリブレーションデータは、２桁の16進数で入力してください。");
        return check;
    }
    TypedCalibration typed;
    typed.value = std::uint8_t(value.toUInt(nullptr, 16));
    if (hasBandgapBits(programType)) {
        const QString bits = bandgapText.trimmed();
        if (!bandgap.match(bits).hasMatch()) {
            check.problem = QStringLiteral("BGデータは、０～３の数値で入力してください。");
            return check;
        }
        typed.bandgap = std::uint8_t(bits.toUInt());
    }
    check.typed = typed;
    return check;
}

QString calibrationWordText(std::optional<std::uint16_t> word) {
    return word ? hex4(*word) : QStringLiteral("----");
}

std::uint16_t placeCalibration(Session& s, OperatorUi& ui, bool keepChip,
                               const TypedCalibration& typed) {
    RunState& run = s.run;
    const QString& type = s.device.ProgramType;
    auto& config = s.buffer.ConfigIdImage;
    if (keepChip) {
        ui.setControlText(Control::Text_Calib_Data, hex2(run.CalibWordLow));
    } else {
        run.CalibWordHigh = calibrationInstructionHigh(type);
        run.CalibWordLow = typed.value;
    }
    const std::size_t last = 2 * std::size_t(s.device.ProgramWordCount) - 2;
    s.buffer.ProgramImage[last] = run.CalibWordHigh;
    s.buffer.ProgramImage[last + 1] = run.CalibWordLow;
    if (hasBandgapBits(type)) {
        const std::uint8_t bits = keepChip ? run.BandgapBits : typed.bandgap;
        config[Config1High] = std::uint8_t(bits * 16) | (config[Config1High] & 0x0F);
        if (!keepChip) {
            s.buffer.MergedConfigIdImage[Config1High] = config[Config1High];
            run.BandgapBits = bits;
        }
        s.device.ConfigValue[1] = config[Config1High] * 256 + config[Config1High + 1];
        if (keepChip) ui.setControlText(Control::Text_BG, QString::number(run.BandgapBits));
    }
    return std::uint16_t(run.CalibWordHigh * 256 + run.CalibWordLow);
}

ExpectedCalibration calibrationAProgramRunWrites(const QString& programType,
                                                 const OperationSettings& settings) {
    if (!isCalibratedType(programType)) return {};
    ExpectedCalibration expected{.fromImage = false, .word = std::nullopt};
    if (settings.keepChipCalibration) return expected;
    const CalibrationCheck check =
        checkTypedCalibration(programType, settings.calibrationText, settings.bandgapText);
    if (check.typed)
        expected.word =
            std::uint16_t(calibrationInstructionHigh(programType) * 256 + check.typed->value);
    return expected;
}

std::optional<std::uint16_t> calibrationWordReadBack(const Session& s) {
    const auto& r = s.link.ReceiveBuffer;
    const std::size_t words = std::size_t(s.device.ProgramWordCount);
    if (words == 0) return std::nullopt;
    // The 12-bit stream carries the configuration word first and the four ID words last.
    const bool stream12 = coreGroupOf(s.device.ProgramType) == CoreGroup::Bit12;
    const std::size_t replyWords = stream12 ? words + 5 : words;
    const std::size_t at = stream12 ? 2 * words : 2 * words - 2;
    if (r.size() < 2 * replyWords + 1 || r[2 * replyWords] != '@') return std::nullopt;
    return std::uint16_t(r[at] * 256 + r[at + 1]);
}

} // namespace tavrin
