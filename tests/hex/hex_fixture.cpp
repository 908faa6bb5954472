#include "hex_fixture.h"

#include "core/buffer_fills.h"
#include "core/program_type.h"

#include <QDir>
#include <QFile>

namespace tavrin::test {

std::unique_ptr<Session> erasedSession(const Part& part) {
    auto s = std::make_unique<Session>();
    auto& d = s->device;
    d.SelectedDevice = QString::fromLatin1(part.name);
    d.ProgramType = QString::fromLatin1(part.programType);
    d.ProgramWordCount = part.words;
    d.EepromByteCount = part.eepromLocations;
    if (isPic18Type(d.ProgramType)) {
        for (int k = 1; k <= limits::ConfigWords; ++k)
            d.ConfigMask[std::size_t(k)] = part.configMask1;
        s->buffer.Id18Image.fill(0xFF);
    } else {
        d.ConfigMask[1] = part.configMask1;
        d.ConfigFixed[1] = part.configFixed1;
    }
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
