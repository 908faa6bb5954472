// A board for step tests on the scripted port: it answers a queue of exchanges, each opened by a
// command of known length. A read answers with its reply (the part after the host's "@", when
// there is one, follows that "@"); a paced write asks for each item and ends with the end code,
// any answer of which a test may replace or leave out.
#pragma once

#include "scripted_port.h"

#include <QByteArray>

#include <deque>
#include <map>
#include <optional>
#include <vector>

namespace tavrin::test {

struct ReadExchange {
    QByteArray reply;
    QByteArray afterAck; // sent when the host's "@" came, after `reply`
};

struct PacedExchange {
    int items = 0;
    int itemBytes = 2;
    QByteArray request = QByteArrayLiteral("R");
    // Replaces the answer before item k (k == items: the end code); an empty text: silence.
    std::map<int, QByteArray> answerBefore{};
    // When set, a replaced answer arrives in two pieces: this many bytes, the rest 2 ms later.
    int splitAfter = 0;
};

class ScriptedStepBoard {
  public:
    explicit ScriptedStepBoard(ScriptedPort& port);

    void expectRead(int commandBytes, ReadExchange read);
    void expectPaced(int commandBytes, PacedExchange paced);

    // Commands as received (one per exchange started), and the items of the paced writes.
    std::vector<QByteArray> commands;
    std::vector<QByteArray> items;
    int acknowledgements = 0;
    QByteArray strays; // bytes that arrived when no exchange was open

  private:
    struct Exchange {
        int commandBytes;
        std::optional<ReadExchange> read;
        std::optional<PacedExchange> paced;
    };
    void onWrite(const QByteArray& bytes);
    void answer(const QByteArray& bytes, int splitAfter = 0);

    ScriptedPort& port_;
    std::deque<Exchange> queue_;
    QByteArray command_;
    bool inPayload_ = false;
    bool awaitingAck_ = false;
    int itemIndex_ = 0;
    QByteArray pendingItem_;
};

} // namespace tavrin::test
