// The message window: a text its caller puts into its label (the command about to run), shown
// without waiting, owned by the main window, closed by its button.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace tavrin {

class frmMsg : public QDialog {
    Q_OBJECT
  public:
    explicit frmMsg(QWidget* owner);

    void setMessage(const QString& text);
    QString message() const;

  public slots:
    void CancelButton_Click();

  private:
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* CancelButton = nullptr;
};

// Shows the text in a message window owned by `owner`, without waiting.
frmMsg* showMessageWindow(QWidget* owner, const QString& text);

} // namespace tavrin
