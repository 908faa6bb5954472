#include "frm_eeprom_data_modify.h"

#include "on_screen.h"

#include "core/session.h"
#include "core/settings_store.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace tavrin {

namespace {

const QString kFilling = QStringLiteral("ＥＥＰＲＯＭデータ表示中です。　しばらくお待ちください。");
const QString kFilled = QStringLiteral("ＥＥＰＲＯＭデータ表示終了");
const QString kReminder = QStringLiteral("修正終了後は、拡張プログラミングウインドウの「EEPROM "
                                         "DATAメモリ」の[プログラム]ボタンを押してください。");

QTableWidgetItem* cell(const QString& text, Qt::Alignment alignment) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setTextAlignment(alignment);
    return item;
}

} // namespace

frmEepromDataModify::frmEepromDataModify(Session& session, SettingsStore& settings,
                                         const QString& workFile, QWidget* owner)
    : QDialog(owner), editor_(session), settings_(settings), workFile_(workFile) {
    setObjectName(QStringLiteral("frmEepromDataModify"));
    setWindowTitle(QStringLiteral("EEPROM データメモリ修正"));
    auto* outer = new QVBoxLayout(this);

    auto* reminder = new QLabel(kReminder, this);
    reminder->setObjectName(QStringLiteral("Label1"));
    reminder->setWordWrap(true);
    outer->addWidget(reminder);

    MSFGrid1 = new QTableWidget(this);
    MSFGrid1->setObjectName(QStringLiteral("MSFGrid1"));
    MSFGrid1->setColumnCount(kEepromEditorColumns);
    MSFGrid1->setHorizontalHeaderLabels(eepromEditorHeaders());
    MSFGrid1->verticalHeader()->hide();
    MSFGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    MSFGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MSFGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    outer->addWidget(MSFGrid1, 1);

    auto* editors = new QGridLayout;
    auto labelled = [&](const QString& caption, const char* name, int row, int column) {
        auto* label = new QLabel(caption, this);
        label->setObjectName(QString::fromLatin1(name));
        editors->addWidget(label, row, column);
    };
    labelled(QStringLiteral("Dec"), "Label2", 0, 0);
    Text_modify_dec = new QLineEdit(this);
    Text_modify_dec->setObjectName(QStringLiteral("Text_modify_dec"));
    editors->addWidget(Text_modify_dec, 0, 1);
    labelled(QStringLiteral("Hex"), "Label3", 0, 2);
    Text_modify_hex = new QLineEdit(this);
    Text_modify_hex->setObjectName(QStringLiteral("Text_modify_hex"));
    editors->addWidget(Text_modify_hex, 0, 3);
    labelled(QStringLiteral("Ascii"), "Label5", 0, 4);
    Text_modify_asc = new QLineEdit(this);
    Text_modify_asc->setObjectName(QStringLiteral("Text_modify_asc"));
    // Only shows the byte: a click gives it the keys, which a read-only box ignores, rather
    // than leaving them to the hexadecimal box.
    Text_modify_asc->setReadOnly(true);
    editors->addWidget(Text_modify_asc, 0, 5);
    labelled(QStringLiteral("Bin"), "Label4", 1, 0);
    auto* bits = new QHBoxLayout;
    for (int i = 7; i >= 0; --i) {
        auto* box = new QCheckBox(QString::number(i), this);
        box->setObjectName(QStringLiteral("ChkBin_%1").arg(i));
        ChkBin[std::size_t(i)] = box;
        bits->addWidget(box);
        connect(box, &QCheckBox::clicked, this, &frmEepromDataModify::ChkBin_Click);
    }
    bits->addStretch();
    editors->addLayout(bits, 1, 1, 1, 5);
    outer->addLayout(editors);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setAutoDefault(false);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    cancel->setAutoDefault(false);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    outer->addLayout(buttons);

    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("sbStatusBar"));
    bar->setSizeGripEnabled(false);
    panel1_ = new QLabel(this);
    panel1_->setObjectName(QStringLiteral("sbStatusBar_Panel1"));
    panel3_ = new QLabel(this);
    panel3_->setObjectName(QStringLiteral("sbStatusBar_Panel3"));
    bar->addWidget(panel1_, 1);
    bar->addPermanentWidget(panel3_);
    outer->addWidget(bar);

    // Only what the person types or clicks is an edit; the boxes set from the model are not.
    connect(Text_modify_dec, &QLineEdit::textEdited, this,
            &frmEepromDataModify::Text_modify_dec_Change);
    connect(Text_modify_hex, &QLineEdit::textEdited, this,
            &frmEepromDataModify::Text_modify_hex_Change);
    connect(MSFGrid1, &QTableWidget::currentCellChanged, this,
            [this](int row, int column) { MSFGrid1_Click(row, column); });
    connect(MSFGrid1, &QTableWidget::cellClicked, this, [this](int row, int column) {
        MSFGrid1_Click(row, column);
        // Typing then replaces the value shown.
        Text_modify_hex->setFocus();
        Text_modify_hex->selectAll();
    });
    connect(ok, &QPushButton::clicked, this, &frmEepromDataModify::OKButton_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    EE_Display();
    placeOnScreen();
}

void frmEepromDataModify::EE_Display() {
    const QString before = panel1_->text();
    panel1_->setText(kFilling);
    MSFGrid1->setUpdatesEnabled(false);
    {
        const QSignalBlocker block(MSFGrid1);
        MSFGrid1->setRowCount(editor_.rowCount());
        const int lastIndex = editor_.size() - 1;
        int shown = -1;
        for (int r = 0; r < editor_.rowCount(); ++r) {
            MSFGrid1->setItem(r, 0, cell(editor_.addressCell(r), Qt::AlignLeft | Qt::AlignVCenter));
            for (int c = 1; c <= 16; ++c)
                MSFGrid1->setItem(r, c, cell(editor_.byteCell(r, c), Qt::AlignCenter));
            MSFGrid1->setItem(r, kEepromEditorAsciiColumn,
                              cell(editor_.asciiCell(r, ByteCharRule::GridFill),
                                   Qt::AlignLeft | Qt::AlignVCenter));
            const int percent = fillPercent(std::min(r * 16 + 15, lastIndex), lastIndex);
            if (percent != shown) {
                shown = percent;
                panel3_->setText(QString::number(percent) + QLatin1Char('%'));
            }
        }
        // The work file is a side copy for the person; the grid does not depend on it.
        editor_.writeWorkFile(workFile_);
        const QFontMetrics fm(MSFGrid1->font());
        const int pad = 2 * fm.averageCharWidth();
        MSFGrid1->setColumnWidth(0, fm.horizontalAdvance(QStringLiteral("0x000000")) + pad);
        for (int c = 1; c <= 16; ++c)
            MSFGrid1->setColumnWidth(c, fm.horizontalAdvance(QStringLiteral("0xFF")) + pad);
        MSFGrid1->setColumnWidth(kEepromEditorAsciiColumn,
                                 fm.horizontalAdvance(QString(16, QLatin1Char('W'))) + pad);
        int width = 2 * MSFGrid1->frameWidth() + MSFGrid1->verticalScrollBar()->sizeHint().width();
        for (int c = 0; c < kEepromEditorColumns; ++c)
            width += MSFGrid1->columnWidth(c);
        MSFGrid1->setMinimumWidth(width);
        MSFGrid1->setMinimumHeight(MSFGrid1->horizontalHeader()->sizeHint().height() +
                                   std::min(editor_.rowCount(), 16) * fm.height() * 3 / 2);
        MSFGrid1->setCurrentCell(0, 1);
    }
    MSFGrid1->setUpdatesEnabled(true);
    MSFGrid1_Click(0, 1);
    panel1_->setText(before);
    panel1_->setText(kFilled);
}

void frmEepromDataModify::MSFGrid1_Click(int row, int column) {
    const int index = editor_.indexAt(row, column);
    if (index < 0) return;
    const int r = index / 16, c = index % 16 + 1;
    // A click on a cell that is not the byte's own (the ASCII column) has selected that cell
    // by the time it is reported: the highlight goes to the byte with the current cell.
    if (r != row || c != column || r != MSFGrid1->currentRow() || c != MSFGrid1->currentColumn()) {
        const QSignalBlocker block(MSFGrid1);
        MSFGrid1->setCurrentCell(r, c, QItemSelectionModel::ClearAndSelect);
    }
    editor_.select(index);
    const ByteEditors e = byteEditors(editor_.selectedByte(), ByteCharRule::OnClick);
    Text_modify_dec->setText(e.decimal);
    Text_modify_hex->setText(e.hex);
    Text_modify_asc->setText(e.ascii);
    showBits(editor_.selectedByte());
    panel3_->setText(QStringLiteral("ADDRESS:") + QString::number(index));
}

void frmEepromDataModify::Text_modify_dec_Change(const QString& text) {
    const TypedValue typed = editor_.typeDecimal(text);
    if (typed.boxText) Text_modify_dec->setText(*typed.boxText);
    showEdited(false, true, true);
}

void frmEepromDataModify::Text_modify_hex_Change(const QString& text) {
    editor_.typeHex(text);
    showEdited(true, false, true);
}

void frmEepromDataModify::ChkBin_Click() {
    std::array<bool, 8> bits{};
    for (int i = 0; i < 8; ++i)
        bits[std::size_t(i)] = ChkBin[std::size_t(i)]->isChecked();
    editor_.setBits(bits);
    showEdited(true, true, false);
}

void frmEepromDataModify::showEdited(bool decimalBox, bool hexBox, bool bitBoxes) {
    const std::uint8_t b = editor_.selectedByte();
    const ByteEditors e = byteEditors(b, ByteCharRule::AfterEdit);
    if (decimalBox) Text_modify_dec->setText(e.decimal);
    if (hexBox) Text_modify_hex->setText(e.hex);
    if (bitBoxes) showBits(b);
    Text_modify_asc->setText(e.ascii);
    const int index = editor_.selected();
    const int row = index / 16;
    MSFGrid1->item(row, index % 16 + 1)->setText(byteCellText(b));
    MSFGrid1->item(row, kEepromEditorAsciiColumn)
        ->setText(editor_.asciiCell(row, ByteCharRule::AfterEdit));
}

void frmEepromDataModify::showBits(std::uint8_t b) {
    for (int i = 0; i < 8; ++i)
        ChkBin[std::size_t(i)]->setChecked((b >> i) & 1);
}

void frmEepromDataModify::OKButton_Click() {
    editor_.writeBack();
    accept();
}

void frmEepromDataModify::done(int result) {
    saveEepromEditorPosition(settings_, pos());
    QDialog::done(result);
}

// Where it was last left, kept on the screen; the first time over the main window.
void frmEepromDataModify::placeOnScreen() {
    adjustSize();
    const std::optional<QPoint> saved = loadEepromEditorPosition(settings_);
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (!saved) {
        if (owner) {
            const QRect frame = owner->frameGeometry();
            moveOnScreen(*this, frame.center() - QPoint(width() / 2, height() / 2), owner);
        }
        return;
    }
    QPoint at = *saved;
    const QScreen* screen = owner ? owner->screen() : this->screen();
    if (screen) {
        const QRect room = screen->availableGeometry();
        at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() + 1 - width())));
        at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() + 1 - height())));
    }
    move(at);
}

} // namespace tavrin
