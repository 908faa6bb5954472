// The keys a device block cannot do without. A part whose block lacks one would load with a size
// of zero or with configuration words nobody defined: a HEX file's data would be dropped on
// loading, and Program or Verify would then report success on a chip that was never written as
// the file meant. Such a block is refused when the part is selected.
#pragma once

#include "session.h"

#include <QStringList>

#include <optional>

namespace tavrin {

// The keys the programming type reads, in the order a missing one is reported ("PGM_TYPE" is
// needed by every block and is not listed). A calibration key is satisfied by either form,
// CALIB(retlw) or CALIB(movlw); the form listed is the one the type's parts carry.
QStringList requiredKeysOf(const QString& programType);

// The first needed key that the record's block rows lack; nothing when the block is complete.
// A PGM_TYPE row without a keyword counts as missing.
std::optional<QString> missingRequiredKey(const DeviceRecord& record);

} // namespace tavrin
