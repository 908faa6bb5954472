// One rule for every Verify: an area whose read-back failed (short, late or without its end code:
// "ER") is a communication failure, not a difference between the chip and the buffer. The areas
// after it are not read, and the failure is reported as what it is.
#pragma once

namespace tavrin {

class OperatorUi;
struct RunState;

// True when the configuration, program or EEPROM verify reported a failed exchange.
bool verifyExchangeFailed(const RunState& run);

// Red status and a message box: the verify could not be completed.
void reportVerifyExchangeFailure(OperatorUi& ui);

} // namespace tavrin
