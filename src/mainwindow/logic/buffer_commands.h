// The PC buffer fills of the option menu: the erased state and all zeros.
#pragma once

namespace tavrin {

struct MainContext;

enum class BufferFill { Erased, Zero };

// Fills the program, ID/configuration and EEPROM images for the selected part, sets the
// configuration values, ID texts and PIC18 ID bytes of the fill, and redraws the views. Nothing
// happens without a selected part.
void FillPcBuffer(MainContext& ctx, BufferFill fill);

} // namespace tavrin
