// The index picture: the board's sockets with their pin assignments, shown on request.
#pragma once

#include <QDialog>

class QPushButton;

namespace tavrin {

class frmIndex : public QDialog {
    Q_OBJECT
  public:
    explicit frmIndex(QWidget* owner);

    // The texts the picture carries (tests look for them).
    static QStringList labelTexts();

  public slots:
    void Command1_Click() { close(); }

  private:
    QPushButton* Command1 = nullptr;
};

} // namespace tavrin
