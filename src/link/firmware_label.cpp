#include "firmware_label.h"

#include "core/operator_ui.h"

namespace tavrin {

QString firmwareLabelCaption(const QString& portName, const QString& text) {
    return portName + QStringLiteral(" : ") + text;
}

void setFirmwareLabelFound(OperatorUi& ui, bool found) {
    ui.setControlBackground(Control::Label_FirmwareVersion,
                            found ? FirmwareLabelFoundRgb : SystemButtonFaceColor);
}

void showFirmwareLabelBoard(OperatorUi& ui, const QString& portName, const QString& reply) {
    ui.setControlText(Control::Label_FirmwareVersion, firmwareLabelCaption(portName, reply));
    setFirmwareLabelFound(ui, true);
}

void showFirmwareLabelNoBoard(OperatorUi& ui, const QString& portName) {
    ui.setControlText(Control::Label_FirmwareVersion,
                      firmwareLabelCaption(portName, QStringLiteral("ライター未接続")));
    setFirmwareLabelFound(ui, false);
}

} // namespace tavrin
