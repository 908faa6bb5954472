// The text of a buffer view (program memory or EEPROM dump), made and replaced only when what it
// is made from changed: every operation redraws the views when it starts and most when they end,
// and making and laying out a large part's program view anew (thousands of lines) costs more than
// a short operation's own work on the link.
#pragma once

#include "core/buffer_views.h"

#include <QMetaObject>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <vector>

class QPlainTextEdit;

namespace tavrin {

class DumpViewText {
  public:
    explicit DumpViewText(QPlainTextEdit* view);
    ~DumpViewText();
    DumpViewText(const DumpViewText&) = delete;
    DumpViewText& operator=(const DumpViewText&) = delete;

    // Shows make()'s text, made from source, unless the view still holds the text made from an
    // equal source. Either way the view ends as a fresh text leaves it: caret at the start,
    // scrolled to the top left.
    void show(const DumpSource& source, const std::function<QString()>& make);

  private:
    QPointer<QPlainTextEdit> view_;
    QMetaObject::Connection changed_;
    int shownLayout_ = 0;
    std::vector<std::uint8_t> shownBytes_;
    bool current_ = false;
};

} // namespace tavrin
