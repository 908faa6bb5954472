// A bench for the operations of the main window, headless: the part chosen from the shipped
// device file as a person chooses it, a HEX file opened into the buffer, the emulated board with
// a part in its socket on virtual time, the recording operator interface, and the four
// operation buttons. The log goes to a temporary data folder; the wall clock stands still.
#pragma once

#include "emusupport/emulated_bench.h"
#include "hex_oracle.h"
#include "mainwindow/fake_main_window_view.h"
#include "support/recording_ui.h"

#include "core/app_paths.h"
#include "core/settings_store.h"
#include "link/board_link.h"
#include "mainwindow/logic/main_context.h"
#include "mainwindow/operations/operation_frame.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <functional>
#include <string>
#include <vector>

namespace tavrin::test {

// The recording interface with a hook into the event pumps of the waits: what a person does
// while an operation waits for the board.
class PumpingUi : public RecordingUi {
  public:
    void pumpEvents() override {
        RecordingUi::pumpEvents();
        if (onPump) onPump();
    }
    std::function<void()> onPump;
};

inline const QDateTime kBenchNow(QDate(2026, 3, 4), QTime(12, 34, 56));

class OperationBench : public EmulatedBench {
  public:
    // socketPart: the emulator's part name; empty for the part chosen in the device list.
    explicit OperationBench(const QString& device, const std::string& socketPart = {},
                            emu::BoardOptions options = {});

    // Opens a HEX file as the File menu does (erased fill first).
    void openHex(const QString& path);
    // The answers of the next message boxes (the overwrite question is one of them).
    void answer(std::initializer_list<MessageAnswer> answers);

    QString logText() const;
    QString logPath() const;
    // The word at address w of the program image.
    std::uint16_t bufferWord(std::int32_t w) const;
    void setBufferWord(std::int32_t w, std::uint16_t value);

    Session s;
    PumpingUi ui;
    FakeMainWindowView view;
    MemorySettingsStore settingsStore;
    QTemporaryDir dataDir;
    AppPaths paths;
    MainContext ctx;
    BoardLink link;
    OperationSettings settings;
    MainOperations ops;
};

} // namespace tavrin::test
