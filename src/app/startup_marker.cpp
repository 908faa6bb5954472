#include "startup_marker.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMessageBox>

#include <cstdio>

namespace tavrin {

namespace {
const char* const kAnsweredProperty = "startupMarkerAnswered";

// One line whatever the message's own line ends.
QString oneLine(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

void printLine(const QString& line) {
    std::fputs(("tavrin-writer: " + line + QLatin1Char('\n')).toUtf8().constData(), stdout);
    std::fflush(stdout);
}
} // namespace

std::unique_ptr<StartupMarker> StartupMarker::fromEnvironment() {
    if (qEnvironmentVariableIsEmpty("TAVRIN_STARTUP_MARKER")) return nullptr;
    return std::make_unique<StartupMarker>();
}

StartupMarker::StartupMarker() {
    qApp->installEventFilter(this);
}

StartupMarker::~StartupMarker() {
    qApp->removeEventFilter(this);
}

void StartupMarker::windowReady() {
    // Paints are queued at low priority; an event queued behind them runs after they are done.
    QCoreApplication::postEvent(this, new QEvent(QEvent::User), Qt::LowEventPriority);
}

bool StartupMarker::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Paint) return false;
    auto* dialog = qobject_cast<QDialog*>(watched);
    if (!dialog || !dialog->isModal() || dialog->property(kAnsweredProperty).toBool()) return false;
    dialog->setProperty(kAnsweredProperty, true);
    QString line = QStringLiteral("modal");
    if (!dialog->objectName().isEmpty()) line += QLatin1Char(' ') + dialog->objectName();
    line += QStringLiteral(" \"") + dialog->windowTitle() + QLatin1Char('"');
    if (auto* box = qobject_cast<QMessageBox*>(dialog))
        line += QStringLiteral(" \"") + oneLine(box->text()) + QLatin1Char('"');
    printLine(line);
    QCoreApplication::postEvent(dialog,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    return false;
}

void StartupMarker::customEvent(QEvent* event) {
    if (event->type() != QEvent::User) return;
    printLine(QStringLiteral("ready"));
    QCoreApplication::quit();
}

} // namespace tavrin
