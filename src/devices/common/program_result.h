// How a finished programming run is judged and told: the joined verify results, the pass and
// fail texts with the counters, and the verify box.
#pragma once

#include <QString>

#include <cstdint>

namespace tavrin {

struct RunState;

// "OK--OK", "OKOKOK" and "OK----" pass.
bool programRunPassed(const QString& program, const QString& eeprom, const QString& config);

QString passText(std::int64_t elapsedSeconds, const QString& endTime, const RunState& run);
QString failText(const QString& endTime, const RunState& run);

// The "ベリファイ" box of a failed run: one line per area, the absent areas left out.
QString verifyFailureReport(const RunState& run);

} // namespace tavrin
