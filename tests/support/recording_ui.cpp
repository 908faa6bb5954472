#include "recording_ui.h"

namespace tavrin::test {

void RecordingUi::showStatusLine(const QString& text, StatusColor color) {
    statusText = text;
    statusColor = color;
    statusHistory << text;
    calls << QStringLiteral("status:") + text;
}

void RecordingUi::showProgressBar(bool isVisible, double, double maximum, double value,
                                  const QString& percentText) {
    progressVisible = isVisible;
    progressMaximum = maximum;
    progressValue = value;
    progressText = percentText;
    ++progressUpdates;
}

MessageAnswer RecordingUi::messageBox(MessageIcon icon, MessageButtons buttons,
                                      const QString& title, const QString& text,
                                      MessageDefault defaultButton) {
    MessageAnswer answer;
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    } else {
        answer = defaultAnswer(buttons, defaultButton);
    }
    messages.push_back({icon, buttons, title, text, answer, defaultButton});
    calls << QStringLiteral("box:") + title;
    return answer;
}

void RecordingUi::setControlText(Control control, const QString& text) {
    texts[control] = text;
}
void RecordingUi::setControlVisible(Control control, bool v) {
    visible[control] = v;
}
void RecordingUi::setControlEnabled(Control control, bool e) {
    enabled[control] = e;
}
void RecordingUi::setControlBackground(Control control, std::uint32_t rgb) {
    backgrounds[control] = rgb;
}
void RecordingUi::focusControl(Control control) {
    focus.push_back(control);
}
void RecordingUi::setControlItems(Control control, const QStringList& list, int selected) {
    items[control] = list;
    selectedItem[control] = selected;
}
void RecordingUi::appendProgramViewLine(const QString& line) {
    programViewLines << line;
}
void RecordingUi::appendEepromViewLine(const QString& line) {
    eepromViewLines << line;
}
void RecordingUi::refreshViews(unsigned flags) {
    refreshedViews |= flags;
}
void RecordingUi::setDeviceList(const QStringList& names) {
    deviceList = names;
}
void RecordingUi::setBusy(bool b) {
    busy = b;
}

} // namespace tavrin::test
