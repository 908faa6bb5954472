// The five most recent folder and device pairs of the File menu, newest first, and the settings
// "OPEN_DIR1".."OPEN_DIR5" (entry texts) and "OPEN_Device1".."OPEN_Device5" (list indices).
#pragma once

#include <QString>
#include <QStringList>

#include <array>

namespace tavrin {

class SettingsStore;

class FolderHistory {
  public:
    static constexpr int kEntries = 5;

    // The entry text: the folder as it is (case and blanks kept), four blanks, the device name.
    static QString entryText(const QString& folder, const QString& device);
    // The folder and the device name of an entry text. The device name follows the last run of
    // four blanks; a text without one is all folder.
    static std::pair<QString, QString> splitEntry(const QString& text);

    // Puts the pair first unless the same entry is already listed (then nothing moves).
    void add(const QString& folder, const QString& device, int deviceIndex);
    void clear();

    const QString& entry(int i) const { return entries_[i]; } // 0 = newest
    int deviceIndex(int i) const { return deviceIndices_[i]; }
    QStringList entries() const;

    void load(const SettingsStore& settings);
    // Writes all ten keys; a cleared history writes empty texts and "0".
    void save(SettingsStore& settings) const;

  private:
    std::array<QString, kEntries> entries_;
    std::array<int, kEntries> deviceIndices_{};
};

} // namespace tavrin
