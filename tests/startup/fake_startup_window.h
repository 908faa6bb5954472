// Fakes of the start-up seams: a main window that records what start-up asks of it and selects
// devices by the session's device list, and choice windows that answer from the test.
#pragma once

#include "core/about_texts.h"
#include "core/session.h"
#include "core/settings_store.h"
#include "core/startup_window.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <optional>

namespace tavrin::test {

class FakeStartupWindow final : public StartupWindow {
  public:
    FakeStartupWindow(Session& session, const SettingsStore& settings)
        : s_(session), settings_(settings) {}

    void setStartupLock(bool isLocked) override {
        locked = isLocked;
        calls << (isLocked ? QStringLiteral("lock") : QStringLiteral("unlock"));
    }
    void setWindowCaption(const QString& text) override {
        caption = text;
        calls << QStringLiteral("caption:") + text;
    }
    void restoreFolderHistory() override { calls << QStringLiteral("history"); }
    void restoreMenuToggle(MenuToggle toggle) override;
    void resetConfigUi() override { calls << QStringLiteral("resetConfig"); }
    int selectedDeviceIndex() const override { return index; }
    void selectDeviceByIndex(int i) override;
    void selectDeviceByName(const QString& name) override;
    void directOpenCommandLineFile() override {
        openedFile = s_.app.CommandLine;
        s_.app.CommandLine.clear();
        calls << QStringLiteral("open:") + openedFile;
    }
    void fillAboutBox(const AboutBoxTexts& texts) override { about = texts; }

    // A part whose block cannot be read: selecting it leaves no part selected.
    QString brokenDevice;

    bool locked = false;
    QString caption;
    int index = -1;
    QString openedFile;
    AboutBoxTexts about;
    QStringList calls;

  private:
    Session& s_;
    const SettingsStore& settings_;
};

class FakeStartupServices final : public StartupServices {
  public:
    void detectBoard() override {
        calls << QStringLiteral("detect:") + portSeen();
        if (onDetect) onDetect();
    }
    void choosePort() override {
        calls << QStringLiteral("choosePort");
        if (onChoosePort) onChoosePort();
    }
    std::optional<QString> askDevice(const QStringList& names, int currentIndex) override {
        calls << QStringLiteral("askDevice:%1").arg(currentIndex);
        offered = names;
        return deviceAnswer;
    }

    std::function<QString()> portSeen = [] { return QString(); };
    std::function<void()> onDetect;
    std::function<void()> onChoosePort;
    std::optional<QString> deviceAnswer;
    QStringList offered;
    QStringList calls;
};

} // namespace tavrin::test
