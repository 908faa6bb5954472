#include "gpasm_report.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

namespace tavrin::test {

namespace {

std::int64_t hexValue(const QString& text) {
    bool ok = false;
    const std::int64_t v = text.toLongLong(&ok, 16);
    return ok ? v : -1;
}

} // namespace

std::int32_t GpasmDirective::mask() const {
    std::int32_t m = 0;
    for (const auto& option : options)
        m |= option.second;
    return m;
}

std::optional<GpasmReport> parseGpasmReport(const QString& part, const QString& text) {
    static const QRegularExpression names(QStringLiteral("^Names\\s*:\\s*(.*)$"),
                                          QRegularExpression::MultilineOption);
    auto it = names.globalMatch(text);
    QStringList listed;
    while (it.hasNext())
        listed << it.next().captured(1);
    if (listed.size() != 1) return std::nullopt;
    bool named = false;
    for (const QString& n : listed.front().split(QLatin1Char(',')))
        named = named || n.trimmed() == QStringLiteral("pic") + part.toLower();
    if (!named) return std::nullopt;

    static const QRegularExpression klass(QStringLiteral("^Class\\s*:\\s*(\\S+)"));
    static const QRegularExpression size(QStringLiteral("^Program Size\\s*:\\s*(\\d+)\\s+(\\w+)"));
    static const QRegularExpression idlocs(
        QStringLiteral("^Idlocs Range\\s*:\\s*0x([0-9A-Fa-f]+)"));
    static const QRegularExpression eeprom(
        QStringLiteral("^EEPROM Range\\s*:\\s*0x([0-9A-Fa-f]+)\\s*-\\s*0x([0-9A-Fa-f]+)"));
    static const QRegularExpression cell(
        QStringLiteral("^\\s*Config Word\\s*:\\s*address = 0x([0-9A-Fa-f]+), mask = "
                       "0x([0-9A-Fa-f]+), default = 0x([0-9A-Fa-f]+)"));
    static const QRegularExpression directive(QStringLiteral("^\\s*Directive:\\s*(\\S+)"));
    static const QRegularExpression option(
        QStringLiteral("^\\s*Option:\\s*(\\S+)\\s*=\\s*0x([0-9A-Fa-f]+)"));

    GpasmReport r;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        QRegularExpressionMatch m;
        if ((m = klass.match(line)).hasMatch()) {
            r.coreClass = m.captured(1);
        } else if ((m = size.match(line)).hasMatch()) {
            const int n = m.captured(1).toInt();
            r.programWords = m.captured(2) == QLatin1String("bytes") ? n / 2 : n;
        } else if ((m = idlocs.match(line)).hasMatch()) {
            r.idFirst = hexValue(m.captured(1));
        } else if ((m = eeprom.match(line)).hasMatch()) {
            r.eeprom = {hexValue(m.captured(1)), hexValue(m.captured(2))};
        } else if ((m = cell.match(line)).hasMatch()) {
            r.cells.push_back({hexValue(m.captured(1)),
                               std::int32_t(hexValue(m.captured(2))),
                               std::int32_t(hexValue(m.captured(3))),
                               {}});
        } else if ((m = directive.match(line)).hasMatch()) {
            if (r.cells.empty()) return std::nullopt;
            r.cells.back().directives.push_back({m.captured(1), {}});
        } else if ((m = option.match(line)).hasMatch()) {
            if (r.cells.empty() || r.cells.back().directives.empty()) return std::nullopt;
            r.cells.back().directives.back().options.emplace_back(
                m.captured(1), std::int32_t(hexValue(m.captured(2))));
        }
    }
    return r;
}

GpasmQuery queryGpasm(const QString& part) {
    GpasmQuery q;
    QProcess gpasm;
    gpasm.start(QStringLiteral("gpasm"), {QStringLiteral("-p") + part, QStringLiteral("-s")});
    if (!gpasm.waitForStarted(10000)) {
        q.outcome = GpasmOutcome::NotInstalled;
        return q;
    }
    gpasm.closeWriteChannel();
    if (!gpasm.waitForFinished(10000)) {
        gpasm.kill();
        gpasm.waitForFinished(1000);
        return q;
    }
    const auto report = parseGpasmReport(part, QString::fromUtf8(gpasm.readAllStandardOutput()));
    if (!report) {
        q.outcome = GpasmOutcome::UnknownPart;
        return q;
    }
    q.outcome = GpasmOutcome::Found;
    q.report = *report;
    return q;
}

} // namespace tavrin::test
