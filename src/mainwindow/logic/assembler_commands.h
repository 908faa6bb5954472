// The assembler menu: run the configured assembler or compiler on the source that belongs to the
// HEX file and reload what it produced (optionally programming it after), reload the HEX file,
// choose the source, and open a source in an editor. Each command holds the operation guard.
#pragma once

#include <QString>

#include <cstdint>

namespace tavrin {

struct MainContext;
class AssemblerView;
class Clock;

// A build that has not ended after this long is stopped. Generous: the person can cancel a
// wait at any time.
inline constexpr std::int64_t kToolWaitLimitMs = 10 * 60 * 1000;

class AssemblerCommands {
  public:
    AssemblerCommands(MainContext& ctx, AssemblerView& view, Clock& clock);

    // 【生成・ReLoad】: the tool runs in the source's folder; the HEX it writes is reloaded. The
    // HEX on disk before the run comes back when no new one appears.
    void mnuASMwithRELOAD_Click();
    // 【生成・ReLoad・書込】: the same, then the Program button when the reload succeeded.
    void mnuAsmReloadProgram_Click();
    // 【ReLoad】.
    void mnuRELOAD_Click();
    // The source choice: names the HEX file that belongs to a source; runs nothing.
    void mnuSourceOpen_Click();
    // Opens a chosen source file in the editor.
    void mnuEditer_Click();

    void setToolWaitLimitMs(std::int64_t ms) { toolWaitLimitMs_ = ms; }

  private:
    void assembleAndReload();
    // mnuFileOpen_Click on HexFilePath without the dialog; true when the loader took the file.
    bool reopenHexFile();
    void openErrorFile(const QString& errorFile);

    MainContext& ctx_;
    AssemblerView& view_;
    Clock& clock_;
    std::int64_t toolWaitLimitMs_ = kToolWaitLimitMs;
};

} // namespace tavrin
