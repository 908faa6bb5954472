// An AssemblerView that records what the assembler commands show and open, and cancels the
// tool's wait after a given number of looks.
#pragma once

#include "core/session.h"
#include "mainwindow/logic/assembler_view.h"

#include <QStringList>

namespace tavrin::test {

class FakeAssemblerView : public AssemblerView {
  public:
    explicit FakeAssemblerView(const Session& s) : s_(s) {}

    void showRunInformation(const QString& text) override { information << text; }
    void openInEditor(const QString& path, bool plainTextEditor) override {
        opened << (plainTextEditor ? QStringLiteral("text:") : QStringLiteral("associated:")) +
                      path;
    }
    void beginToolWait(const QString& text) override {
        waitText = text;
        waitOpen = true;
        ++waits;
    }
    bool toolWaitCancelled() override {
        ++looks;
        return cancelAfterLooks >= 0 && looks > cancelAfterLooks;
    }
    void endToolWait() override { waitOpen = false; }
    void startProgramming() override {
        ++programStarts;
        guardHeldAtProgramStart = s_.run.OperationRunning;
    }

    QStringList information;
    QStringList opened;
    QString waitText;
    bool waitOpen = false;
    int waits = 0;
    int looks = 0;
    int cancelAfterLooks = -1; // never
    int programStarts = 0;
    bool guardHeldAtProgramStart = false;

  private:
    const Session& s_;
};

} // namespace tavrin::test
