#include "frm_msg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrin {

frmMsg::frmMsg(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmMsg"));
    setWindowTitle(QStringLiteral("TAVRIN メッセージ"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFrameShape(QFrame::NoFrame);
    Label1->setWordWrap(true);
    Label1->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(Label1);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFrameShape(QFrame::NoFrame);
    layout->addWidget(Label2);
    auto* row = new QHBoxLayout;
    row->addStretch();
    CancelButton = new QPushButton(QStringLiteral("閉じる"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setVisible(true);
    row->addWidget(CancelButton);
    layout->addLayout(row);
    connect(CancelButton, &QPushButton::clicked, this, &frmMsg::CancelButton_Click);
}

void frmMsg::setMessage(const QString& text) {
    Label1->setText(text);
}

QString frmMsg::message() const {
    return Label1->text();
}

void frmMsg::CancelButton_Click() {
    close();
}

frmMsg* showMessageWindow(QWidget* owner, const QString& text) {
    auto* window = new frmMsg(owner);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setMessage(text);
    window->show();
    return window;
}

} // namespace tavrin
