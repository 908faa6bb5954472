#include "port_choice.h"

#include "core/operator_ui.h"
#include "core/port_setting.h"
#include "core/session.h"
#include "core/settings_store.h"
#include "core/status.h"
#include "link/board_link.h"

#include <QSerialPortInfo>

#include <algorithm>

namespace tavrin {

QStringList availableSerialPorts() {
    QStringList names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
#ifdef Q_OS_WIN
        names << info.portName();
#else
        names << info.systemLocation();
#endif
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

PortChoice::PortChoice(Session& session, OperatorUi& ui, SettingsStore& settings, BoardLink& link)
    : s_(session), ui_(ui), settings_(settings), link_(link) {}

QString PortChoice::load() {
    ShowStatusMessage(ui_, QString(), QString());
    if (s_.link.ComPortName.isEmpty()) s_.link.ComPortName = savedPortName(settings_);
    portBefore_ = s_.link.ComPortName;
    return s_.link.ComPortName;
}

PortChoice::Outcome PortChoice::choose(const QString& portName) {
    failureDetail_.clear();
    SerialPort& port = link_.channel().port();
    s_.link.ComPortName.clear();
    if (port.isOpen()) port.close();

    const QString name = portName.trimmed();
    if (name.isEmpty()) {
        reportFailure(name);
        return Outcome::Failed;
    }
    s_.link.ComPortName = name;
    const PortStatus opened = link_.channel().openPort();
    if (!opened.ok()) {
        failureDetail_ = opened.detail;
        s_.link.ComPortName.clear();
        if (port.isOpen()) port.close();
        reportFailure(name);
        return Outcome::Failed;
    }

    ShowStatusMessage(ui_, name + QStringLiteral("を選択しました。"), QString());
    savePortName(settings_, name);
    // A new port means a board not yet seen: look for it now, so the window's label says at
    // once whether the choice reaches one, and give the port back as every operation does.
    s_.link.ProgrammerDetected = false;
    ui_.setBusy(true);
    link_.DetectProgrammer();
    link_.ClosePort();
    return Outcome::Chosen;
}

void PortChoice::cancel() {
    if (!s_.link.ComPortName.isEmpty()) return;
    ShowStatusMessage(ui_, QStringLiteral("通信ポートを選択しませんでした。"), QString());
    // Leaving without a port would leave every operation and the board search without one
    // until the program starts again: the port in use before the window is kept.
    s_.link.ComPortName = portBefore_;
}

void PortChoice::reportFailure(const QString& name) {
    s_.link.ProgrammerDetected = false;
    const QString blank = QStringLiteral("\u3000");
    ui_.messageBox(MessageIcon::Critical, MessageButtons::Ok,
                   name + blank + QStringLiteral("エラー"),
                   blank.repeated(2) + name + blank + QStringLiteral("オープンに失敗しました。") +
                       blank.repeated(5) + QStringLiteral("\r\r") + blank.repeated(2) +
                       QStringLiteral("他のポート番号を指定してください。") + blank.repeated(5));
}

} // namespace tavrin
