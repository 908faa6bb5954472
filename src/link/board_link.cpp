#include "board_link.h"

#include "core/clock.h"
#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "firmware_label.h"
#include "firmware_version.h"
#include "port_messages.h"

namespace tavrin {

namespace {
const QString BoardPrefix = QStringLiteral("QZ-WRT");
constexpr int IdentificationBytes = 18; // 16 characters of identification and two more
constexpr int IdentificationChars = 16;
constexpr int DetectLimitMs = 3000;
constexpr int CheckFirstLimitMs = 4000;
constexpr int CheckSecondLimitMs = 3000;
constexpr int DetectRepeatMs = 200;
constexpr int ResyncSettleMs = 100;
constexpr int CloseSettleMs = 200;

const QString ChoosePortHint =
    QStringLiteral("メニューバーの [オプション] から [ＣＯＭポート設定] を選択してください。");
const QString CR = QStringLiteral("\r");
const QString CRLF = QStringLiteral("\r\n");

QString foundStatus(const QString& portName) {
    return QStringLiteral("ライターを ") + portName + QStringLiteral("に検出しました。");
}

const QString UnreadableVersionStatus =
    QStringLiteral("ファームウエアバージョンを読み出せませんでした。") + CR + ChoosePortHint;
} // namespace

BoardLink::BoardLink(Session& session, OperatorUi& ui, SerialPort& port, Clock& clock,
                     PageOpener openPage)
    : session_(session), ui_(ui), channel_(session, ui, port, clock),
      openPage_(std::move(openPage)) {}

QString BoardLink::portName() const {
    return session_.link.ComPortName;
}

bool BoardLink::openForIdentification() {
    SerialPort& port = channel_.port();
    // A port that went away since the last operation is reported as such, not reopened.
    if (channel_.lossFoundNow()) return false;
    if (!port.isOpen()) {
        const PortStatus status = channel_.openPort();
        if (!status.ok()) {
            session_.link.ProgrammerDetected = false;
            reportOpenFailure(ui_, portName(), status);
            return false;
        }
        // The port forgets its lines when it closes: the choice made at detection holds for
        // every later opening.
        port.setRequestToSend(rtsAtDetection_.value_or(!session_.app.ComMode1Checked));
    }
    return true;
}

BoardLink::Answer BoardLink::awaitIdentification(int limitMs) {
    switch (channel_.waitForBytes(IdentificationBytes, WaitLimit::total(limitMs))) {
    case WaitResult::Complete:
        return Answer::Identified;
    case WaitResult::TimedOut:
        return Answer::TimedOut;
    case WaitResult::PortGone:
        break;
    }
    return Answer::PortGone;
}

void BoardLink::DetectProgrammer() {
    auto& link = session_.link;
    if (link.ProgrammerDetected) return;
    if (link.ComPortName.isEmpty()) {
        ui_.messageBox(MessageIcon::Information, MessageButtons::Ok, QString(),
                       QStringLiteral("通信ポートを選んでください。") + CR + ChoosePortHint);
        return;
    }
    ShowStatusMessage(ui_, QStringLiteral("ライターを探しています..... "));
    rtsAtDetection_ = !session_.app.ComMode1Checked;
    const bool wasOpen = channel_.port().isOpen();
    if (!openForIdentification()) return;
    if (wasOpen) channel_.port().setRequestToSend(*rtsAtDetection_);

    // Only the answer to the second request is read: the first wakes a board that was busy.
    channel_.discardInput();
    channel_.sendLetterNoPause(char(wire::Identify));
    channel_.pauseMs(DetectRepeatMs);
    channel_.pumpEvents();
    channel_.discardInput();
    channel_.sendLetterNoPause(char(wire::Identify));

    switch (awaitIdentification(DetectLimitMs)) {
    case Answer::PortGone:
        return;
    case Answer::TimedOut:
        link.ProgrammerDetected = false;
        ShowStatusMessage(ui_, QStringLiteral("ライターを検出できませんでした。") + ChoosePortHint);
        showFirmwareLabelNoBoard(ui_, portName());
        return;
    case Answer::Identified:
        break;
    }

    if (!takeIdentification()) {
        showFirmwareLabelNoBoard(ui_, portName());
        return;
    }
    link.ProgrammerDetected = true;
    ShowStatusMessage(ui_, foundStatus(portName()));
    link.FirmwareId = link.FirmwareReply;
    // A version that is not a number counts as unknown, so the update message names what the
    // board did say.
    link.FirmwareVersion = firmwareVersionOf(link.FirmwareId).value_or(0.0f);
    showFirmwareLabelBoard(ui_, portName(), link.FirmwareReply);
    ui_.setControlEnabled(Control::mnuFirmwareUpdate, true);
    CheckFirmwareVersion();
}

bool BoardLink::attemptIdentification(int limitMs, Answer& answer) {
    channel_.discardInput();
    if (!openForIdentification()) return false;
    // Three resync letters end whatever the board was doing; anything it says to them is
    // thrown away before the request.
    for (int i = 0; i < 3; ++i)
        channel_.sendLetter(char(wire::Resync));
    channel_.pauseMs(ResyncSettleMs);
    channel_.discardInput();
    channel_.sendLetter(char(wire::Identify));
    answer = awaitIdentification(limitMs);
    return true;
}

bool BoardLink::takeIdentification() {
    auto& link = session_.link;
    const auto& reply = channel_.takeReply();
    link.FirmwareReply =
        QString::fromLatin1(reinterpret_cast<const char*>(reply.data()), qsizetype(reply.size()))
            .left(IdentificationChars);
    if (link.FirmwareReply.startsWith(BoardPrefix)) return true;
    link.ProgrammerDetected = false;
    ShowStatusMessage(ui_, UnreadableVersionStatus);
    return false;
}

void BoardLink::CheckProgrammer(QString& result) {
    auto& link = session_.link;
    Answer answer = Answer::TimedOut;
    if (!attemptIdentification(CheckFirstLimitMs, answer)) {
        result = result::NG;
        return;
    }
    if (answer == Answer::TimedOut) {
        ShowStatusMessage(ui_, QStringLiteral("*"));
        channel_.pumpEvents();
        result = QString();
        if (!attemptIdentification(CheckSecondLimitMs, answer)) {
            result = result::NG;
            return;
        }
        if (answer == Answer::TimedOut) {
            link.ProgrammerDetected = false;
            ShowStatusMessage(
                ui_,
                QStringLiteral("redライターを検出できませんでした。") + CRLF + ChoosePortHint +
                    CRLF +
                    QStringLiteral("ライターのＢＵＳＹ ＬＥＤが消灯しないときは、ライターの電源を"
                                   "再投入してください。"));
            result = result::NG;
            return;
        }
    }
    if (answer == Answer::PortGone) {
        result = result::NG;
        return;
    }

    if (!takeIdentification()) {
        setFirmwareLabelFound(ui_, false);
        result = result::NG;
        return;
    }
    link.ProgrammerDetected = true;
    ui_.setControlText(Control::Label_FirmwareVersion,
                       firmwareLabelCaption(portName(), link.FirmwareReply));
    ShowStatusMessage(ui_, foundStatus(portName()));
    setFirmwareLabelFound(ui_, true);
    result = result::OK;
    link.FirmwareVersion = firmwareVersionOf(link.FirmwareReply).value_or(0.0f);
    CheckFirmwareVersion();
}

void BoardLink::CheckFirmwareVersion() {
    auto& link = session_.link;
    if (link.FirmwareVersion >= RecommendedFirmwareVersion) return;
    const QString url = link.UpdatePageUrl.isEmpty() ? DefaultUpdatePageUrl : link.UpdatePageUrl;
    const MessageAnswer answer =
        ui_.messageBox(MessageIcon::Critical, MessageButtons::OkCancel, FirmwareUpdateTitle,
                       firmwareUpdateMessage(link.FirmwareId, url));
    if (answer != MessageAnswer::Ok) return;
    link.UpdatePageUrl = url;
    if (openPage_) lastPageOpened_ = openPage_(url);
}

void BoardLink::ClosePort() {
    ui_.setBusy(false);
    channel_.discardInput();
    channel_.discardOutput();
    channel_.pumpEvents();
    channel_.pauseMs(CloseSettleMs);
    channel_.pumpEvents();
    channel_.pauseMs(CloseSettleMs);
    channel_.pumpEvents();
    if (channel_.port().isOpen()) channel_.port().close();
}

} // namespace tavrin
