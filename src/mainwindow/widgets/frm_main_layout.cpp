// The widgets of the main window and their object names.
#include "frm_main.h"

#include "frm_board.h"
#include "id_line_edit.h"
#include "status_line.h"

#include "core/config_grids.h"
#include "core/document_lookup.h"
#include "mainwindow/logic/hex_file_commands.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>

namespace tavrin {

namespace {

template <class W> W* named(W* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QLabel* label(const QString& text, const char* name, QWidget* parent = nullptr) {
    return named(new QLabel(text, parent), name);
}

QAction* action(QMenu* menu, const QString& text, const char* name) {
    QAction* a = menu->addAction(text);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

QMenu* menu(QMenuBar* bar, const QString& title, const char* name) {
    QMenu* m = bar->addMenu(title);
    m->setObjectName(QString::fromLatin1(name));
    m->menuAction()->setObjectName(QString::fromLatin1(name));
    return m;
}

QFont dumpFont() {
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setStyleHint(QFont::Monospace);
    return f;
}

QPlainTextEdit* dumpView(const char* name) {
    auto* v = named(new QPlainTextEdit, name);
    v->setReadOnly(true);
    v->setLineWrapMode(QPlainTextEdit::NoWrap);
    v->setFont(dumpFont());
    return v;
}

} // namespace

void frmMain::buildMenus() {
    QMenuBar* bar = menuBar();
    QMenu* file = menu(bar, QStringLiteral("ファイル(&F)"), "file");
    connect(action(file, QStringLiteral("HEXファイルをロード(&O)"), "mnuFileOpen"),
            &QAction::triggered, this, &frmMain::mnuFileOpen_Click);
    connect(action(file, QStringLiteral("名前を付けてHEXファイルを保存(&S)"), "mnuFileSave"),
            &QAction::triggered, this, &frmMain::mnuFileSave_Click);
    file->addSeparator();
    for (int i = 0; i < 5; ++i) {
        nmuFile[i] = file->addAction(QString());
        nmuFile[i]->setObjectName(QStringLiteral("nmuFile%1").arg(i + 1));
        nmuFile[i]->setVisible(false);
        connect(nmuFile[i], &QAction::triggered, this, [this, i] {
            if (refusedDuringOperation()) return;
            hideChooser();
            OpenHistoryEntry(ctx_, i);
        });
    }
    connect(action(file, QStringLiteral("履歴のクリア(&C)"), "nmuHistryClear"), &QAction::triggered,
            this, &frmMain::nmuHistryClear_Click);
    file->addSeparator();
    connect(action(file, QStringLiteral("終了(&X)"), "exit"), &QAction::triggered, this,
            &frmMain::exit_Click);

    QMenu* asmC = menu(bar, QStringLiteral("ｱｾﾝﾌﾞﾗ(&A)"), "mnuAsmC");
    for (auto [text, name, handler] :
         {std::tuple{"【生成・ReLoad】(&A)", "mnuASMwithRELOAD", &frmMain::mnuASMwithRELOAD_Click},
          std::tuple{"【生成・ReLoad・書込】(&S)", "mnuAsmReloadProgram",
                     &frmMain::mnuAsmReloadProgram_Click},
          std::tuple{"【ReLoad】(&L)", "mnuRELOAD", &frmMain::mnuRELOAD_Click},
          std::tuple{"ｱｾﾝﾌﾞﾙ・ｺﾝﾊﾟｲﾙするﾌｧｲﾙを指定(&A)", "mnuSourceOpen",
                     &frmMain::mnuSourceOpen_Click},
          std::tuple{"テキストエディタを起動(&E)", "mnuEditer", &frmMain::mnuEditer_Click}})
        connect(action(asmC, QString::fromUtf8(text), name), &QAction::triggered, this, handler);
    // The settings window is a tool window of its own, offered once the program wires it.
    action(asmC, QStringLiteral("ｱｾﾝﾌﾞﾗ・ｺﾝﾊﾟｲﾗ設定(&S)"), "mnuMPASMsetting")
        ->setProperty("pendingFeature", true);

    QMenu* option = menu(bar, QStringLiteral("オプション(&O)"), "mnuOption");
    action(option, QStringLiteral("COMポート設定(&C)"), "confirm")
        ->setProperty("pendingFeature", true);
    option->addSeparator();
    connect(action(option, QStringLiteral("ＰＣバッファメモリ - ALL\"1\"(クリア)(&P)"),
                   "mnuPcBufferMemoryClear"),
            &QAction::triggered, this, &frmMain::mnuPcBufferMemoryClear_Click);
    connect(action(option, QStringLiteral("ＰＣバッファメモリ - ALL\"0\""), "mnuPcBufferMemory_0"),
            &QAction::triggered, this, &frmMain::mnuPcBufferMemory_0_Click);
    option->addSeparator();
    mnuBlankSkip = action(
        option, QStringLiteral("プログラム時のブランクチェックをスキップ(Flashマイコンのみ)"),
        "mnuBlankSkip");
    mnuComMode1 = action(option, QStringLiteral("通信モードその１"), "mnuComMode1");
    mnuBoardInfomation = action(option, QStringLiteral("ＰＩＣマイコン情報"), "mnuBoardInfomation");
    mnuLock = action(option, QStringLiteral("連続プログラムモード"), "mnuLock");
    for (QAction* a : {mnuBlankSkip, mnuComMode1, mnuBoardInfomation, mnuLock})
        a->setCheckable(true);
    connect(mnuBlankSkip, &QAction::triggered, this, &frmMain::mnuBlankSkip_Click);
    connect(mnuComMode1, &QAction::triggered, this, &frmMain::mnuComMode1_Click);
    connect(mnuBoardInfomation, &QAction::triggered, this, &frmMain::mnuBoardInfomation_Click);
    connect(mnuLock, &QAction::triggered, this, &frmMain::mnuLock_Click);
    option->addSeparator();
    connect(action(option, QStringLiteral("ウインドウの高さを標準に戻す"), "mnuFrmmainHight"),
            &QAction::triggered, this, &frmMain::mnuFrmmainHight_Click);
    action(option, QStringLiteral("ファームウエアアップデート"), "mnuFirmwareUpdate")
        ->setProperty("pendingFeature", true);

    QMenu* tool = menu(bar, QStringLiteral("ツール(&T)"), "mnuTool");
    for (auto [text, name] :
         {std::pair{"置き換え可能アドレスの検索(ディスアセンブル(１４ＢＩＴコア マイコンのみ))",
                    "mnuSerch"},
          std::pair{"プログラムメモリ使用状況表示(１４ＢＩＴコア マイコンのみ)", "nmuMemStatus"},
          std::pair{"シリアルデータプログラミング", "mnuSerialPgmSetting"},
          std::pair{"インデックス", "nmuindex"}})
        action(tool, QString::fromUtf8(text), name)->setProperty("pendingFeature", true);
    findChild<QAction*>(QStringLiteral("mnuSerialPgmSetting"))->setVisible(false);

    QMenu* help = menu(bar, QStringLiteral("ヘルプ(&H)"), "mnuHelp");
    connect(action(help, QStringLiteral("ヘルプ(&H)"), "mnuHelpContents"), &QAction::triggered,
            this, &frmMain::mnuHelp_Click);
    connect(action(help, QStringLiteral("製作確認資料"), "mnuBoardAmend"), &QAction::triggered,
            this, [this] {
                if (refusedDuringOperation()) return;
                hideChooser();
                showDocument(QString::fromUtf8(kAssemblyCheckDocumentName));
            });
    connect(action(help, QStringLiteral("ログファイルを開く"), "mnuLogFileOpen"),
            &QAction::triggered, this, &frmMain::mnuLogFileOpen_Click);
    connect(action(help, QStringLiteral("インフォメーション"), "info"), &QAction::triggered, this,
            &frmMain::info_Click);
    action(help, QStringLiteral("バージョン情報"), "version")->setProperty("pendingFeature", true);

    for (QAction* a : findChildren<QAction*>())
        if (a->property("pendingFeature").toBool()) a->setEnabled(false);
}

QWidget* frmMain::buildInformationTabs() {
    SSTab_MCU_Infomatin = named(new QTabWidget, "SSTab_MCU_Infomatin");
    const char* captions[10] = {"12C/F,16F", "16C715", "PIC18", "PIC16", "12F683",
                                " ",         " ",      " ",     " ",     " "};
    std::array<QWidget*, 10> pages{};
    for (int i = 0; i < 10; ++i) {
        pages[i] = new QWidget;
        SSTab_MCU_Infomatin->addTab(pages[i], QString::fromLatin1(captions[i]));
    }
    auto* calib = new QGridLayout(pages[0]);
    calib->addWidget(label(QStringLiteral("OSCCAL情報"), "Label_CalibInfo"), 0, 0);
    auto* readWrite = named(new QLineEdit(QStringLiteral("--")), "Lbl_Calib_ReadWrite_Data");
    readWrite->setReadOnly(true);
    calib->addWidget(readWrite, 0, 1);
    calib->addWidget(label(QStringLiteral("OSCCALデータ(16進数)"), "Label_Calib"), 1, 0);
    auto* calibText = named(new QLineEdit(QStringLiteral("--")), "Text_Calib_Data");
    Text_Calib_Data = calibText;
    calibText->setMaxLength(2);
    calib->addWidget(calibText, 1, 1);
    calib->addWidget(label(QStringLiteral("BGデータ(範囲：０～３)"), "Label_BG"), 2, 0);
    auto* bg = named(new QLineEdit(QStringLiteral("3")), "Text_BG");
    Text_BG = bg;
    bg->setMaxLength(1);
    calib->addWidget(bg, 2, 1);

    auto* parity = new QVBoxLayout(pages[1]);
    Check_Parity_Disp = named(new QCheckBox(QStringLiteral("パリティ表示：")), "Check_Parity_Disp");
    parity->addWidget(Check_Parity_Disp);
    parity->addStretch();
    connect(Check_Parity_Disp, &QCheckBox::clicked, this, &frmMain::Check_Parity_Disp_Click);

    auto* pic18 = new QHBoxLayout(pages[2]);
    pic18->addWidget(label(QStringLiteral("Device ID：   　　　  Rev："), "Label_dvid1"));
    pic18->addWidget(label(QStringLiteral("--"), "Label_DEV_id"));
    pic18->addWidget(label(QStringLiteral("--"), "Label_DEV_rev"));
    pic18->addStretch();

    auto* f683 = new QGridLayout(pages[4]);
    int row = 0;
    for (auto [text, name] : {std::pair{"BOD", "Cmb_BOD_Calib"}, std::pair{"POR", "Cmb_POR_Calib"},
                              std::pair{"FCAL", "Cmb_FCAL_Calib"}}) {
        f683->addWidget(new QLabel(QString::fromLatin1(text)), row, 0);
        auto* box = named(new QComboBox, name);
        box->setEnabled(false);
        f683->addWidget(box, row++, 1);
    }
    return SSTab_MCU_Infomatin;
}

void frmMain::buildCentral() {
    auto* central = new QWidget;
    central->setObjectName(QStringLiteral("Label_back"));
    setCentralWidget(central);
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(6, 4, 6, 4);
    outer->setSpacing(4);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("デバイス：")));
    Combo_device = named(new QComboBox, "Combo_device");
    Combo_device->setMinimumContentsLength(14);
    Combo_device->setMaxVisibleItems(24);
    top->addWidget(Combo_device);
    // Every choice runs the selection, also of the part already selected.
    connect(Combo_device, &QComboBox::activated, this, &frmMain::Combo_device_Click);
    top->addWidget(new QLabel(QStringLiteral("プログラムメモリ")));
    top->addWidget(label(QString(), "Label_pm_size"));
    top->addSpacing(12);
    top->addWidget(label(QString(), "Label_ed_size"));
    top->addStretch();
    top->addWidget(label(QString(), "Label_Ver"));
    outer->addLayout(top);

    auto* buttons = new QHBoxLayout;
    auto button = [&](const QString& text, const char* name) {
        auto* b = named(new QPushButton(text), name);
        b->setMinimumHeight(40);
        buttons->addWidget(b);
        return b;
    };
    connect(button(QStringLiteral("ブランクチェック(&B)"), "Command_blank"), &QPushButton::clicked,
            this, &frmMain::Command_blank_Click);
    connect(button(QStringLiteral("プログラム(&P)"), "Command_pogram"), &QPushButton::clicked, this,
            &frmMain::Command_pogram_Click);
    connect(button(QStringLiteral("ベリファイ(&V)"), "Command_Vrify"), &QPushButton::clicked, this,
            &frmMain::Command_Vrify_Click);
    connect(button(QStringLiteral("リード(&R)"), "Command_read"), &QPushButton::clicked, this,
            &frmMain::Command_read_Click);
    connect(button(QStringLiteral("拡張機能(&E)"), "Cmd_Extend_Program"), &QPushButton::clicked,
            this, &frmMain::Cmd_Extend_Program_Click);
    auto* command3 = button(QStringLiteral("EEPROM Data 修正"), "Command3");
    command3->setEnabled(false); // until a part with data EEPROM is chosen
    connect(command3, &QPushButton::clicked, this, &frmMain::Command3_Click);
    buttons->addStretch();
    connect(button(QStringLiteral("Hex ﾛｰﾄﾞ "), "Cmd_open"), &QPushButton::clicked, this,
            &frmMain::mnuFileOpen_Click);
    connect(button(QStringLiteral("Hex 保存"), "Cmd_save"), &QPushButton::clicked, this,
            &frmMain::Cmd_save_Click);
    button(QStringLiteral("COM"), "Command_com")->setProperty("pendingFeature", true);
    outer->addLayout(buttons);

    auto* middle = new QHBoxLayout;
    auto* views = new QVBoxLayout;
    views->addWidget(new QLabel(QStringLiteral("プログラムメモリ")));
    RichTxtPgmMem = dumpView("RichTxtPgmMem");
    views->addWidget(RichTxtPgmMem, 3);
    views->addWidget(label(QStringLiteral("EEPROM"), "Label4"));
    rText_EepromMem = dumpView("rText_EepromMem");
    views->addWidget(rText_EepromMem, 2);
    middle->addLayout(views, 5);

    auto* side = new QVBoxLayout;
    Frame2 = named(new QGroupBox(QStringLiteral("ID")), "Frame2");
    auto* idRow = new QHBoxLayout(Frame2);
    Text_ID = new IdLineEdit;
    Text_ID->setObjectName(QStringLiteral("Text_ID"));
    Text_ID->setMaxLength(4);
    Text_ID->setFont(dumpFont());
    idRow->addWidget(Text_ID);
    idRow->addWidget(label(QStringLiteral("Dev："), "Lbl_div"));
    idRow->addWidget(label(QString(), "Lbl_ID_Dev"));
    idRow->addWidget(label(QStringLiteral("Rev："), "Lbl_rev"));
    idRow->addWidget(label(QString(), "Lbl_ID_Rev"));
    idRow->addStretch();
    connect(Text_ID, &IdLineEdit::focusLeft, this, &frmMain::Text_ID_LostFocus);
    connect(Text_ID, &IdLineEdit::clicked, this, &frmMain::Text_ID_Click);
    side->addWidget(Frame2);

    auto* words = new QGridLayout;
    words->addWidget(new QLabel(QStringLiteral("Config1：")), 0, 0);
    words->addWidget(label(QString(), "Text_Config1"), 0, 1);
    words->addWidget(new QLabel(QStringLiteral("Config2：")), 0, 2);
    words->addWidget(label(QString(), "Text_Config2"), 0, 3);
    words->addWidget(new QLabel(QStringLiteral("チェックサム：")), 1, 0);
    words->addWidget(label(QString(), "LblCheckSUM"), 1, 1);
    words->addWidget(label(QString(), "Label_Debug"), 1, 2, 1, 2);
    side->addLayout(words);

    SSTab_Config = named(new QTabWidget, "SSTab_Config");
    for (int i = 0; i < 7; ++i) {
        auto* grid = new QTableWidget(0, 2);
        grid->setObjectName(QStringLiteral("HFGrid%1").arg(i + 1));
        grid->verticalHeader()->hide();
        grid->verticalHeader()->setDefaultSectionSize(22);
        grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
        grid->setSelectionMode(QAbstractItemView::SingleSelection);
        grid->horizontalHeader()->setStretchLastSection(true);
        HFGrid[i] = grid;
        SSTab_Config->addTab(grid, configGridTitle(i + 1));
        const int word = i + 1;
        connect(grid, &QTableWidget::currentCellChanged, this,
                [this, word](int, int, int, int) { HFGrid_RowColChange(word); });
        connect(grid, &QTableWidget::cellClicked, this,
                [this, word](int, int) { HFGrid_RowColChange(word); });
    }
    connect(SSTab_Config, &QTabWidget::currentChanged, this, [this] { hideChooser(); });
    side->addWidget(SSTab_Config, 1);

    Chk_12F_CalibData_Select =
        named(new QCheckBox(QStringLiteral("ＰＩＣ内部のｷｬﾘﾌﾞﾚｰｼｮﾝﾃﾞｰﾀを使用する。")),
              "Chk_12F_CalibData_Select");
    Chk_12F_CalibData_Select->hide();
    connect(Chk_12F_CalibData_Select, &QCheckBox::clicked, this,
            &frmMain::Chk_12F_CalibData_Select_Click);
    side->addWidget(Chk_12F_CalibData_Select);
    side->addWidget(buildInformationTabs());
    SSTab_MCU_Infomatin->setMaximumHeight(120);
    middle->addLayout(side, 4);
    outer->addLayout(middle, 1);

    buildStatusArea(outer);

    CmbInit = named(new QComboBox(central), "CmbInit");
    CmbInit->hide();
    connect(CmbInit, &QComboBox::activated, this, &frmMain::CmbInit_Click);
    TxtInit = named(new QLineEdit(central), "TxtInit");
    TxtInit->hide();
}

void frmMain::buildStatusArea(QBoxLayout* into) {
    auto* bottom = new QHBoxLayout;
    LabelCmt = named(new StatusLine, "LabelCmt");
    LabelCmt->setFrameShape(QFrame::StyledPanel);
    LabelCmt->setFrameShadow(QFrame::Sunken);
    // Room for two lines from the start: a verdict may take two (the PIC18 blank check's ends in
    // a line break), and a status line that grew and shrank with it would lay out and repaint
    // the whole window at every such operation's end and the next one's start.
    LabelCmt->setText(QStringLiteral("0\n0"));
    LabelCmt->setMinimumHeight(std::max(24, LabelCmt->sizeHint().height()));
    LabelCmt->clear();
    // The status line takes the width the window gives it: a long text is cut at its end rather
    // than widening the window, and read in full as the line's tooltip.
    LabelCmt->setSizePolicy(QSizePolicy::Ignored, LabelCmt->sizePolicy().verticalPolicy());
    bottom->addWidget(LabelCmt, 1);
    P_Bar = named(new QProgressBar, "P_Bar");
    P_Bar->setTextVisible(false);
    P_Bar->setFixedWidth(160);
    P_Bar->hide();
    bottom->addWidget(P_Bar);
    Lbl_Persent = label(QString(), "Lbl_Persent");
    Lbl_Persent->setMinimumWidth(40);
    Lbl_Persent->hide();
    bottom->addWidget(Lbl_Persent);
    auto* firmware = label(QStringLiteral("ライター未接続"), "Label_FirmwareVersion");
    firmware->setFrameShape(QFrame::StyledPanel);
    firmware->setAutoFillBackground(true);
    bottom->addWidget(firmware);
    into->addLayout(bottom);
}

} // namespace tavrin
