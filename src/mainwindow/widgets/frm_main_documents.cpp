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
const QString kMissingTitle = QStringLiteral("上書き保存");
} // namespace

QStringList frmMain::documentFolders() const {
    if (!documentFolders_.isEmpty()) return documentFolders_;
    return tavrin::documentFolders(paths_, QCoreApplication::applicationDirPath());
}

bool frmMain::openWithViewer(const QString& path) {
    if (documentOpener_) return documentOpener_(path);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool frmMain::showDocument(const QString& fileName) {
    const QString path = findDocument(fileName, documentFolders());
    if (path.isEmpty()) {
        messageBox(MessageIcon::Critical, MessageButtons::Ok, kMissingTitle,
                   QStringLiteral("　%1が見つかりませんでした。　　　").arg(fileName));
        return false;
    }
    if (!openWithViewer(path)) {
        messageBox(MessageIcon::Critical, MessageButtons::Ok, kMissingTitle,
                   QStringLiteral("　%1を開くことができませんでした。　　　").arg(path));
        return false;
    }
    return true;
}

// The maker's help file where one has been placed; this program's own help otherwise.
void frmMain::mnuHelp_Click() {
    if (refusedDuringOperation()) return;
    hideChooser();
    const QString makerHelp = findDocument(QString::fromLatin1(kMakerHelpName), documentFolders());
    if (!makerHelp.isEmpty() && openWithViewer(makerHelp)) return;
    showDocument(QString::fromLatin1(kHelpDocumentName));
}

void frmMain::hideEditingWindows() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == QLatin1String("frmEepromDataModify") ||
            window->objectName() == QLatin1String("frmExtend_Program"))
            window->hide();
}

} // namespace tavrin
