#include "frm_about.h"

#include "tools/logic/about_box_model.h"

#include <QApplication>
#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace tavrin {

namespace {
bool openWithDesktop(const QString& url) {
    return QDesktopServices::openUrl(QUrl(url));
}

QLabel* namedLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}
} // namespace

frmAbout::frmAbout(AboutBoxModel& model, QWidget* parent)
    : frmAbout(model, &openWithDesktop, parent) {}

frmAbout::frmAbout(AboutBoxModel& model, PageOpener openPage, QWidget* parent)
    : QDialog(parent), model_(model), openPage_(std::move(openPage)) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(aboutCaption(model_.version()));

    picIcon = new QToolButton(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setAutoRaise(true);
    picIcon->setIcon(QApplication::windowIcon().isNull()
                         ? style()->standardIcon(QStyle::SP_ComputerIcon)
                         : QApplication::windowIcon());
    picIcon->setIconSize(QSize(32, 32));

    lblTitle = namedLabel("lblTitle", this);
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    lblTitle->setFont(titleFont);
    lblVersion = namedLabel("lblVersion", this);
    lblDescription = namedLabel("lblDescription", this);
    lblDisclaimer = namedLabel("lblDisclaimer", this);
    lblDisclaimer->setWordWrap(true);
    Label1 = namedLabel("Label1", this);
    Label1->setWordWrap(true);
    Label1->setText(QStringLiteral("本ソフトウエアの使用により生じたいかなる損害についても、"
                                   "作者は責任を負いません。"));
    Label_ID_Word = namedLabel("Label_ID_Word", this);

    Command1 = new QPushButton(QStringLiteral("サポートホームページへジャンプ"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAutoDefault(false);
    CmdOk = new QPushButton(QStringLiteral("閉じる"), this);
    CmdOk->setObjectName(QStringLiteral("CmdOk"));
    CmdOk->setDefault(true);

    auto* head = new QGridLayout;
    head->addWidget(picIcon, 0, 0, 3, 1, Qt::AlignTop);
    head->addWidget(lblTitle, 0, 1);
    head->addWidget(lblVersion, 1, 1);
    head->addWidget(lblDescription, 2, 1);
    head->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addStretch(1);
    buttons->addWidget(CmdOk);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(lblDisclaimer);
    layout->addWidget(Label1);
    layout->addWidget(Label_ID_Word);
    layout->addLayout(buttons);
    setMinimumWidth(420);

    connect(Command1, &QPushButton::clicked, this, &frmAbout::Command1_Click);
    connect(CmdOk, &QPushButton::clicked, this, &frmAbout::CmdOk_Click);
    connect(picIcon, &QToolButton::clicked, this, &frmAbout::picIcon_Click);

    const AboutBoxTexts texts = model_.texts();
    lblTitle->setText(texts.title);
    lblVersion->setText(texts.version);
    lblDescription->setText(texts.description);
    lblDisclaimer->setText(texts.disclaimer);
    Label_ID_Word->setText(model_.idWordLine());
}

QLabel* frmAbout::label(const char* objectName) const {
    return findChild<QLabel*>(QLatin1String(objectName));
}

void frmAbout::Command1_Click() {
    lastPageOpened_ = openPage_ && openPage_(QLatin1String(kSupportPageUrl));
}

void frmAbout::CmdOk_Click() {
    accept();
}

void frmAbout::picIcon_Click() {
    accept();
    emit serialSettingsRequested();
}

// However the box closes, the next showing is a fresh load.
void frmAbout::done(int result) {
    model_.closed();
    QDialog::done(result);
}

} // namespace tavrin
