#include "frm_serial_pgm_setting.h"

#include "core/settings_store.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tavrin {

namespace {

constexpr int kTwipsPerPixel = 15;

// Said where serialisation is switched on: the values stay in this window, and a person
// programming a tray of chips must not believe each got its number.
const QString kNotWrittenNote =
    QStringLiteral("※ 値はこの画面で保持・表示するだけで、\nICには書き込まれません。");

template <class W> W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel* text(const QString& caption) {
    return new QLabel(caption);
}

int storedTwips(const SettingsStore& settings, const char* key) {
    bool ok = false;
    const double value = settings.value(QLatin1String(key), QStringLiteral("100")).toDouble(&ok);
    return ok ? int(value) : 100;
}

} // namespace

frmSerialPgmSetting::frmSerialPgmSetting(SettingsStore& settings, Hooks hooks, QWidget* owner)
    : QDialog(owner), settings_(settings), hooks_(std::move(hooks)) {
    setObjectName(QStringLiteral("frmSerialPgmSetting"));
    setWindowTitle(QStringLiteral("シリアルデータプログラミング"));

    auto* frame1 = named(new QGroupBox(QStringLiteral("書込みアドレス設定")), "Frame1");
    TxtStartAddress = named(new QLineEdit(model_.startAddress()), "TxtStartAddress");
    TxtEndAddress = named(new QLabel(model_.endAddress()), "TxtEndAddress");
    TxtWriteByteNumber = named(new QComboBox, "TxtWriteByteNumber");
    TxtWriteByteNumber->addItems({"1", "2", "3", "4"});
    auto* address = new QGridLayout(frame1);
    address->addWidget(text(QStringLiteral("書込みアドレス (16進数)")), 0, 0, 1, 2);
    address->addWidget(text(QStringLiteral("開始：")), 1, 0);
    address->addWidget(TxtStartAddress, 1, 1);
    address->addWidget(text(QStringLiteral("終了：")), 2, 0);
    address->addWidget(TxtEndAddress, 2, 1);
    address->addWidget(text(QStringLiteral("書込みバイト数 ")), 3, 0);
    address->addWidget(TxtWriteByteNumber, 3, 1);

    auto* frame2 = named(new QGroupBox(QStringLiteral("書込みデータ設定")), "Frame2");
    Option_Dec = named(new QRadioButton(QStringLiteral("(10進数)表示")), "Option_Dec");
    Option_Hex = named(new QRadioButton(QStringLiteral("(16進数)表示")), "Option_Hex");
    Option_Dec->setChecked(true);
    TxtDataStart = named(new QLineEdit(model_.startValue()), "TxtDataStart");
    TxtDataIncrement = named(new QLineEdit(model_.increment()), "TxtDataIncrement");
    TxtDataFinsh = named(new QLineEdit(model_.quantity()), "TxtDataFinsh");
    ChkSettingEnable =
        named(new QCheckBox(QStringLiteral("設定を有効にする。")), "ChkSettingEnable");
    auto* data = new QGridLayout(frame2);
    data->addWidget(Option_Dec, 0, 0);
    data->addWidget(Option_Hex, 0, 1);
    data->addWidget(text(QStringLiteral("開始データ値")), 1, 0);
    data->addWidget(TxtDataStart, 1, 1);
    data->addWidget(text(QStringLiteral("増分データ値")), 2, 0);
    data->addWidget(TxtDataIncrement, 2, 1);
    data->addWidget(text(QStringLiteral("数量")), 3, 0);
    data->addWidget(TxtDataFinsh, 3, 1);
    data->addWidget(ChkSettingEnable, 4, 0, 1, 2);
    LabelNotWritten = named(new QLabel(kNotWrittenNote), "LabelNotWritten");
    data->addWidget(LabelNotWritten, 5, 0, 1, 2);

    auto* frame3 = named(new QGroupBox(QStringLiteral("ステータス")), "Frame3");
    TxtWrotDataHex = named(new QLabel, "TxtWrotDataHex");
    TxtWrotDataDec = named(new QLabel, "TxtWrotDataDec");
    TxtFinshCount = named(new QLineEdit(model_.doneCount()), "TxtFinshCount");
    auto* status = new QGridLayout(frame3);
    status->addWidget(text(QStringLiteral("最後の\nシリアルデータ")), 0, 0, 2, 1);
    status->addWidget(TxtWrotDataHex, 0, 1);
    status->addWidget(text(QStringLiteral("(16進数)")), 0, 2);
    status->addWidget(TxtWrotDataDec, 1, 1);
    status->addWidget(text(QStringLiteral("(10進数)")), 1, 2);
    status->addWidget(text(QStringLiteral("数えた ＩＣ数量")), 2, 0);
    status->addWidget(TxtFinshCount, 2, 1);
    status->addWidget(text(QStringLiteral("(個)")), 2, 2);

    Label2 = named(new QLabel, "Label2");
    Label2->setWordWrap(true);
    Label2->setMinimumHeight(Label2->fontMetrics().lineSpacing() * 3);
    Command1 = named(new QPushButton(QStringLiteral("chk")), "Command1");
    OKButton = named(new QPushButton(QStringLiteral("終了")), "OKButton");
    Command1->setAutoDefault(false);
    OKButton->setAutoDefault(false);

    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(frame1);
    left->addWidget(frame3);
    columns->addLayout(left);
    columns->addWidget(frame2, 0, Qt::AlignTop);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addStretch(1);
    buttons->addWidget(OKButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(Label2);
    layout->addLayout(buttons);

    for (QWidget* field :
         {static_cast<QWidget*>(TxtStartAddress), static_cast<QWidget*>(TxtDataStart),
          static_cast<QWidget*>(TxtDataIncrement), static_cast<QWidget*>(TxtDataFinsh)})
        field->installEventFilter(this);

    connect(TxtStartAddress, &QLineEdit::textEdited, this, [this](const QString& t) {
        model_.setStartAddress(t);
        showModel();
    });
    connect(TxtWriteByteNumber, &QComboBox::currentIndexChanged, this, [this](int index) {
        model_.setByteCount(index + 1);
        showModel();
    });
    connect(TxtDataStart, &QLineEdit::textEdited, this,
            [this](const QString& t) { model_.setStartValue(t); });
    connect(TxtDataIncrement, &QLineEdit::textEdited, this,
            [this](const QString& t) { model_.setIncrement(t); });
    connect(TxtDataFinsh, &QLineEdit::textEdited, this,
            [this](const QString& t) { model_.setQuantity(t); });
    connect(TxtFinshCount, &QLineEdit::textEdited, this,
            [this](const QString& t) { model_.setDoneCount(t); });
    connect(Option_Dec, &QRadioButton::clicked, this, [this] {
        model_.setRadix(SerialNumberSettings::Radix::Decimal);
        showModel();
    });
    connect(Option_Hex, &QRadioButton::clicked, this, [this] {
        model_.setRadix(SerialNumberSettings::Radix::Hexadecimal);
        showModel();
    });
    connect(ChkSettingEnable, &QCheckBox::clicked, this,
            &frmSerialPgmSetting::ChkSettingEnable_Click);
    connect(Command1, &QPushButton::clicked, this, &frmSerialPgmSetting::Command1_Click);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::close);

    showModel();
    adjustSize();
    const QString left_ = QStringLiteral("SPSLeft");
    if (settings_.contains(left_) || !owner) {
        move(storedTwips(settings_, "SPSLeft") / kTwipsPerPixel,
             storedTwips(settings_, "SPSTop") / kTwipsPerPixel);
    } else {
        // Not placed before: beside the main window's corner rather than the screen's.
        const QRect frame = owner->window()->frameGeometry();
        move(frame.left() + 40, frame.top() + 80);
    }
}

void frmSerialPgmSetting::showModel() {
    TxtStartAddress->setText(model_.startAddress());
    TxtEndAddress->setText(model_.endAddress());
    TxtDataStart->setText(model_.startValue());
    TxtDataIncrement->setText(model_.increment());
    TxtDataFinsh->setText(model_.quantity());
    TxtWrotDataHex->setText(model_.wroteHex());
    TxtWrotDataDec->setText(model_.wroteDecimal());
    TxtFinshCount->setText(model_.doneCount());
    Label2->setText(model_.message());
    const bool locked = model_.enabled();
    ChkSettingEnable->setChecked(locked);
    for (QWidget* field :
         {static_cast<QWidget*>(TxtStartAddress), static_cast<QWidget*>(TxtWriteByteNumber),
          static_cast<QWidget*>(TxtDataStart), static_cast<QWidget*>(TxtDataIncrement),
          static_cast<QWidget*>(TxtDataFinsh)})
        field->setEnabled(!locked);
}

void frmSerialPgmSetting::ChkSettingEnable_Click() {
    if (ChkSettingEnable->isChecked()) {
        const bool loaded = hooks_.hexFileLoaded && hooks_.hexFileLoaded();
        if (model_.enable(loaded) && hooks_.reloadHexFile) hooks_.reloadHexFile();
    } else {
        model_.disable();
    }
    showModel();
}

void frmSerialPgmSetting::Command1_Click() {
    model_.step();
    showModel();
}

bool frmSerialPgmSetting::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    auto* field = qobject_cast<QLineEdit*>(watched);
    // Keys that type nothing (arrows, delete, shortcuts) pass.
    if (!field || key->text().size() != 1 || !key->text()[0].isPrint())
        return QDialog::eventFilter(watched, event);
    using Field = SerialNumberSettings::KeyField;
    const Field kind = field == TxtStartAddress ? Field::StartAddress : Field::Value;
    const char16_t typed = key->text()[0].unicode();
    const char16_t taken = SerialNumberSettings::filterKey(kind, model_.radix(), typed);
    if (taken == SerialNumberSettings::kRefusedKey) return true;
    if (taken != typed) {
        field->insert(QString(QChar(taken)));
        Q_EMIT field->textEdited(field->text());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmSerialPgmSetting::savePosition() {
    if (positionSaved_) return;
    positionSaved_ = true;
    settings_.setValue(QStringLiteral("SPSLeft"), QString::number(x() * kTwipsPerPixel));
    settings_.setValue(QStringLiteral("SPSTop"), QString::number(y() * kTwipsPerPixel));
}

void frmSerialPgmSetting::closeEvent(QCloseEvent* event) {
    model_.disable();
    showModel();
    savePosition();
    QDialog::closeEvent(event);
}

void frmSerialPgmSetting::done(int result) {
    savePosition();
    QDialog::done(result);
}

} // namespace tavrin
