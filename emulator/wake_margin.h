// How early the loop asks to be woken before its next event. A thread woken from a timed wait
// comes some tens of microseconds late on a busy or virtual machine; a board acting that late on
// every byte would be slower than its line. The margin follows the lateness of the timed waits so
// far, settling where three in four come in time: those end early and the loop looks again until
// the event is due, the rest come that much less late. Aiming higher costs far more looking
// (nine in ten took the emulator from about 1 to 8 CPU seconds over a 12 s board-paced program)
// for little less lateness.
#pragma once

#include "emulator/sim_time.h"

#include <algorithm>

namespace emu {

class WakeMargin {
  public:
    Nanos ns() const { return margin_; }
    // A timed wait asked to end at some time ended `late` after it: a wait in time lowers the
    // margin a step, a late one raises it three.
    void learn(Nanos late) {
        margin_ = std::clamp<Nanos>(margin_ + (late < margin_ ? -kStep : 3 * kStep), 0, kMax);
    }

  private:
    static constexpr Nanos kStep = 1 * kMicrosecond;
    static constexpr Nanos kMax = 250 * kMicrosecond;
    Nanos margin_ = 50 * kMicrosecond;
};

} // namespace emu
