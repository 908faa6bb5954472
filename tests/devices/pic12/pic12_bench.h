// The operation bench with this folder's modules plugged in, and what the tests of both modules
// share: the test HEX files, the chip's memories as words, and the commands the board saw.
#pragma once

#include "operation_bench.h"

#include "devices/pic12/register_modules.h"

#include <QString>

#include <string>
#include <vector>

namespace tavrin::test {

QString pic12DataPath(const QString& name);

class Pic12Bench : public OperationBench {
  public:
    explicit Pic12Bench(const QString& device, const std::string& socketPart = {},
                        emu::BoardOptions options = {})
        : OperationBench(device, socketPart, std::move(options)) {
        pic12::registerPic12Modules(ops.environment(), ops.environment().modules);
    }

    // "command n rsc", ... in the order the board ran them.
    std::vector<std::string> commands();
};

} // namespace tavrin::test
