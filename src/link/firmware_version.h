// The board firmware's version as its identification states it, and the message that asks for
// an update when it is older than this program needs.
#pragma once

#include <QString>

#include <optional>

namespace tavrin {

// Firmware older than this gets the update message before every operation.
constexpr float RecommendedFirmwareVersion = 6.5f;

// Where new board firmware is published, used when the settings name no other page.
inline const QString DefaultUpdatePageUrl =
    QStringLiteral("https://tavrin-writer.example/firmware/");

// The number in the last four characters of an identification ("QZ-WRT400 V 6.50" gives 6.5);
// nothing when they do not form a number.
std::optional<float> firmwareVersionOf(const QString& identification);

inline const QString FirmwareUpdateTitle = QStringLiteral("ファームウエアのアップデーが必要です。");
QString firmwareUpdateMessage(const QString& firmwareId, const QString& pageUrl);

} // namespace tavrin
