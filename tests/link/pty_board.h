// A minimal board on a pseudo-terminal for tests of the real serial adapter: it answers "?"
// with an identification and can be unplugged (the master side closes, as when a USB adapter
// is pulled).
#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <thread>

namespace tavrin::test {

class PtyBoard {
  public:
    explicit PtyBoard(QByteArray identification);
    ~PtyBoard();

    // The slave device path the host opens.
    QString path() const { return path_; }
    void unplug();
    bool ok() const { return master_ >= 0; }

  private:
    void run();
    QByteArray identification_;
    int master_ = -1;
    int slave_ = -1;
    QString path_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace tavrin::test
