// The assembler menu of the main window: each command forwards to AssemblerCommands; the window
// shows the run's information, the wait for the tool with its cancel, and opens files to read.
#include "frm_main.h"

#include "frm_msg.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace tavrin {

namespace {
// A quick build ends before the wait window would only flash.
constexpr int kToolWaitShownAfterMs = 800;
} // namespace

void frmMain::mnuASMwithRELOAD_Click() {
    hideChooser();
    assembler_.mnuASMwithRELOAD_Click();
}

void frmMain::mnuAsmReloadProgram_Click() {
    hideChooser();
    assembler_.mnuAsmReloadProgram_Click();
}

void frmMain::mnuRELOAD_Click() {
    hideChooser();
    assembler_.mnuRELOAD_Click();
}

void frmMain::mnuSourceOpen_Click() {
    assembler_.mnuSourceOpen_Click();
}

void frmMain::mnuEditer_Click() {
    assembler_.mnuEditer_Click();
}

void frmMain::startProgramming() {
    Command_pogram_Click();
}

void frmMain::showRunInformation(const QString& text) {
    showMessageWindow(this, text);
}

void frmMain::openInEditor(const QString& path, bool plainTextEditor) {
    if (editorOpener_) {
        editorOpener_(path, plainTextEditor);
        return;
    }
#ifdef Q_OS_WIN
    if (plainTextEditor && QProcess::startDetached(QStringLiteral("notepad.exe"), {path})) return;
#endif
    // Elsewhere the desktop's own choice for the file is the plain text editor.
    openWithViewer(path);
}

void frmMain::beginToolWait(const QString& text) {
    endToolWait();
    toolWaitCancelled_ = false;
    auto* wait = new QDialog(this);
    wait->setObjectName(QStringLiteral("frmToolWait"));
    wait->setWindowTitle(ctx_.s.app.MainTitle);
    wait->setWindowModality(Qt::WindowModal);
    auto* label = new QLabel(text, wait);
    label->setObjectName(QStringLiteral("Label1"));
    auto* bar = new QProgressBar(wait);
    bar->setRange(0, 0);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), wait);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(wait);
    layout->addWidget(label);
    layout->addWidget(bar);
    layout->addLayout(buttons);
    connect(cancel, &QPushButton::clicked, this, [this] { toolWaitCancelled_ = true; });
    // The window's close box cancels as well.
    connect(wait, &QDialog::rejected, this, [this] { toolWaitCancelled_ = true; });
    QTimer::singleShot(kToolWaitShownAfterMs, wait, &QWidget::show);
    toolWait_ = wait;
}

bool frmMain::toolWaitCancelled() {
    return toolWaitCancelled_;
}

void frmMain::endToolWait() {
    delete toolWait_;
    toolWait_ = nullptr;
}

} // namespace tavrin
