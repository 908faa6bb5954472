#include "scripted_step_board.h"

namespace tavrin::test {

ScriptedStepBoard::ScriptedStepBoard(ScriptedPort& port) : port_(port) {
    port_.onWrite = [this](const QByteArray& bytes) { onWrite(bytes); };
}

void ScriptedStepBoard::expectRead(int commandBytes, ReadExchange read) {
    queue_.push_back({commandBytes, std::move(read), std::nullopt});
}

void ScriptedStepBoard::expectPaced(int commandBytes, PacedExchange paced) {
    queue_.push_back({commandBytes, std::nullopt, std::move(paced)});
}

void ScriptedStepBoard::answer(const QByteArray& bytes, int splitAfter) {
    if (bytes.isEmpty()) return;
    if (splitAfter > 0 && splitAfter < bytes.size()) {
        port_.arrive(bytes.left(splitAfter), 0.2);
        port_.arrive(bytes.mid(splitAfter), 2);
        return;
    }
    port_.arrive(bytes, 0.2);
}

void ScriptedStepBoard::onWrite(const QByteArray& bytes) {
    if (queue_.empty()) {
        strays += bytes;
        return;
    }
    Exchange& ex = queue_.front();
    if (awaitingAck_) {
        if (bytes == "@") {
            ++acknowledgements;
            awaitingAck_ = false;
            answer(ex.read->afterAck);
            queue_.pop_front();
        }
        return;
    }
    if (inPayload_) {
        PacedExchange& p = *ex.paced;
        pendingItem_ += bytes;
        if (pendingItem_.size() < p.itemBytes) return;
        items.push_back(pendingItem_);
        pendingItem_.clear();
        ++itemIndex_;
        auto it = p.answerBefore.find(itemIndex_);
        if (it != p.answerBefore.end())
            answer(it->second, p.splitAfter);
        else
            answer(itemIndex_ < p.items ? p.request : QByteArrayLiteral("@"));
        if (itemIndex_ >= p.items || it != p.answerBefore.end()) {
            inPayload_ = false;
            queue_.pop_front();
        }
        return;
    }
    command_ += bytes;
    if (command_.size() < ex.commandBytes) return;
    commands.push_back(command_);
    command_.clear();
    if (ex.read) {
        answer(ex.read->reply);
        if (ex.read->afterAck.isEmpty())
            queue_.pop_front();
        else
            awaitingAck_ = true;
        return;
    }
    PacedExchange& p = *ex.paced;
    itemIndex_ = 0;
    auto it = p.answerBefore.find(0);
    answer(it != p.answerBefore.end() ? it->second
                                      : (p.items > 0 ? p.request : QByteArrayLiteral("@")));
    if (p.items == 0 || it != p.answerBefore.end())
        queue_.pop_front();
    else
        inPayload_ = true;
}

} // namespace tavrin::test
