#include "tool_menus.h"

#include "core/operation_guard.h"
#include "core/session.h"
#include "mainwindow/widgets/frm_main.h"
#include "mainwindow/widgets/on_screen.h"
#include "tools/widgets/frm_index.h"
#include "tools/widgets/frm_serial_pgm_setting.h"

#include <QAction>
#include <QMenu>

namespace tavrin {

namespace {
QAction* menuItem(frmMain& window, const char* name) {
    return window.findChild<QAction*>(QLatin1String(name));
}
} // namespace

ToolMenus::ToolMenus(Session& session, frmMain& window, SettingsStore& settings)
    : session_(session), window_(window), settings_(settings) {}

ToolMenus::~ToolMenus() {
    if (serial_) serial_->close();
    delete serial_.data();
}

void ToolMenus::wire() {
    QAction* serial = menuItem(window_, "mnuSerialPgmSetting");
    if (serial) {
        // nmuI sets the revealed entry apart from the others; both stay hidden until then.
        if (auto* menu = qobject_cast<QMenu*>(serial->parent())) {
            QAction* line = new QAction(menu);
            line->setObjectName(QStringLiteral("nmuI"));
            line->setSeparator(true);
            line->setVisible(false);
            menu->insertAction(serial, line);
        }
        serial->setProperty("pendingFeature", false);
        serial->setEnabled(true);
        serial->setVisible(false);
        QObject::connect(serial, &QAction::triggered, &window_, [this] { showSerialSettings(); });
    }
    if (QAction* index = menuItem(window_, "nmuindex")) {
        index->setProperty("pendingFeature", false);
        index->setEnabled(true);
        QObject::connect(index, &QAction::triggered, &window_, [this] { showIndex(); });
    }
}

void ToolMenus::revealSerialSettings() {
    for (const char* name : {"mnuSerialPgmSetting", "nmuI"})
        if (QAction* item = menuItem(window_, name)) item->setVisible(true);
    showSerialSettings();
}

void ToolMenus::showSerialSettings() {
    if (serial_) {
        serial_->show();
        serial_->raise();
        serial_->activateWindow();
        return;
    }
    frmSerialPgmSetting::Hooks hooks;
    hooks.hexFileLoaded = [this] { return !session_.app.HexFilePath.isEmpty(); };
    hooks.reloadHexFile = [this] {
        session_.app.ReopenWithoutDialog = true;
        window_.mnuFileOpen_Click();
        session_.app.ReopenWithoutDialog = false;
    };
    serial_ = new frmSerialPgmSetting(settings_, std::move(hooks), &window_);
    // Every opening starts from the initial values.
    serial_->setAttribute(Qt::WA_DeleteOnClose);
    // A place kept from a screen that has gone, or beside a main window at the screen's edge,
    // would leave the window out of reach.
    moveOnScreen(*serial_, serial_->pos(), &window_);
    serial_->show();
}

void ToolMenus::showIndex() {
    if (refuseDuringOperation(session_, window_)) return;
    frmIndex index(&window_);
    index.exec();
}

} // namespace tavrin
