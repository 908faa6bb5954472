// What the main window shows stays readable and in place, through the real window with the board
// emulator on a pty: a status text longer than the status line is cut with "…" and readable in
// full as the line's tooltip, and an option chosen in a configuration grid leaves its row where it
// was, selected.
#include "window_bench.h"

#include "core/status.h"

#include <QHelpEvent>
#include <QScrollBar>
#include <QTableWidget>
#include <QTabWidget>
#include <QToolTip>
#include <QtTest>

using namespace tavrin;
using namespace tavrin::test;

namespace {

// A good file followed by a record beyond the 16-bit addresses and lines that are not HEX: the
// status names both, and is long.
QString fileWithBadLines(const QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("with junk.hex"));
    QFile good(testDataPath(QStringLiteral("counter84a.hex")));
    QFile out(path);
    if (!good.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly)) return QString();
    QByteArray text = good.readAll();
    text.replace(":00000001FF", "");
    text += ":020000040001F9\n:0100000000FF\n:020000040000FA\n";
    for (int i = 0; i < 14; ++i)
        text += "not a record\n";
    text += ":00000001FF\n";
    out.write(text);
    return path;
}

bool fits(const QLabel* line) {
    for (const QString& part : line->text().split(QLatin1Char('\n')))
        if (line->fontMetrics().horizontalAdvance(part) > line->contentsRect().width())
            return false;
    return true;
}

QTableWidgetItem* rowOf(QTableWidget* grid, const QString& setting) {
    for (int r = 0; r < grid->rowCount(); ++r)
        if (grid->item(r, 0) && grid->item(r, 0)->text() == setting) return grid->item(r, 1);
    return nullptr;
}

} // namespace

class StatusLineAndGrid : public QObject {
    Q_OBJECT
  private slots:
    void aLongStatusIsReadableInFull();
    void anEditedGridRowStaysInViewAndSelected();
};

void StatusLineAndGrid::aLongStatusIsReadableInFull() {
    QTemporaryDir files;
    Bench bench({"--part", "PIC16F84A"}, fileWithBadLines(files));
    QVERIFY(bench.started);
    bench.select(QStringLiteral("PIC16F84A"));
    // As narrow as the window goes: the person may make it so.
    bench.window->resize(bench.window->minimumSizeHint().width(), bench.window->height());
    QCoreApplication::processEvents();
    bench.find<QAction>("mnuFileOpen")->trigger();

    auto* line = bench.find<QLabel>("LabelCmt");
    const QString status = line->text();
    QVERIFY2(status.contains(QStringLiteral("ＨＥＸデータでないので読み飛ばしました。")),
             qPrintable(status));
    QVERIFY2(!fits(line), qPrintable(status));
    QCOMPARE(line->toolTip(), status);
    // Pointing at the line shows the whole text.
    const QPoint at = line->rect().center();
    QHelpEvent hover(QEvent::ToolTip, at, line->mapToGlobal(at));
    QApplication::sendEvent(line, &hover);
    QTRY_COMPARE(QToolTip::text(), status);
    QToolTip::hideText();

    // Widened until it fits, the line needs no tooltip; a short text has none either.
    bench.window->resize(line->fontMetrics().horizontalAdvance(status) + 800,
                         bench.window->height());
    QTRY_VERIFY(fits(line));
    QVERIFY(line->toolTip().isEmpty());
    bench.window->resize(bench.window->minimumSizeHint().width(), bench.window->height());
    QTRY_COMPARE(line->toolTip(), status);
    ShowStatusMessage(*bench.window, QStringLiteral("短い"), QString());
    QVERIFY(fits(line));
    QVERIFY(line->toolTip().isEmpty());
}

void StatusLineAndGrid::anEditedGridRowStaysInViewAndSelected() {
    Bench bench({"--part", "PIC16F877A"});
    QVERIFY(bench.started);
    bench.select(QStringLiteral("PIC16F877A"));
    auto* tabs = bench.find<QTabWidget>("SSTab_Config");
    tabs->setCurrentIndex(0);
    auto* grid = bench.find<QTableWidget>("HFGrid1");
    QVERIFY(grid->rowCount() > 3);
    // Low enough that the grid scrolls: the edited row is not the last one in view.
    bench.window->resize(bench.window->width(), bench.window->minimumSizeHint().height());
    QCoreApplication::processEvents();
    grid->scrollToTop();
    QTableWidgetItem* wdte = rowOf(grid, QStringLiteral("WDTE"));
    QVERIFY(wdte);
    const QString before = wdte->text();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(wdte).center());
    auto* chooser = bench.find<QComboBox>("CmbInit");
    QVERIFY(chooser->isVisible());
    const int scrolled = grid->verticalScrollBar()->value();
    const int next = (chooser->currentIndex() + 1) % chooser->count();
    chooser->setCurrentIndex(next);
    emit chooser->activated(next);
    QCoreApplication::processEvents();

    QVERIFY(wdte->text() != before);
    QCOMPARE(grid->currentRow(), wdte->row());
    QCOMPARE(grid->selectedItems(), QList<QTableWidgetItem*>{wdte});
    QCOMPARE(grid->verticalScrollBar()->value(), scrolled);
    QVERIFY(grid->viewport()->rect().contains(grid->visualItemRect(wdte)));
}

QTEST_MAIN(StatusLineAndGrid)
#include "status_line_and_grid_qtest.moc"
