#include "device_layout.h"

namespace tavrin {

namespace {

enum class Calibration { None, Value, ValueAndBandgap };
enum class IdBox { Keep, Pic18, Standard };

struct LayoutRule {
    const char* programType; // nullptr: every other type
    int infoTab;             // -1: none shown
    Calibration calibration;
    bool parity;
    IdBox idBox;
};

// First matching row wins; types compare exactly.
constexpr LayoutRule kRules[] = {
    {"12C5", 0, Calibration::Value, false, IdBox::Keep},
    {"12C6", 0, Calibration::Value, false, IdBox::Keep},
    {"12F6", 0, Calibration::ValueAndBandgap, false, IdBox::Keep},
    {"EPROM2", 1, Calibration::None, true, IdBox::Keep},
    {"18F_00", 2, Calibration::None, false, IdBox::Pic18},
    {"18F_01", 2, Calibration::None, false, IdBox::Pic18},
    {nullptr, -1, Calibration::None, false, IdBox::Standard},
};

const LayoutRule& ruleFor(const QString& type) {
    for (const LayoutRule& r : kRules)
        if (!r.programType || type == QLatin1String(r.programType)) return r;
    return kRules[std::size(kRules) - 1];
}

} // namespace

DeviceLayout deviceLayoutFor(const QString& programType,
                             const std::array<std::int16_t, 21>& configWordDefined) {
    DeviceLayout l;
    for (int k = 1; k <= 7; ++k)
        l.configTabShown[k - 1] = configWordDefined[k] == 1;

    const LayoutRule& rule = ruleFor(programType);
    if (rule.infoTab >= 0) {
        l.infoTabSelected = rule.infoTab;
        l.infoTabShown[rule.infoTab] = true;
    }
    if (rule.calibration != Calibration::None) {
        l.calibLabelsEnabled = true;
        l.calibChoiceShown = l.calibChoiceEnabled = l.calibChoiceChecked = true;
        l.calibText = QStringLiteral("FF");
        l.bandgapText = QStringLiteral("3");
        l.bandgapLabelEnabled = rule.calibration == Calibration::ValueAndBandgap;
    }
    l.parityEnabled = rule.parity;
    switch (rule.idBox) {
    case IdBox::Keep:
        break;
    case IdBox::Pic18:
        l.deviceIdLabels = QStringLiteral("--");
        l.frame2Visible = true;
        l.idDevRevLabelsShown = false;
        l.idMaxLength = 8;
        l.idText = QStringLiteral("FFFFFFFF");
        break;
    case IdBox::Standard:
        l.deviceIdLabels = QStringLiteral("--");
        l.frame2Visible = true;
        l.idDevRevLabelsShown = true;
        l.idText = QStringLiteral("FFFF");
        break;
    }
    return l;
}

void showCalibrationTabAlone(DeviceLayout& layout) {
    layout.infoTabShown.fill(false);
    layout.infoTabShown[4] = true;
    layout.infoTabSelected = 4;
    layout.calibChoiceShown = true;
    layout.calibChoiceEnabled = false;
    layout.frame2Visible = true;
}

} // namespace tavrin
