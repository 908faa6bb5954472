// One operation on the board at a time. The engine runs on the window's thread and lets window
// events run while it waits for the board, so a click, a menu command, a dropped file or the
// window's close can arrive in the middle of an operation. The guard is set for the whole of an
// operation; everything that touches the buffer, the port or the device list asks it first.
#pragma once

#include <QString>

namespace tavrin {

struct Session;
class OperatorUi;

inline const QString kOperationRunningText =
    QStringLiteral("<<注意>>ライターの操作中です。操作が終わるまでお待ちください。");

// True when an operation runs.
bool operationRunning(const Session& s);

// True when an operation runs, after telling the person why the action is refused. Every action
// that touches the buffer, the port or the device list calls this first and stops on true.
bool refuseDuringOperation(const Session& s, OperatorUi& ui);

// Holds the guard for its lifetime. When another operation already holds it, held() is false,
// the person has been told, and nothing is released at the end.
class OperationScope {
  public:
    OperationScope(Session& s, OperatorUi& ui);
    ~OperationScope();
    OperationScope(const OperationScope&) = delete;
    OperationScope& operator=(const OperationScope&) = delete;

    bool held() const { return held_; }

  private:
    Session& session_;
    bool held_ = false;
};

} // namespace tavrin
