// The serial-number settings window: shows SerialNumberSettings and forwards each edit to it. It
// is modeless and keeps only its position ("SPSLeft"/"SPSTop"). Beside its enable box it says
// that the values are not written into the chips.
#pragma once

#include "tools/logic/serial_number_settings.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tavrin {

class SettingsStore;

class frmSerialPgmSetting : public QDialog {
    Q_OBJECT
  public:
    struct Hooks {
        std::function<bool()> hexFileLoaded;
        // Loads the current HEX file again without asking for it.
        std::function<void()> reloadHexFile;
    };

    frmSerialPgmSetting(SettingsStore& settings, Hooks hooks, QWidget* owner);

    const SerialNumberSettings& model() const { return model_; }

  public slots:
    void ChkSettingEnable_Click();
    void Command1_Click();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showModel();
    void savePosition();

    SettingsStore& settings_;
    Hooks hooks_;
    SerialNumberSettings model_;
    bool positionSaved_ = false;
    QLineEdit* TxtStartAddress = nullptr;
    QLabel* TxtEndAddress = nullptr;
    QComboBox* TxtWriteByteNumber = nullptr;
    QRadioButton* Option_Dec = nullptr;
    QRadioButton* Option_Hex = nullptr;
    QLineEdit* TxtDataStart = nullptr;
    QLineEdit* TxtDataIncrement = nullptr;
    QLineEdit* TxtDataFinsh = nullptr;
    QCheckBox* ChkSettingEnable = nullptr;
    QLabel* LabelNotWritten = nullptr;
    QLabel* TxtWrotDataHex = nullptr;
    QLabel* TxtWrotDataDec = nullptr;
    QLineEdit* TxtFinshCount = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* OKButton = nullptr;
};

} // namespace tavrin
