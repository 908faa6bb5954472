// What `gpasm -p<part> -s` says about a part, read from its report: sizes, the ID, configuration
// and EEPROM addresses, and every configuration directive with its options.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace tavrin::test {

struct GpasmDirective {
    QString name;
    std::vector<std::pair<QString, std::int32_t>> options; // as listed

    // gpasm lists no directive mask; the options' values together cover it.
    std::int32_t mask() const;
};

struct GpasmConfigCell {
    std::int64_t address = 0;
    std::int32_t mask = 0;
    std::int32_t defaultValue = 0;
    std::vector<GpasmDirective> directives;
};

struct GpasmReport {
    QString coreClass; // PIC12, PIC14, PIC16E
    std::int32_t programWords = 0;
    std::int64_t idFirst = -1;
    std::optional<std::pair<std::int64_t, std::int64_t>> eeprom;
    std::vector<GpasmConfigCell> cells;
};

enum class GpasmOutcome { Found, NotInstalled, UnknownPart, Failed };

struct GpasmQuery {
    GpasmOutcome outcome = GpasmOutcome::Failed;
    GpasmReport report;
};

// Parses a report; nothing when it does not describe exactly the part asked for (gpasm lists
// every part it knows when asked for one it does not know).
std::optional<GpasmReport> parseGpasmReport(const QString& part, const QString& text);

// Runs gpasm for the part (lower-case gputils name, "16f877a"), at most 10 s.
GpasmQuery queryGpasm(const QString& part);

} // namespace tavrin::test
