#include "mismatch_line.h"

#include "core/utilities.h"

namespace tavrin {

namespace {
QString line(std::int64_t address, const QString& expected, const QString& read) {
    return QStringLiteral("Error\u3000") + QStringLiteral(" アドレス:0x") + hex4(address & 0xFFFF) +
           QStringLiteral(" ,") + QStringLiteral(" 正:0x") + expected + QStringLiteral(" ,") +
           QStringLiteral(" 誤:0x") + read + QStringLiteral("\r\n");
}
} // namespace

QString programMismatchLine(std::int64_t address, std::int32_t expected, std::int32_t read) {
    return line(address, hex4(expected), hex4(read));
}

QString eepromMismatchLine(std::int64_t address, std::int32_t expected, std::int32_t read) {
    return line(address, hex2(expected), hex2(read));
}

} // namespace tavrin
