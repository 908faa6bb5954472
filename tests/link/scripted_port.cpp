#include "scripted_port.h"

#include <algorithm>
#include <cmath>

namespace tavrin::test {

void ScriptedPort::arrive(const QByteArray& bytes, double delayMs) {
    std::int64_t at = clock_.nowUs() + std::int64_t(std::llround(delayMs * 1000));
    if (!pending_.empty()) at = std::max(at, pending_.back().atUs);
    pending_.push_back({at, bytes});
}

void ScriptedPort::lose() {
    open_ = false;
    status_ = {PortError::Lost, QStringLiteral("Input/output error")};
    pending_.clear();
    input_.clear();
}

QByteArray ScriptedPort::wire() const {
    QByteArray all;
    for (const auto& w : writes)
        all += w.bytes;
    return all;
}

PortStatus ScriptedPort::open() {
    ++opens;
    openedName = name_;
    if (!openResult.ok()) return openResult;
    open_ = true;
    status_ = {};
    return status_;
}

void ScriptedPort::close() {
    ++closes;
    open_ = false;
    pending_.clear();
    input_.clear();
}

void ScriptedPort::deliverDue() {
    while (!pending_.empty() && pending_.front().atUs <= clock_.nowUs()) {
        if (open_) input_ += pending_.front().bytes;
        pending_.pop_front();
    }
}

qint64 ScriptedPort::bytesWaiting() {
    deliverDue();
    return input_.size();
}

QByteArray ScriptedPort::readAll() {
    deliverDue();
    QByteArray all = input_;
    input_.clear();
    return all;
}

bool ScriptedPort::write(const QByteArray& bytes) {
    if (!open_) return false;
    writes.push_back({clock_.nowUs(), bytes});
    if (onWrite) onWrite(bytes);
    return true;
}

void ScriptedPort::discardInput() {
    ++inputDiscards;
    deliverDue();
    input_.clear();
}

bool ScriptedPort::waitForData(int timeoutMs) {
    deliverDue();
    const qint64 before = input_.size();
    const std::int64_t deadline = clock_.nowUs() + std::int64_t(timeoutMs) * 1000;
    if (open_ && !pending_.empty() && pending_.front().atUs <= deadline) {
        clock_.advanceTo(pending_.front().atUs);
        deliverDue();
        return input_.size() > before;
    }
    clock_.advanceTo(deadline);
    return false;
}

} // namespace tavrin::test
