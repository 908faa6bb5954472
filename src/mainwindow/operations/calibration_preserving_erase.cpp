#include "calibration_preserving_erase.h"

#include "core/buffer_views.h"
#include "core/clock.h"
#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "core/utilities.h"
#include "devices/common/module_context.h"
#include "link/board_link.h"
#include "steps/calibration_word.h"
#include "steps/config_area_keep.h"

#include <algorithm>

namespace tavrin {

namespace {

constexpr int StepPauseMs = 100;
constexpr std::uint8_t Retlw = 0x34;
constexpr std::size_t Config1High = 14; // ConfigAreaReply and ConfigIdImage: configuration word
constexpr std::size_t Config1Low = 15;
constexpr std::size_t IdBytes = 8; // the four ID words lead the configuration area

const QString BoxTitle = QStringLiteral("キャリブレーションデータ");

} // namespace

bool keepsCalibrationAcrossErase(const QString& programType) {
    return programType == QLatin1String("12F6");
}

std::optional<CalibrationPreservingErase> calibrationPreservingEraseFor(ModuleContext& env,
                                                                        Area area) {
    if (!keepsCalibrationAcrossErase(env.s.device.ProgramType)) return std::nullopt;
    if (area == Area::ChipErase)
        return CalibrationPreservingErase(env, CalibrationEraseForm::ChipErase);
    if (area == Area::ProgramErase)
        return CalibrationPreservingErase(env, CalibrationEraseForm::ProgramMemoryErase);
    return std::nullopt;
}

CalibrationPreservingErase::CalibrationPreservingErase(ModuleContext& env,
                                                       CalibrationEraseForm form)
    : env_(env), form_(form), settings_(env.currentSettings()) {}

bool CalibrationPreservingErase::accepted() {
    if (settings_.keepChipCalibration) return true;
    const CalibrationCheck check = checkTypedCalibration(
        env_.s.device.ProgramType, settings_.calibrationText, settings_.bandgapText);
    if (check.typed) {
        typed_ = *check.typed;
        return true;
    }
    ShowStatusMessage(env_.ui, QStringLiteral("red") + check.problem);
    env_.ui.messageBox(MessageIcon::Exclamation, MessageButtons::Ok, BoxTitle, check.problem);
    return false;
}

bool CalibrationPreservingErase::run(const std::function<bool()>& erase) {
    if (!save()) return false;
    const bool erased = erase();
    // Also after an erase that reported a failure: the chip may have been erased all the same,
    // and the values known now are the right ones to put back.
    putValuesIntoBuffer();
    const bool restored = restore();
    return erased && restored;
}

void CalibrationPreservingErase::pause() {
    env_.clock.sleepMs(StepPauseMs);
}

bool CalibrationPreservingErase::save() {
    Session& s = env_.s;
    OperatorUi& ui = env_.ui;
    BoardChannel& ch = env_.link.channel();
    QString& result = s.run.OperationResult;
    if (!settings_.keepChipCalibration) {
        // Words 0x2004-0x2006 go back as the PC buffer holds them.
        std::copy_n(s.buffer.ConfigIdImage.begin(), s.link.ConfigAreaReply.size(),
                    s.link.ConfigAreaReply.begin());
        return true;
    }
    const bool chipForm = form_ == CalibrationEraseForm::ChipErase;
    pause();
    result.clear();
    ReadCalibrationWord(ch, result);
    bool read = result == result::OK;
    if (read && chipForm) ui.setControlText(Control::Text_Calib_Data, hex2(s.run.CalibWordLow));
    if (read) {
        pause();
        result.clear();
        ReadBandgapBits(ch, result);
        read = result == result::OK;
        if (read && chipForm)
            ui.setControlText(Control::Text_BG, QString::number(s.run.BandgapBits));
    }
    if (read) return true;
    // Erasing now would leave the chip with whatever values an earlier read left behind: its
    // factory calibration would be gone for good.
    ui.messageBox(MessageIcon::Critical, MessageButtons::Ok, BoxTitle,
                  QStringLiteral("ＰＩＣ内部のキャリブレーションデータを読み出せませんでした。"
                                 "消去を中止しました。"));
    return false;
}

void CalibrationPreservingErase::putValuesIntoBuffer() {
    Session& s = env_.s;
    OperatorUi& ui = env_.ui;
    RunState& run = s.run;
    if (!settings_.keepChipCalibration) {
        run.CalibWordHigh = Retlw;
        run.CalibWordLow = typed_.value;
        run.BandgapBits = typed_.bandgap;
    }
    // A later program of the buffer writes the same band-gap bits.
    auto& image = s.buffer.ConfigIdImage;
    image[Config1High] = std::uint8_t(run.BandgapBits * 16) | (image[Config1High] & 0x0F);
    s.device.ConfigValue[1] = image[Config1High] * 256 + image[Config1Low];
    if (settings_.keepChipCalibration) {
        ui.setControlText(Control::Text_Calib_Data, hex2(run.CalibWordLow));
        ui.setControlText(Control::Text_BG, QString::number(run.BandgapBits));
    }
    ui.refreshViews(ViewIdConfig);
    ShowIdAndConfig(s, ui);
}

bool CalibrationPreservingErase::restore() {
    Session& s = env_.s;
    BoardChannel& ch = env_.link.channel();
    QString& result = s.run.OperationResult;
    const CalibrationSource source =
        settings_.keepChipCalibration ? CalibrationSource::Chip : CalibrationSource::Typed;

    pause();
    result.clear();
    WriteCalibrationWord(ch, result, source);
    const bool wordWritten = result == result::OK;

    // The ID words erased, the configuration word erased but for the band-gap bits.
    auto& area = s.link.ConfigAreaReply;
    for (std::size_t i = 0; i < IdBytes; i += 2) {
        area[i] = 0x3F;
        area[i + 1] = 0xFF;
    }
    area[Config1High] = std::uint8_t(s.run.BandgapBits * 16 + 0x0F);
    area[Config1Low] = 0xFF;
    pause();
    result.clear();
    WriteConfigAreaWords(ch, result, source);
    const bool areaWritten = result == result::OK;
    if (wordWritten && areaWritten) return true;

    // The chip may now be without its calibration: the values are all the person has left.
    if (result == result::OK) result = result::ER;
    env_.ui.messageBox(MessageIcon::Critical, MessageButtons::Ok, BoxTitle,
                       QStringLiteral("キャリブレーションデータを書き戻せませんでした。\r\n"
                                      "キャリブレーションデータ：") +
                           hex2(s.run.CalibWordLow) + QStringLiteral("　ＢＧ：") +
                           QString::number(s.run.BandgapBits));
    return false;
}

} // namespace tavrin
