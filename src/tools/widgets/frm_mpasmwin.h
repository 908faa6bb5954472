// The assembler settings window: the tool's executable, its options, the file to open after a
// failed run and how, and two options. Modal, owned by the main window; every field forwards its
// edits to AssemblerSettings, which decides what closing stores.
#pragma once

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tavrin {

class AssemblerSettings;

class frmMPASMWIN : public QDialog {
    Q_OBJECT
  public:
    // Asks for the tool file (title, initial folder, filter); empty = cancelled.
    using FileChooser =
        std::function<QString(const QString& title, const QString& folder, const QString& filter)>;
    // Tells the person the chosen file is not a tool.
    using RefusalNotice = std::function<void(const QString& title, const QString& text)>;

    explicit frmMPASMWIN(AssemblerSettings& model, QWidget* parent = nullptr);

    void setFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }
    void setRefusalNotice(RefusalNotice notice) { notice_ = std::move(notice); }

  public slots:
    void cmdOpenAsm_Click();
    void OKButton_Click();
    void CancelButton_Click();

  private:
    void Form_Load();
    QString chooseFile(const QString& title, const QString& folder, const QString& filter);

    AssemblerSettings& model_;
    FileChooser chooser_;
    RefusalNotice notice_;
    QLineEdit* txtAsmPath = nullptr;
    QPushButton* cmdOpenAsm = nullptr;
    QLineEdit* txtAsmOption = nullptr;
    QLineEdit* Text_After_File = nullptr;
    QRadioButton* Option_Notopad = nullptr;
    QRadioButton* Option_Editer = nullptr;
    QCheckBox* Chk_asm_option_Display = nullptr;
    QCheckBox* Check_ccsc_device_info = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
};

} // namespace tavrin
