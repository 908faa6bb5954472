// A picture of a first start for the documentation: the program's own start-up, as the run
// command starts it (the board and the part in its socket named by TAVRIN_DEFAULT_PORT and
// TAVRIN_DEFAULT_PART, nothing saved), then the main window and the board picture drawn together
// at their places on the screen and saved as a PNG. scripts/screenshot.sh runs it under
// scripts/emulated-board.sh with the settings and data folders of a fresh user.
//   tavrin-first-start-screenshot --out FILE.png
#include "app/application.h"

#include "core/settings_store.h"
#include "mainwindow/widgets/frm_board.h"
#include "mainwindow/widgets/frm_main.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPainter>
#include <QTextStream>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(tavrin::kSettingsApplication));
    QApplication::setOrganizationName(QString::fromLatin1(tavrin::kSettingsApplication));
    QCommandLineParser parser;
    parser.addOption(
        {QStringLiteral("out"), QStringLiteral("PNG to write"), QStringLiteral("file")});
    parser.process(app);
    QTextStream err(stderr);
    if (!parser.isSet(QStringLiteral("out"))) {
        err << "--out FILE.png is required\n";
        return 2;
    }

    tavrin::Application program({{},
                                 qEnvironmentVariable("TAVRIN_DEFAULT_PORT"),
                                 {},
                                 {},
                                 qEnvironmentVariable("TAVRIN_DEFAULT_PART")});
    if (program.start() != tavrin::StartupOutcome::Ready) {
        err << "start-up did not end ready\n";
        return 1;
    }
    QCoreApplication::processEvents();

    tavrin::frmMain& window = program.window();
    QPixmap picture = window.grab();
    QWidget* board = window.boardWindow();
    if (board->isVisible()) {
        const QRect screen = window.geometry().united(board->geometry());
        QPixmap both(screen.size());
        both.fill(QColor(0x3A, 0x4A, 0x5A));
        QPainter p(&both);
        p.drawPixmap(window.geometry().topLeft() - screen.topLeft(), picture);
        p.drawPixmap(board->geometry().topLeft() - screen.topLeft(), board->grab());
        p.end();
        picture = both;
    }
    if (!picture.save(parser.value(QStringLiteral("out")))) {
        err << "cannot write " << parser.value(QStringLiteral("out")) << "\n";
        return 1;
    }
    program.shutdown();
    return 0;
}
