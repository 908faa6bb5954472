// The main window's event handlers: each forwards to the logic of its command.
#include "frm_main.h"

#include "frm_board.h"
#include "id_line_edit.h"

#include "core/config_grids.h"
#include "core/operation_guard.h"
#include "core/status.h"
#include "mainwindow/logic/buffer_commands.h"
#include "mainwindow/logic/device_selection.h"
#include "mainwindow/logic/hex_file_commands.h"
#include "mainwindow/logic/id_entry.h"
#include "mainwindow/logic/menu_commands.h"
#include "mainwindow/logic/window_geometry.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTableWidget>
#include <QTabWidget>
#include <QThread>
#include <QUrl>

namespace tavrin {

void frmMain::selectDeviceByIndex(int index) {
    selectDeviceInList(index);
    Combo_device_Click();
}

void frmMain::Combo_device_Click() {
    if (refusedDuringOperation()) {
        selectDeviceInList(ctx_.deviceIndex);
        return;
    }
    SelectDevice(ctx_, Combo_device->currentText(), Combo_device->currentIndex());
}

void frmMain::mnuFileOpen_Click() {
    if (refusedDuringOperation()) return;
    OpenHexFile(ctx_);
}

void frmMain::mnuFileSave_Click() {
    if (refusedDuringOperation()) return;
    SaveHexFile(ctx_);
}

void frmMain::Cmd_save_Click() {
    hideChooser();
    mnuFileSave_Click();
}

void frmMain::mnuPcBufferMemoryClear_Click() {
    if (refusedDuringOperation()) return;
    FillPcBuffer(ctx_, BufferFill::Erased);
}

void frmMain::mnuPcBufferMemory_0_Click() {
    if (refusedDuringOperation()) return;
    FillPcBuffer(ctx_, BufferFill::Zero);
}

void frmMain::nmuHistryClear_Click() {
    if (refusedDuringOperation()) return;
    ClearFolderHistory(ctx_);
}

void frmMain::Text_ID_LostFocus() {
    if (refusedDuringOperation()) return;
    // Only what the person typed is stored: the box shows the low digits of the ID words, and
    // storing it unchanged would rewrite IDs loaded from a file.
    if (!Text_ID->isModified()) return;
    Text_ID->setText(StoreIdText(ctx_.s, Text_ID->text()));
}

void frmMain::Text_ID_Click() {
    ShowStatusMessage(*this, kIdHint, QString());
}

void frmMain::HFGrid_RowColChange(int word) {
    hideChooser();
    if (operationRunning(ctx_.s)) return;
    QTableWidget* grid = HFGrid[word - 1];
    const int row = grid->currentRow();
    if (grid->currentColumn() != 1 || row < 0) return;
    QTableWidgetItem* item = grid->item(row, 1);
    if (!item) return;
    const auto choice = configOptionChoice(ctx_.s, word, row);
    if (!choice) return;
    {
        const QSignalBlocker block(CmbInit);
        CmbInit->clear();
        CmbInit->addItems(choice->options);
        CmbInit->setCurrentIndex(choice->current);
    }
    chooserWord_ = word;
    chooserRow_ = row;
    // Offered also when no option matches the word, so the person can pick one.
    const QRect cell = grid->visualItemRect(item);
    const QPoint at = grid->viewport()->mapTo(centralWidget(), cell.topLeft());
    CmbInit->setGeometry(at.x() - 1, at.y() - 1, cell.width() + 1,
                         std::max(cell.height() + 2, CmbInit->sizeHint().height()));
    CmbInit->raise();
    CmbInit->show();
    const QTableWidgetItem* setting = grid->item(row, 0);
    if (setting) {
        if (const auto comment = settingComment(ctx_.s, setting->text()))
            ShowStatusMessage(*this, comment->first, comment->second);
    }
}

void frmMain::CmbInit_Click(int optionIndex) {
    if (refusedDuringOperation()) {
        hideChooser();
        return;
    }
    const int tab = SSTab_Config->currentIndex();
    const int row = chooserWord_ == tab + 1 ? chooserRow_ : -1;
    ChooseGridOption(ctx_, tab, row, row >= 0 ? optionIndex : -1);
    hideChooser();
}

void frmMain::Chk_12F_CalibData_Select_Click() {
    pumpEvents();
    const CalibrationFields f =
        calibrationFieldsFor(ctx_.s.device.ProgramType, Chk_12F_CalibData_Select->isChecked());
    setControlEnabled(Control::Text_Calib_Data, f.valueEnabled);
    setControlBackground(Control::Text_Calib_Data,
                         f.valueEnabled ? kEnabledFieldColor : kDisabledFieldColor);
    setControlEnabled(Control::Text_BG, f.bandgapEnabled);
    setControlBackground(Control::Text_BG,
                         f.bandgapEnabled ? kEnabledFieldColor : kDisabledFieldColor);
}

void frmMain::Check_Parity_Disp_Click() {
    refreshViews(ViewProgram);
}

void frmMain::mnuBlankSkip_Click() {
    if (refusedDuringOperation()) {
        mnuBlankSkip->setChecked(ctx_.toggles.blankSkip);
        return;
    }
    ToggleBlankSkip(ctx_);
    mnuBlankSkip->setChecked(ctx_.toggles.blankSkip);
}

void frmMain::mnuComMode1_Click() {
    if (refusedDuringOperation()) {
        mnuComMode1->setChecked(ctx_.toggles.comMode1);
        return;
    }
    ToggleComMode1(ctx_);
    mnuComMode1->setChecked(ctx_.toggles.comMode1);
}

void frmMain::mnuBoardInfomation_Click() {
    ToggleBoardInformation(ctx_);
    mnuBoardInfomation->setChecked(ctx_.toggles.boardInformation);
}

void frmMain::mnuLock_Click() {
    if (refusedDuringOperation()) {
        mnuLock->setChecked(ctx_.toggles.lock);
        return;
    }
    ToggleLock(ctx_);
    holdMenusForContinuousMode();
    mnuLock->setChecked(ctx_.toggles.lock);
}

void frmMain::mnuFrmmainHight_Click() {
    resize(width(), twipsToPixels(kTallWindowTwips));
    pumpEvents();
}

void frmMain::info_Click() {
    if (refusedDuringOperation()) return;
    messageBox(MessageIcon::Information, MessageButtons::Ok, QStringLiteral("ｲﾝﾌｫﾒｰｼｮﾝ"),
               informationText());
}

void frmMain::mnuLogFileOpen_Click() {
    QStringList names;
    for (int i = 9; i >= 1; --i)
        names << QStringLiteral("LOG_OLD%1.txt").arg(i);
    names << QStringLiteral("LOG_NEW0.txt");
    bool any = false;
    for (const QString& name : names) {
        const QString path = paths_.dataDir.isEmpty() ? name : paths_.inData(name);
        if (!QFileInfo(path).isFile()) continue;
        any = true;
        // One box for the first file nothing opens: the rest are of the same kind.
        if (!openWithViewer(path)) return;
        pumpEvents();
    }
    if (!any)
        ShowStatusMessage(*this, QStringLiteral("ログファイルがありませんでした。"), QString());
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        const QString name = watched->objectName();
        hideChooser();
        if (name == QLatin1String("Label_FirmwareVersion"))
            ShowStatusMessage(*this, kFirmwareLabelHint, kFirmwareLabelHintDetail);
        else if (name == QLatin1String("Label_Ver"))
            ShowStatusMessage(*this, kDeviceFileVersionHint, QString());
        else if (name == QLatin1String("LblCheckSUM"))
            ShowStatusMessage(*this, kChecksumHint, QString());
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::exit_Click() {
    close();
}

void frmMain::closeEvent(QCloseEvent* event) {
    // The operation is waiting for the board inside this window's event handling; the window
    // and the port must outlive it.
    if (refusedDuringOperation()) {
        event->ignore();
        return;
    }
    if (closingHandler_) closingHandler_();
    if (!isMinimized()) {
        const QRect frame = frameGeometry();
        saveWindowGeometry(ctx_.settings, {frame.left(), frame.top(), height()});
    }
    board_->hide();
    event->accept();
}

} // namespace tavrin
