#include "another_copy_notice.h"

#include "core/command_line.h"
#include "core/settings_store.h"
#include "core/single_instance.h"

#include <QMessageBox>

#include <cstdio>

namespace tavrin {

QString anotherCopyRunsText(const QStringList& arguments) {
    QString text = QLatin1String(kSettingsApplication) +
                   QStringLiteral(" はすでに起動しています。二つ目は起動しません。");
    if (!arguments.isEmpty())
        text += QStringLiteral("\r\n") + commandLineText(arguments) +
                QStringLiteral(" は開いていません。起動しているプログラムで開いてください。");
    return text;
}

namespace {
QString printAnotherCopyRuns(const QStringList& arguments) {
    const QString text = anotherCopyRunsText(arguments);
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
    return text;
}
} // namespace

void tellAnotherCopyRuns(const QStringList& arguments) {
    const QString text = printAnotherCopyRuns(arguments);
    QMessageBox box(QMessageBox::Information, QLatin1String(kSettingsApplication), text,
                    QMessageBox::Ok);
    box.exec();
}

int answerCheckRunning(const QStringList& arguments) {
    // Taking the lock is the only sure test that its holder is alive; it goes again at once.
    SingleInstanceLock instance;
    if (instance.acquire() != SingleInstanceLock::Outcome::HeldByOther) return 1;
    printAnotherCopyRuns(arguments);
    return 0;
}

} // namespace tavrin
