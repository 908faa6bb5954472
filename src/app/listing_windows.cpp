#include "listing_windows.h"

#include "mainwindow/widgets/frm_main.h"
#include "mainwindow/widgets/on_screen.h"
#include "tools/widgets/frm_mem_status.h"
#include "tools/widgets/frm_serch.h"

#include <QAction>
#include <QLineEdit>
#include <QPointer>

#include <memory>

namespace tavrin {

namespace {

// Opens the window once; a second request brings the open one forward. A new window is placed
// over the main window's upper left, below its menu bar, so it covers no other window's place.
template <typename Make> void openOrRaise(QPointer<QWidget>& slot, frmMain& owner, Make make) {
    if (slot) {
        slot->raise();
        slot->activateWindow();
        return;
    }
    QWidget* w = make();
    w->setAttribute(Qt::WA_DeleteOnClose);
    const QRect main = owner.frameGeometry();
    moveOnScreen(*w, main.topLeft() + QPoint(60, 80), &owner);
    slot = w;
    w->show();
}

QAction* enable(frmMain& window, const char* name) {
    auto* item = window.findChild<QAction*>(QLatin1String(name));
    if (!item) return nullptr;
    item->setProperty("pendingFeature", false);
    item->setEnabled(true);
    return item;
}

} // namespace

void wireListingWindows(frmMain& window, Session& session, SettingsStore& settings,
                        const QString& dataDir) {
    auto search = std::make_shared<QPointer<QWidget>>();
    auto picture = std::make_shared<QPointer<QWidget>>();
    frmMain* owner = &window;
    if (QAction* item = enable(window, "mnuSerch"))
        QObject::connect(item, &QAction::triggered, owner, [=, &session, &settings] {
            openOrRaise(*search, *owner, [&] {
                return new frmSerch(
                    session, *owner, settings, dataDir,
                    [owner] {
                        auto* id = owner->findChild<QLineEdit*>(QStringLiteral("Text_ID"));
                        return id ? id->text() : QString();
                    },
                    owner);
            });
        });
    if (QAction* item = enable(window, "nmuMemStatus"))
        QObject::connect(item, &QAction::triggered, owner, [=, &session] {
            openOrRaise(*picture, *owner, [&] { return new frmMemStatus(session, owner); });
        });
}

} // namespace tavrin
