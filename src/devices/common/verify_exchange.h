// One rule for every Verify: an area whose read-back failed (short, late or without its end code:
// "ER") is a communication failure, not a difference between the chip and the buffer. The areas
// after it are not read, and the failure is reported as what it is.
#pragma once

namespace tavrin {

class BoardChannel;
class OperatorUi;
struct RunState;

// True when the configuration, program or EEPROM verify reported a failed exchange.
bool verifyExchangeFailed(const RunState& run);

// Red status and a message box: the verify could not be completed. A board that went away has
// been told already, and that notice stays the last status.
void reportVerifyExchangeFailure(OperatorUi& ui, const BoardChannel& ch);

} // namespace tavrin
