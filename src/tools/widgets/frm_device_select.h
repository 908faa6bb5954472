// The device choice for a HEX file given on the command line, when the command line names no
// listed part: the person picks the part the file is for, or cancels and the file is not loaded.
#pragma once

#include <QDialog>

#include <optional>

class QComboBox;
class QPushButton;

namespace tavrin {

class frmDeviceSelect : public QDialog {
    Q_OBJECT
  public:
    // names: the device list; currentIndex: the entry selected in the main window's list.
    frmDeviceSelect(const QStringList& names, int currentIndex, QWidget* parent = nullptr);

    // Shows the window modally; the chosen name, or nothing when cancelled.
    static std::optional<QString> ask(const QStringList& names, int currentIndex,
                                      QWidget* parent = nullptr);

    QString chosenName() const { return StartupDeviceName; }
    QComboBox* deviceList() const { return Combo_device; }
    QPushButton* okButton() const { return OKButton; }
    QPushButton* cancelButton() const { return CancelButton; }

  public slots:
    void OKButton_Click();
    void CancelButton_Click();

  private:
    QString StartupDeviceName;
    QComboBox* Combo_device = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
};

} // namespace tavrin
