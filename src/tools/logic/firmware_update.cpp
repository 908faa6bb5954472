#include "firmware_update.h"

#include "firmware_update_view.h"
#include "update_records.h"

#include "core/clock.h"
#include "core/operator_ui.h"
#include "core/port_setting.h"
#include "core/serial_port.h"
#include "core/session.h"
#include "core/settings_store.h"
#include "link/board_link.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace tavrin {

namespace {

const QString kWindowTitle = QStringLiteral("ファームウエアアップデート");
const QString kBlank = QStringLiteral("\u3000");
const QString kBoxBreak = QStringLiteral("\r\n");

const QString kPortNotSet = QStringLiteral("ポート番号を設定してください。");
const QString kPortNotOpened = QStringLiteral("通信ポートをオープンできませんでした。");
const QString kVersionRead = QStringLiteral("ファームウエアバージョンをリードしました。");
const QString kVersionTimeout = QStringLiteral(
    "　　***　ファームウエアアップデート　コミュニケーション失敗。　***　　　　　　");
const QString kNoFile = QStringLiteral("アップデートファイルがロードされていません。");
const QString kUpdating = QStringLiteral("アップデート中です。電源は絶対に切らないでください。");
const QString kCompleted = QStringLiteral("アップデート完了。  ");
const QString kCompletedBox =
    QStringLiteral("　　　 ファームウエアアップデートが完了しました。    　　　　　　　");
const QString kEntryFailed = QStringLiteral("***　アップデートエントリー失敗　***");
const QString kEntryFailedBox =
    QStringLiteral("　　　***　アップデートエントリー失敗　***　　　　　　");
const QString kFailed = QStringLiteral("***　アップデート失敗　***");
const QString kFailedBox = QStringLiteral("　　　***　アップデート失敗　***　　　　　　");

const QString kGuidance =
    QStringLiteral("アップデートファイルを指定してください。\n"
                   "アップデートファイルには、QZ-WRT400用と、QZ-WRT400A用の２種類あります。\n"
                   "ご使用中のモジュールの型番は、[Version Read]テキストボックス内に\n"
                   "バージョンと一緒にモジュール型番が表示されます。\n"
                   "\n"
                   "アップデート中は、ＰＣの他の操作を控えることをお勧めします。\n");
const QString kFailureText =
    QStringLiteral("途中でファームウエアアップデートが失敗しました。\n"
                   "アップデートが正常に終了できなかったので、アップデート作業を"
                   "再開できない確立が高いです。"
                   "このような場合は、通常の書き込みを行なう必要があります。\n");
const QString kErrorData = QStringLiteral("　　　　　　　error data = 0x");
// The window stays open after a failure, so the person reads what to do next.
const QString kStillInBootLoader = QStringLiteral("ライターはブートローダーのまま停止しています。"
                                                  "もう一度アップデートを実行してください。");

const QString kSpeed = QStringLiteral("57600");
const char* const kSpeedKey = "Speed";
const char* const kChosenPortKey = "Com";
const char* const kFolderKey = "OPEN_DIR0";
const char* const kDebugFile = "debug_update.txt";

constexpr int kVersionLimitMs = 1000;
constexpr int kEntryLimitMs = 5000;
constexpr int kAckLimitMs = 2000;
constexpr int kRecordPauseMs = 10;
// A wait wakes at least this often to let window events run.
constexpr int kEventSliceMs = 50;
// Window events run at least this often, also while every acknowledge is already in when it is
// looked for: a whole image takes over a minute, and a window that ran no events for that long
// would look hung and could not be repainted.
constexpr std::int64_t kPumpIntervalUs = 10000;

QString hexNoZeros(unsigned v) {
    return QString::number(v, 16).toUpper();
}

} // namespace

FirmwareUpdate::FirmwareUpdate(Session& session, OperatorUi& ui, SettingsStore& settings,
                               BoardLink& mainLink, SerialPort& port, Clock& clock, QString dataDir)
    : s_(session), ui_(ui), settings_(settings), mainLink_(mainLink), port_(port), clock_(clock),
      dataDir_(std::move(dataDir)) {}

QString FirmwareUpdate::applicationTitle() const {
    return QString::fromLatin1(kSettingsApplication);
}

FirmwareUpdate::Start FirmwareUpdate::load() {
    fileName_.clear();
    // The window starts on the main link's port, and at the one speed the board runs.
    const QString port =
        s_.link.ComPortName.isEmpty() ? savedPortName(settings_) : s_.link.ComPortName;
    return {port, {kSpeed}, kSpeed, kGuidance};
}

void FirmwareUpdate::Combo_ComPort_Click(const QString& text) {
    settings_.setValue(QLatin1String(kChosenPortKey), text);
}

void FirmwareUpdate::Combo_speed_Click(const QString& text) {
    settings_.setValue(QLatin1String(kSpeedKey), text);
}

void FirmwareUpdate::box(const QString& title, const QString& text) {
    ui_.messageBox(MessageIcon::Information, MessageButtons::Ok, title, text);
}

void FirmwareUpdate::portNumberBox() {
    box(applicationTitle(), kPortNotSet);
}

bool FirmwareUpdate::Com_Initialize() {
    const QString portText = view_->portText().trimmed();
    if (portText.isEmpty()) {
        portNumberBox();
        return false;
    }
    // The board has one line: the main link lets go of it first.
    if (mainLink_.channel().port().isOpen()) mainLink_.ClosePort();
    if (port_.isOpen()) port_.close();
    const QString speed = view_->speedText();
    if (speed == QLatin1String(" 9600"))
        baud_ = 9600;
    else if (speed == QLatin1String("19200"))
        baud_ = 19200;
    else if (speed == QLatin1String("57600"))
        baud_ = 57600;
    port_.setBaudRate(baud_);
    port_.setPortName(portText);
    return true;
}

bool FirmwareUpdate::openPort() {
    if (port_.open().ok()) return true;
    view_->showStatus(kPortNotOpened);
    return false;
}

bool FirmwareUpdate::waitForBytes(qint64 count, int limitMs) {
    const std::int64_t startUs = clock_.nowUs();
    const std::int64_t limitUs = std::int64_t(limitMs) * 1000;
    for (;;) {
        if (!port_.isOpen() || port_.status().error == PortError::Lost) return false;
        const bool arrived = port_.bytesWaiting() >= count;
        if (!arrived || clock_.nowUs() - lastPumpUs_ >= kPumpIntervalUs) {
            ui_.pumpEvents();
            lastPumpUs_ = clock_.nowUs();
        }
        if (arrived) return true;
        const std::int64_t elapsedUs = clock_.nowUs() - startUs;
        if (elapsedUs > limitUs) return false;
        const std::int64_t leftMs = (limitUs - elapsedUs) / 1000 + 1;
        port_.waitForTotal(count, int(std::min<std::int64_t>(leftMs, kEventSliceMs)));
    }
}

void FirmwareUpdate::takeReply() {
    lastReply_ = port_.readAll();
}

void FirmwareUpdate::CmdVersion_Click() {
    if (busy_) return;
    if (!Com_Initialize() || !openPort()) return;
    // The wait lets window events run: a second read, a file choice, the update or closing the
    // window would take the line (or the port) from under it.
    busy_ = true;
    view_->setVersionEnabled(false);
    view_->setChoicesEnabled(false);
    view_->setUpdateEnabled(false);
    port_.discardInput();
    port_.write(QByteArray(1, char(bootloader::Query)));
    const bool answered = waitForBytes(bootloader::VersionReplyBytes, kVersionLimitMs);
    busy_ = false;
    view_->setVersionEnabled(true);
    view_->setChoicesEnabled(true);
    view_->setUpdateEnabled(!fileName_.isEmpty());
    if (!answered) {
        if (port_.status().error == PortError::Lost) {
            view_->showStatus(kPortNotOpened);
            return;
        }
        box(applicationTitle(), kVersionTimeout + kBoxBreak + kBlank);
        return;
    }
    takeReply();
    view_->showIdentification(
        QString::fromLatin1(lastReply_.left(bootloader::IdentificationChars)));
    view_->showStatus(kVersionRead);
}

void FirmwareUpdate::CmdOpen_Click() {
    if (busy_) return;
    if (view_->portText().trimmed().isEmpty()) {
        portNumberBox();
        return;
    }
    const QString path = view_->chooseFile(
        QStringLiteral("アップデータを開く"), settings_.value(QLatin1String(kFolderKey), QString()),
        QStringLiteral("アップデータファイル (*.HEX *.hex);;全てのファイル (*)"),
        QStringLiteral("HEX"));
    if (path.isEmpty()) return;
    fileName_ = path;
    view_->showFileName(path);
    const QFileInfo info(path);
    settings_.setValue(QLatin1String(kFolderKey), QDir::toNativeSeparators(info.absolutePath()));
    view_->showStatus(QStringLiteral("ファイル名：") + info.fileName() +
                      QStringLiteral("を指定しました。"));
    view_->setUpdateEnabled(true);
}

void FirmwareUpdate::CmdUpdate_Click() {
    // The transfer lets window events run while it waits for the board.
    if (busy_) return;
    outcome_ = Outcome::None;
    if (view_->portText().trimmed().isEmpty()) {
        portNumberBox();
        outcome_ = Outcome::PortNotSet;
        return;
    }
    view_->showStatus(QString());
    if (fileName_.isEmpty()) {
        view_->showStatus(kNoFile);
        outcome_ = Outcome::NoFile;
        return;
    }
    // The whole file is checked while the board still runs its firmware: once it has entered its
    // boot loader, a file that cannot be sent to the end leaves it without one.
    const FirmwareFileResult file = readFirmwareFile(fileName_);
    if (const auto* error = std::get_if<FirmwareFileError>(&file)) {
        const QString text = firmwareFileErrorText(*error);
        view_->showStatus(text);
        ui_.messageBox(MessageIcon::Critical, MessageButtons::Ok, kWindowTitle, text);
        outcome_ = Outcome::FileRefused;
        return;
    }

    view_->setUpdateEnabled(false);
    if (!Com_Initialize() || !openPort()) {
        outcome_ = Outcome::PortNotOpened;
        view_->setUpdateEnabled(true);
        return;
    }
    view_->setVersionEnabled(false);
    view_->setChoicesEnabled(false);
    view_->showStatus(kUpdating);
    busy_ = true;
    outcome_ = File_Load(std::get<FirmwareWords>(file));
    busy_ = false;
    view_->setUpdateEnabled(true);
    view_->setVersionEnabled(true);
    view_->setChoicesEnabled(true);
    if (outcome_ == Outcome::Completed) view_->closeWindow();
}

FirmwareUpdate::Outcome FirmwareUpdate::File_Load(const FirmwareWords& words) {
    const std::int64_t startUs = clock_.nowUs();
    lastReply_.clear();

    port_.discardInput();
    port_.write(QByteArray(1, char(bootloader::Entry)));
    if (!waitForBytes(1, kEntryLimitMs)) {
        if (port_.status().error == PortError::Lost) {
            view_->showStatus(kFailed);
            showFailureText();
            return Outcome::PortFailed;
        }
        view_->showStatus(kEntryFailed);
        box(kWindowTitle, kEntryFailedBox + kBoxBreak + kBlank);
        return Outcome::NoEntry;
    }
    takeReply();
    if (std::uint8_t(lastReply_[0]) != bootloader::Entry) {
        view_->showStatus(kFailed);
        showFailureText();
        return Outcome::WrongEntry;
    }

    // Kept empty, where the person's other work files are.
    if (!dataDir_.isEmpty()) {
        QFile debug(QDir(dataDir_).filePath(QLatin1String(kDebugFile)));
        if (debug.open(QIODevice::WriteOnly | QIODevice::Truncate)) debug.close();
    }

    for (const UpdateStep& step : updateSteps(words)) {
        if (step.send) {
            const Outcome failed = sendRecord(step.address, step.value);
            if (failed != Outcome::None) return failed;
        }
        msgProgressBar(QStringLiteral("on"), 0, bootloader::ProgressMax, int(step.address));
    }

    port_.discardInput();
    port_.write(endRecord());
    const std::int64_t seconds = (clock_.nowUs() - startUs) / 1000000;
    view_->showStatus(kCompleted + QString::number(seconds) + QStringLiteral("sec"));
    box(kWindowTitle, kCompletedBox + kBoxBreak + kBlank);
    return Outcome::Completed;
}

FirmwareUpdate::Outcome FirmwareUpdate::sendRecord(std::uint32_t address, std::uint16_t value) {
    const QByteArray record = wordRecord(address, value);
    port_.discardInput();
    if (!port_.write(record)) {
        view_->showStatus(kFailed);
        showFailureText();
        return Outcome::PortFailed;
    }
    clock_.sleepMs(kRecordPauseMs);
    if (!waitForBytes(1, kAckLimitMs)) {
        if (port_.status().error == PortError::Lost) {
            view_->showStatus(kFailed);
            showFailureText();
            return Outcome::PortFailed;
        }
        view_->showStatus(kFailed + QStringLiteral(" Address=0x") + hexNoZeros(address) +
                          QStringLiteral(" Data=0x") + hexNoZeros(value >> 8) +
                          hexNoZeros(value & 0xFF));
        box(kWindowTitle, kFailedBox + kBoxBreak + kBlank);
        msgProgressBar(QStringLiteral("off"), 0, bootloader::ProgressMax, 0);
        lastReply_.clear();
        showFailureText();
        return Outcome::AckTimeout;
    }
    takeReply();
    if (std::uint8_t(lastReply_[0]) != recordSum(record)) {
        view_->showStatus(kFailed);
        showFailureText();
        return Outcome::AckMismatch;
    }
    return Outcome::None;
}

void FirmwareUpdate::showFailureText() {
    QString text = kFailureText;
    if (!lastReply_.isEmpty())
        text += kErrorData + hexNoZeros(std::uint8_t(lastReply_[0])) + QLatin1Char('\n');
    view_->showGuidance(text + QLatin1Char('\n') + kStillInBootLoader, true);
}

void FirmwareUpdate::msgProgressBar(const QString& mode, int minimum, int maximum, int position) {
    const auto state = progressBarFor(mode, minimum, maximum, position);
    if (!state) return;
    if (state->setRange) view_->setProgressRange(state->minimum, state->maximum);
    view_->setProgressValue(state->value);
    if (!state->setRange) ui_.pumpEvents();
}

void FirmwareUpdate::Form_Unload() {
    if (port_.isOpen()) port_.close();
    // The main link finds the board again, now with its new firmware (or finds it missing).
    if (s_.link.ComPortName.isEmpty()) return;
    s_.link.ProgrammerDetected = false;
    mainLink_.DetectProgrammer();
    mainLink_.ClosePort();
}

} // namespace tavrin
