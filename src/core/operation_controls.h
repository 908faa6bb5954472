// The controls every operation switches off while it runs and back on afterwards, the check that
// a part is selected, the Program button's caption, and the emptying of the views when another
// part is chosen.
#pragma once

#include "operator_ui.h"

#include <QString>

#include <array>

namespace tavrin {

struct Session;
class OperatorUi;

// Enables the operation buttons, tabs, device list and menus; the extended-program button only
// for types that are not one-time-programmable or EPROM, the EEPROM editor's button only for a
// part with data EEPROM.
void EnableOperationControls(const Session& s, OperatorUi& ui);
// Disables the same list (the extended-program button too) and gives the focus to the window.
void DisableOperationControls(OperatorUi& ui);
// Whether c is one of the controls the two above switch.
bool isOperationControl(Control c);

// The buttons continuous programming leaves usable between runs.
inline constexpr std::array kContinuousModeButtons{Control::Command_pogram, Control::Command_blank,
                                                   Control::Command_Vrify};
bool isContinuousModeButton(Control c);

// "OK" when a part is selected; otherwise tells the person, focuses the device list and gives
// "NG". Returns whether the result is "OK".
bool CheckDeviceSelected(const Session& s, OperatorUi& ui, QString& result);

// The Program button shows the blank-skip state; the skip menu item and the extended-program
// button are offered only for flash families (by the device name's first six characters).
void UpdateProgramButton(const Session& s, OperatorUi& ui, bool blankSkipChecked);

// Empties the memory views, the ID and configuration texts, the size labels and the grids. The
// images are left as they are.
void ClearDeviceInfoDisplay(OperatorUi& ui);

inline const QString kProgramButtonCaption = QStringLiteral("プログラム(&P)");
inline const QString kBlankSkipCaptionLine = QStringLiteral("ﾌﾞﾗﾝｸﾁｪｯｸ ｽｷｯﾌﾟ");

} // namespace tavrin
