// The assembler settings window forwards the person's own edits: filling it at load is no change,
// a click on the display box is one, and a file that is not a tool is refused with a message.
#include "core/session.h"
#include "core/settings_store.h"
#include "tools/logic/assembler_settings.h"
#include "tools/widgets/frm_mpasmwin.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace tavrin;

class AssemblerSettingsWindow : public QObject {
    Q_OBJECT
  private slots:
    void forwardsOnlyThePersonsEdits();
    void theFileDialogTakesAProgramWithoutSuffix();
};

void AssemblerSettingsWindow::forwardsOnlyThePersonsEdits() {
    Session s;
    s.app.AsmToolPath = QStringLiteral("/old/gpasm");
    MemorySettingsStore settings;
    settings.setValue(QStringLiteral("AsmFilePathWithFileName"), s.app.AsmToolPath);
    settings.setValue(QStringLiteral("AsmOption"), QStringLiteral("-q -w 1"));
    settings.setValue(QStringLiteral("EditerA"), QStringLiteral("False"));
    settings.setValue(QStringLiteral("EditerB"), QStringLiteral("True"));
    const auto before = settings.all();

    {
        AssemblerSettings model(s, settings);
        frmMPASMWIN window(model);
        QCOMPARE(window.findChild<QLineEdit*>(QStringLiteral("txtAsmPath"))->text(),
                 s.app.AsmToolPath);
        QCOMPARE(window.findChild<QLineEdit*>(QStringLiteral("txtAsmOption"))->text(),
                 QStringLiteral("-q -w 1"));
        QVERIFY(window.findChild<QRadioButton*>(QStringLiteral("Option_Editer"))->isChecked());
        QVERIFY(!model.changed());
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("OKButton")),
                          Qt::LeftButton);
        QCOMPARE(settings.all(), before);
    }
    {
        AssemblerSettings model(s, settings);
        frmMPASMWIN window(model);
        window.show();
        QStringList notices;
        window.setFileChooser([](const QString&, const QString& folder, const QString&) {
            return folder + QStringLiteral("/readme.txt");
        });
        window.setRefusalNotice([&](const QString&, const QString& text) { notices << text; });
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdOpenAsm")),
                          Qt::LeftButton);
        QCOMPARE(notices,
                 QStringList{QStringLiteral("アセンブラ、または、コンパイラを指定してください。")});
        QCOMPARE(window.findChild<QLineEdit*>(QStringLiteral("txtAsmPath"))->text(),
                 QStringLiteral("/old/gpasm"));
        auto* display = window.findChild<QCheckBox*>(QStringLiteral("Chk_asm_option_Display"));
        QTest::mouseClick(display, Qt::LeftButton);
        QVERIFY(display->isChecked());
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("OKButton")),
                          Qt::LeftButton);
        QCOMPARE(settings.value(QStringLiteral("Display_option"), QString()), QStringLiteral("1"));
        QCOMPARE(settings.value(QStringLiteral("AsmOption"), QString()), QStringLiteral("-q -w 1"));
        QCOMPARE(settings.value(QStringLiteral("EditerA"), QString()), QStringLiteral("False"));
        QCOMPARE(settings.value(QStringLiteral("AsmFilePathWithFileName"), QString()),
                 QStringLiteral("/old/gpasm"));
    }
}

// Programs here carry no ".exe": the window's own file dialog takes one by its bare name, also
// when another tool was kept before.
void AssemblerSettingsWindow::theFileDialogTakesAProgramWithoutSuffix() {
    QTemporaryDir folder;
    const QString tool = folder.filePath(QStringLiteral("gpasm"));
    QFile program(tool);
    QVERIFY(program.open(QIODevice::WriteOnly));
    program.write("#!/bin/sh\n");
    program.close();
    QVERIFY(program.setPermissions(program.permissions() | QFileDevice::ExeOwner));

    Session s;
    s.app.AsmToolPath = QStringLiteral("/opt/cc/picc");
    MemorySettingsStore settings;
    settings.setValue(QStringLiteral("AsmFilePathWithFileName"), s.app.AsmToolPath);
    settings.setValue(QStringLiteral("AsmFilePath"), folder.path());
    AssemblerSettings model(s, settings);
    frmMPASMWIN window(model);
    window.show();

    // The person types the name into the dialog and presses Enter; any box the dialog or the
    // window puts up is read and closed, and then the dialog is left.
    QStringList boxes;
    bool typed = false;
    QTimer person;
    QObject::connect(&person, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            boxes << box->text();
            box->close();
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            if (typed) {
                dialog->reject();
                return;
            }
            typed = true;
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            name->setText(QStringLiteral("gpasm"));
            // Pressed once this check has returned: what the key opens is answered by the next.
            QTimer::singleShot(0, name, [name] { QTest::keyClick(name, Qt::Key_Return); });
        }
    });
    person.start(10);
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdOpenAsm")), Qt::LeftButton);
    person.stop();
    QVERIFY(typed);
    QVERIFY2(boxes.isEmpty(), qPrintable(boxes.join(QLatin1Char('|'))));
    QCOMPARE(window.findChild<QLineEdit*>(QStringLiteral("txtAsmPath"))->text(), tool);
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
    QCOMPARE(settings.value(QStringLiteral("AsmFilePathWithFileName"), QString()), tool);
    QCOMPARE(s.app.AsmToolPath, tool);
}

QTEST_MAIN(AssemblerSettingsWindow)
#include "assembler_settings_window_test.moc"
