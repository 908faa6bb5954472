#include "config_grids.h"

#include "buffer_views.h"
#include "operator_ui.h"
#include "program_type.h"
#include "session.h"
#include "utilities.h"

namespace tavrin {

namespace {

bool validWord(int word) {
    return word >= 1 && word <= limits::ConfigWords;
}

const std::vector<ConfigSetting>& settingsOf(const Session& s, int word) {
    static const std::vector<ConfigSetting> none;
    if (!validWord(word) || s.device.SelectedDevice.isEmpty()) return none;
    return s.device.ConfigSettings[word];
}

// The last option whose bits match the value, as the grids have always shown it.
int optionInEffect(const ConfigSetting& setting, std::int32_t value) {
    int found = -1;
    for (int i = 0; i < int(setting.options.size()); ++i) {
        const ConfigOption& o = setting.options[i];
        if ((o.mask & value) == o.value) found = i;
    }
    return found;
}

std::int32_t settingMask(const ConfigSetting& setting) {
    std::int32_t mask = 0;
    for (const ConfigOption& o : setting.options)
        mask |= o.mask;
    return mask;
}

// A word is protected when any "CP" setting does not have all of its bits set (the unprotected
// option of every part is the one whose value equals its mask), whatever order the rows are in.
bool codeProtected(const Session& s) {
    for (int word = 1; word <= limits::ConfigWords; ++word) {
        for (const ConfigSetting& setting : settingsOf(s, word)) {
            if (setting.name != QLatin1String("CP")) continue;
            const std::int32_t value = s.device.ConfigValue[word];
            for (const ConfigOption& o : setting.options)
                if ((value & o.mask) != o.mask) return true;
        }
    }
    return false;
}

// The 12- and 14-bit parts keep their words in ConfigIdImage, and that image is what Program
// writes: ConfigValue of every word the part defines is taken from it, bits 15-14 (the "EPROM2"
// parity) left out. The PIC18 parts keep their words in ConfigValue itself.
void takeConfigWordsFromImage(Session& s) {
    DeviceRecord& d = s.device;
    if (isPic18Type(d.ProgramType)) return;
    const auto& image = s.buffer.ConfigIdImage;
    for (int k = 1; k <= limits::ConfigWords; ++k) {
        if (d.ConfigWordDefined[k] == 0) continue;
        d.ConfigValue[k] = (image[12 + 2 * k] & 0x3F) * 256 + image[13 + 2 * k];
    }
}

void storeWord(Session& s, int word) {
    std::uint8_t hi, lo;
    SplitWordBytes(s.device.ConfigValue[word], hi, lo);
    auto& image = s.buffer.ConfigIdImage;
    image[2 * word + 12] = hi;
    image[2 * word + 13] = lo;
    if (word == 1 && s.device.ProgramType == QLatin1String("EPROM2")) image[14] |= 0xC0;
}

// Rebuilds the word from the chosen option of each row (index per row, -1 = none chosen).
void rebuildWord(Session& s, int word, const std::vector<int>& chosen) {
    DeviceRecord& d = s.device;
    const std::int32_t current = d.ConfigValue[word];
    std::int32_t value = current;
    if (!d.ConfigFromDevice) value = (d.ConfigMask[word] & d.ConfigXor[word]) | d.ConfigFixed[word];
    const auto& settings = settingsOf(s, word);
    for (std::size_t r = 0; r < settings.size(); ++r) {
        const int index = r < chosen.size() ? chosen[r] : -1;
        if (index >= 0) {
            const ConfigOption& o = settings[r].options[index];
            value &= o.value | (o.mask ^ d.ConfigXor[word]);
        } else {
            // A setting whose bits select no option keeps those bits, so a value loaded from a
            // file or read from the chip survives an edit of another setting.
            value &= current | ~settingMask(settings[r]);
        }
    }
    d.ConfigValue[word] = value;
}

std::vector<int> shownOptions(const Session& s, int word) {
    std::vector<int> chosen;
    for (const ConfigSetting& setting : settingsOf(s, word))
        chosen.push_back(optionInEffect(setting, s.device.ConfigValue[word]));
    return chosen;
}

} // namespace

QString configGridTitle(int word) {
    return QStringLiteral("ｺﾝﾌｨｸﾞ") + QString::number(word);
}

void RefreshConfigGrids(Session& s) {
    DeviceRecord& d = s.device;
    takeConfigWordsFromImage(s);
    if (!d.ConfigFromDevice) {
        for (int i = 1; i <= 127; ++i)
            d.ConfigValue[i] = partConfigWord(d, i, d.ConfigValue[i]);
    }
    d.CodeProtectOn = codeProtected(s);
}

ConfigGrid configGrid(const Session& s, int word) {
    ConfigGrid grid;
    grid.word = word;
    grid.title = configGridTitle(word);
    if (!validWord(word)) return grid;
    const std::int32_t value = s.device.ConfigValue[word];
    grid.header = QStringLiteral("0x") + hex4(value);
    for (const ConfigSetting& setting : settingsOf(s, word)) {
        ConfigGridRow row;
        row.setting = setting.name;
        row.optionIndex = optionInEffect(setting, value);
        if (row.optionIndex >= 0) row.option = setting.options[row.optionIndex].name;
        grid.rows.push_back(row);
    }
    return grid;
}

void RecomputeConfigFromGrid(Session& s, OperatorUi& ui, int word) {
    if (!validWord(word)) return;
    rebuildWord(s, word, shownOptions(s, word));
    storeWord(s, word);
    ShowIdAndConfig(s, ui);
    ui.refreshViews(ViewConfigGrids);
}

void ChooseConfigOption(Session& s, OperatorUi& ui, int word, int row, int optionIndex) {
    if (!validWord(word)) return;
    std::vector<int> chosen = shownOptions(s, word);
    const auto& settings = settingsOf(s, word);
    if (optionIndex >= 0 && row >= 0 && row < int(settings.size()) &&
        optionIndex < int(settings[row].options.size()))
        chosen[row] = optionIndex;
    rebuildWord(s, word, chosen);
    storeWord(s, word);
    ShowIdAndConfig(s, ui);
    ui.refreshViews(ViewConfigGrids);
}

std::optional<ConfigOptionChoice> configOptionChoice(const Session& s, int word, int row) {
    const auto& settings = settingsOf(s, word);
    if (row < 0 || row >= int(settings.size())) return std::nullopt;
    ConfigOptionChoice choice;
    for (const ConfigOption& o : settings[row].options)
        choice.options << o.name;
    choice.current = optionInEffect(settings[row], s.device.ConfigValue[word]);
    return choice;
}

std::optional<std::pair<QString, QString>> settingComment(const Session& s,
                                                          const QString& setting) {
    std::optional<std::pair<QString, QString>> found;
    for (const SettingComment& c : s.device.SettingComments)
        if (c.setting == setting) found = std::make_pair(c.text1, c.text2);
    return found;
}

} // namespace tavrin
