// Start of the program: the real clock, serial port and settings, then the main window.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavrin Writer v4"));
    QApplication::setOrganizationName(QStringLiteral("Tavrin Writer v4"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tavrin Writer"));
    window.setCentralWidget(new QLabel(QStringLiteral("しばらくお待ちください.....")));
    window.resize(800, 600);
    window.show();
    return QApplication::exec();
}
