#include "frm_option.h"

#include "tools/logic/port_choice.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrin {

frmOption::frmOption(PortChoice& choice, QWidget* parent)
    : frmOption(choice, &availableSerialPorts, parent) {}

frmOption::frmOption(PortChoice& choice, PortLister lister, QWidget* parent)
    : QDialog(parent), choice_(choice), lister_(std::move(lister)) {
    setObjectName(QStringLiteral("frmOption"));
    setWindowTitle(QStringLiteral("通信ポート選択して下さい。"));
    setModal(true);

    auto* prompt = new QLabel(QStringLiteral("ライターを接続したポート:"), this);
    Option_Com = new QComboBox(this);
    Option_Com->setObjectName(QStringLiteral("Option_Com"));
    Option_Com->setEditable(true);
    Option_Com->setInsertPolicy(QComboBox::NoInsert);
    Option_Com->setMinimumContentsLength(24);
    Option_Com->lineEdit()->setPlaceholderText(QStringLiteral("/dev/ttyUSB0"));
    Command_Refresh = new QPushButton(QStringLiteral("再検索"), this);
    Command_Refresh->setObjectName(QStringLiteral("Command_Refresh"));
    Command_Refresh->setAutoDefault(false);

    Label_Status = new QLabel(this);
    Label_Status->setObjectName(QStringLiteral("Label_Status"));
    Label_Status->setWordWrap(true);

    Command_Ok = new QPushButton(QStringLiteral("OK"), this);
    Command_Ok->setObjectName(QStringLiteral("Command_Ok"));
    Command_Ok->setDefault(true);
    Command1 = new QPushButton(QStringLiteral("CANCEL"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAutoDefault(false);

    auto* portRow = new QHBoxLayout;
    portRow->addWidget(Option_Com, 1);
    portRow->addWidget(Command_Refresh);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command_Ok);
    buttons->addWidget(Command1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addLayout(portRow);
    layout->addWidget(Label_Status);
    layout->addLayout(buttons);

    connect(Command_Ok, &QPushButton::clicked, this, &frmOption::Command_Ok_Click);
    connect(Command1, &QPushButton::clicked, this, &frmOption::Command1_Click);
    connect(Command_Refresh, &QPushButton::clicked, this, &frmOption::refreshPorts);

    const QString current = choice_.load();
    refreshPorts();
    Option_Com->setCurrentText(current);
}

void frmOption::refreshPorts() {
    const QString typed = Option_Com->currentText();
    Option_Com->clear();
    Option_Com->addItems(lister_ ? lister_() : QStringList());
    Option_Com->setCurrentText(typed);
}

void frmOption::Command_Ok_Click() {
    Label_Status->clear();
    if (choice_.choose(Option_Com->currentText()) == PortChoice::Outcome::Chosen) {
        accept();
        return;
    }
    Label_Status->setText(choice_.failureDetail());
}

void frmOption::Command1_Click() {
    reject();
}

// CANCEL, Escape and the close box all leave the same way.
void frmOption::reject() {
    choice_.cancel();
    QDialog::reject();
}

} // namespace tavrin
