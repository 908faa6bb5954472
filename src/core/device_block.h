// Finding one device's block in device6.ini and reading its rows.
#pragma once

#include "device_file_text.h"
#include "session.h"

#include <array>
#include <vector>

namespace tavrin {

using BlockRow = std::array<QString, limits::BlockColumns>;

// The messages of a block that does not end properly.
inline const QString BlockEndMissingText = QStringLiteral("#End が見つかりませんでした。");
inline const QString BlockEofText = QStringLiteral("EOF を検出しました。");

struct DeviceBlockRead {
    bool ok = false;
    QString errorText; // when not ok
    std::vector<BlockRow> rows;
    std::vector<int> rowLines; // file line number of each row, for messages
};

// Reads the rows after a block's name line up to "#END". Lines starting ";" and empty lines are
// skipped; a row keeps its first 16 tokens. A "#BEGIN" or the end of the file before "#END" is a
// failure; rows holds what was read before it.
DeviceBlockRead ReadDeviceBlock(DeviceFileReader& file);

struct DeviceBlockLookup {
    enum class Outcome { Found, NotFound, ReadError };
    Outcome outcome = Outcome::NotFound;
    DeviceBlockRead block;
    // CMT lines before the block, wherever they stand (top level or inside other blocks).
    std::vector<SettingComment> comments;
};

// The first block whose name line starts with `name`, in the UTF-8 text of device6.ini.
DeviceBlockLookup findDeviceBlock(const QByteArray& utf8, const QString& name);

} // namespace tavrin
