// The text of a buffer view (program memory or EEPROM dump), replaced only when it differs from
// what the view shows: every operation redraws the views when it starts and most when they end,
// and laying out a large part's program view anew (thousands of lines) costs more than a short
// operation's own work on the link, while making the text and comparing it costs little.
#pragma once

#include <QMetaObject>
#include <QPointer>
#include <QString>

class QPlainTextEdit;

namespace tavrin {

class DumpViewText {
  public:
    explicit DumpViewText(QPlainTextEdit* view);
    ~DumpViewText();
    DumpViewText(const DumpViewText&) = delete;
    DumpViewText& operator=(const DumpViewText&) = delete;

    // Shows text. Either way the view ends as a fresh text leaves it: caret at the start,
    // scrolled to the top left.
    void show(const QString& text);

  private:
    QPointer<QPlainTextEdit> view_;
    QMetaObject::Connection changed_;
    QString shown_;
    bool current_ = false;
};

} // namespace tavrin
