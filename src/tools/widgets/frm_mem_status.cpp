#include "frm_mem_status.h"

#include "core/session.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace tavrin {

void PageStripView::setStrip(std::optional<PageStrip> strip) {
    strip_ = std::move(strip);
    update();
}

void PageStripView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Button));
    if (!strip_) return;
    const double w = width();
    const QColor used = QColor::fromRgb(kUsedColourRgb);
    if (strip_->usedFraction > 0)
        p.fillRect(QRectF(0, 0, w * strip_->usedFraction, height()), used);
    // The strip is measured as the picture of 2048 words it stands for, in twips of the
    // original layout (15 per pixel), so the lines fall where they always fell.
    const double widthTwips = w * 15;
    p.setPen(QPen(Qt::black, 1));
    for (int offset : strip_->erasedOffsets) {
        const double x = erasedLineX(offset, widthTwips) / 15;
        p.drawLine(QPointF(x, 0), QPointF(x, height()));
    }
}

frmMemStatus::frmMemStatus(Session& session, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session) {
    setObjectName(QStringLiteral("frmMemStatus"));
    setWindowTitle(QStringLiteral("プログラムメモリ使用状況"));
    auto* grid = new QGridLayout(this);
    const char* pages[4] = {"PAGE0 : 0x0000-0x07FF", "PAGE1 : 0x0800-0x0FFF",
                            "PAGE2 : 0x1000-0x17FF", "PAGE3 : 0x1800-0x1FFF"};
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(QString::fromLatin1(pages[i]));
        label->setObjectName(QStringLiteral("Label1"));
        grid->addWidget(label, i, 0);
        pictures_[i] = new PageStripView;
        pictures_[i]->setObjectName(QStringLiteral("Picture%1").arg(i));
        pictures_[i]->setMinimumSize(560, 36);
        grid->addWidget(pictures_[i], i, 1, 1, 3);
    }
    auto* note = new QLabel(QStringLiteral("14bitコア製品のみサポート"));
    note->setObjectName(QStringLiteral("Label2"));
    auto* usedLegend = new QLabel(QStringLiteral("使用エリア"));
    usedLegend->setObjectName(QStringLiteral("Label3"));
    usedLegend->setAutoFillBackground(true);
    usedLegend->setStyleSheet(QStringLiteral("background-color: #FF8080; padding: 2px 6px;"));
    auto* freeLegend = new QLabel(QStringLiteral("未使用エリア"));
    freeLegend->setObjectName(QStringLiteral("Label4"));
    freeLegend->setStyleSheet(
        QStringLiteral("background-color: black; color: white; padding: 2px 6px;"));
    CmdDisplay = new QPushButton(QStringLiteral("表示"));
    CmdDisplay->setObjectName(QStringLiteral("CmdDisplay"));
    Cmd_close = new QPushButton(QStringLiteral("閉じる"));
    Cmd_close->setObjectName(QStringLiteral("Cmd_close"));
    grid->addWidget(note, 4, 0);
    auto* legend = new QHBoxLayout;
    legend->addWidget(usedLegend);
    legend->addWidget(freeLegend);
    legend->addStretch();
    grid->addLayout(legend, 4, 1, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CmdDisplay);
    buttons->addWidget(Cmd_close);
    grid->addLayout(buttons, 5, 0, 1, 4);

    connect(CmdDisplay, &QPushButton::clicked, this, &frmMemStatus::CmdDisplay_Click);
    connect(Cmd_close, &QPushButton::clicked, this, &frmMemStatus::Cmd_close_Click);
}

void frmMemStatus::CmdDisplay_Click() {
    const MemoryPicture picture =
        memoryUsagePicture(session_.buffer.ProgramImage, session_.device.ProgramWordCount);
    for (int i = 0; i < 4; ++i)
        pictures_[i]->setStrip(picture[static_cast<std::size_t>(i)]);
}

void frmMemStatus::Cmd_close_Click() {
    close();
}

} // namespace tavrin
