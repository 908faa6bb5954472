// The main window's status line. It keeps the width the window gives it, so a text longer than
// the line is drawn cut with "…" at the end of each line that does not fit, and the whole text
// is the line's tooltip: a message cut at the window's edge can still be read in full.
#pragma once

#include <QLabel>

namespace tavrin {

class StatusLine : public QLabel {
    Q_OBJECT
  public:
    explicit StatusLine(QWidget* parent = nullptr);

    // Shows a status text; texts go through here so that the tooltip follows them.
    void showText(const QString& text);
    // True when the text as shown now does not fit the line.
    bool textIsCut() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    QRect textRect() const;
    void refreshToolTip();
};

} // namespace tavrin
