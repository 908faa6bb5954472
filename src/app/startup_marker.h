// Start-up as the start-up benchmark sees it. Asked for with TAVRIN_STARTUP_MARKER, the program
// prints a line on stdout for each modal window as soon as it has been drawn and answers it with
// Escape, as a person at the keyboard would; then, once the enabled main window has been drawn,
// it prints "tavrin-writer: ready" and ends. Without the variable none of this exists.
#pragma once

#include <QObject>

#include <memory>

namespace tavrin {

class StartupMarker final : public QObject {
  public:
    // Null unless the environment asks for the marker.
    static std::unique_ptr<StartupMarker> fromEnvironment();

    StartupMarker();
    ~StartupMarker() override;

    // Start-up ended with the window enabled. The marker waits for the paints already queued,
    // so it goes out when the person could see the enabled window.
    void windowReady();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void customEvent(QEvent* event) override;
};

} // namespace tavrin
