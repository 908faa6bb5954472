#include "pic12_bench.h"

namespace tavrin::test {

QString pic12DataPath(const QString& name) {
    return QStringLiteral(TAVRIN_SOURCE_DIR "/tests/devices/pic12/data/") + name;
}

std::vector<std::string> Pic12Bench::commands() {
    std::vector<std::string> out;
    for (const std::string& n : emu.board.transcript().notes())
        if (n.rfind("command ", 0) == 0) out.push_back(n);
    return out;
}

} // namespace tavrin::test
