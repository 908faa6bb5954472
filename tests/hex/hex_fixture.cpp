#include "hex_fixture.h"

#include "core/buffer_fills.h"
#include "core/hex_import.h"
#include "core/program_type.h"
#include "support/shipped_parts.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace tavrin::test {

namespace {
void fillByHand(DeviceRecord& d, const Part& part) {
    d.SelectedDevice = QString::fromLatin1(part.name);
    d.ProgramType = QString::fromLatin1(part.programType);
    d.ProgramWordCount = part.words;
    d.EepromByteCount = part.eepromLocations;
    if (isPic18Type(d.ProgramType)) {
        for (int k = 1; k <= limits::ConfigWords; ++k)
            d.ConfigMask[std::size_t(k)] = part.configMask1;
    } else {
        d.ConfigMask[1] = part.configMask1;
        d.ConfigFixed[1] = part.configFixed1;
    }
}
} // namespace

std::unique_ptr<Session> erasedSession(const Part& part) {
    auto s = std::make_unique<Session>();
    auto& d = s->device;
    if (part.programType) {
        fillByHand(d, part);
    } else if (const DeviceRecord* shipped = shippedDevice(QString::fromLatin1(part.name))) {
        d = *shipped;
    } else {
        ADD_FAILURE() << part.name << " is not in the shipped device file";
        return s;
    }
    if (isPic18Type(d.ProgramType)) s->buffer.Id18Image.fill(0xFF);
    FillProgramErased(*s);
    FillEepromErased(*s);
    FillIdConfigErased(*s);
    return s;
}

int programWord(const Session& s, int k) {
    return s.buffer.ProgramImage[std::size_t(2 * k)] << 8 |
           s.buffer.ProgramImage[std::size_t(2 * k + 1)];
}

void setProgramWord(Session& s, int k, int word) {
    s.buffer.ProgramImage[std::size_t(2 * k)] = std::uint8_t(word >> 8);
    s.buffer.ProgramImage[std::size_t(2 * k + 1)] = std::uint8_t(word);
}

Loaded loadText(const Part& part, const QByteArray& text,
                const std::function<void(Session&)>& prepare) {
    Loaded loaded{erasedSession(part), {}};
    if (prepare) prepare(*loaded.session);
    if (isPic18Type(loaded.session->device.ProgramType))
        LoadHexText18(*loaded.session, loaded.ui, text);
    else
        LoadHexText(*loaded.session, loaded.ui, text);
    return loaded;
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
    return path;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString dataPath(const QString& name) {
    return QStringLiteral(TAVRIN_SOURCE_DIR "/tests/hex/data/") + name;
}

ImageSnapshot snapshot(const Session& s) {
    return {s.buffer.ProgramImage, s.buffer.EepromImage,   s.buffer.ConfigIdImage,
            s.buffer.Id18Image,    s.buffer.Config18Bytes, s.device.ConfigValue};
}

} // namespace tavrin::test

namespace tavrin::test {

namespace {
template <class A>
void firstDifference(std::string& out, const char* name, const A& a, const A& b) {
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        if (a[i] == b[i]) continue;
        out += QStringLiteral("%1[0x%2]: %3 != %4; ")
                   .arg(QLatin1String(name))
                   .arg(i, 0, 16)
                   .arg(qint64(a[i]), 0, 16)
                   .arg(qint64(b[i]), 0, 16)
                   .toStdString();
        return;
    }
}
} // namespace

std::string differences(const ImageSnapshot& a, const ImageSnapshot& b) {
    std::string out;
    firstDifference(out, "program", a.program, b.program);
    firstDifference(out, "eeprom", a.eeprom, b.eeprom);
    firstDifference(out, "configId", a.configId, b.configId);
    firstDifference(out, "id18", a.id18, b.id18);
    firstDifference(out, "config18", a.config18, b.config18);
    firstDifference(out, "configValue", a.configValue, b.configValue);
    return out;
}

std::string imageDifferences(const Session& a, const Session& b) {
    std::string out;
    firstDifference(out, "program", a.buffer.ProgramImage, b.buffer.ProgramImage);
    firstDifference(out, "eeprom", a.buffer.EepromImage, b.buffer.EepromImage);
    firstDifference(out, "configId", a.buffer.ConfigIdImage, b.buffer.ConfigIdImage);
    firstDifference(out, "id18", a.buffer.Id18Image, b.buffer.Id18Image);
    return out;
}

} // namespace tavrin::test
