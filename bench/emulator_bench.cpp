// The board emulator's wire model: a program-memory write and its verify as the generic
// procedures exchange them (1 ms after each letter and argument byte and before each "@"), run
// in simulated time. Prints the bytes each way, the time the wire needs for them at 57600 baud,
// the simulated duration of the exchange and the real time the emulator took to compute it.
//   build/bin/bench-emulator
#include "emulator/board.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using emu::Nanos;

class Host {
  public:
    explicit Host(emu::Board& board) : board_(board) {}

    void letters(const std::string& s) {
        for (char c : s)
            byte(std::uint8_t(c));
    }
    void byte(std::uint8_t b) {
        board_.hostWrite(std::span(&b, 1), now_);
        now_ += emu::kMillisecond;
    }
    void count16(std::uint32_t v) {
        byte(std::uint8_t(v >> 8));
        byte(std::uint8_t(v));
    }
    void count24(std::uint32_t v) {
        byte(std::uint8_t(v >> 16));
        count16(v & 0xFFFF);
    }
    // Waits for n bytes, acknowledging every new multiple of `block` below n.
    std::size_t collect(std::size_t n, std::size_t block) {
        std::size_t got = 0, acked = 0;
        while (got < n) {
            const auto next = board_.nextEvent();
            if (!next) break;
            now_ = std::max(now_, *next);
            board_.runUntil(now_);
            got += board_.takeForHost(now_).size();
            if (block && got % block == 0 && got != acked && got < n) {
                now_ += emu::kMillisecond;
                const std::uint8_t ack = '@';
                board_.hostWrite(std::span(&ack, 1), now_);
                acked = got;
            }
        }
        return got;
    }
    // Board-paced: waits for each request, answers with one item of `size` bytes.
    void paced(std::size_t items, std::size_t size) {
        std::vector<std::uint8_t> item(size, 0x00);
        for (std::size_t i = 0; i < items; ++i) {
            collect(1, 0);
            board_.hostWrite(item, now_);
        }
        collect(1, 0); // the end code
    }
    Nanos now() const { return now_; }

  private:
    emu::Board& board_;
    Nanos now_ = 0;
};

void report(const char* what, emu::Board& board, Nanos simulated,
            std::chrono::steady_clock::duration real) {
    const auto& s = board.stats();
    std::printf(
        "%-34s H>B %7llu  B>H %7llu  wire %6.3f s  simulated %6.3f s  computed in %5.1f ms\n", what,
        static_cast<unsigned long long>(s.bytesToBoard),
        static_cast<unsigned long long>(s.bytesToHost),
        double(s.wireTime(57600)) / double(emu::kSecond), double(simulated) / double(emu::kSecond),
        std::chrono::duration<double, std::milli>(real).count());
}

template <class Run> void measure(const char* what, const char* part, Run run) {
    emu::Board board(emu::findPart(part));
    Host host(board);
    const auto start = std::chrono::steady_clock::now();
    run(host);
    report(what, board, host.now(), std::chrono::steady_clock::now() - start);
}

} // namespace

int main() {
    measure("PIC16F877A program + verify", "PIC16F877A", [](Host& h) {
        h.letters("NwGe");
        h.count16(8192);
        h.paced(8192, 2);
        h.letters("Nrsp");
        h.count16(8192);
        h.collect(2 * 8192 + 1, 16);
    });
    measure("PIC16F877A EEPROM write + verify", "PIC16F877A", [](Host& h) {
        h.letters("Nwed");
        h.count16(256);
        h.paced(256, 2);
        h.letters("Nrsd");
        h.count16(256);
        h.collect(2 * 256 + 1, 16);
    });
    measure("PIC16C54 12-bit stream + verify", "PIC16C54", [](Host& h) {
        h.letters("Nwps");
        h.count16(517);
        h.paced(517, 2);
        h.letters("Nrps");
        h.count16(517);
        h.collect(2 * 517 + 1, 16);
    });
    measure("PIC18F452 4 panels + verify", "PIC18F452", [](Host& h) {
        h.letters("NXwep");
        h.count24(0);
        h.count24(5);
        h.paced(4096, 8);
        for (std::uint32_t p = 0; p < 4; ++p) {
            h.letters("NXrsp");
            h.count24(p * 8192 + 1);
            h.count24(8192);
            h.collect(8193, 8);
        }
    });
    return 0;
}
