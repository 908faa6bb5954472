// A MainWindowView that records what the logic asks of the window and answers the file dialogs
// from a queue.
#pragma once

#include "mainwindow/logic/main_window_view.h"

#include <deque>
#include <optional>
#include <vector>

namespace tavrin::test {

class FakeMainWindowView : public MainWindowView {
  public:
    void applyDeviceLayout(const DeviceLayout& l) override { layout = l; }
    void showBoardWindow(bool shown) override { boardShown = shown; }
    void closeExtendedWindow() override { ++extendedClosed; }
    void hideEditingWindows() override { ++editingHidden; }
    void setWindowCaption(const QString& c) override { caption = c; }
    void showFolderHistory(const QStringList& c) override { history = c; }
    void selectDeviceInList(int index) override { listIndex = index; }
    int configTabShown() const override { return configTab; }
    void selectConfigTab(int index) override { configTab = index; }
    QString chooseOpenFile(const FileDialogRequest& r) override { return answer(r); }
    QString chooseSaveFile(const FileDialogRequest& r) override { return answer(r); }

    std::deque<QString> fileAnswers; // "" = cancel
    std::vector<FileDialogRequest> dialogs;
    std::optional<DeviceLayout> layout;
    std::optional<bool> boardShown;
    int extendedClosed = 0;
    int editingHidden = 0;
    QString caption;
    QStringList history;
    int listIndex = -1;
    int configTab = 0;

  private:
    QString answer(const FileDialogRequest& r) {
        dialogs.push_back(r);
        if (fileAnswers.empty()) return QString();
        QString a = fileAnswers.front();
        fileAnswers.pop_front();
        return a;
    }
};

} // namespace tavrin::test
