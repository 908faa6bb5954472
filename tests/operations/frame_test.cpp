// The frame around the four buttons: the dispatch by exact device name, the controls given back
// (continuous programming mode included), and the operation guard while the board is waited for.
#include "operation_bench.h"

#include "core/operation_guard.h"
#include "devices/common/device_modules.h"
#include "devices/common/module_context.h"
#include "devices/common/operation_epilogue.h"

#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

TEST(Dispatch, OnlyTheExactNamesGoToTheirModules) {
    struct Case {
        const char* device;
        const char* module;
    };
    const Case cases[] = {
        {"PIC12C508", "PIC12C5XXX"},
        {"PIC12C519", "PIC12C5XXX"},
        {"PIC12F683", "PIC12F683"},
        {"PIC16F877", "PIC16F877"},
        {"PIC16F877A", "PIC16F877A"},
        {"QZ-WRT400", "QZWRT400"},
        {"QZ-WRT400A", "QZWRT400A"},
        {"PIC18F252", "PIC18F252"},
        {"PIC18F8720", "PIC18F8720"},
        {"pic12f683", ""},
        {"PIC12F683 ", ""},
        {"PIC16F84A", ""},
        {"PIC18F242", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(moduleNameFor(QString::fromLatin1(c.device)), QString::fromLatin1(c.module))
            << c.device;
}

TEST(Dispatch, AModuleOwnsTheWholeOperation) {
    OperationBench bench(QStringLiteral("PIC16F877A"));
    int programs = 0;
    DeviceModule module;
    module.programDevice = [&] {
        ++programs;
        EXPECT_TRUE(operationRunning(bench.s));
    };
    bench.ops.environment().modules.add(QStringLiteral("PIC16F877A"), module);
    bench.ui.enabled.clear();
    bench.ops.Command_pogram_Click();
    EXPECT_EQ(programs, 1);
    // The frame checked the board and left the rest to the module: the port is still open and no
    // control was touched.
    EXPECT_TRUE(bench.emu.port.isOpen());
    EXPECT_TRUE(bench.ui.enabled.empty());
    EXPECT_FALSE(operationRunning(bench.s));

    // A module without a Read procedure leaves Read to the generic sequence.
    bench.ops.Command_read_Click();
    EXPECT_EQ(programs, 1);
    EXPECT_FALSE(bench.emu.port.isOpen());
    EXPECT_TRUE(bench.logText().contains(QStringLiteral("リード 操作終了")));
}

// The PIC16F877 family serves all four operations of its four names.
TEST(Dispatch, ThePic16F87xModulesServeEveryOperation) {
    OperationBench bench(QStringLiteral("PIC16F84A"));
    for (const char* device : {"PIC16F877", "PIC16F877A", "QZ-WRT400", "QZ-WRT400A"})
        for (OperationKind kind : {OperationKind::Blank, OperationKind::Program,
                                   OperationKind::Verify, OperationKind::Read})
            EXPECT_NE(
                bench.ops.environment().modules.procedureFor(QString::fromLatin1(device), kind),
                nullptr)
                << device;
}

TEST(Dispatch, The12BitAndPic12F683ModulesServeEveryOperation) {
    OperationBench bench(QStringLiteral("PIC16F84A"));
    for (const char* device : {"PIC12C508", "PIC12C508A", "PIC12C509", "PIC12C509A", "PIC12C518",
                               "PIC12C519", "PIC12F683"})
        for (OperationKind kind : {OperationKind::Blank, OperationKind::Program,
                                   OperationKind::Verify, OperationKind::Read})
            EXPECT_NE(
                bench.ops.environment().modules.procedureFor(QString::fromLatin1(device), kind),
                nullptr)
                << device;
}

// A module that ends through the shared epilogue leaves the window as the generic sequence does:
// port closed, the same controls back (continuous mode included), the pointer gone, the focus.
TEST(Epilogue, AModuleEndsItsOperationLikeTheGenericSequence) {
    for (bool continuous : {false, true}) {
        OperationBench generic(QStringLiteral("PIC16F877A"));
        generic.settings.continuousMode = continuous;
        generic.ui.enabled.clear();
        generic.ops.Command_pogram_Click();

        OperationBench bench(QStringLiteral("PIC16F877A"));
        bench.settings.continuousMode = continuous;
        ModuleContext& ctx = bench.ops.environment();
        DeviceModule module;
        module.programDevice = [&] {
            beginOperation(ctx);
            const OperationEpilogue end(ctx, OperationKind::Program);
            EXPECT_TRUE(bench.ui.busy);
            EXPECT_FALSE(bench.ui.enabled[Control::Command_pogram]);
        };
        bench.ops.environment().modules.add(QStringLiteral("PIC16F877A"), module);
        bench.ui.enabled.clear();
        bench.ui.focus.clear();
        generic.ui.focus.clear();
        generic.ops.Command_pogram_Click();
        bench.ops.Command_pogram_Click();

        EXPECT_FALSE(bench.emu.port.isOpen());
        EXPECT_FALSE(bench.ui.busy);
        EXPECT_EQ(bench.ui.enabled, generic.ui.enabled) << continuous;
        EXPECT_EQ(bench.ui.focus, generic.ui.focus);
    }
}

TEST(ContinuousMode, OnlyProgramBlankAndVerifyComeBackExceptAfterRead) {
    OperationBench bench(QStringLiteral("PIC16F84A"));
    bench.settings.continuousMode = true;
    const Control all[] = {Control::Command_pogram, Control::Command_blank, Control::Command_Vrify,
                           Control::Command_read,   Control::Cmd_open,      Control::Combo_device};
    for (auto click : {&MainOperations::Command_blank_Click, &MainOperations::Command_pogram_Click,
                       &MainOperations::Command_Vrify_Click}) {
        bench.ui.enabled.clear();
        (bench.ops.*click)();
        for (Control c : all) {
            const bool back = c == Control::Command_pogram || c == Control::Command_blank ||
                              c == Control::Command_Vrify;
            EXPECT_EQ(bench.ui.enabled[c], back) << controlName(c);
        }
    }
    bench.ops.Command_read_Click();
    for (Control c : all)
        EXPECT_TRUE(bench.ui.enabled[c]) << controlName(c);
}

// A board that stops answering in the middle of the blank check keeps the operation waiting,
// with window events running. Everything the person tries then is refused.
TEST(OperationGuard, ASecondOperationDuringAStalledOneIsRefused) {
    OperationBench bench(QStringLiteral("PIC16F84A"));
    bench.addFault("stall=1@bs");
    int tries = 0;
    int checksWhileRunning = 0;
    bench.ui.onPump = [&] {
        if (bench.ui.statusText.startsWith(QStringLiteral("ブランクチェック中")) && tries == 0) {
            ++tries;
            const int opensBefore = bench.emu.port.openCount();
            EXPECT_TRUE(operationRunning(bench.s));
            bench.ops.Command_pogram_Click();
            bench.ops.Command_read_Click();
            EXPECT_TRUE(refuseDuringOperation(bench.s, bench.ui));
            EXPECT_EQ(bench.ui.statusText, kOperationRunningText + QLatin1Char(' '));
            EXPECT_EQ(bench.emu.port.openCount(), opensBefore);
            EXPECT_TRUE(bench.emu.port.isOpen());
            ++checksWhileRunning;
        }
    };
    bench.ops.Command_pogram_Click();
    EXPECT_EQ(checksWhileRunning, 1);
    EXPECT_EQ(bench.s.run.AttemptCount, 0);
    EXPECT_FALSE(bench.emu.port.isOpen());
    EXPECT_FALSE(operationRunning(bench.s));
    EXPECT_FALSE(refuseDuringOperation(bench.s, bench.ui));

    // Once it has ended, the next operation runs.
    bench.emu.board.options().faults = {};
    bench.ui.onPump = nullptr;
    bench.ops.Command_pogram_Click();
    EXPECT_EQ(bench.s.run.PassCount, 1) << bench.ui.statusText.toStdString();
}

TEST(OperationGuard, TheExtendedWindowRunsProgramInsideItsOwnOperation) {
    OperationBench bench(QStringLiteral("PIC16F84A"));
    {
        const OperationScope scope(bench.s, bench.ui);
        ASSERT_TRUE(scope.held());
        bench.s.run.ProgramMemoryOnlyMode = true;
        bench.s.run.IncludeConfigInPartial = true;
        bench.ops.programWithinOperation();
        EXPECT_TRUE(operationRunning(bench.s));
    }
    EXPECT_EQ(bench.s.run.PassCount, 1) << bench.ui.statusText.toStdString();
    EXPECT_EQ(bench.s.run.EepromVerifyResult, result::Skipped);
    EXPECT_FALSE(operationRunning(bench.s));
}

} // namespace
