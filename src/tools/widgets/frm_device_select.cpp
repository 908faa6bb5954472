#include "frm_device_select.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrin {

namespace {
// 700 and 2700 twips right of and below the main window's corner.
constexpr int kOffsetLeftPx = 700 / 15;
constexpr int kOffsetTopPx = 2700 / 15;
} // namespace

frmDeviceSelect::frmDeviceSelect(const QStringList& names, int currentIndex, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmDeviceSelect"));
    setWindowTitle(QStringLiteral("マイコン選択サブウインドウ"));
    setModal(true);

    auto* Label1 = new QLabel(QStringLiteral("使用するマイコンを選んでください。"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Combo_device = new QComboBox(this);
    Combo_device->setObjectName(QStringLiteral("Combo_device"));
    Combo_device->setPlaceholderText(QStringLiteral("使用ﾃﾞﾊﾞｲｽを選択します"));
    Combo_device->addItems(names);
    Combo_device->setCurrentIndex(currentIndex >= 0 && currentIndex < names.size() ? currentIndex
                                                                                   : -1);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Combo_device);
    layout->addLayout(buttons);

    connect(OKButton, &QPushButton::clicked, this, &frmDeviceSelect::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &frmDeviceSelect::CancelButton_Click);

    if (parent) move(parent->pos() + QPoint(kOffsetLeftPx, kOffsetTopPx));
}

std::optional<QString> frmDeviceSelect::ask(const QStringList& names, int currentIndex,
                                            QWidget* parent) {
    frmDeviceSelect window(names, currentIndex, parent);
    if (window.exec() != QDialog::Accepted) return std::nullopt;
    return window.chosenName();
}

void frmDeviceSelect::OKButton_Click() {
    // An empty list text would select no part; the file then waits for a choice.
    if (Combo_device->currentText().isEmpty()) return;
    StartupDeviceName = Combo_device->currentText();
    accept();
}

void frmDeviceSelect::CancelButton_Click() {
    reject();
}

} // namespace tavrin
