// The main window: device list, operation and file buttons, the program memory and EEPROM views,
// the ID box, the seven configuration grids, the information tabs, the status line and the
// progress bar. It renders the session and forwards every event to the main window's logic.
#pragma once

#include "core/app_paths.h"
#include "core/clock.h"
#include "core/operator_ui.h"
#include "mainwindow/logic/assembler_commands.h"
#include "mainwindow/logic/assembler_view.h"
#include "mainwindow/logic/main_context.h"
#include "mainwindow/logic/main_window_view.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <map>
#include <memory>

class QAction;
class QBoxLayout;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace tavrin {

class BoardLink;
class Clock;
class DumpViewText;
class frmBoard;
class IdLineEdit;
class MainOperations;
class StatusLine;
class ExtendedOperations;
class frmExtend_Program;
struct OperationSettings;

class frmMain : public QMainWindow, public OperatorUi, public MainWindowView, public AssemblerView {
    Q_OBJECT
  public:
    frmMain(Session& session, SettingsStore& settings, CoreServices services,
            QWidget* parent = nullptr);
    ~frmMain() override;

    MainContext& context() { return ctx_; }
    frmBoard* boardWindow() const { return board_; }

    // Replaces the file dialogs and message boxes (tests answer them without a person).
    using FileDialogAnswer = std::function<QString(const FileDialogRequest&, bool save)>;
    using MessageBoxAnswer = std::function<MessageAnswer(
        MessageIcon, MessageButtons, const QString& title, const QString& text)>;
    void setFileDialogAnswer(FileDialogAnswer answer) { fileDialogAnswer_ = std::move(answer); }
    void setMessageBoxAnswer(MessageBoxAnswer answer) { messageBoxAnswer_ = std::move(answer); }

    // Opens a document for the person (the assembly check offered by the overwrite question);
    // tests replace it.
    using DocumentOpener = std::function<bool(const QString& path)>;
    void setDocumentOpener(DocumentOpener opener) { documentOpener_ = std::move(opener); }
    // Opens a file for reading after an assembler run or from the editor command; tests replace
    // it.
    using EditorOpener = std::function<void(const QString& path, bool plainTextEditor)>;
    void setEditorOpener(EditorOpener opener) { editorOpener_ = std::move(opener); }
    AssemblerCommands& assembler() { return assembler_; }
    // Where the about box's ID word line goes: the about box is a tool window of its own.
    void setAboutIdWordSink(std::function<void(const QString&)> sink) {
        aboutIdWordSink_ = std::move(sink);
    }

    // Runs when the window closes for good (its close not refused), before it saves its place:
    // the program ends with it.
    void setClosingHandler(std::function<void()> handler) { closingHandler_ = std::move(handler); }

    // Where documents (help, assembly check) and the log files are looked for.
    void setAppPaths(const AppPaths& paths) { paths_ = paths; }
    // The folders searched for documents instead of the usual ones (tests).
    void setDocumentFolders(const QStringList& folders) { documentFolders_ = folders; }
    // Opens the named document found in the document folders with the desktop's viewer; says
    // so when there is none or it cannot be opened.
    bool showDocument(const QString& fileName);

    // Selects the entry of the device list and runs the device selection, as a person would.
    void selectDeviceByIndex(int index);

    // The Blank, Program, Verify and Read buttons on this board link, with the result log in
    // dataDir. Until then the buttons do nothing.
    void attachOperations(BoardLink& link, Clock& clock, const QString& dataDir);
    MainOperations* operations() const { return operations_.get(); }
    // The menu toggles and the calibration and ID fields as an operation reads them.
    OperationSettings operationSettings() const;

    // OperatorUi
    void showStatusLine(const QString& text, StatusColor color) override;
    void showProgressBar(bool visible, double minimum, double maximum, double value,
                         const QString& percentText) override;
    MessageAnswer messageBox(MessageIcon icon, MessageButtons buttons, const QString& title,
                             const QString& text,
                             MessageDefault defaultButton = MessageDefault::First) override;
    void setControlText(Control control, const QString& text) override;
    void setControlVisible(Control control, bool visible) override;
    void setControlEnabled(Control control, bool enabled) override;
    void setControlBackground(Control control, std::uint32_t rgb) override;
    void focusControl(Control control) override;
    void setControlItems(Control control, const QStringList& items, int selected) override;
    void appendProgramViewLine(const QString& line) override;
    void appendEepromViewLine(const QString& line) override;
    void refreshViews(unsigned viewFlags) override;
    void setDeviceList(const QStringList& names) override;
    void setBusy(bool busy) override;
    void pumpEvents() override;

    // MainWindowView
    void applyDeviceLayout(const DeviceLayout& layout) override;
    void showBoardWindow(bool shown) override;
    void closeExtendedWindow() override;
    void setWindowCaption(const QString& caption) override;
    void showFolderHistory(const QStringList& captions) override;
    void selectDeviceInList(int index) override;
    int configTabShown() const override;
    void selectConfigTab(int index) override;
    QString chooseOpenFile(const FileDialogRequest& request) override;
    QString chooseSaveFile(const FileDialogRequest& request) override;

    // AssemblerView
    void showRunInformation(const QString& text) override;
    void openInEditor(const QString& path, bool plainTextEditor) override;
    void beginToolWait(const QString& text) override;
    bool toolWaitCancelled() override;
    void endToolWait() override;
    void startProgramming() override;

  public slots:
    void Command_blank_Click();
    void Command_pogram_Click();
    void Command_Vrify_Click();
    void Command_read_Click();
    void Cmd_Extend_Program_Click();
    void Command3_Click();
    void Combo_device_Click();
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void Cmd_save_Click();
    void mnuPcBufferMemoryClear_Click();
    void mnuASMwithRELOAD_Click();
    void mnuAsmReloadProgram_Click();
    void mnuRELOAD_Click();
    void mnuSourceOpen_Click();
    void mnuEditer_Click();
    void mnuPcBufferMemory_0_Click();
    void nmuHistryClear_Click();
    void Text_ID_LostFocus();
    void Text_ID_Click();
    void HFGrid_RowColChange(int word);
    void CmbInit_Click(int optionIndex);
    void Chk_12F_CalibData_Select_Click();
    void Check_Parity_Disp_Click();
    void mnuBlankSkip_Click();
    void mnuComMode1_Click();
    void mnuBoardInfomation_Click();
    void mnuLock_Click();
    void mnuFrmmainHight_Click();
    void info_Click();
    void mnuLogFileOpen_Click();
    void mnuHelp_Click();
    void exit_Click();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Clicks on the labels that explain themselves on the status line.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildMenus();
    void buildCentral();
    void buildStatusArea(QBoxLayout* into);
    QWidget* buildInformationTabs();
    void registerControls();
    void renderConfigGrids();
    void applyGridColumnWidths();
    void resetConfigGrids();
    void hideChooser();
    // The window a message box is shown over.
    QWidget* messageBoxOwner();
    QObject* control(Control c) const;
    // The file to the desktop's program for it; false when none took it.
    bool handToDesktop(const QString& path);
    // The same, and when none took it a box names the file and what to do.
    bool openWithViewer(const QString& path);
    QStringList documentFolders() const;
    // mnuLock_Click hides the windows that edit the buffer beside the main window.
    void hideEditingWindows() override;
    // Continuous programming keeps these off: the operation controls but its three buttons, and
    // the firmware update entry (offered again when the board is found).
    bool heldByContinuousMode(Control c) const;
    // The menu entries of the window the mode holds off, or gives back when it has ended.
    void holdMenusForContinuousMode();
    // True, with the reason on the status line, while an operation runs: nothing may touch the
    // buffer, the port or the device list then, and no window may wait for the person while the
    // operation's bounded waits for the board run out.
    bool refusedDuringOperation();

    MainContext ctx_;
    AppPaths paths_;
    std::unique_ptr<MainOperations> operations_;
    std::unique_ptr<ExtendedOperations> extended_;
    frmExtend_Program* extendedWindow_ = nullptr;
    frmBoard* board_ = nullptr;
    FileDialogAnswer fileDialogAnswer_;
    MessageBoxAnswer messageBoxAnswer_;
    DocumentOpener documentOpener_;
    QStringList documentFolders_;
    EditorOpener editorOpener_;
    SteadyClock assemblerClock_;
    AssemblerCommands assembler_{ctx_, *this, assemblerClock_};
    QWidget* toolWait_ = nullptr;
    bool toolWaitCancelled_ = false;
    std::function<void(const QString&)> aboutIdWordSink_;
    std::function<void()> closingHandler_;
    std::map<Control, QObject*> controls_;
    int busyDepth_ = 0;
    int chooserWord_ = 0;
    int chooserRow_ = -1;

    QComboBox* Combo_device = nullptr;
    QPlainTextEdit* RichTxtPgmMem = nullptr;
    QPlainTextEdit* rText_EepromMem = nullptr;
    std::unique_ptr<DumpViewText> programViewText_;
    std::unique_ptr<DumpViewText> eepromViewText_;
    IdLineEdit* Text_ID = nullptr;
    StatusLine* LabelCmt = nullptr;
    QProgressBar* P_Bar = nullptr;
    QLabel* Lbl_Persent = nullptr;
    QTabWidget* SSTab_Config = nullptr;
    QTabWidget* SSTab_MCU_Infomatin = nullptr;
    std::array<QTableWidget*, 7> HFGrid{};
    QComboBox* CmbInit = nullptr;
    QLineEdit* TxtInit = nullptr;
    QCheckBox* Chk_12F_CalibData_Select = nullptr;
    QLineEdit* Text_Calib_Data = nullptr;
    QLineEdit* Text_BG = nullptr;
    QCheckBox* Check_Parity_Disp = nullptr;
    QWidget* Frame2 = nullptr;
    std::array<QAction*, 5> nmuFile{};
    QAction* mnuBlankSkip = nullptr;
    QAction* mnuComMode1 = nullptr;
    QAction* mnuBoardInfomation = nullptr;
    QAction* mnuLock = nullptr;
};

} // namespace tavrin
