// The ID box: takes hexadecimal digits only (lower case raised), reports a click and the moment
// it loses the focus.
#pragma once

#include <QLineEdit>

namespace tavrin {

class IdLineEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit IdLineEdit(QWidget* parent = nullptr);

  signals:
    void clicked();
    void focusLeft();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

} // namespace tavrin
