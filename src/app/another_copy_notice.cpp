#include "another_copy_notice.h"

#include "core/command_line.h"
#include "core/settings_store.h"

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

void tellAnotherCopyRuns(const QStringList& arguments) {
    const QString text = anotherCopyRunsText(arguments);
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
    QMessageBox box(QMessageBox::Information, QLatin1String(kSettingsApplication), text,
                    QMessageBox::Ok);
    box.exec();
}

} // namespace tavrin
