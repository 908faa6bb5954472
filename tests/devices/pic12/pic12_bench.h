// The operation bench (the main window's operations register every module when they are made),
// and what the tests of both modules share: the test HEX files and the commands the board saw.
#pragma once

#include "operation_bench.h"

#include <QString>

#include <string>
#include <vector>

namespace tavrin::test {

QString pic12DataPath(const QString& name);

class Pic12Bench : public OperationBench {
  public:
    explicit Pic12Bench(const QString& device, const std::string& socketPart = {},
                        emu::BoardOptions options = {})
        : OperationBench(device, socketPart, std::move(options)) {}

    // "command n rsc", ... in the order the board ran them.
    std::vector<std::string> commands();
};

} // namespace tavrin::test
