#include "frm_serch.h"

#include "core/operation_guard.h"
#include "core/operator_ui.h"
#include "core/session.h"
#include "core/settings_store.h"
#include "tools/logic/disassembly_listing.h"
#include "tools/logic/listing_files.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace tavrin {

namespace {

const QString kIntro = QStringLiteral(
    "指定されたコードに上書き可能なアドレスを検索します。下部のテキストボックスに書き換え後のコ"
    "ードを１６進数で４桁で入力してください。一度に４つまで検索できます。(14bitコア製品のみ対応。"
    ")");
const QString kSearching = QStringLiteral("検索中。しばらくお待ちください．．．．．");

QFont listingFont() {
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setStyleHint(QFont::Monospace);
    return f;
}

} // namespace

frmSerch::frmSerch(Session& session, OperatorUi& ui, SettingsStore& settings, QString dataDir,
                   std::function<QString()> idText, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), ui_(ui), settings_(settings),
      dataDir_(std::move(dataDir)), idText_(std::move(idText)) {
    setObjectName(QStringLiteral("frmSerch"));
    setWindowTitle(QStringLiteral("検索"));
    resize(760, 560);

    Label1 = new QLabel(kIntro);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);

    auto* codeRow = new QHBoxLayout;
    for (int n = 0; n < 4; ++n) {
        codes_[n] = new QLineEdit;
        codes_[n]->setObjectName(QStringLiteral("SerchCode%1").arg(n + 1));
        codes_[n]->setMaxLength(4);
        codes_[n]->setFont(listingFont());
        codes_[n]->setMaximumWidth(80);
        codeRow->addWidget(codes_[n]);
    }
    codeRow->addStretch();
    CmdSerch = new QPushButton(QStringLiteral("検索＆表示"));
    CmdSerch->setObjectName(QStringLiteral("CmdSerch"));
    CmdSaveAsm = new QPushButton(QStringLiteral("保存"));
    CmdSaveAsm->setObjectName(QStringLiteral("CmdSaveAsm"));
    CmdEnd = new QPushButton(QStringLiteral("閉じる"));
    CmdEnd->setObjectName(QStringLiteral("CmdEnd"));
    for (QPushButton* b : {CmdSerch, CmdSaveAsm, CmdEnd})
        codeRow->addWidget(b);

    Lbl_flag_cnt = new QLabel;
    Lbl_flag_cnt->setObjectName(QStringLiteral("Lbl_flag_cnt"));
    RichResult = new QPlainTextEdit;
    RichResult->setObjectName(QStringLiteral("RichResult"));
    RichResult->setReadOnly(true);
    RichResult->setLineWrapMode(QPlainTextEdit::NoWrap);
    RichResult->setFont(listingFont());
    RichResult->setTabStopDistance(8 * QFontMetricsF(RichResult->font()).horizontalAdvance(' '));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(codeRow);
    layout->addWidget(Lbl_flag_cnt);
    layout->addWidget(RichResult, 1);

    connect(CmdSerch, &QPushButton::clicked, this, &frmSerch::CmdSerch_Click);
    connect(CmdSaveAsm, &QPushButton::clicked, this, &frmSerch::CmdSaveAsm_Click);
    connect(CmdEnd, &QPushButton::clicked, this, &frmSerch::CmdEnd_Click);

    // Decided once per opening, from the part selected then.
    twelveBit_ = !searchOffered(session_.device);
    CmdSerch->setEnabled(!twelveBit_);
    // Nothing to save before a listing is shown.
    CmdSaveAsm->setEnabled(false);
}

void frmSerch::warn(const QString& text) {
    if (warn_) return warn_(text);
    QMessageBox::warning(this, windowTitle(), text);
}

void frmSerch::CmdSerch_Click() {
    if (twelveBit_) return;
    // The listing reads the buffer and lets window events run: no operation may change it
    // meanwhile, and no second search may start.
    OperationScope scope(session_, ui_);
    if (!scope.held()) return;
    const QString refusal = listingRefusal(session_.device);
    if (!refusal.isEmpty()) {
        Lbl_flag_cnt->clear();
        warn(refusal);
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    CmdSerch->setEnabled(false);
    CmdSaveAsm->setEnabled(false);
    Lbl_flag_cnt->clear();
    RichResult->setPlainText(kSearching);

    ListingInput in;
    in.deviceName = session_.device.SelectedDevice;
    in.package = session_.device.PackageType;
    in.image = &session_.buffer.ProgramImage;
    in.wordCount = session_.device.ProgramWordCount;
    in.configWord1 = static_cast<std::uint16_t>((session_.buffer.ConfigIdImage[14] << 8) |
                                                session_.buffer.ConfigIdImage[15]);
    in.idText = idText_ ? idText_() : QString();
    std::array<QString, 4> inputs;
    for (int n = 0; n < 4; ++n)
        inputs[n] = codes_[n]->text();
    in.codes = prepareSearchCodes(inputs);
    for (int n = 0; n < 4; ++n)
        codes_[n]->setText(in.codes.texts[n]);

    const Listing listing = buildListing(
        in, [this](const QString& p) { Lbl_flag_cnt->setText(p); }, [this] { ui_.pumpEvents(); });
    const QString path = QDir(dataDir_).filePath(QLatin1String(kListingWorkFile));
    const QString failure = writeListingFile(path, listing.text);
    Lbl_flag_cnt->setText(searchResultText(listing.matchCount));
    RichResult->setPlainText(QString::fromUtf8(listing.text));
    CmdSerch->setEnabled(true);
    CmdSaveAsm->setEnabled(true);
    QApplication::restoreOverrideCursor();
    if (!failure.isEmpty()) warn(failure);
}

void frmSerch::CmdSaveAsm_Click() {
    // The save dialog waits for the person inside the running operation's wait for the board.
    if (refuseDuringOperation(session_, ui_)) return;
    const QString start = settings_.value(QStringLiteral("SAVE_DIR_asm"));
    QString path;
    if (savePath_) {
        path = savePath_(start);
    } else {
        QFileDialog dialog(this, QString(), start, QStringLiteral("全てのファイル (*)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("asm"));
        // The overwrite question is asked below, as for every save of this program.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            path = dialog.selectedFiles().first();
    }
    if (path.isEmpty()) return;
    if (QFileInfo::exists(path)) {
        const QString title = QStringLiteral("上書き保存");
        const QString text = QStringLiteral("ファイルが存在します。上書きしますか？");
        const bool yes = question_ ? question_(title, text)
                                   : QMessageBox::question(this, title, text,
                                                           QMessageBox::Ok | QMessageBox::Cancel,
                                                           QMessageBox::Cancel) == QMessageBox::Ok;
        if (!yes) return;
    }
    QByteArray text = RichResult->toPlainText().toUtf8();
    text.replace("\n", "\r\n");
    const QString failure = writeListingFile(path, text);
    if (!failure.isEmpty()) return warn(failure);
    settings_.setValue(QStringLiteral("SAVE_DIR_asm"), saveFolderOf(path));
}

void frmSerch::CmdEnd_Click() {
    close();
}

} // namespace tavrin
