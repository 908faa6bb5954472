// The test adapter of OperatorUi: records every call in order and answers message boxes from a
// queue (the default button, as Enter would, when the queue is empty).
#pragma once

#include "core/operator_ui.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <map>
#include <vector>

namespace tavrin::test {

struct RecordedMessage {
    MessageIcon icon;
    MessageButtons buttons;
    QString title;
    QString text;
    MessageAnswer answer;
    MessageDefault defaultButton;
};

class RecordingUi : public OperatorUi {
  public:
    void showStatusLine(const QString& text, StatusColor color) override;
    void showProgressBar(bool visible, double minimum, double maximum, double value,
                         const QString& percentText) override;
    MessageAnswer messageBox(MessageIcon icon, MessageButtons buttons, const QString& title,
                             const QString& text,
                             MessageDefault defaultButton = MessageDefault::First) override;
    void setControlText(Control control, const QString& text) override;
    void setControlVisible(Control control, bool visible) override;
    void setControlEnabled(Control control, bool enabled) override;
    void setControlBackground(Control control, std::uint32_t rgb) override;
    void focusControl(Control control) override;
    void setControlItems(Control control, const QStringList& items, int selected) override;
    void appendProgramViewLine(const QString& line) override;
    void appendEepromViewLine(const QString& line) override;
    void refreshViews(unsigned viewFlags) override;
    void setDeviceList(const QStringList& names) override;
    void setBusy(bool busy) override;
    void pumpEvents() override { ++pumpCount; }

    // Answers for the next message boxes, in order.
    std::deque<MessageAnswer> answers;

    // What was shown.
    QString statusText;
    StatusColor statusColor = StatusColor::Black;
    QStringList statusHistory;
    std::vector<RecordedMessage> messages;
    std::map<Control, QString> texts;
    std::map<Control, bool> visible;
    std::map<Control, bool> enabled;
    std::map<Control, std::uint32_t> backgrounds;
    std::vector<Control> focus;
    std::map<Control, QStringList> items;
    std::map<Control, int> selectedItem;
    QStringList programViewLines;
    QStringList eepromViewLines;
    unsigned refreshedViews = 0;
    QStringList deviceList;
    bool busy = false;
    bool progressVisible = false;
    double progressValue = 0;
    double progressMaximum = 0;
    QString progressText;
    int progressUpdates = 0;
    int pumpCount = 0;
    // Every call, one line each, for order checks: "status:<text>", "box:<title>", ...
    QStringList calls;
};

} // namespace tavrin::test
