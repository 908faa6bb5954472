#include "dialog_update.h"

#include "tools/logic/firmware_update.h"
#include "tools/logic/port_choice.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

namespace tavrin {

namespace {
QPushButton* button(QWidget* parent, const QString& text, const char* name) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QLineEdit* field(QWidget* parent, const char* name) {
    auto* f = new QLineEdit(parent);
    f->setObjectName(QLatin1String(name));
    f->setReadOnly(true);
    return f;
}

QComboBox* combo(QWidget* parent, const char* name) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    return c;
}
} // namespace

Dialog_Update::Dialog_Update(FirmwareUpdate& update, QWidget* parent)
    : Dialog_Update(update, &availableSerialPorts, parent) {}

Dialog_Update::Dialog_Update(FirmwareUpdate& update, PortLister lister, QWidget* parent)
    : QDialog(parent), update_(update) {
    setObjectName(QStringLiteral("Dialog_Update"));
    setWindowTitle(QStringLiteral("ファームウエアアップデート"));
    setModal(true);

    auto* Label1 = new QLabel(QStringLiteral("通信ポート Com　："), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Combo_ComPort = combo(this, "Combo_ComPort");
    Combo_ComPort->setMinimumContentsLength(20);
    auto* Label2 = new QLabel(QStringLiteral("通信スピード bps　："), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Combo_speed = combo(this, "Combo_speed");

    CmdVersion = button(this, QStringLiteral("Version Read"), "CmdVersion");
    Text_FirmwareVersion = field(this, "Text_FirmwareVersion");
    CmdOpen = button(this, QStringLiteral("OPEN"), "CmdOpen");
    CmdOpen->setToolTip(QStringLiteral("新しいファームウエアファイル(*.hex)を設定します。"));
    Text_File = field(this, "Text_File");
    CmdUpdate = button(this, QStringLiteral("UPDATE"), "CmdUpdate");
    CmdUpdate->setToolTip(QStringLiteral("ファームウエアの更新を実行します。"));
    CmdUpdate->setEnabled(false);

    auto* rule = new QFrame(this);
    rule->setObjectName(QStringLiteral("Line1"));
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setWordWrap(true);
    Label3->setMinimumHeight(Label3->fontMetrics().lineSpacing() * 8);
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    // Keeps its place while hidden, so the window does not jump when the transfer starts.
    QSizePolicy keep = ProgressBar1->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    ProgressBar1->setSizePolicy(keep);
    ProgressBar1->hide();

    OKButton = button(this, QStringLiteral("閉じる"), "OKButton");
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    statusPanel_ = new QLabel(StatusBar1);
    statusPanel_->setObjectName(QStringLiteral("StatusPanel1"));
    StatusBar1->addWidget(statusPanel_, 1);

    auto* grid = new QGridLayout;
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Combo_ComPort, 0, 1, 1, 2);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(Combo_speed, 1, 1);
    grid->addWidget(CmdVersion, 2, 0);
    grid->addWidget(Text_FirmwareVersion, 2, 1, 1, 2);
    grid->addWidget(CmdOpen, 3, 0);
    grid->addWidget(Text_File, 3, 1, 1, 2);
    grid->setColumnStretch(2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CmdUpdate);
    buttons->addStretch(1);
    buttons->addWidget(OKButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(rule);
    layout->addWidget(Label3, 1);
    layout->addWidget(ProgressBar1);
    layout->addLayout(buttons);
    layout->addWidget(StatusBar1);

    connect(Combo_ComPort, &QComboBox::textActivated, this,
            [this](const QString& text) { update_.Combo_ComPort_Click(text); });
    connect(Combo_speed, &QComboBox::textActivated, this,
            [this](const QString& text) { update_.Combo_speed_Click(text); });
    connect(CmdVersion, &QPushButton::clicked, this, [this] { update_.CmdVersion_Click(); });
    connect(CmdOpen, &QPushButton::clicked, this, [this] { update_.CmdOpen_Click(); });
    connect(CmdUpdate, &QPushButton::clicked, this, [this] { update_.CmdUpdate_Click(); });
    connect(OKButton, &QPushButton::clicked, this, [this] { done(Accepted); });

    update_.attach(*this);
    const FirmwareUpdate::Start start = update_.load();
    Combo_ComPort->addItems(lister ? lister() : QStringList());
    Combo_ComPort->setCurrentText(start.port);
    Combo_speed->addItems(start.speeds);
    Combo_speed->setCurrentText(start.speed);
    showGuidance(start.guidance, false);
    resize(sizeHint().expandedTo(QSize(520, 0)));
}

// The version is read once the window is on the screen, so the person sees what is waited for.
void Dialog_Update::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (loaded_) return;
    loaded_ = true;
    QTimer::singleShot(0, this, [this] { update_.CmdVersion_Click(); });
}

QString Dialog_Update::portText() const {
    return Combo_ComPort->currentText();
}

QString Dialog_Update::speedText() const {
    return Combo_speed->currentText();
}

void Dialog_Update::showStatus(const QString& text) {
    statusPanel_->setText(text);
}

void Dialog_Update::showIdentification(const QString& text) {
    Text_FirmwareVersion->setText(text);
}

void Dialog_Update::showFileName(const QString& path) {
    Text_File->setText(path);
}

void Dialog_Update::showGuidance(const QString& text, bool failure) {
    Label3->setText(text);
    Label3->setAutoFillBackground(failure);
    QPalette p = palette();
    if (failure) p.setColor(QPalette::Window, Qt::red);
    Label3->setPalette(p);
}

void Dialog_Update::setProgressRange(int minimum, int maximum) {
    ProgressBar1->setRange(minimum, maximum);
    ProgressBar1->show();
}

void Dialog_Update::setProgressValue(int value) {
    ProgressBar1->setValue(value);
}

void Dialog_Update::setUpdateEnabled(bool enabled) {
    CmdUpdate->setEnabled(enabled);
}

void Dialog_Update::setVersionEnabled(bool enabled) {
    CmdVersion->setEnabled(enabled);
}

void Dialog_Update::setChoicesEnabled(bool enabled) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{Combo_ComPort, Combo_speed, CmdOpen, OKButton})
        w->setEnabled(enabled);
}

QString Dialog_Update::chooseFile(const QString& title, const QString& folder,
                                  const QString& filter, const QString& defaultSuffix) {
    if (fileChooser_) return fileChooser_();
    QFileDialog dialog(this, title, folder, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
}

void Dialog_Update::closeWindow() {
    done(Accepted);
}

// Every way out (閉じる, Escape, the close box) ends here; the transfer runs inside this
// window's event handling and keeps the window until it ends.
void Dialog_Update::done(int result) {
    if (update_.busy() || closed_) return;
    closed_ = true;
    QDialog::done(result);
    update_.Form_Unload();
}

void Dialog_Update::closeEvent(QCloseEvent* event) {
    if (update_.busy()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace tavrin
