// Program and Verify open alike: they end in a verify, so its results start clean before the
// socket is checked.
#pragma once

namespace tavrin {

class BoardChannel;
class OperatorUi;
struct RunState;

// The memory views are refreshed, the three verify results set to "OK", and the socket checked.
// False when the socket check failed (it has told the person why).
bool resetVerifyResultsAndCheckSocket(OperatorUi& ui, BoardChannel& channel, RunState& run);

} // namespace tavrin
