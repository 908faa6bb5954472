#include "startup_dialogs.h"

#include "link/board_link.h"
#include "tools/logic/port_choice.h"
#include "tools/widgets/frm_device_select.h"
#include "tools/widgets/frm_option.h"

namespace tavrin {

bool showPortChoice(Session& session, OperatorUi& ui, SettingsStore& settings, BoardLink& link,
                    QWidget* parent) {
    PortChoice choice(session, ui, settings, link);
    frmOption window(choice, parent);
    return window.exec() == QDialog::Accepted;
}

void StartupDialogs::detectBoard() {
    link_.DetectProgrammer();
    link_.ClosePort();
}

void StartupDialogs::choosePort() {
    showPortChoice(s_, ui_, settings_, link_, parent_);
}

std::optional<QString> StartupDialogs::askDevice(const QStringList& names, int currentIndex) {
    return frmDeviceSelect::ask(names, currentIndex, parent_);
}

} // namespace tavrin
