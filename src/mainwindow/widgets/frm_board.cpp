#include "frm_board.h"

#include "on_screen.h"

#include "core/settings_store.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QScreen>

#include <algorithm>

namespace tavrin {

namespace {

struct Socket {
    const char* mark;
    const char* caption;
    QRect outline; // the socket body; pins are drawn along its long sides
    int pinsPerSide;
};

constexpr int kPinPitch = 10;

const Socket kSockets[] = {
    {"Shape_40P", "40pin", QRect(24, 44, 44, 20 * kPinPitch), 20},
    {"Shape_28P", "28pin", QRect(104, 44, 36, 14 * kPinPitch), 14},
    {"Shape_28AP", "PIC16C55/57", QRect(190, 44, 50, 14 * kPinPitch), 14},
    {"Shape_18P", "18pin", QRect(294, 44, 36, 9 * kPinPitch), 9},
    {"Shape_8P", "8pin", QRect(294, 176, 36, 4 * kPinPitch), 4},
};

// Room for a socket's caption below it: wider than the socket, so a part name fits.
constexpr int kCaptionWidth = 110;
constexpr int kCaptionHeight = 16;

// The three pins of jumper JP2 and the two ways of bridging them, clear of the 40-pin socket.
const QPoint kJumperPins[] = {QPoint(150, 240), QPoint(170, 240), QPoint(190, 240)};
const QRect kJumper12(142, 232, 36, 16);
const QRect kJumper23(162, 232, 36, 16);
const QRect kJumperName(104, 232, 34, 16);

// The gap between the main window and the board window placed beside it.
constexpr int kBesideGap = 8;

QFrame* markFrame(QWidget* parent, const char* name, const QRect& rect, const QColor& color) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setGeometry(rect);
    frame->setStyleSheet(
        QStringLiteral("QFrame#%1 { border: 3px solid %2; background: transparent; }")
            .arg(QString::fromLatin1(name), color.name()));
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    frame->hide();
    return frame;
}

} // namespace

frmBoard::frmBoard(SettingsStore& settings, QWidget* owner)
    : QWidget(owner, Qt::Tool), settings_(settings) {
    setObjectName(QStringLiteral("frmBoard"));
    setWindowTitle(QStringLiteral("ＰＩＣマイコン情報"));
    setFixedSize(360, 300);
    for (const Socket& s : kSockets)
        markFrame(this, s.mark, s.outline.adjusted(-8, -6, 8, 6), QColor(0xE0, 0x20, 0x20));
    markFrame(this, "Shape_12", kJumper12, QColor(0x20, 0x60, 0xE0));
    markFrame(this, "Shape_23", kJumper23, QColor(0x20, 0x60, 0xE0));
    auto* either = new QLabel(QStringLiteral("どちらでも可"), this);
    either->setObjectName(QStringLiteral("Label_sel"));
    either->setGeometry(130, 258, 120, 20);
    either->hide();
    auto* index = new QLabel(QStringLiteral("Ｉｎｄｅｘ は上向き"), this);
    index->setObjectName(QStringLiteral("Label2"));
    index->setGeometry(8, 6, 240, 20);
    bool okLeft = false, okTop = false;
    const int left = settings_.value(QStringLiteral("BoardLeft"), QString()).toDouble(&okLeft);
    const int top = settings_.value(QStringLiteral("BoardTop"), QString()).toDouble(&okTop);
    // With no position saved (the first start) the window goes beside the main window when it is
    // first shown, where it covers neither the menus nor the buttons.
    placeBesideOwner_ = !okLeft || !okTop;
    // A place saved on a screen that has gone would leave the window out of reach.
    if (!placeBesideOwner_) moveOnScreen(*this, QPoint(left, top), parentWidget());
}

void frmBoard::showEvent(QShowEvent* event) {
    if (placeBesideOwner_) {
        placeBesideOwner_ = false;
        placeBesideOwner();
    }
    QWidget::showEvent(event);
}

void frmBoard::placeBesideOwner() {
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (!owner) return;
    const QRect main = owner->frameGeometry();
    const QSize size = frameGeometry().size();
    const QScreen* screen = owner->screen();
    const QRect room =
        screen ? screen->availableGeometry() : main.united(QRect(main.topRight(), size));
    QPoint at(main.right() + 1 + kBesideGap, main.top());
    if (at.x() + size.width() > room.right() + 1) at.setX(main.left() - kBesideGap - size.width());
    if (at.x() < room.left()) at.setX(room.right() + 1 - size.width());
    at.setX(std::max(at.x(), room.left()));
    at.setY(
        std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() + 1 - size.height())));
    move(at);
}

void frmBoard::setMarkVisible(const QString& objectName, bool visible) {
    if (auto* w = findChild<QWidget*>(objectName)) w->setVisible(visible);
}

bool frmBoard::markVisible(const QString& objectName) const {
    auto* w = findChild<QWidget*>(objectName);
    return w && !w->isHidden();
}

void frmBoard::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), QColor(0x2E, 0x6B, 0x3A)); // the board
    p.setPen(QPen(QColor(0xF0, 0xF0, 0xF0), 1));
    for (const Socket& s : kSockets) {
        p.setBrush(QColor(0x30, 0x30, 0x30));
        p.drawRect(s.outline);
        p.setBrush(QColor(0xC8, 0xA8, 0x40));
        for (int i = 0; i < s.pinsPerSide; ++i) {
            const int y = s.outline.top() + i * kPinPitch + kPinPitch / 2;
            p.drawEllipse(QPoint(s.outline.left() + 6, y), 2, 2);
            p.drawEllipse(QPoint(s.outline.right() - 6, y), 2, 2);
        }
        // Notch at pin 1.
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRect(s.outline.center().x() - 5, s.outline.top() - 5, 10, 10), 180 * 16,
                  180 * 16);
        p.drawText(QRect(s.outline.center().x() - kCaptionWidth / 2, s.outline.bottom() + 9,
                         kCaptionWidth, kCaptionHeight),
                   Qt::AlignHCenter, QString::fromLatin1(s.caption));
    }
    p.setBrush(QColor(0xC8, 0xA8, 0x40));
    for (const QPoint& pin : kJumperPins)
        p.drawEllipse(pin, 3, 3);
    p.drawText(kJumperName, Qt::AlignVCenter, QStringLiteral("JP2"));
    for (int i = 0; i < 3; ++i)
        p.drawText(QRect(kJumperPins[i].x() - 8, kJumperPins[i].y() - 24, 16, 16), Qt::AlignHCenter,
                   QString::number(i + 1));
}

void frmBoard::savePosition() {
    settings_.setValue(QStringLiteral("BoardLeft"), QString::number(x()));
    settings_.setValue(QStringLiteral("BoardTop"), QString::number(y()));
}

void frmBoard::closeEvent(QCloseEvent* event) {
    savePosition();
    event->accept();
    emit closedByPerson();
}

void frmBoard::hideEvent(QHideEvent* event) {
    savePosition();
    QWidget::hideEvent(event);
}

} // namespace tavrin
