#include "on_screen.h"

#include "core/window_placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>

namespace tavrin {

namespace {

void keepInside(QWidget& window, QPoint wanted, const QWidget* reference) {
    const QScreen* screen = reference ? reference->screen() : QGuiApplication::screenAt(wanted);
    if (!screen) screen = QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : QRect();
    window.move(placedWithin(wanted, window.frameGeometry().size(), room));
}

// A window not shown yet takes its final size only when it is shown (word-wrapped texts lay out
// then): the place is checked again at that moment, once.
class PlaceWhenShown final : public QObject {
  public:
    PlaceWhenShown(QWidget& window, const QWidget* reference)
        : QObject(&window), reference_(reference) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            auto* window = static_cast<QWidget*>(watched);
            keepInside(*window, window->pos(), reference_.data());
            window->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

  private:
    QPointer<const QWidget> reference_;
};

} // namespace

void moveOnScreen(QWidget& window, QPoint wanted, const QWidget* reference) {
    keepInside(window, wanted, reference);
    if (!window.isVisible()) window.installEventFilter(new PlaceWhenShown(window, reference));
}

} // namespace tavrin
