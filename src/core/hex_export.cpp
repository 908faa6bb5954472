// Record order of the 12/14-bit file: program words, the data EEPROM at 0x4200 and again at
// 0x8000 (both forms older tools read), the ID words at 0x4000, then the configuration word at
// 0x400E with words 0x2008-0x200F, or, for 12-bit parts, the configuration word at 0x1FFE.
// The PIC18 file: program pages, EEPROM page 0xF0, configuration page 0x30, ID page 0x20.
#include "hex_export.h"

#include "hex_record.h"
#include "operator_ui.h"
#include "program_type.h"
#include "session.h"
#include "status.h"
#include "whole_file.h"

#include <algorithm>

namespace tavrin {

namespace {

using hex::appendRecord;
using hex::DataRecord;

constexpr char kEndOfFile[] = ":00000001FF\r\n";
constexpr std::size_t kWordsPerRecord = 8;
constexpr std::size_t kBytesPerPic18EepromRecord = 16;

std::size_t programWords(const Session& s, std::size_t addressableWords) {
    const auto words = std::clamp<std::int64_t>(s.device.ProgramWordCount, 0,
                                                std::int64_t(s.buffer.ProgramImage.size() / 2));
    return std::min(std::size_t(words), addressableWords);
}

std::size_t eepromLocations(const Session& s, std::size_t bytesPerLocation) {
    const auto count =
        std::clamp<std::int64_t>(s.device.EepromByteCount, 0, limits::MaxEepromLocations);
    return std::min(std::size_t(count), s.buffer.EepromImage.size() / bytesPerLocation);
}

// Program words low byte first, as the file holds them, 8 to a record; the last record holds
// what is left. afterRecord(address) runs after each record.
template <class AfterRecord>
void appendProgramRecords(QByteArray& out, const std::vector<std::uint8_t>& image,
                          std::size_t words, AfterRecord&& afterRecord) {
    std::uint8_t data[2 * kWordsPerRecord];
    for (std::size_t first = 0; first < words; first += kWordsPerRecord) {
        const std::size_t n = std::min(kWordsPerRecord, words - first);
        for (std::size_t k = 0; k < n; ++k) {
            data[2 * k] = image[2 * (first + k) + 1];
            data[2 * k + 1] = image[2 * (first + k)];
        }
        const auto address = std::uint16_t(2 * first);
        appendRecord(out, DataRecord, address, data, 2 * n);
        afterRecord(address);
    }
}

// 12/14-bit EEPROM: each location as its data byte and 0x00, 8 locations to a record.
void appendEepromCopy(QByteArray& out, const std::vector<std::uint8_t>& image,
                      std::size_t locations, std::uint16_t base) {
    std::uint8_t data[2 * kWordsPerRecord];
    for (std::size_t first = 0; first < locations; first += kWordsPerRecord) {
        const std::size_t n = std::min(kWordsPerRecord, locations - first);
        for (std::size_t m = 0; m < n; ++m) {
            data[2 * m] = image[2 * (first + m) + 1];
            data[2 * m + 1] = 0x00;
        }
        appendRecord(out, DataRecord, std::uint16_t(base + 2 * first), data, 2 * n);
    }
}

// Words of ConfigIdImage, low byte first.
void appendConfigIdWords(QByteArray& out, const std::vector<std::uint8_t>& cii,
                         std::uint16_t address, std::size_t firstByte, std::size_t words) {
    std::uint8_t data[2 * kWordsPerRecord];
    for (std::size_t k = 0; k < words; ++k) {
        data[2 * k] = cii[firstByte + 2 * k + 1];
        data[2 * k + 1] = cii[firstByte + 2 * k];
    }
    appendRecord(out, DataRecord, address, data, 2 * words);
}

void appendExtendedLinearAddress(QByteArray& out, std::uint16_t page) {
    const std::uint8_t data[2] = {std::uint8_t(page >> 8), std::uint8_t(page)};
    appendRecord(out, hex::ExtendedLinearAddressRecord, 0, data, 2);
}

bool writeHexFile(OperatorUi& ui, const QString& path, const QByteArray& bytes) {
    QString error;
    if (writeWholeFile(path, bytes, &error)) return true;
    ShowStatusMessage(ui, QStringLiteral("REDファイルを保存できませんでした。"), path);
    ui.messageBox(MessageIcon::Critical, MessageButtons::Ok, QStringLiteral("ファイル保存"),
                  QStringLiteral("ファイルを保存できませんでした。\n") + path + QLatin1Char('\n') +
                      error);
    return false;
}

class BusyPointer {
  public:
    explicit BusyPointer(OperatorUi& ui) : ui_(ui) { ui_.setBusy(true); }
    ~BusyPointer() { ui_.setBusy(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

  private:
    OperatorUi& ui_;
};

} // namespace

QByteArray hexFileText(const Session& s) {
    const auto& b = s.buffer;
    QByteArray out;
    // 16-bit record addresses reach 0x8000 words.
    const std::size_t words = programWords(s, 0x8000);
    out.reserve(qsizetype(words / kWordsPerRecord + 64) * 45);
    appendProgramRecords(out, b.ProgramImage, words, [](std::uint16_t) {});
    if (const std::size_t locations = eepromLocations(s, 2); locations > 0) {
        appendEepromCopy(out, b.EepromImage, locations, 0x4200);
        appendEepromCopy(out, b.EepromImage, locations, 0x8000);
    }
    appendConfigIdWords(out, b.ConfigIdImage, 0x4000, 0, 4);
    if (coreGroupOf(s.device.ProgramType) == CoreGroup::Bit12) {
        appendConfigIdWords(out, b.ConfigIdImage, 0x1FFE, 14, 1);
    } else {
        appendConfigIdWords(out, b.ConfigIdImage, 0x400E, 14, 1);
        appendConfigIdWords(out, b.ConfigIdImage, 0x4010, 16, 8);
    }
    out.append(kEndOfFile);
    return out;
}

QByteArray hexFileText18(Session& s) {
    auto& b = s.buffer;
    QByteArray out;
    const std::size_t words = programWords(s, b.ProgramImage.size() / 2);
    out.reserve(qsizetype(words / kWordsPerRecord + 64) * 45);
    std::uint16_t page = 0;
    appendExtendedLinearAddress(out, page);
    appendProgramRecords(out, b.ProgramImage, words, [&](std::uint16_t address) {
        if (address == 0xFFF0) appendExtendedLinearAddress(out, ++page);
    });
    if (const std::size_t bytes = eepromLocations(s, 1); bytes > 0) {
        appendExtendedLinearAddress(out, 0xF0);
        for (std::size_t first = 0; first < bytes; first += kBytesPerPic18EepromRecord) {
            const std::size_t n = std::min(kBytesPerPic18EepromRecord, bytes - first);
            appendRecord(out, DataRecord, std::uint16_t(first), b.EepromImage.data() + first, n);
        }
    }
    appendExtendedLinearAddress(out, 0x30);
    std::uint8_t config[14];
    for (int k = 1; k <= limits::ConfigWords; ++k) {
        // Only the word's 16 bits: a definition with higher bits cannot spoil the record.
        const std::int32_t value = s.device.ConfigValue[std::size_t(k)];
        b.Config18Bytes[std::size_t(2 * k - 2)] = value & 0xFF;
        b.Config18Bytes[std::size_t(2 * k - 1)] = (value >> 8) & 0xFF;
        config[2 * k - 2] = std::uint8_t(value);
        config[2 * k - 1] = std::uint8_t(value >> 8);
    }
    appendRecord(out, DataRecord, 0, config, sizeof config);
    appendExtendedLinearAddress(out, 0x20);
    appendRecord(out, DataRecord, 0, b.Id18Image.data(), 8);
    out.append(kEndOfFile);
    return out;
}

bool SaveHexFile(Session& s, OperatorUi& ui, const QString& path) {
    return writeHexFile(ui, path, hexFileText(s));
}

bool SaveHexFile18(Session& s, OperatorUi& ui, const QString& path) {
    BusyPointer busy(ui);
    ui.pumpEvents();
    return writeHexFile(ui, path, hexFileText18(s));
}

} // namespace tavrin
