#include "frm_index.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrin {

namespace {

// A socket outline: a rectangle with its caption, and pin notes placed around it.
struct Socket {
    QRect box;
    QString caption;
};

struct Note {
    QPoint at;
    QString text;
};

const QList<Socket>& sockets() {
    static const QList<Socket> list = {
        {{20, 30, 60, 70}, QStringLiteral("8pin")},
        {{110, 30, 60, 150}, QStringLiteral("18pin")},
        {{200, 30, 60, 220}, QStringLiteral("28pin")},
        {{290, 30, 70, 300}, QStringLiteral("40pin")},
        {{20, 130, 60, 120}, QStringLiteral("20pin")},
        {{400, 30, 150, 300}, QStringLiteral("ZIP Socket")},
    };
    return list;
}

const QList<Note>& notes() {
    static const QList<Note> list = {
        {{410, 60}, QStringLiteral("PIC16C55/57")}, {{410, 90}, QStringLiteral("1pin VPP")},
        {{410, 110}, QStringLiteral("8pin GND")},   {{410, 130}, QStringLiteral("11pin VDD")},
        {{410, 150}, QStringLiteral("12pin GND")},  {{410, 190}, QStringLiteral("VDD 32pin")},
        {{410, 210}, QStringLiteral("GND 31pin")},  {{410, 230}, QStringLiteral("GND 36pin")},
        {{410, 250}, QStringLiteral("CLK 39pin")},  {{410, 270}, QStringLiteral("DAT 40pin")},
    };
    return list;
}

const QString kNoTwentyPin = QStringLiteral("20ピン デバイス用のソケットは用意されていません。");
const QString kOldBoard =
    QStringLiteral("PIC16F87Xを、旧基板で使用するときは、RB3/PGM端子をGNDに接続して下さい。");

class SocketPicture final : public QWidget {
  public:
    SocketPicture() {
        setObjectName(QStringLiteral("Picture1"));
        setFixedSize(570, 345);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().base());
        p.setPen(QPen(palette().text().color(), 1));
        for (const Socket& s : sockets()) {
            const bool missing = s.caption == QLatin1String("20pin");
            p.setPen(QPen(palette().text().color(), 1, missing ? Qt::DashLine : Qt::SolidLine));
            p.drawRect(s.box);
            // The index notch marks pin 1 at the top.
            if (s.caption != QLatin1String("ZIP Socket"))
                p.drawArc(QRect(s.box.center().x() - 6, s.box.top() - 6, 12, 12), 180 * 16,
                          180 * 16);
            p.drawText(QRect(s.box.left(), s.box.top() - 24, s.box.width() + 40, 18),
                       Qt::AlignLeft | Qt::AlignVCenter, s.caption);
            if (!missing) {
                const int pins =
                    s.caption.left(s.caption.indexOf(QLatin1String("pin"))).toInt() / 2;
                for (int i = 0; i < pins; ++i) {
                    const int y = s.box.top() + 8 + i * (s.box.height() - 16) / qMax(1, pins - 1);
                    p.drawEllipse(QPoint(s.box.left() + 10, y), 2, 2);
                    p.drawEllipse(QPoint(s.box.right() - 10, y), 2, 2);
                }
            }
        }
        p.setPen(QPen(palette().text().color(), 1));
        for (const Note& n : notes())
            p.drawText(n.at, n.text);
    }
};

} // namespace

QStringList frmIndex::labelTexts() {
    QStringList texts;
    for (const Socket& s : sockets())
        texts << s.caption;
    for (const Note& n : notes())
        texts << n.text;
    texts << kNoTwentyPin << kOldBoard;
    return texts;
}

frmIndex::frmIndex(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmIndex"));
    setWindowTitle(QStringLiteral("インデックス"));
    auto* noTwenty = new QLabel(kNoTwentyPin);
    noTwenty->setObjectName(QStringLiteral("Label_20pin"));
    auto* oldBoard = new QLabel(kOldBoard);
    oldBoard->setObjectName(QStringLiteral("Label_PGM"));
    Command1 = new QPushButton(QStringLiteral("閉じる"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &frmIndex::Command1_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new SocketPicture);
    layout->addWidget(noTwenty);
    layout->addWidget(oldBoard);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace tavrin
