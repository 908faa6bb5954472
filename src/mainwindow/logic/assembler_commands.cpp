#include "assembler_commands.h"

#include "assembler_tool.h"
#include "assembler_view.h"
#include "buffer_commands.h"
#include "hex_file_commands.h"
#include "hex_output_name.h"
#include "main_context.h"

#include "core/assembler_defaults.h"
#include "core/command_line.h"
#include "core/operation_guard.h"
#include "core/settings_store.h"
#include "core/status.h"
#include "core/tool_process.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace tavrin {

namespace {

const QString kGeneratingStatus = QStringLiteral("ＨＥＸファイル生成中.....");
const QString kSourceOpenFailedStatus =
    QStringLiteral("ソースファイルをオープンできませんでした。");
const QString kRegeneratedStatus = QStringLiteral("ＨＥＸファイルの再生成と再ロード完了。");
// Names the menu entry that sets the tool, as the menu bar spells it.
const QString kNoToolText =
    QStringLiteral("アセンブラ、または、コンパイラが指定されていません。\r\n\r\n"
                   "メニューバの 【ｱｾﾝﾌﾞﾗ】‥【ｱｾﾝﾌﾞﾗ・ｺﾝﾊﾟｲﾗ設定】から、"
                   "アセンブラ・コンパイラの場所を指定してください。");
const QString kSetAsideFailedStatus =
    QStringLiteral("<<注意>>以前のHEXファイルを退避できないため、生成を中止しました。");
const QString kCancelledStatus =
    QStringLiteral("<<注意>>ＨＥＸファイルの生成を中止しました。以前のHEXファイルはそのままです。");
const QString kTimedOutStatus = QStringLiteral(
    "<<注意>>"
    "アセンブラ・コンパイラが終了しないため中止しました。以前のHEXファイルはそのままです。");
const QString kToolWaitText = QStringLiteral("アセンブラ・コンパイラの終了を待っています。");

const QString kReloadDialogTitle =
    QStringLiteral("HEXファイルが未指定なので、ロードするHEXファイルを指定してください。");
const QString kReloadFilter = QStringLiteral("HEXファイル (*.HEX *.hex);;全てのファイル (*)");
const QString kReloadFailedStatus = QStringLiteral("HEXファイルをロードできませんでした。");
const QString kLoadingStatus = QStringLiteral("ファイルロード中..........");
const QString kReloadedStatus = QStringLiteral("HEXファイルの再ロード完了。");
const QString kSourceChoiceTitle =
    QStringLiteral("アセンブル・コンパイルするソースファイルの場所を指定してください。");
const QString kEditorTitle = QStringLiteral("ソースファイルを開く");
const QString kEditorFilter =
    QStringLiteral("ソースファイル (*.ASM *.C *.asm *.c);;全てのファイル (*)");

const QString kOpenDirKey = QStringLiteral("OPEN_DIR0");

// The HEX file found before a run, moved aside so that only the tool's own output counts as a
// result, and put back when the run leaves none.
class PreviousHex {
  public:
    explicit PreviousHex(QString path) : path_(std::move(path)) {}
    ~PreviousHex() { putBack(); }
    PreviousHex(const PreviousHex&) = delete;
    PreviousHex& operator=(const PreviousHex&) = delete;

    // False when the file is there and could not be moved.
    bool setAside() {
        if (!QFileInfo::exists(path_)) return true;
        QString aside = path_ + QStringLiteral(".previous");
        for (int n = 2; QFileInfo::exists(aside); ++n)
            aside = path_ + QStringLiteral(".previous%1").arg(n);
        if (!QFile::rename(path_, aside)) return false;
        aside_ = aside;
        return true;
    }
    // A half-written output is dropped first.
    void putBack() {
        if (aside_.isEmpty()) return;
        QFile::remove(path_);
        if (QFile::rename(aside_, path_)) aside_.clear();
    }
    void dropPrevious() {
        if (!aside_.isEmpty() && QFile::remove(aside_)) aside_.clear();
    }

  private:
    QString path_;
    QString aside_;
};

// The tool's wait window, closed however the wait ends.
struct ToolWait {
    AssemblerView& view;
    ToolWait(AssemblerView& v, const QString& text) : view(v) { view.beginToolWait(text); }
    ~ToolWait() { view.endToolWait(); }
};

} // namespace

AssemblerCommands::AssemblerCommands(MainContext& ctx, AssemblerView& view, Clock& clock)
    : ctx_(ctx), view_(view), clock_(clock) {}

void AssemblerCommands::mnuASMwithRELOAD_Click() {
    const OperationScope scope(ctx_.s, ctx_.ui);
    if (!scope.held()) return;
    assembleAndReload();
}

void AssemblerCommands::mnuAsmReloadProgram_Click() {
    {
        const OperationScope scope(ctx_.s, ctx_.ui);
        if (!scope.held()) return;
        assembleAndReload();
    }
    // Nothing runs between the two: no window event is let through here.
    if (ctx_.s.app.AssembleSucceeded) view_.startProgramming();
}

bool AssemblerCommands::reopenHexFile() {
    Session& s = ctx_.s;
    // A load that never started (no part selected, file gone) leaves no stale "OK" behind.
    s.run.HexLoadResult.clear();
    s.app.ReopenWithoutDialog = true;
    OpenHexFile(ctx_);
    s.app.ReopenWithoutDialog = false;
    return s.run.HexLoadResult == result::OK;
}

void AssemblerCommands::openErrorFile(const QString& errorFile) {
    if (errorFile.isEmpty() || !FileExists(errorFile)) return;
    view_.openInEditor(errorFile, AssemblerErrorFileAsPlainText(ctx_.settings));
}

void AssemblerCommands::assembleAndReload() {
    Session& s = ctx_.s;
    OperatorUi& ui = ctx_.ui;
    s.app.AssembleSucceeded = false;
    ui.setControlText(Control::Lbl_ID_Rev, QString());
    ui.setControlText(Control::Lbl_ID_Dev, QString());
    ShowStatusMessage(ui, kGeneratingStatus, QString());
    const ToolVariant& variant = toolVariant(toolKindForRun(s.app.AsmToolPath));

    if (s.app.HexFilePath.isEmpty()) {
        const QString chosen = ctx_.view.chooseOpenFile(
            {variant.runDialogTitle, ctx_.settings.value(kOpenDirKey, QString()),
             variant.runDialogFilter, variant.runDialogSuffix, QString()});
        if (chosen.isEmpty() || !FileExists(chosen)) {
            ShowStatusMessage(ui, kSourceOpenFailedStatus, QString());
            return;
        }
        ctx_.lastDialogPath = chosen;
        s.app.HexFilePath = basePathOf(chosen) + QStringLiteral("hex");
        ctx_.settings.setValue(kOpenDirKey, folderOfPath(chosen));
    }
    const AssemblerFiles files =
        assemblerFiles(s.app.HexFilePath, variant, AssemblerErrorExtensionInEffect(ctx_.settings));
    ctx_.view.setWindowCaption(s.app.MainTitle + s.app.HexFilePath);

    if (s.app.AsmToolPath.isEmpty() || !FileExists(s.app.AsmToolPath)) {
        ui.messageBox(MessageIcon::Information, MessageButtons::Ok,
                      QLatin1String(kSettingsApplication), kNoToolText);
        return;
    }
    // Nothing is deleted for a source that is not there: the tool could not make a new HEX.
    if (!FileExists(files.source)) {
        ShowStatusMessage(ui, kSourceOpenFailedStatus, QString());
        return;
    }
    PreviousHex previous(files.hex);
    if (!previous.setAside()) {
        ShowStatusMessage(ui, kSetAsideFailedStatus, files.hex);
        return;
    }
    const HexOutputName output(files.hex);

    // The tool runs beside its source, which it names without a folder.
    const QFileInfo source(files.source);
    const QString workingDir = source.absolutePath();
    const QStringList arguments =
        toolArguments(AssemblerOptionsInEffect(ctx_.settings), source.fileName());
    if (ctx_.settings.value(QStringLiteral("Display_option"), QStringLiteral("0")).trimmed() ==
        QLatin1String("1"))
        view_.showRunInformation(runInformationText(commandText(s.app.AsmToolPath, arguments),
                                                    files.errorFile, workingDir));

    ProcessWaitEnd end;
    {
        const ToolWait wait(view_, kToolWaitText + QStringLiteral("\n") + source.fileName());
        QProcess tool;
        startToolProcess(tool, s.app.AsmToolPath, arguments, workingDir);
        end = WaitForProcess(tool, clock_, ui, toolWaitLimitMs_,
                             [this] { return view_.toolWaitCancelled(); });
    }
    ui.pumpEvents();
    if (end != ProcessWaitEnd::Finished) {
        previous.putBack();
        ShowStatusMessage(ui, end == ProcessWaitEnd::Cancelled ? kCancelledStatus : kTimedOutStatus,
                          QString());
        return;
    }

    const bool produced = output.adoptToolOutput() && FileExists(files.hex);
    if (produced)
        previous.dropPrevious();
    else
        previous.putBack();

    if (variant.asksWhetherItSucceeded) {
        ShowStatusMessage(ui, QString(), QString());
        FillPcBuffer(ctx_, BufferFill::Erased);
        const MessageAnswer answer =
            ui.messageBox(MessageIcon::Information, MessageButtons::YesNo,
                          QLatin1String(kSettingsApplication), compileSucceededQuestion());
        if (answer == MessageAnswer::Yes) {
            // The person's word is not proof enough to program the chip after it.
            if (reopenHexFile()) ShowStatusMessage(ui, kRegeneratedStatus, QString());
        } else {
            openErrorFile(files.errorFile);
            ShowStatusMessage(ui, variant.failureStatus, QString());
        }
        return;
    }
    if (produced) {
        s.app.AssembleSucceeded = reopenHexFile();
        if (s.app.AssembleSucceeded) ShowStatusMessage(ui, kRegeneratedStatus, QString());
        return;
    }
    FillPcBuffer(ctx_, BufferFill::Erased);
    openErrorFile(files.errorFile);
    ShowStatusMessage(ui, variant.failureStatus, QString());
}

void AssemblerCommands::mnuRELOAD_Click() {
    const OperationScope scope(ctx_.s, ctx_.ui);
    if (!scope.held()) return;
    Session& s = ctx_.s;
    OperatorUi& ui = ctx_.ui;
    ui.setControlText(Control::Lbl_ID_Rev, QString());
    ui.setControlText(Control::Lbl_ID_Dev, QString());
    if (s.app.HexFilePath.isEmpty()) {
        s.app.HexFilePath = ctx_.view.chooseOpenFile(
            {kReloadDialogTitle, ctx_.settings.value(kOpenDirKey, QString()), kReloadFilter,
             QStringLiteral("HEX"), QString()});
        if (!s.app.HexFilePath.isEmpty()) ctx_.lastDialogPath = s.app.HexFilePath;
    }
    if (!FileExists(s.app.HexFilePath)) {
        ShowStatusMessage(ui, kReloadFailedStatus, QString());
        return;
    }
    ShowStatusMessage(ui, kLoadingStatus, QString());
    // The folder of the file reloaded, not of whatever a dialog offered last.
    ctx_.settings.setValue(kOpenDirKey, folderOfPath(s.app.HexFilePath));
    ctx_.view.setWindowCaption(s.app.MainTitle + s.app.HexFilePath);
    if (reopenHexFile()) ShowStatusMessage(ui, kReloadedStatus, QString());
}

void AssemblerCommands::mnuSourceOpen_Click() {
    const OperationScope scope(ctx_.s, ctx_.ui);
    if (!scope.held()) return;
    Session& s = ctx_.s;
    const ToolVariant& variant = toolVariant(toolKindForSourceChoice(s.app.AsmToolPath));
    const QString chosen = ctx_.view.chooseOpenFile(
        {kSourceChoiceTitle, ctx_.settings.value(kOpenDirKey, QString()),
         variant.choiceDialogFilter, variant.choiceDialogSuffix, QString()});
    if (chosen.isEmpty()) return;
    ctx_.lastDialogPath = chosen;
    if (!QFileInfo(chosen).fileName().contains(QLatin1Char('.'))) return;
    s.app.HexFilePath = basePathOf(chosen) + QStringLiteral("hex");
    if (FileExists(chosen)) {
        ctx_.settings.setValue(kOpenDirKey, folderOfPath(chosen));
        ctx_.view.setWindowCaption(s.app.MainTitle + s.app.HexFilePath);
    }
}

void AssemblerCommands::mnuEditer_Click() {
    const OperationScope scope(ctx_.s, ctx_.ui);
    if (!scope.held()) return;
    const QString chosen =
        ctx_.view.chooseOpenFile({kEditorTitle, ctx_.settings.value(kOpenDirKey, QString()),
                                  kEditorFilter, QString(), QStringLiteral("*.asm;*.c")});
    if (chosen.isEmpty()) return;
    view_.openInEditor(chosen, AssemblerErrorFileAsPlainText(ctx_.settings));
}

} // namespace tavrin
