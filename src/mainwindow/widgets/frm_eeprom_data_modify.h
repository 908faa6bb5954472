// The EEPROM editor: the part's data EEPROM as a grid of 16 bytes a row, and the selected byte
// in decimal, hexadecimal and as eight bits. Edits stay in the session's working copy until OK
// writes them into the PC buffer; Cancel and the close box drop them. Every decision is
// EepromEditor's; the window shows it and forwards the person's input.
#pragma once

#include "mainwindow/logic/eeprom_editor.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace tavrin {

class SettingsStore;
struct Session;

class frmEepromDataModify : public QDialog {
    Q_OBJECT
  public:
    // Only for a part with data EEPROM (hasEditableEeprom). workFile: where "temp.txt" goes.
    frmEepromDataModify(Session& session, SettingsStore& settings, const QString& workFile,
                        QWidget* owner);

    void done(int result) override;

  private:
    void EE_Display();
    void MSFGrid1_Click(int row, int column);
    void Text_modify_dec_Change(const QString& text);
    void Text_modify_hex_Change(const QString& text);
    void ChkBin_Click();
    void OKButton_Click();

    // After an edit: the other editors, the byte's cell and its row's characters.
    void showEdited(bool decimalBox, bool hexBox, bool bitBoxes);
    void showBits(std::uint8_t b);
    void placeOnScreen();

    EepromEditor editor_;
    SettingsStore& settings_;
    QString workFile_;
    QTableWidget* MSFGrid1 = nullptr;
    QLineEdit* Text_modify_dec = nullptr;
    QLineEdit* Text_modify_hex = nullptr;
    QLineEdit* Text_modify_asc = nullptr;
    std::array<QCheckBox*, 8> ChkBin{};
    QLabel* panel1_ = nullptr;
    QLabel* panel3_ = nullptr;
};

} // namespace tavrin
