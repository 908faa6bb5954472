#include "status_line.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QStringList>
#include <QStyle>

namespace tavrin {

StatusLine::StatusLine(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
}

void StatusLine::showText(const QString& text) {
    setText(text);
    refreshToolTip();
}

QRect StatusLine::textRect() const {
    const int m = margin();
    return contentsRect().adjusted(m, m, -m, -m);
}

bool StatusLine::textIsCut() const {
    if (text().isEmpty()) return false;
    const QRect room = textRect();
    const QFontMetrics metrics = fontMetrics();
    const QStringList lines = text().split(QLatin1Char('\n'));
    if (lines.size() * metrics.lineSpacing() > room.height() + metrics.leading()) return true;
    for (const QString& line : lines)
        if (metrics.horizontalAdvance(line) > room.width()) return true;
    return false;
}

void StatusLine::refreshToolTip() {
    const QString tip = textIsCut() ? text() : QString();
    if (toolTip() != tip) setToolTip(tip);
}

void StatusLine::paintEvent(QPaintEvent* event) {
    if (!textIsCut()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    const QRect room = textRect();
    QStringList lines = text().split(QLatin1Char('\n'));
    for (QString& line : lines)
        line = fontMetrics().elidedText(line, Qt::ElideRight, room.width());
    style()->drawItemText(&painter, room, QStyle::visualAlignment(layoutDirection(), alignment()),
                          palette(), isEnabled(), lines.join(QLatin1Char('\n')), foregroundRole());
}

void StatusLine::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    refreshToolTip();
}

void StatusLine::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) refreshToolTip();
}

} // namespace tavrin
