#include "frm_mpasmwin.h"

#include "core/settings_store.h"
#include "tools/logic/assembler_settings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tavrin {

namespace {

const QString kChooseTitle = QStringLiteral("アセンブラ・コンパイラの場所を指定してください。");
const QString kToolFilter = QStringLiteral("EXEファイル (*.EXE *.exe);;全てのファイル (*)");
const QString kRefusalText = QStringLiteral("アセンブラ、または、コンパイラを指定してください。");

QString informationText() {
    const QString br = QStringLiteral("\n");
    return QStringLiteral(
               "メニューバー【HEXファイルの再生成とロード】をクリックしたとき・・・・・") +
           br +
           QStringLiteral(
               "HEXファイルが、すでにロードされているときは、HEXファイルと同じファイル名で"
               "拡張子がASM/Cのファイルをアセンブル・コンパイルします。"
               "HEXファイルがロードされていないときは、ダイアログが現れるので"
               "ソースファイルを指定します。") +
           br + br + QStringLiteral("サポートプログラム") + br +
           QStringLiteral("アセンブラ　：　mpasmwin.exe , その他") + br +
           QStringLiteral("コンパイラ　：　picc.exe , ccsc.exe") + br + br + br +
           QStringLiteral("MPLAB V5.xxとMPLAB V6.xxの両方をインストールしているときは、"
                          "MPLAB V6.xxフォルダー内のアセンブラを指定して下さい。");
}

template <class W> W* named(W* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QLabel* wrappedLabel(const QString& text, const char* name, QWidget* parent) {
    auto* label = named(new QLabel(text, parent), name);
    label->setWordWrap(true);
    return label;
}

} // namespace

frmMPASMWIN::frmMPASMWIN(AssemblerSettings& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    setObjectName(QStringLiteral("frmMPASMWIN"));
    setWindowTitle(QStringLiteral("アセンブラ・コンパイラの設定"));
    setModal(true);

    txtAsmPath = named(new QLineEdit(this), "txtAsmPath");
    txtAsmPath->setReadOnly(true);
    txtAsmPath->setMinimumWidth(360);
    cmdOpenAsm = named(new QPushButton(QStringLiteral("開く"), this), "cmdOpenAsm");
    cmdOpenAsm->setAutoDefault(false);
    txtAsmOption = named(new QLineEdit(this), "txtAsmOption");
    Text_After_File = named(new QLineEdit(this), "Text_After_File");

    auto* Frame1 = named(
        new QGroupBox(QStringLiteral("アセンブル・コンパイルエラー時の処理"), this), "Frame1");
    Option_Notopad =
        named(new QRadioButton(QStringLiteral("メモ帳で開く"), Frame1), "Option_Notopad");
    Option_Editer = named(new QRadioButton(Frame1), "Option_Editer");
    auto* openWith = new QButtonGroup(this);
    openWith->addButton(Option_Notopad);
    openWith->addButton(Option_Editer);
    auto* frame1Layout = new QVBoxLayout(Frame1);
    frame1Layout->addWidget(wrappedLabel(
        QStringLiteral("アセンブル・コンパイルで、エラーがあったときに開きたいファイルの "
                       "拡張子を指定してください。　ファイルを開きたくないときは空白です。　"
                       "一般には”lst”や”err”を指定します。"),
        "Label4", Frame1));
    frame1Layout->addWidget(Text_After_File);
    frame1Layout->addWidget(Option_Notopad);
    frame1Layout->addWidget(Option_Editer);

    Chk_asm_option_Display =
        named(new QCheckBox(QStringLiteral("アセンブル・コンパイル時に情報を表示する"), this),
              "Chk_asm_option_Display");
    auto* Frame3 =
        named(new QGroupBox(QStringLiteral("Ccsc.exe 使用時の専用オプション"), this), "Frame3");
    Check_ccsc_device_info =
        named(new QCheckBox(
                  QStringLiteral("HEXファイル内のターゲットチップ名を使用してデバイス選択を行う。"),
                  Frame3),
              "Check_ccsc_device_info");
    (new QVBoxLayout(Frame3))->addWidget(Check_ccsc_device_info);

    auto* Frame2 = named(new QGroupBox(QStringLiteral("インフォメーション"), this), "Frame2");
    Label2 = wrappedLabel(QString(), "Label2", Frame2);
    (new QVBoxLayout(Frame2))->addWidget(Label2);

    OKButton = named(new QPushButton(QStringLiteral("閉じる"), this), "OKButton");
    OKButton->setDefault(true);
    CancelButton = named(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this), "CancelButton");
    CancelButton->setAutoDefault(false);

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(txtAsmPath, 1);
    pathRow->addWidget(cmdOpenAsm);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(wrappedLabel(
        QStringLiteral("アセンブラ・コンパイラの場所を指定してください。"), "Label1", this));
    layout->addLayout(pathRow);
    layout->addWidget(
        wrappedLabel(QStringLiteral("オプションを指定してください。（mpasmwinでは\"/q\"を、"
                                    "ccscでは\"+p\"を推奨します。)"),
                     "Label3", this));
    layout->addWidget(txtAsmOption);
    layout->addWidget(Frame1);
    layout->addWidget(Chk_asm_option_Display);
    layout->addWidget(Frame3);
    layout->addWidget(Frame2);
    layout->addLayout(buttons);

    Form_Load();

    // Only the person's own edits mark a change: the signals below do not fire for the values
    // filled in at load.
    connect(cmdOpenAsm, &QPushButton::clicked, this, &frmMPASMWIN::cmdOpenAsm_Click);
    connect(OKButton, &QPushButton::clicked, this, &frmMPASMWIN::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &frmMPASMWIN::CancelButton_Click);
    connect(txtAsmOption, &QLineEdit::textEdited, this,
            [this](const QString& text) { model_.editOptions(text); });
    connect(Text_After_File, &QLineEdit::textEdited, this,
            [this](const QString& text) { model_.editErrorExtension(text); });
    connect(Option_Notopad, &QRadioButton::clicked, this, [this] { model_.chooseNotepad(); });
    connect(Option_Editer, &QRadioButton::clicked, this,
            [this] { model_.chooseAssociatedApplication(); });
    connect(Check_ccsc_device_info, &QCheckBox::clicked, this,
            [this](bool ticked) { model_.setCcscDeviceInfo(ticked); });
    connect(Chk_asm_option_Display, &QCheckBox::clicked, this,
            [this](bool ticked) { model_.setDisplayInformation(ticked); });
}

void frmMPASMWIN::Form_Load() {
    model_.load();
    const AssemblerSettingsFields& f = model_.fields();
    txtAsmPath->setText(f.toolPath);
    Label2->setText(informationText());
    txtAsmOption->setText(f.options);
    Text_After_File->setText(f.errorExtension);
    Option_Notopad->setChecked(f.openWithNotepad);
    Option_Editer->setChecked(f.openWithAssociated);
    Check_ccsc_device_info->setChecked(f.ccscDeviceInfo);
    Chk_asm_option_Display->setChecked(f.displayInformation);
    Option_Editer->setText(
        QStringLiteral("関連付けされたアプリケーションで開く\n"
                       "(指定した拡張子が、関連付けられている必要があります。)"));
}

QString frmMPASMWIN::chooseFile(const QString& title, const QString& folder,
                                const QString& filter) {
    if (chooser_) return chooser_(title, folder, filter);
    QFileDialog dialog(this, title, folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly);
#ifdef Q_OS_WIN
    dialog.setDefaultSuffix(QStringLiteral("exe"));
#else
    // Programs here carry no ".exe": a name typed bare is the file of that name.
    dialog.selectNameFilter(QStringLiteral("全てのファイル (*)"));
#endif
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
               ? dialog.selectedFiles().first()
               : QString();
}

void frmMPASMWIN::cmdOpenAsm_Click() {
    const QString path = chooseFile(kChooseTitle, model_.toolFolder(), kToolFilter);
    if (path.isEmpty()) return;
    if (!model_.chooseTool(path)) {
        const QString title = QLatin1String(kSettingsApplication);
        if (notice_)
            notice_(title, kRefusalText);
        else
            QMessageBox::information(this, title, kRefusalText);
        return;
    }
    txtAsmPath->setText(model_.fields().toolPath);
}

void frmMPASMWIN::OKButton_Click() {
    model_.ok();
    accept();
}

void frmMPASMWIN::CancelButton_Click() {
    model_.cancel();
    reject();
}

} // namespace tavrin
