#include "dump_view_text.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace tavrin {

DumpViewText::DumpViewText(QPlainTextEdit* view) : view_(view) {
    // Any other change of the text (a line appended, the view emptied) makes the next show()
    // replace it.
    changed_ = QObject::connect(view->document(), &QTextDocument::contentsChanged, view,
                                [this] { current_ = false; });
}

DumpViewText::~DumpViewText() {
    QObject::disconnect(changed_);
}

void DumpViewText::show(const DumpSource& source, const std::function<QString()>& make) {
    if (!view_) return;
    if (current_ && source.layout == shownLayout_ &&
        std::ranges::equal(source.bytes, shownBytes_)) {
        view_->setTextCursor(QTextCursor(view_->document()));
        view_->verticalScrollBar()->setValue(view_->verticalScrollBar()->minimum());
        view_->horizontalScrollBar()->setValue(view_->horizontalScrollBar()->minimum());
        return;
    }
    view_->setPlainText(make());
    shownLayout_ = source.layout;
    shownBytes_.assign(source.bytes.begin(), source.bytes.end());
    current_ = true;
}

} // namespace tavrin
