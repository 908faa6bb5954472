// A small file system that is full, for the writers that must keep the old file when the disk
// fills up. The body runs in a child process with its own mount of a tiny tmpfs; the folder
// holds what `prepare` put there, and the rest of the space is taken before `act` runs.
#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <string>

namespace tavrin::test {

struct FullDiskRun {
    bool available = false; // false: no private mount possible here (the test skips)
    std::string failure;    // what `act` reported; empty when it held
};

// `act` returns an empty string when everything it checked held, otherwise what did not.
FullDiskRun runOnFullDisk(const std::function<void(const QString& dir)>& prepare,
                          const std::function<std::string(const QString& dir)>& act);

} // namespace tavrin::test
