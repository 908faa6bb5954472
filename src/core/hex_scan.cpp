#include "hex_scan.h"

#include "operator_ui.h"
#include "session.h"
#include "status.h"

#include <QFile>

namespace tavrin::hex {

void beginLoad(Session& s, OperatorUi& ui) {
    ShowStatusMessage(ui, QStringLiteral("ファイルロード中.........."), QString());
    s.run.PassCount = 0;
    s.run.AttemptCount = 0;
    s.run.FailCount = 0;
    s.buffer.IdText = QStringLiteral("FFFF");
}

bool beginFileLoad(Session& s, OperatorUi& ui, const QString& path, const QString& unreadableDetail,
                   QByteArray& text) {
    beginLoad(s, ui);
    if (readHexFile(path, text)) return true;
    failLoad(s, ui, unreadableDetail);
    return false;
}

void failLoad(Session& s, OperatorUi& ui, const QString& detail) {
    ShowStatusMessage(ui, QStringLiteral("ファイルをロードできませんでした。"), detail);
    s.run.HexLoadResult = result::NG;
}

void showLoadedStatus(OperatorUi& ui, const StagedFile& result) {
    QString badLines;
    if (result.badLines > 0) {
        badLines = result.badLineList;
        badLines.chop(1); // the last "、"
        badLines += QStringLiteral("行目はＨＥＸデータでないので読み飛ばしました。");
    }
    if (result.outsideLines > 0) {
        ShowStatusMessage(ui,
                          QStringLiteral("<<注意>>0xFFFFを超えるアドレスのデータ（") +
                              QString::number(result.outsideLines) + QStringLiteral("行、最初は") +
                              QString::number(result.firstOutsideLine) +
                              QStringLiteral("行目）を読み飛ばしました。"),
                          badLines);
    } else if (result.badLines > 0) {
        ShowStatusMessage(ui, badLines, QString());
    } else {
        ShowStatusMessage(ui, QStringLiteral("ファイルロード完了"), QString());
    }
}

bool readHexFile(const QString& path, QByteArray& text) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    text = file.readAll();
    return file.error() == QFileDevice::NoError;
}

} // namespace tavrin::hex
