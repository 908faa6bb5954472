#include "frm_board.h"

#include "core/settings_store.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPainter>

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
    {"Shape_28P", "28pin", QRect(100, 44, 36, 14 * kPinPitch), 14},
    {"Shape_28AP", "PIC16C55/57", QRect(170, 44, 50, 14 * kPinPitch), 14},
    {"Shape_18P", "18pin", QRect(250, 44, 36, 9 * kPinPitch), 9},
    {"Shape_8P", "8pin", QRect(250, 170, 36, 4 * kPinPitch), 4},
};

// The three pins of jumper JP2 and the two ways of bridging them.
const QPoint kJumperPins[] = {QPoint(116, 222), QPoint(136, 222), QPoint(156, 222)};
const QRect kJumper12(108, 214, 36, 16);
const QRect kJumper23(128, 214, 36, 16);

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
    setFixedSize(310, 270);
    for (const Socket& s : kSockets)
        markFrame(this, s.mark, s.outline.adjusted(-8, -6, 8, 6), QColor(0xE0, 0x20, 0x20));
    markFrame(this, "Shape_12", kJumper12, QColor(0x20, 0x60, 0xE0));
    markFrame(this, "Shape_23", kJumper23, QColor(0x20, 0x60, 0xE0));
    auto* either = new QLabel(QStringLiteral("どちらでも可"), this);
    either->setObjectName(QStringLiteral("Label_sel"));
    either->setGeometry(100, 236, 100, 18);
    either->hide();
    auto* index = new QLabel(QStringLiteral("Ｉｎｄｅｘ は上向き"), this);
    index->setObjectName(QStringLiteral("Label2"));
    index->setGeometry(8, 6, 200, 18);
    bool okLeft = false, okTop = false;
    const int left =
        settings_.value(QStringLiteral("BoardLeft"), QStringLiteral("0")).toDouble(&okLeft);
    const int top =
        settings_.value(QStringLiteral("BoardTop"), QStringLiteral("0")).toDouble(&okTop);
    move(okLeft ? left : 0, okTop ? top : 0);
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
        p.drawText(QRect(s.outline.left() - 10, s.outline.bottom() + 2, s.outline.width() + 20, 14),
                   Qt::AlignHCenter, QString::fromLatin1(s.caption));
    }
    p.setBrush(QColor(0xC8, 0xA8, 0x40));
    for (const QPoint& pin : kJumperPins)
        p.drawEllipse(pin, 3, 3);
    p.drawText(QRect(60, 214, 44, 16), Qt::AlignVCenter, QStringLiteral("JP2"));
    p.drawText(QRect(110, 196, 60, 14), Qt::AlignLeft, QStringLiteral("1  2  3"));
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
