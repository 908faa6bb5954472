// The label at the bottom right of the main window that names the port and the board found
// there: the identification on light orange, or "ライター未接続" on the button-face colour.
#pragma once

#include "core/operator_ui.h"

#include <QString>

#include <cstdint>

namespace tavrin {

class OperatorUi;

// Red 0xFF, green 0xE0, blue 0xC0: a light orange.
constexpr std::uint32_t FirmwareLabelFoundRgb = 0xFFE0C0;

// The port shown by its system name, then " : " and the text.
QString firmwareLabelCaption(const QString& portName, const QString& text);

void showFirmwareLabelBoard(OperatorUi& ui, const QString& portName, const QString& reply);
void showFirmwareLabelNoBoard(OperatorUi& ui, const QString& portName);
void setFirmwareLabelFound(OperatorUi& ui, bool found);

} // namespace tavrin
