#include "frm_main.h"

#include "dump_view_text.h"
#include "frm_board.h"
#include "id_line_edit.h"
#include "on_screen.h"
#include "status_line.h"

#include "core/buffer_views.h"
#include "core/config_grids.h"
#include "core/settings_store.h"
#include "core/status.h"
#include "mainwindow/logic/hex_file_commands.h"
#include "mainwindow/logic/window_geometry.h"
#include "mainwindow/operations/extended_operations.h"
#include "mainwindow/operations/operation_frame.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTabWidget>

namespace tavrin {

namespace {

QColor colorOf(std::uint32_t rgb) {
    if (rgb == SystemButtonFaceColor) return QApplication::palette().color(QPalette::Button);
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

QMessageBox::StandardButton standardButtonOf(MessageAnswer answer) {
    switch (answer) {
    case MessageAnswer::Ok:
        return QMessageBox::Ok;
    case MessageAnswer::Cancel:
        return QMessageBox::Cancel;
    case MessageAnswer::Yes:
        return QMessageBox::Yes;
    case MessageAnswer::No:
        return QMessageBox::No;
    case MessageAnswer::Retry:
        break;
    }
    return QMessageBox::Retry;
}

} // namespace

frmMain::frmMain(Session& session, SettingsStore& settings, CoreServices services, QWidget* parent)
    : QMainWindow(parent), ctx_{session, *this, *this, settings, std::move(services),
                                {},      {},    -1,    {}} {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(session.app.MainTitle);
    buildMenus();
    buildCentral();
    board_ = new frmBoard(settings, this);
    connect(board_, &frmBoard::closedByPerson, this, [this] {
        ctx_.toggles.boardInformation = false;
        mnuBoardInfomation->setChecked(false);
    });
    registerControls();
    programViewText_ = std::make_unique<DumpViewText>(RichTxtPgmMem);
    eepromViewText_ = std::make_unique<DumpViewText>(rText_EepromMem);
    resetConfigGrids();
    for (const char* name : {"Label_FirmwareVersion", "Label_Ver", "LblCheckSUM"})
        findChild<QLabel*>(QString::fromLatin1(name))->installEventFilter(this);

    ctx_.toggles.load(settings);
    mnuBlankSkip->setChecked(ctx_.toggles.blankSkip);
    mnuComMode1->setChecked(ctx_.toggles.comMode1);
    mnuBoardInfomation->setChecked(ctx_.toggles.boardInformation);
    LoadFolderHistory(ctx_);

    // Form_Load: place and height from the settings; the width is the window's own.
    const WindowGeometry g = loadWindowGeometry(settings);
    resize(900, std::max(g.height, 480));
    // A place saved on a screen that is no longer there (or that has shrunk) would put the whole
    // program out of reach.
    moveOnScreen(*this, QPoint(g.left, g.top));
}

frmMain::~frmMain() {
    operations_.reset();
    while (busyDepth_ > 0)
        setBusy(false);
}

void frmMain::registerControls() {
    auto byName = [this](Control c) {
        const QString name = QString::fromLatin1(controlName(c));
        if (QObject* o = findChild<QObject*>(name)) controls_[c] = o;
    };
    for (Control c : {Control::Label_pm_size,
                      Control::Label_ed_size,
                      Control::Label_Debug,
                      Control::LblCheckSUM,
                      Control::Label_Ver,
                      Control::Label_FirmwareVersion,
                      Control::Text_ID,
                      Control::Text_Config1,
                      Control::Text_Config2,
                      Control::Text_Calib_Data,
                      Control::Text_BG,
                      Control::Lbl_ID_Dev,
                      Control::Lbl_ID_Rev,
                      Control::Label_DEV_id,
                      Control::Label_DEV_rev,
                      Control::Label4,
                      Control::RichTxtPgmMem,
                      Control::rText_EepromMem,
                      Control::Combo_device,
                      Control::Command_pogram,
                      Control::Command_read,
                      Control::Command_Vrify,
                      Control::Command_blank,
                      Control::Cmd_Extend_Program,
                      Control::Command3,
                      Control::Cmd_open,
                      Control::Cmd_save,
                      Control::Command_com,
                      Control::SSTab_Config,
                      Control::SSTab_MCU_Infomatin,
                      Control::mnuFirmwareUpdate,
                      Control::mnuBlankSkip,
                      Control::CmbInit,
                      Control::TxtInit,
                      Control::file,
                      Control::mnuAsmC,
                      Control::mnuRELOAD,
                      Control::mnuASMwithRELOAD,
                      Control::mnuAsmReloadProgram,
                      Control::mnuHelp,
                      Control::mnuPcBufferMemoryClear,
                      Control::Lbl_Calib_ReadWrite_Data,
                      Control::Chk_12F_CalibData_Select,
                      Control::Cmb_BOD_Calib,
                      Control::Cmb_POR_Calib,
                      Control::Cmb_FCAL_Calib,
                      Control::mnuLock})
        byName(c);
    // Menus are switched through the entry that opens them.
    for (Control c : {Control::file, Control::mnuAsmC, Control::mnuHelp})
        if (auto* m = qobject_cast<QMenu*>(controls_[c])) controls_[c] = m->menuAction();
    controls_[Control::frmMain] = this;
}

QObject* frmMain::control(Control c) const {
    // The extended window's buttons are found while that window exists; its own opening takes
    // the operation state from the session.
    static const QLatin1String extended("frmExtend_Program_");
    const QLatin1String name(controlName(c));
    if (name.startsWith(extended)) {
        QWidget* window = findChild<QWidget*>(QStringLiteral("frmExtend_Program"));
        return window ? window->findChild<QObject*>(QString(name.mid(extended.size()))) : nullptr;
    }
    auto it = controls_.find(c);
    return it == controls_.end() ? nullptr : it->second;
}

// ---- OperatorUi ----

void frmMain::showStatusLine(const QString& text, StatusColor color) {
    LabelCmt->showText(text);
    QPalette p = LabelCmt->palette();
    p.setColor(QPalette::WindowText,
               color == StatusColor::Red ? QColor(255, 0, 0) : QColor(0, 0, 0));
    LabelCmt->setPalette(p);
}

void frmMain::showProgressBar(bool visible, double minimum, double maximum, double value,
                              const QString& percentText) {
    if (visible) {
        P_Bar->setRange(int(minimum), int(maximum));
        P_Bar->setValue(int(value));
        Lbl_Persent->setText(percentText);
    }
    P_Bar->setVisible(visible);
    Lbl_Persent->setVisible(visible);
}

MessageAnswer frmMain::messageBox(MessageIcon icon, MessageButtons buttons, const QString& title,
                                  const QString& text, MessageDefault defaultButton) {
    if (messageBoxAnswer_) return messageBoxAnswer_(icon, buttons, title, text);
    QMessageBox box(messageBoxOwner());
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageIcon::None:
        break;
    }
    QMessageBox::StandardButtons set;
    QMessageBox::StandardButton escape = QMessageBox::Ok;
    switch (buttons) {
    case MessageButtons::Ok:
        set = QMessageBox::Ok;
        break;
    case MessageButtons::OkCancel:
        set = QMessageBox::Ok | QMessageBox::Cancel;
        escape = QMessageBox::Cancel;
        break;
    case MessageButtons::YesNo:
        set = QMessageBox::Yes | QMessageBox::No;
        escape = QMessageBox::No;
        break;
    case MessageButtons::YesNoCancel:
        set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        escape = QMessageBox::Cancel;
        break;
    case MessageButtons::RetryCancel:
        set = QMessageBox::Retry | QMessageBox::Cancel;
        escape = QMessageBox::Cancel;
        break;
    }
    box.setStandardButtons(set);
    box.setEscapeButton(escape);
    box.setDefaultButton(standardButtonOf(defaultAnswer(buttons, defaultButton)));
    const int chosen = box.exec();
    switch (chosen) {
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Retry:
        return MessageAnswer::Retry;
    default:
        return buttons == MessageButtons::Ok      ? MessageAnswer::Ok
               : buttons == MessageButtons::YesNo ? MessageAnswer::No
                                                  : MessageAnswer::Cancel;
    }
}

// A box asked for while one of the program's own windows is in front (a modal window such as the
// firmware update, or the extended-programming window whose button was pressed) belongs to that
// window: owned by the main window it could open behind it and, being modal, leave the program
// seemingly stuck.
QWidget* frmMain::messageBoxOwner() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    QWidget* active = QApplication::activeWindow();
    if (!active || !active->isVisible()) return this;
    for (QWidget* w = active->parentWidget(); w; w = w->parentWidget())
        if (w == this) return active;
    return this;
}

void frmMain::setControlText(Control c, const QString& text) {
    if (c == Control::HFGrid) {
        resetConfigGrids();
        return;
    }
    if (c == Control::frmAbout_Label_ID_Word) {
        if (aboutIdWordSink_) aboutIdWordSink_(text);
        return;
    }
    QObject* o = control(c);
    if (auto* line = qobject_cast<StatusLine*>(o))
        line->showText(text);
    else if (auto* l = qobject_cast<QLabel*>(o))
        l->setText(text);
    else if (auto* e = qobject_cast<QLineEdit*>(o))
        e->setText(text);
    else if (auto* v = qobject_cast<QPlainTextEdit*>(o))
        v->setPlainText(text);
    else if (auto* b = qobject_cast<QAbstractButton*>(o))
        b->setText(text);
    else if (auto* a = qobject_cast<QAction*>(o))
        a->setText(text);
    else if (auto* box = qobject_cast<QComboBox*>(o))
        box->setCurrentIndex(box->findText(text));
}

void frmMain::setControlVisible(Control c, bool visible) {
    const QString name = QString::fromLatin1(controlName(c));
    if (name.startsWith(QLatin1String("frmBoard_"))) {
        board_->setMarkVisible(name.mid(9), visible);
        return;
    }
    QObject* o = control(c);
    if (auto* w = qobject_cast<QWidget*>(o))
        w->setVisible(visible);
    else if (auto* a = qobject_cast<QAction*>(o))
        a->setVisible(visible);
}

void frmMain::setControlEnabled(Control c, bool enabled) {
    QObject* o = control(c);
    if (o && o->property("pendingFeature").toBool()) enabled = false;
    if (heldByContinuousMode(c)) enabled = false;
    if (auto* w = qobject_cast<QWidget*>(o))
        w->setEnabled(enabled);
    else if (auto* a = qobject_cast<QAction*>(o))
        a->setEnabled(enabled);
}

void frmMain::setControlBackground(Control c, std::uint32_t rgb) {
    if (auto* w = qobject_cast<QWidget*>(control(c))) {
        QPalette p = w->palette();
        p.setColor(QPalette::Base, colorOf(rgb));
        p.setColor(QPalette::Window, colorOf(rgb));
        w->setPalette(p);
        w->setAutoFillBackground(true);
    }
}

void frmMain::setControlItems(Control c, const QStringList& items, int selected) {
    if (auto* box = qobject_cast<QComboBox*>(control(c))) {
        box->clear();
        box->addItems(items);
        box->setCurrentIndex(selected);
    }
}

void frmMain::focusControl(Control c) {
    if (auto* w = qobject_cast<QWidget*>(control(c))) w->setFocus();
}

namespace {
// The engine's lines end in CR LF; the view starts a paragraph for each line itself.
QString withoutLineEnd(QString line) {
    while (line.endsWith(QLatin1Char('\n')) || line.endsWith(QLatin1Char('\r')))
        line.chop(1);
    return line;
}
} // namespace

void frmMain::appendProgramViewLine(const QString& line) {
    RichTxtPgmMem->appendPlainText(withoutLineEnd(line));
}

void frmMain::appendEepromViewLine(const QString& line) {
    rText_EepromMem->appendPlainText(withoutLineEnd(line));
}

void frmMain::refreshViews(unsigned flags) {
    Session& s = ctx_.s;
    if (flags & ViewProgram) {
        const bool parity = Check_Parity_Disp->isChecked();
        programViewText_->show(programDumpSource(s, parity),
                               [&s, parity] { return programDumpText(s, parity); });
    }
    if (flags & ViewEeprom)
        eepromViewText_->show(eepromDumpSourceForDevice(s),
                              [&s] { return eepromDumpTextForDevice(s); });
    // The labels and the grids show the same words, so they are redrawn together whichever of
    // them the caller named.
    if (flags & (ViewIdConfig | ViewConfigGrids)) {
        RefreshConfigGrids(s);
        ShowIdAndConfigTexts(s, *this);
        renderConfigGrids();
    }
}

void frmMain::setDeviceList(const QStringList& names) {
    const QSignalBlocker block(Combo_device);
    Combo_device->clear();
    Combo_device->addItems(names);
    Combo_device->setCurrentIndex(-1);
}

void frmMain::setBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++busyDepth_;
    } else if (busyDepth_ > 0) {
        QApplication::restoreOverrideCursor();
        --busyDepth_;
    }
}

void frmMain::pumpEvents() {
    QCoreApplication::processEvents();
}

// ---- the configuration grids ----

void frmMain::resetConfigGrids() {
    for (int i = 0; i < 7; ++i) {
        QTableWidget* grid = HFGrid[i];
        const QSignalBlocker block(grid);
        grid->clearContents();
        grid->setRowCount(0);
        grid->setHorizontalHeaderLabels({configGridTitle(i + 1), kEmptyGridHeader});
    }
}

namespace {

// True when the grid lists the model's settings, row for row.
bool showsSettings(const QTableWidget* grid, const ConfigGrid& model) {
    if (grid->rowCount() != int(model.rows.size())) return false;
    for (int r = 0; r < grid->rowCount(); ++r) {
        const QTableWidgetItem* item = grid->item(r, 0);
        if (!item || item->text() != model.rows[std::size_t(r)].setting) return false;
    }
    return true;
}

} // namespace

void frmMain::renderConfigGrids() {
    for (int i = 0; i < 7; ++i) {
        QTableWidget* grid = HFGrid[i];
        const ConfigGrid model = configGrid(ctx_.s, i + 1);
        const QSignalBlocker block(grid);
        const bool sameSettings = showsSettings(grid, model);
        grid->setHorizontalHeaderLabels({model.title, model.header});
        grid->setRowCount(int(model.rows.size()));
        for (int r = 0; r < int(model.rows.size()); ++r) {
            for (int col = 0; col < 2; ++col) {
                const QString& text = col == 0 ? model.rows[r].setting : model.rows[r].option;
                QTableWidgetItem* item = grid->item(r, col);
                if (!item) {
                    item = new QTableWidgetItem;
                    grid->setItem(r, col, item);
                }
                item->setText(text);
            }
        }
        // A grid that already listed these settings is only given new values: the row the
        // person just edited stays where it was, selected. A new list starts at its last row.
        if (!sameSettings && grid->rowCount() > 0) grid->setCurrentCell(grid->rowCount() - 1, 1);
    }
}

void frmMain::applyGridColumnWidths() {
    for (QTableWidget* grid : HFGrid)
        grid->setColumnWidth(0, int(std::lround(grid->viewport()->width() * 0.32)));
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    hideChooser();
    applyGridColumnWidths();
}

void frmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    applyGridColumnWidths();
}

void frmMain::hideChooser() {
    CmbInit->hide();
    TxtInit->hide();
}

// ---- MainWindowView ----

void frmMain::applyDeviceLayout(const DeviceLayout& l) {
    SSTab_Config->setVisible(false);
    SSTab_Config->setCurrentIndex(0);
    for (int i = 0; i < 7; ++i)
        SSTab_Config->setTabVisible(i, l.configTabShown[i]);
    SSTab_Config->setVisible(true);

    SSTab_MCU_Infomatin->setVisible(false);
    for (int i = 0; i < 10; ++i)
        SSTab_MCU_Infomatin->setTabVisible(i, l.infoTabShown[i]);
    SSTab_MCU_Infomatin->setCurrentIndex(l.infoTabSelected);

    {
        const QSignalBlocker block(Chk_12F_CalibData_Select);
        Chk_12F_CalibData_Select->setVisible(l.calibChoiceShown);
        Chk_12F_CalibData_Select->setEnabled(l.calibChoiceEnabled);
        Chk_12F_CalibData_Select->setChecked(l.calibChoiceChecked);
    }
    setControlText(Control::Text_Calib_Data, l.calibText);
    setControlEnabled(Control::Text_Calib_Data, l.calibTextEnabled);
    setControlBackground(Control::Text_Calib_Data, l.calibTextColor);
    for (const char* name : {"Label_Calib", "Label_CalibInfo"})
        findChild<QLabel*>(QString::fromLatin1(name))->setEnabled(l.calibLabelsEnabled);
    findChild<QLineEdit*>(QStringLiteral("Lbl_Calib_ReadWrite_Data"))
        ->setText(l.calibReadWriteText);
    if (l.bandgapText) setControlText(Control::Text_BG, *l.bandgapText);
    setControlEnabled(Control::Text_BG, l.bandgapTextEnabled);
    setControlBackground(Control::Text_BG, l.bandgapTextColor);
    findChild<QLabel*>(QStringLiteral("Label_BG"))->setEnabled(l.bandgapLabelEnabled);
    {
        const QSignalBlocker block(Check_Parity_Disp);
        Check_Parity_Disp->setEnabled(l.parityEnabled);
        Check_Parity_Disp->setChecked(false);
    }
    setControlText(Control::Lbl_ID_Dev, QString());
    setControlText(Control::Lbl_ID_Rev, QString());
    if (l.deviceIdLabels) {
        setControlText(Control::Label_DEV_id, *l.deviceIdLabels);
        setControlText(Control::Label_DEV_rev, *l.deviceIdLabels);
    }
    if (l.frame2Visible) Frame2->setVisible(*l.frame2Visible);
    if (l.idDevRevLabelsShown)
        for (const char* name : {"Lbl_div", "Lbl_rev", "Lbl_ID_Dev", "Lbl_ID_Rev"})
            findChild<QLabel*>(QString::fromLatin1(name))->setVisible(*l.idDevRevLabelsShown);
    Text_ID->setMaxLength(l.idMaxLength);
    if (l.idText) Text_ID->setText(*l.idText);
    SSTab_MCU_Infomatin->setVisible(true);
}

void frmMain::showBoardWindow(bool shown) {
    if (shown) {
        board_->show();
    } else {
        board_->hide();
    }
}

void frmMain::setWindowCaption(const QString& caption) {
    setWindowTitle(caption);
}

void frmMain::showFolderHistory(const QStringList& captions) {
    for (int i = 0; i < 5; ++i) {
        const QString text = i < captions.size() ? captions[i] : QString();
        nmuFile[i]->setText(text);
        nmuFile[i]->setVisible(!text.isEmpty());
    }
}

void frmMain::selectDeviceInList(int index) {
    const QSignalBlocker block(Combo_device);
    Combo_device->setCurrentIndex(index);
}

int frmMain::configTabShown() const {
    return SSTab_Config->currentIndex();
}

void frmMain::selectConfigTab(int index) {
    SSTab_Config->setCurrentIndex(index);
}

QString frmMain::chooseOpenFile(const FileDialogRequest& r) {
    if (fileDialogAnswer_) return fileDialogAnswer_(r, false);
    QFileDialog dialog(this, r.title, r.initialDir, r.filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(r.defaultSuffix);
    if (!r.fileName.isEmpty() && !r.fileName.contains(QLatin1Char('*')))
        dialog.selectFile(r.fileName);
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
               ? dialog.selectedFiles().first()
               : QString();
}

QString frmMain::chooseSaveFile(const FileDialogRequest& r) {
    if (fileDialogAnswer_) return fileDialogAnswer_(r, true);
    QFileDialog dialog(this, r.title, r.initialDir, r.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The window asks its own overwrite question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(r.defaultSuffix);
    if (!r.fileName.isEmpty()) dialog.selectFile(r.fileName);
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
               ? dialog.selectedFiles().first()
               : QString();
}

} // namespace tavrin
