#include "frm_hint.h"

#include "on_screen.h"

#include "devices/common/overwrite_question.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>

namespace tavrin {

namespace {
bool openWithDesktop(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
} // namespace

frmHint::frmHint(QWidget* mainWindow, const QString& caption, const QString& documentPath,
                 DocumentOpener openDocument)
    : QDialog(mainWindow), mainWindow_(mainWindow), documentPath_(documentPath),
      openDocument_(openDocument ? std::move(openDocument) : DocumentOpener(openWithDesktop)) {
    setObjectName(QStringLiteral("frmHint"));
    setWindowTitle(caption);
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < 2; ++i) {
        Label1[i] = new QLabel(this);
        Label1[i]->setObjectName(QStringLiteral("Label1_%1").arg(i));
        layout->addWidget(Label1[i]);
    }
    auto* buttons = new QHBoxLayout;
    auto button = [&](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    CmdOk = button(QStringLiteral("はい"), "CmdOk");
    CmdCancel = button(QStringLiteral("キャンセル"), "CmdCancel");
    CmdHint = button(QStringLiteral("ヒントを表示"), "CmdHint");
    // Enter must not overwrite a chip by accident: the safe answer is the default.
    CmdCancel->setDefault(true);
    layout->addLayout(buttons);
    connect(CmdOk, &QPushButton::clicked, this, &frmHint::CmdOk_Click);
    connect(CmdCancel, &QPushButton::clicked, this, &frmHint::CmdCancel_Click);
    connect(CmdHint, &QPushButton::clicked, this, &frmHint::CmdHint_Click);
}

void frmHint::setLines(const QString& first, const QString& second) {
    Label1[0]->setText(first);
    Label1[1]->setText(second);
}

std::int16_t frmHint::ask() {
    answer_ = hint::Cancel;
    exec();
    return answer_;
}

void frmHint::CmdOk_Click() {
    answer_ = hint::Overwrite;
    accept();
}

void frmHint::CmdCancel_Click() {
    answer_ = hint::Cancel;
    reject();
}

void frmHint::CmdHint_Click() {
    answer_ = hint::DocumentShown;
    documentOpened_ = openDocument_(documentPath_);
}

void frmHint::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    placeOverMainWindow();
}

// The top edge at the main window's middle height, centred across it.
void frmHint::placeOverMainWindow() {
    if (!mainWindow_) return;
    const QRect main = mainWindow_->frameGeometry();
    moveOnScreen(*this,
                 QPoint(main.left() + main.width() / 2 - frameGeometry().width() / 2,
                        main.top() + main.height() / 2),
                 mainWindow_);
}

std::int16_t askOverwriteWithHint(QWidget* mainWindow, const QString& documentPath,
                                  const QString& first, const QString& second,
                                  const frmHint::DocumentOpener& openDocument, QWidget* owner) {
    frmHint question(mainWindow, QCoreApplication::applicationName(), documentPath, openDocument);
    if (owner && owner != mainWindow) question.setParent(owner, question.windowFlags());
    question.setLines(first, second);
    return question.ask();
}

} // namespace tavrin
