#include "emulator/faults.h"

#include <charconv>

namespace emu {

namespace {

struct FaultName {
    std::string_view name;
    FaultKind kind;
    bool needsArgument;
};

constexpr FaultName kNames[] = {
    {"silent", FaultKind::Silent, false},
    {"short-id", FaultKind::ShortId, false},
    {"wrong-id", FaultKind::WrongId, false},
    {"old-version", FaultKind::OldVersion, false},
    {"fail-at", FaultKind::FailAt, true},
    {"abort-at", FaultKind::AbortAt, true},
    {"end-code", FaultKind::EndCode, false},
    {"stall", FaultKind::Stall, true},
    {"split", FaultKind::Split, false},
    {"extra", FaultKind::Extra, false},
    {"delay", FaultKind::Delay, true},
    {"request", FaultKind::Request, true},
    {"boot-no-entry", FaultKind::BootNoEntry, false},
    {"boot-entry-byte", FaultKind::BootEntryByte, false},
    {"boot-bad-ack", FaultKind::BootBadAck, true},
    {"boot-silent-at", FaultKind::BootSilentAt, true},
};

std::optional<long> parseNumber(std::string_view s) {
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        s.remove_prefix(2);
        base = 16;
    }
    long v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, base);
    if (ec != std::errc() || end != s.data() + s.size() || s.empty() || v < 0) return std::nullopt;
    return v;
}

bool fail(std::string* error, std::string text) {
    if (error) *error = std::move(text);
    return false;
}

} // namespace

std::optional<Fault> parseFault(std::string_view spec, std::string* error) {
    std::string_view letters;
    std::string_view body = spec;
    // The identification texts may contain anything but the filter is always the last '@'.
    if (auto at = spec.rfind('@'); at != std::string_view::npos) {
        letters = spec.substr(at + 1);
        body = spec.substr(0, at);
        if (letters.empty()) {
            fail(error, "empty command letters after '@' in '" + std::string(spec) + "'");
            return std::nullopt;
        }
    }
    std::string_view name = body;
    std::optional<std::string_view> arg;
    if (auto eq = body.find('='); eq != std::string_view::npos) {
        name = body.substr(0, eq);
        arg = body.substr(eq + 1);
    }
    const FaultName* known = nullptr;
    for (const auto& n : kNames)
        if (n.name == name) known = &n;
    if (!known) {
        fail(error, "unknown fault '" + std::string(name) + "'");
        return std::nullopt;
    }
    if (known->needsArgument && !arg) {
        fail(error, "fault '" + std::string(name) + "' needs =ARG");
        return std::nullopt;
    }
    Fault f;
    f.kind = known->kind;
    f.letters = std::string(letters);
    auto number = [&](long fallback) -> bool {
        if (!arg) {
            f.number = fallback;
            return true;
        }
        auto v = parseNumber(*arg);
        if (!v)
            return fail(error, "fault '" + std::string(name) + "': bad number '" +
                                   std::string(*arg) + "'");
        f.number = *v;
        return true;
    };
    bool ok = true;
    switch (f.kind) {
    case FaultKind::Silent:
    case FaultKind::BootNoEntry:
        break;
    case FaultKind::BootEntryByte:
        ok = number(0x00) && (f.number <= 0xFF || fail(error, "boot-entry-byte must be a byte"));
        break;
    case FaultKind::ShortId:
        ok = number(17);
        break;
    case FaultKind::WrongId:
        f.text = arg ? std::string(*arg) : std::string("QZ-WRX400  V6.50");
        break;
    case FaultKind::OldVersion:
        f.text = arg ? std::string(*arg) : std::string("6.00");
        break;
    case FaultKind::EndCode:
        ok = number(0x21) && (f.number <= 0xFF || fail(error, "end-code must be a byte"));
        break;
    case FaultKind::Request:
        ok = number(0x52) && (f.number <= 0xFF || fail(error, "request must be a byte"));
        break;
    case FaultKind::Extra:
        ok = number(2);
        break;
    case FaultKind::Split: {
        f.number = 1;
        f.gapMs = 5;
        if (arg) {
            auto colon = arg->find(':');
            auto pieces = parseNumber(arg->substr(0, colon));
            auto gap = colon == std::string_view::npos ? std::optional<long>(5)
                                                       : parseNumber(arg->substr(colon + 1));
            if (!pieces || !gap || *pieces == 0) {
                ok = fail(error, "split=N[:MS] with N > 0");
                break;
            }
            f.number = *pieces;
            f.gapMs = *gap;
        }
        break;
    }
    case FaultKind::FailAt:
    case FaultKind::AbortAt:
    case FaultKind::Stall:
    case FaultKind::Delay:
    case FaultKind::BootBadAck:
    case FaultKind::BootSilentAt:
        ok = number(0);
        break;
    }
    if (!ok) return std::nullopt;
    return f;
}

std::string_view faultHelp() {
    return "  silent              the board answers nothing\n"
           "  short-id[=N]        only N characters of the identification (17)\n"
           "  wrong-id[=TEXT]     another identification (QZ-WRX400  V6.50)\n"
           "  old-version[=V]     the identification ends in version V (6.00)\n"
           "  fail-at=K           failure report \"*\"+3 bytes after item K of a paced write\n"
           "  abort-at=K          abort where the request for item K is expected\n"
           "  end-code[=BYTE]     BYTE instead of every end code \"@\" (0x21)\n"
           "  stall=N             a reply stops after N bytes\n"
           "  split[=N[:MS]]      replies leave in pieces of N bytes, MS apart (1:5)\n"
           "  extra[=N]           N extra bytes after end codes and the identification (2)\n"
           "  delay=MS            every reply starts MS later\n"
           "  request=BYTE        the request byte of board-paced writes (0x52)\n"
           "  boot-no-entry       the boot loader entry \"U\" is not answered\n"
           "  boot-entry-byte[=BYTE] \"U\" is answered with BYTE (0x00); the loader starts\n"
           "  boot-bad-ack=K      boot loader record K gets a wrong sum and is not written\n"
           "  boot-silent-at=K    boot loader record K is not answered\n"
           "Add @LETTERS to limit a fault to one command, e.g. stall=15@rsc, fail-at=3@wed,\n"
           "extra@? (the letters after the power letter; \"?\" is the identification).\n";
}

const Fault* FaultSet::find(FaultKind kind, std::string_view commandLetters) const {
    for (const auto& f : faults_)
        if (f.kind == kind && f.appliesTo(commandLetters)) return &f;
    return nullptr;
}

bool FaultSet::has(FaultKind kind) const {
    for (const auto& f : faults_)
        if (f.kind == kind) return true;
    return false;
}

} // namespace emu
