// The six fills of the PC buffer: erased or all-zero program, EEPROM and ID/configuration
// images, for the selected programming type and sizes.
#pragma once

namespace tavrin {

struct Session;

void FillProgramErased(Session& s);
void FillProgramZero(Session& s);
void FillEepromErased(Session& s);
void FillEepromZero(Session& s);
void FillIdConfigErased(Session& s);
void FillIdConfigZero(Session& s);

} // namespace tavrin
