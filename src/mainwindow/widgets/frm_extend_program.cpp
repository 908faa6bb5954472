#include "frm_extend_program.h"

#include "on_screen.h"

#include "core/operation_guard.h"
#include "core/session.h"
#include "core/settings_store.h"
#include "mainwindow/operations/extended_operations.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>

namespace tavrin {

namespace {

struct WindowButton {
    const char* name;
    Control control;
    std::optional<Area> area;
};

const WindowButton kWindowButtons[] = {
    {"Cmd_DATA_Program", Control::frmExtend_Program_Cmd_DATA_Program, Area::EepromProgram},
    {"Cmd_DATA_Erase", Control::frmExtend_Program_Cmd_DATA_Erase, Area::EepromErase},
    {"Cmd_DATA_Read", Control::frmExtend_Program_Cmd_DATA_Read, Area::EepromRead},
    {"Cmd_DATA_PcbufferClear", Control::frmExtend_Program_Cmd_DATA_PcbufferClear, std::nullopt},
    {"Cmd_EEDATA_modify", Control::frmExtend_Program_Cmd_EEDATA_modify, std::nullopt},
    {"Cmd_PGM_Program", Control::frmExtend_Program_Cmd_PGM_Program, Area::ProgramProgram},
    {"Cmd_PGM_Erase", Control::frmExtend_Program_Cmd_PGM_Erase, Area::ProgramErase},
    {"Cmd_PGM_Read", Control::frmExtend_Program_Cmd_PGM_Read, Area::ProgramRead},
    {"Cmd_PGM_PcbufferClear", Control::frmExtend_Program_Cmd_PGM_PcbufferClear, std::nullopt},
    {"Cmd_Chip_Erace", Control::frmExtend_Program_Cmd_Chip_Erace, Area::ChipErase},
};

} // namespace

frmExtend_Program::frmExtend_Program(ExtendedOperations& operations, Session& session,
                                     SettingsStore& settings, QWidget* owner)
    : QWidget(owner, Qt::Tool), ops_(operations), s_(session), settings_(settings) {
    setObjectName(QStringLiteral("frmExtend_Program"));
    setWindowTitle(QStringLiteral("拡張プログラミング機能"));
    auto* outer = new QVBoxLayout(this);
    auto button = [this](const QString& text, const char* name, QLayout* into) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setMinimumHeight(32);
        into->addWidget(b);
        return b;
    };

    auto* data = new QGroupBox(QStringLiteral("EEPROM DATAﾒﾓﾘ"), this);
    auto* dataLayout = new QVBoxLayout(data);
    auto* pgm = new QGroupBox(QStringLiteral("ＰＧＭメモリ,CFG,ID"), this);
    auto* pgmLayout = new QVBoxLayout(pgm);
    auto* frames = new QHBoxLayout;
    frames->addWidget(data);
    frames->addWidget(pgm);
    outer->addLayout(frames);

    connect(button(QStringLiteral("ﾌﾟﾛｸﾞﾗﾑ"), "Cmd_DATA_Program", dataLayout),
            &QPushButton::clicked, this, [this] { ops_.Cmd_DATA_Program_Click(); });
    connect(button(QStringLiteral("消 去"), "Cmd_DATA_Erase", dataLayout), &QPushButton::clicked,
            this, [this] { ops_.Cmd_DATA_Erase_Click(); });
    connect(button(QStringLiteral("リード"), "Cmd_DATA_Read", dataLayout), &QPushButton::clicked,
            this, [this] { ops_.Cmd_DATA_Read_Click(); });
    connect(button(QStringLiteral("PCﾊﾞｯﾌｧﾒﾓﾘ ｸﾘｱ"), "Cmd_DATA_PcbufferClear", dataLayout),
            &QPushButton::clicked, this, [this] { ops_.Cmd_DATA_PcbufferClear_Click(); });
    connect(button(QStringLiteral("PCﾊﾞｯﾌｧﾒﾓﾘ 修正"), "Cmd_EEDATA_modify", dataLayout),
            &QPushButton::clicked, this, [this] {
                if (!operationRunning(s_)) emit eepromEditorRequested();
            });

    connect(button(QStringLiteral("ﾌﾟﾛｸﾞﾗﾑ"), "Cmd_PGM_Program", pgmLayout), &QPushButton::clicked,
            this, [this] { ops_.Cmd_PGM_Program_Click(); });
    connect(button(QStringLiteral("消 去"), "Cmd_PGM_Erase", pgmLayout), &QPushButton::clicked,
            this, [this] { ops_.Cmd_PGM_Erase_Click(); });
    connect(button(QStringLiteral("リード"), "Cmd_PGM_Read", pgmLayout), &QPushButton::clicked,
            this, [this] { ops_.Cmd_PGM_Read_Click(); });
    connect(button(QStringLiteral("PCﾊﾞｯﾌｧﾒﾓﾘ ｸﾘｱ"), "Cmd_PGM_PcbufferClear", pgmLayout),
            &QPushButton::clicked, this, [this] { ops_.Cmd_PGM_PcbufferClear_Click(); });

    auto* hint = new QLabel(
        QStringLiteral("消去コマンドでは、コードプロテクトされたエリアを消去できません。"), this);
    hint->setObjectName(QStringLiteral("Label1"));
    hint->setWordWrap(true);
    outer->addWidget(hint);
    auto* bottom = new QHBoxLayout;
    connect(button(QStringLiteral("チップイレース(ＣＰ解除)"), "Cmd_Chip_Erace", bottom),
            &QPushButton::clicked, this, [this] { ops_.Cmd_Chip_Erace_Click(); });
    connect(button(QStringLiteral("閉じる"), "CancelButton", bottom), &QPushButton::clicked, this,
            &QWidget::close);
    outer->addLayout(bottom);

    bool okLeft = false, okTop = false;
    const int left =
        settings_.value(QStringLiteral("ExtPgmLeft"), QStringLiteral("100")).toDouble(&okLeft);
    const int top =
        settings_.value(QStringLiteral("ExtPgmTop"), QStringLiteral("100")).toDouble(&okTop);
    moveOnScreen(*this, QPoint(okLeft ? left : 100, okTop ? top : 100), owner);
    Form_Load();
}

void frmExtend_Program::Form_Load() {
    for (const WindowButton& b : kWindowButtons) {
        auto* w = findChild<QPushButton*>(QString::fromLatin1(b.name));
        if (!w) continue;
        w->setEnabled(ops_.buttonEnabled(b.control));
        // A part whose module has no procedure for the area gets no button that does nothing.
        w->setToolTip(
            b.area && !ops_.available(*b.area)
                ? QStringLiteral("この操作は %1 では使えません。").arg(s_.device.SelectedDevice)
                : QString());
    }
}

void frmExtend_Program::closeEvent(QCloseEvent* event) {
    if (operationRunning(s_)) {
        event->ignore();
        return;
    }
    settings_.setValue(QStringLiteral("ExtPgmLeft"), QString::number(x()));
    settings_.setValue(QStringLiteral("ExtPgmTop"), QString::number(y()));
    event->accept();
    emit closed();
    deleteLater();
}

} // namespace tavrin
