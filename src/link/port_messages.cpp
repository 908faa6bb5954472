#include "port_messages.h"

#include "core/operator_ui.h"
#include "core/status.h"

#include <QFileInfo>

namespace tavrin {

namespace {
const QString CR = QStringLiteral("\r");
const QString CRLF = QStringLiteral("\r\n");
const QString InfoTitle = QStringLiteral("ｲﾝﾌｫﾒｰｼｮﾝ");

void reportInUse(OperatorUi& ui) {
    ShowStatusMessage(
        ui, QStringLiteral("他のソフトウエアが、すでに通信ポート使用しています。") + CR +
                QStringLiteral("通信ポートを使用しているソフトウエアを終了してください。"));
    ui.messageBox(
        MessageIcon::Critical, MessageButtons::Ok, QString(),
        QStringLiteral("他のソフトウエアが、すでに通信ポート使用しています。　　　　") + CRLF +
            QStringLiteral("通信ポートを使用しているソフトウエアを終了してください。　　　　"));
}

void reportNoPermission(OperatorUi& ui, const QString& portName) {
    const QString path = deviceFilePath(portName);
    const QString group = deviceGroupOf(portName);
    const QString user = qEnvironmentVariable("USER", QStringLiteral("ユーザー名"));
    const QString first =
        QStringLiteral("通信ポート ") + path + QStringLiteral(" を開く権限がありません。");
    QString remedy;
    QString command;
    if (group.isEmpty()) {
        remedy = QStringLiteral(
            "ポートのデバイスファイルを持つグループ（多くは dialout）に参加してから、"
            "ログインし直してください。");
        command = QStringLiteral("sudo usermod -aG dialout ") + user;
    } else {
        remedy = QStringLiteral("グループ「") + group +
                 QStringLiteral("」に参加してから、ログインし直してください。");
        command = QStringLiteral("sudo usermod -aG ") + group + QLatin1Char(' ') + user;
    }
    ShowStatusMessage(ui, first + CR + remedy);
    ui.messageBox(MessageIcon::Critical, MessageButtons::Ok, InfoTitle,
                  first + CRLF + remedy + CRLF + QStringLiteral("（例： ") + command +
                      QStringLiteral(" ）") + CRLF);
}

void reportCannotOpen(OperatorUi& ui, const QString& portName, const PortStatus& status) {
    QString detail = portName;
    if (!status.detail.isEmpty()) detail += QStringLiteral(" : ") + status.detail;
    ShowStatusMessage(ui, QStringLiteral("通信ポートが使用できませんでした。") + CR, detail);
    ui.messageBox(
        MessageIcon::Critical, MessageButtons::Ok, InfoTitle,
        QStringLiteral("通信ポートが使用できませんでした。　他のシリアルポートを選択して下さい。"
                       "　　　") +
            CRLF);
}
} // namespace

QString deviceFilePath(const QString& portName) {
    if (portName.startsWith(QLatin1Char('/')) || portName.startsWith(QLatin1String("./")) ||
        portName.startsWith(QLatin1String("../")))
        return portName;
#ifdef Q_OS_WIN
    return portName;
#else
    return QStringLiteral("/dev/") + portName;
#endif
}

QString deviceGroupOf(const QString& portName) {
    const QFileInfo info(deviceFilePath(portName));
    return info.exists() ? info.group() : QString();
}

void reportOpenFailure(OperatorUi& ui, const QString& portName, const PortStatus& status) {
    switch (status.error) {
    case PortError::InUse:
        reportInUse(ui);
        return;
    case PortError::PermissionDenied:
        reportNoPermission(ui, portName);
        return;
    default:
        reportCannotOpen(ui, portName, status);
        return;
    }
}

QString portLostText(const QString& portName) {
    return QStringLiteral("通信ポート ") + portName + QStringLiteral(" との接続が切れました。");
}

void reportPortLost(OperatorUi& ui, const QString& portName, const PortStatus& status) {
    const QString text = portLostText(portName) + CRLF +
                         QStringLiteral("ライターの接続を確認してから、もう一度実行してください。");
    ShowStatusMessage(ui, QStringLiteral("red") + text);
    ui.messageBox(MessageIcon::Critical, MessageButtons::Ok, InfoTitle,
                  text + (status.detail.isEmpty() ? QString() : CRLF + status.detail) + CRLF);
}

} // namespace tavrin
