#include "id_line_edit.h"

#include "mainwindow/logic/id_entry.h"

#include <QKeyEvent>

namespace tavrin {

IdLineEdit::IdLineEdit(QWidget* parent) : QLineEdit(parent) {
    // Pasted or dropped text keeps only its hex digits.
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QString digits = hexDigitsOnly(text);
        if (digits == text) return;
        setText(digits);
        setModified(true);
    });
}

void IdLineEdit::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    const bool editingKey = event->key() == Qt::Key_Backspace ||
                            (typed.size() == 1 && typed[0].isPrint() &&
                             !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)));
    if (!editingKey) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QChar key = event->key() == Qt::Key_Backspace ? QChar(8) : typed[0];
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const int length = hasSelectedText() ? int(selectedText().size()) : 0;
    const IdBoxEdit edit = filterIdKey(text(), start, length, key);
    if (edit.text != text() && edit.text.size() <= maxLength()) {
        setText(edit.text);
        setCursorPosition(edit.cursor);
        setModified(true);
    }
    event->accept();
}

void IdLineEdit::mousePressEvent(QMouseEvent* event) {
    QLineEdit::mousePressEvent(event);
    emit clicked();
}

void IdLineEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    emit focusLeft();
}

} // namespace tavrin
