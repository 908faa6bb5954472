// The documents the main window opens for the person (help, the assembly check, the log files)
// and the windows continuous programming keeps out of the way.
#include "frm_main.h"

#include "core/document_lookup.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>

namespace tavrin {

namespace {
const QString kNotOpenedTitle = QStringLiteral("ﾌｧｲﾙ 開く失敗");
const QString kWhatToDo = QStringLiteral(
    "この種類のファイルを開くアプリケーションを設定してから、もう一度実行してください。");
} // namespace

QStringList frmMain::documentFolders() const {
    if (!documentFolders_.isEmpty()) return documentFolders_;
    return tavrin::documentFolders(paths_, QCoreApplication::applicationDirPath());
}

bool frmMain::handToDesktop(const QString& path) {
    if (documentOpener_) return documentOpener_(path);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

// Every file the window hands to the desktop for the person comes through here, so that a file
// nothing could open is said the same way whichever command asked for it.
bool frmMain::openWithViewer(const QString& path) {
    if (handToDesktop(path)) return true;
    messageBox(MessageIcon::Critical, MessageButtons::Ok, kNotOpenedTitle,
               QStringLiteral("　%1を開くことができませんでした。　　　\n").arg(path) + kWhatToDo);
    return false;
}

bool frmMain::showDocument(const QString& fileName) {
    const QString path = findDocument(fileName, documentFolders());
    if (path.isEmpty()) {
        messageBox(MessageIcon::Critical, MessageButtons::Ok, kNotOpenedTitle,
                   QStringLiteral("　%1が見つかりませんでした。　　　").arg(fileName));
        return false;
    }
    return openWithViewer(path);
}

// The maker's help file where one has been placed; this program's own help otherwise.
void frmMain::mnuHelp_Click() {
    if (refusedDuringOperation()) return;
    hideChooser();
    const QString makerHelp = findDocument(QString::fromLatin1(kMakerHelpName), documentFolders());
    // A maker's file the desktop cannot show is passed over for our own without a word.
    if (!makerHelp.isEmpty() && handToDesktop(makerHelp)) return;
    showDocument(QString::fromLatin1(kHelpDocumentName));
}

void frmMain::hideEditingWindows() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == QLatin1String("frmEepromDataModify") ||
            window->objectName() == QLatin1String("frmExtend_Program"))
            window->hide();
}

} // namespace tavrin
