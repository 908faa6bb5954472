// The main window's toggles and small commands: blank-check skip, serial mode, board picture,
// continuous programming, and the hint texts.
#pragma once

#include <QString>

namespace tavrin {

struct MainContext;

void ToggleBlankSkip(MainContext& ctx);
void ToggleComMode1(MainContext& ctx);
void ToggleBoardInformation(MainContext& ctx);
// Continuous programming: while checked only Program, Blank and Verify stay usable.
void ToggleLock(MainContext& ctx);

inline const QString kComMode1Hint =
    QStringLiteral("通信が正常に行われないとき、この設定を有効にしてみてください。");
inline const QString kFirmwareLabelHint =
    QStringLiteral("ライターのファームウエアのバージョンです。ライターとの通信が正常に行われたとき"
                   "に表示されます。");
inline const QString kFirmwareLabelHintDetail =
    QStringLiteral("ダブルクリックでライターに接続し、ファームウエアバージョンを読み出します。");
inline const QString kDeviceFileVersionHint =
    QStringLiteral("デバイス情報設定ファイルのバージョンです。\r"
                   "新製品はこのファイルに製品情報を追加することでサポートできます。");
inline const QString kChecksumHint =
    QStringLiteral("プログラムメモリのみのチェックサム計算結果を表示します。");
// The information box of the Help menu, line by line.
QString informationText();

} // namespace tavrin
