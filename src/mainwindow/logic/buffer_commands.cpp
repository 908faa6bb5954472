#include "buffer_commands.h"

#include "main_context.h"

#include "core/buffer_fills.h"
#include "core/buffer_views.h"
#include "core/config_grids.h"
#include "core/operation_controls.h"
#include "core/program_type.h"

namespace tavrin {

namespace {

struct FillVariant {
    void (*program)(Session&);
    void (*idConfig)(Session&);
    void (*eeprom)(Session&);
    std::int32_t pic18ConfigValue; // word 1 only
    const char* pic18IdText;
    std::uint8_t pic18IdByte;
    std::int32_t configValue; // words 1..7
    const char* idText;
};

constexpr FillVariant kErased{FillProgramErased,
                              FillIdConfigErased,
                              FillEepromErased,
                              0xFFFF,
                              "FFFFFFFF",
                              0x0F,
                              0x3FFF,
                              "FFFF"};
constexpr FillVariant kZero{
    FillProgramZero, FillIdConfigZero, FillEepromZero, 0, "00000000", 0x00, 0, "0000"};

} // namespace

void FillPcBuffer(MainContext& ctx, BufferFill fill) {
    const FillVariant& v = fill == BufferFill::Erased ? kErased : kZero;
    Session& s = ctx.s;
    OperatorUi& ui = ctx.ui;
    ui.setControlVisible(Control::TxtInit, false);
    ui.setControlVisible(Control::CmbInit, false);
    if (!CheckDeviceSelected(s, ui, s.run.OperationResult)) return;

    v.program(s);
    ui.refreshViews(ViewProgram);
    v.idConfig(s);
    ShowIdAndConfig(s, ui);

    const bool pic18 = isPic18Type(s.device.ProgramType);
    if (pic18) {
        s.device.ConfigValue[1] = s.device.ConfigWordDefined[1] != 0
                                      ? pic18PartConfigWord(s.device, 1, v.pic18ConfigValue)
                                      : v.pic18ConfigValue;
    } else {
        for (int k = 1; k <= limits::ConfigWords; ++k)
            s.device.ConfigValue[k] = v.configValue;
    }
    RefreshConfigGrids(s);
    ui.refreshViews(ViewConfigGrids);
    ctx.view.selectConfigTab(0);
    if (s.device.EepromByteCount != 0) {
        v.eeprom(s);
        ui.refreshViews(ViewEeprom);
    }
    const QString idText = QString::fromLatin1(pic18 ? v.pic18IdText : v.idText);
    ui.setControlText(Control::Text_ID, idText);
    s.buffer.IdText = idText;
    if (pic18) {
        for (int k = 0; k < 8; ++k)
            s.buffer.Id18Image[k] = v.pic18IdByte;
        ui.setControlText(Control::Label_DEV_id, QStringLiteral("--"));
        ui.setControlText(Control::Label_DEV_rev, QStringLiteral("--"));
    }
}

} // namespace tavrin
