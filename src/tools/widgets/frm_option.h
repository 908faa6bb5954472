// The port choice window: the machine's serial ports in a list that also takes a typed path (a
// pseudo-terminal is never listed), OK to open, test and keep the port, CANCEL to leave.
#pragma once

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

namespace tavrin {

class PortChoice;

class frmOption : public QDialog {
    Q_OBJECT
  public:
    using PortLister = std::function<QStringList()>;

    explicit frmOption(PortChoice& choice, QWidget* parent = nullptr);
    // The ports offered come from lister (tests give their own).
    frmOption(PortChoice& choice, PortLister lister, QWidget* parent = nullptr);

    QComboBox* portList() const { return Option_Com; }
    QPushButton* okButton() const { return Command_Ok; }
    QPushButton* cancelButton() const { return Command1; }
    QLabel* statusLabel() const { return Label_Status; }

  public slots:
    void Command_Ok_Click();
    void Command1_Click();
    // Lists the ports again, keeping what is typed.
    void refreshPorts();

  protected:
    void reject() override;

  private:
    PortChoice& choice_;
    PortLister lister_;
    QComboBox* Option_Com = nullptr;
    QPushButton* Command_Ok = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command_Refresh = nullptr;
    QLabel* Label_Status = nullptr;
};

} // namespace tavrin
