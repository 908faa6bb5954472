// The about box texts: the program's title, version, description and notes, and the line with
// the ID words that other parts write into it.
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace tavrin {

struct ProgramVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;
    QString title;        // the application title, "Tavrin Writer v4"
    QString displayTitle; // what heads the window title
    QString description;  // the file description
    QString comments;     // the comments of the version information
};

struct AboutBoxTexts {
    QString version; // lblVersion
    QString title;   // lblTitle
    QString description;
    QString disclaimer;
};

// What start-up puts into the about box: "V6.5.68" for version 6.05.0068.
AboutBoxTexts aboutTextsAtStartup(const ProgramVersion& version);
// The same once start-up is under way: the support line in place of the comments.
AboutBoxTexts aboutTextsOnceStarted(const ProgramVersion& version);
// What the about box shows when it is loaded again after it was closed: "ﾊﾞｰｼﾞｮﾝ 6.5.68".
AboutBoxTexts aboutTextsOnLoad(const ProgramVersion& version);
// The about box's caption: the application title and "のﾊﾞｰｼﾞｮﾝ情報".
QString aboutCaption(const ProgramVersion& version);

// The line that replaces the comments once start-up is under way.
QString supportPageLine();
inline constexpr const char* kSupportPageUrl = "https://tavrin-writer.example/support";

// The four ID words of the configuration image (bytes 0-7, high byte first) as "hhhh:hhhh:...",
// after the event word ("NEW :", "OPEN:").
QString idWordLine(const QString& event, const std::vector<std::uint8_t>& configIdImage);

} // namespace tavrin
