#include "disassembly_listing.h"

#include "core/program_type.h"
#include "core/session.h"
#include "core/utilities.h"

#include <array>

namespace tavrin {

namespace {

const QString kTab = QStringLiteral("\t");
const QString kRule =
    QStringLiteral(";               ---------------------------------------------------------");
const QString kRegisterRule = QStringLiteral(";================================================");

enum class OperandForm { None, Literal, Address, Port, Register, RegisterDest, RegisterBit };

struct DecodeRow {
    std::uint16_t mask;
    std::uint16_t value;
    const char* mnemonic; // six characters, seven for those without operands
    OperandForm form;
    bool endsBlock;
};

// Tested in order; no word matches two rows. Of the encodings an instruction has, the listing
// names the one assemblers write, so that every line assembles back to its own word: clrw is
// 0x0103, and the other encodings of the same instruction list as raw words.
constexpr std::array<DecodeRow, 37> kDecode{{
    {0x3F00, 0x3E00, "addlw ", OperandForm::Literal, false},
    {0x3F00, 0x3900, "andlw ", OperandForm::Literal, false},
    {0x3F00, 0x0700, "addwf ", OperandForm::RegisterDest, false},
    {0x3F00, 0x0500, "andwf ", OperandForm::RegisterDest, false},
    {0x3C00, 0x1000, "bcf   ", OperandForm::RegisterBit, false},
    {0x3C00, 0x1400, "bsf   ", OperandForm::RegisterBit, false},
    {0x3C00, 0x1800, "btfsc ", OperandForm::RegisterBit, false},
    {0x3C00, 0x1C00, "btfss ", OperandForm::RegisterBit, false},
    {0x3800, 0x2000, "call  ", OperandForm::Address, false},
    {0x3F80, 0x0180, "clrf  ", OperandForm::Register, false},
    {0x3FFF, 0x0103, "clrw   ", OperandForm::None, false},
    {0x3FFF, 0x0064, "clrwdt ", OperandForm::None, false},
    {0x3F00, 0x0900, "comf  ", OperandForm::RegisterDest, false},
    {0x3F00, 0x0300, "decf  ", OperandForm::RegisterDest, false},
    {0x3F00, 0x0B00, "decfsz", OperandForm::RegisterDest, false},
    {0x3800, 0x2800, "goto  ", OperandForm::Address, true},
    {0x3F00, 0x0A00, "incf  ", OperandForm::RegisterDest, false},
    {0x3F00, 0x0F00, "incfsz", OperandForm::RegisterDest, false},
    {0x3F00, 0x3800, "iorlw ", OperandForm::Literal, false},
    {0x3F00, 0x0400, "iorwf ", OperandForm::RegisterDest, false},
    {0x3F00, 0x3000, "movlw ", OperandForm::Literal, false},
    {0x3F00, 0x0800, "movf  ", OperandForm::RegisterDest, false},
    {0x3F80, 0x0080, "movwf ", OperandForm::Register, false},
    {0x3FFF, 0x0000, "nop    ", OperandForm::None, false},
    {0x3FFF, 0x0062, "option ", OperandForm::None, false},
    {0x3FFF, 0x0009, "retfie ", OperandForm::None, true},
    {0x3F00, 0x3400, "retlw ", OperandForm::Literal, true},
    {0x3FFF, 0x0008, "return ", OperandForm::None, true},
    {0x3F00, 0x0D00, "rlf   ", OperandForm::RegisterDest, false},
    {0x3F00, 0x0C00, "rrf   ", OperandForm::RegisterDest, false},
    {0x3FFF, 0x0063, "sleep  ", OperandForm::None, false},
    {0x3F00, 0x3C00, "sublw ", OperandForm::Literal, false},
    {0x3F00, 0x0200, "subwf ", OperandForm::RegisterDest, false},
    {0x3F00, 0x0E00, "swapf ", OperandForm::RegisterDest, false},
    {0x3FF8, 0x0060, "tris  ", OperandForm::Port, false}, // ports 5-7 only, below
    {0x3F00, 0x3A00, "xorlw ", OperandForm::Literal, false},
    {0x3F00, 0x0600, "xorwf ", OperandForm::RegisterDest, false},
}};

const DecodeRow* decodeRow(std::uint16_t w) {
    for (const DecodeRow& row : kDecode) {
        if ((w & row.mask) != row.value) continue;
        if (row.form == OperandForm::Port && (w & 7) < 5) continue;
        return &row;
    }
    return nullptr;
}

enum class NameTable { BankAware, PortsAtoE, PortsAtoC };

NameTable nameTableFor(const QString& mcuId) {
    for (const char* id : {"16F84", "16F83", "16F84A"})
        if (mcuId == QLatin1String(id)) return NameTable::BankAware;
    for (const char* id : {"16F876", "16F877", "16F874", "16F873"})
        if (mcuId == QLatin1String(id)) return NameTable::PortsAtoE;
    return NameTable::PortsAtoC;
}

// The ports a socket of this pin count leads out. A name the part's include file does not
// define would stop the listing from assembling, so such a register stays a number.
int portsOfPackage(const QString& package) {
    if (package == QLatin1String("8")) return 0;
    if (package == QLatin1String("18")) return 2;
    if (package.startsWith(QLatin1String("28"))) return 3;
    return 5;
}

// Register names and their bank-1 companions; bank 9 means unknown (after a jump target).
struct RegisterName {
    QString name;
    QString comment;
};

RegisterName bankAwareName(int f, int bank) {
    struct Entry {
        int f;
        const char* bank0;
        const char* bank1; // null: the same name in both banks
        const char* otherComment;
    };
    static constexpr std::array<Entry, 11> kEntries{{
        {0x00, "INDF", nullptr, nullptr},
        {0x01, "TMR0", "OPTION_REG", "\t\t;OPTION"},
        {0x02, "PCL", nullptr, nullptr},
        {0x03, "STATUS", nullptr, nullptr},
        {0x04, "FSR", nullptr, nullptr},
        {0x05, "PORTA", "TRISA ", "\t;TRISA "},
        {0x06, "PORTB", "TRISB ", "\t;TRISB "},
        {0x08, "EEDATA", "EECON1", "\t;EECON1"},
        // The data EEPROM address register shares 0x09 with EECON2.
        {0x09, "EEADR", "EECON2", "\t;EECON2"},
        {0x0A, "PCLATH", nullptr, nullptr},
        {0x0B, "INTCON", nullptr, nullptr},
    }};
    for (const Entry& e : kEntries) {
        if (e.f != f) continue;
        if (!e.bank1) return {QString::fromLatin1(e.bank0), {}};
        if (bank == 0) return {QString::fromLatin1(e.bank0), {}};
        if (bank == 1) return {QString::fromLatin1(e.bank1), {}};
        return {QString::fromLatin1(e.bank0), QString::fromLatin1(e.otherComment)};
    }
    return {};
}

RegisterName portTableName(int f, NameTable table, int ports) {
    struct Entry {
        int f;
        const char* name;
        const char* comment;
        int port; // 1-5 for PORTA-PORTE, 0 for the other registers
    };
    static constexpr std::array<Entry, 12> kEntries{{
        {0x00, "INDF", "", 0},
        {0x01, "TMR0", "\t\t;OPTION", 0},
        {0x02, "PCL", "", 0},
        {0x03, "STATUS", "", 0},
        {0x04, "FSR", "", 0},
        {0x05, "PORTA", "\t;TRISA ", 1},
        {0x06, "PORTB", "\t;TRISB ", 2},
        {0x07, "PORTC", "\t;TRISC ", 3},
        {0x08, "PORTD", "\t;TRISD ", 4},
        {0x09, "PORTE", "\t;TRISE ", 5},
        {0x0A, "PCLATH", "", 0},
        {0x0B, "INTCON", "", 0},
    }};
    for (const Entry& e : kEntries) {
        if (e.f != f) continue;
        if (table == NameTable::PortsAtoC && e.port >= 4) return {};
        if (e.port > ports) return {};
        return {QString::fromLatin1(e.name), QString::fromLatin1(e.comment)};
    }
    return {};
}

const std::array<const char*, 8> kStatusBits = {",C",      ",DC",  ",Z",   ",NOT_PD",
                                                ",NOT_TO", ",RP0", ",RP1", ",IRP"};

// The state of one run: bank tracking and the registers named.
struct Walk {
    QString mcuId;
    NameTable table;
    int ports;
    int wordCount;
    int bank = 0;
    std::array<bool, 128> registerUsed{};
};

struct Operands {
    QString code1;
    QString code2 = QStringLiteral("  ");
    QString code3;
};

void registerOperand(Walk& walk, std::uint16_t w, Operands& op) {
    const int f = w & 0x7F;
    walk.registerUsed[f] = true;
    op.code1 = QStringLiteral("0x") + hex2(f);
    const RegisterName n = walk.table == NameTable::BankAware
                               ? bankAwareName(f, walk.bank)
                               : portTableName(f, walk.table, walk.ports);
    if (n.name.isEmpty()) return;
    op.code1 = n.name;
    op.code3 = n.comment;
}

Operands decodeOperands(Walk& walk, std::uint16_t w, const DecodeRow* row) {
    Operands op;
    if (!row) {
        op.code1 = QStringLiteral("0x") + hex4(w);
        return op;
    }
    switch (row->form) {
    case OperandForm::None:
        op.code1.clear();
        break;
    case OperandForm::Literal:
        op.code1 = QStringLiteral("H'") + hex2(w & 0xFF) + QLatin1Char('\'');
        break;
    case OperandForm::Address: {
        const int target = w & 0x7FF;
        // A label only for targets inside the part: others would name a line that is not there.
        const bool labelled = walk.wordCount <= 2048 && target < walk.wordCount;
        op.code1 = (labelled ? QStringLiteral("L_") : QStringLiteral("0x")) + hex4(target);
        break;
    }
    case OperandForm::Port:
        op.code1 = QString::number(w & 7);
        break;
    case OperandForm::Register:
        registerOperand(walk, w, op);
        break;
    case OperandForm::RegisterDest:
        registerOperand(walk, w, op);
        op.code2 = (w & 0x80) ? QStringLiteral(",F") : QStringLiteral(",W");
        break;
    case OperandForm::RegisterBit: {
        registerOperand(walk, w, op);
        const int bit = (w & 0x380) / 128;
        op.code2 = op.code1 == QLatin1String("STATUS") ? QString::fromLatin1(kStatusBits[bit])
                                                       : QLatin1Char(',') + QString::number(bit);
        // bcf/bsf of STATUS,RP0 switch the bank the following instructions are named with.
        if (walk.table == NameTable::BankAware && op.code1 == QLatin1String("STATUS") && bit == 5 &&
            (w & 0x3800) == 0x1000)
            walk.bank = (w & 0x0400) ? 1 : 0;
        break;
    }
    }
    return op;
}

QString mcuIdOf(const QString& deviceName) {
    return deviceName.mid(3);
}

void appendLine(QByteArray& out, const QString& line) {
    out += line.toUtf8();
    out += "\r\n";
}

std::uint16_t wordAt(const std::vector<std::uint8_t>& image, int k) {
    const std::size_t i = static_cast<std::size_t>(k) * 2;
    if (i + 1 >= image.size()) return 0x3FFF;
    return static_cast<std::uint16_t>(((image[i] << 8) | image[i + 1]) & 0xFFFF);
}

void writeHeader(QByteArray& out, const ListingInput& in, const QString& mcuId) {
    appendLine(out, QStringLiteral("\t\tLIST\tP=") + mcuId + QStringLiteral(",ST=OFF"));
    appendLine(out, {});
    appendLine(out, QStringLiteral("\t\tINCLUDE\tP") + mcuId + QStringLiteral(".INC"));
    appendLine(out, QStringLiteral("\t\tERRORLEVEL  -302,-306"));
    appendLine(out, {});
    appendLine(out,
               QStringLiteral("\t\t__CONFIG    H'") + hex4(in.configWord1) + QLatin1Char('\''));
    // An empty ID would not assemble: the ID words are then left as they are.
    appendLine(out, in.idText.isEmpty()
                        ? QString()
                        : QStringLiteral("\t\t__IDLOCS    H'") + in.idText + QLatin1Char('\''));
    appendLine(out, {});
    appendLine(out, kRule);
    appendLine(out,
               QStringLiteral(";               mnemonic operand                  address opcode "
                              " comment"));
    appendLine(out, kRule);
    appendLine(out, {});
}

void writeRegisterTable(QByteArray& out, const Walk& walk) {
    appendLine(out, {});
    appendLine(out, kRegisterRule);
    appendLine(out, QStringLiteral("; 使用レジスタの確認"));
    appendLine(out, QStringLiteral("; バンクのチェックは行われません"));
    appendLine(out, kRegisterRule);
    const bool small =
        walk.mcuId == QLatin1String("16F84") || walk.mcuId == QLatin1String("16F84A");
    const int last = small ? 0x4F : 0x7F;
    for (int r = 0; r <= last; ++r) {
        const QString cell = QStringLiteral("0x") + hex2(r) + QStringLiteral("\t\t\t\t;");
        appendLine(
            out, (walk.registerUsed[r] ? QStringLiteral(";\t\t") : QStringLiteral(";not used\t")) +
                     cell);
    }
    appendLine(out, {});
}

} // namespace

DecodedWord decodeWord(std::uint16_t word, const QString& mcuId, int wordCount) {
    Walk walk{mcuId, nameTableFor(mcuId), 5, wordCount};
    const DecodeRow* row = decodeRow(word);
    const Operands op = decodeOperands(walk, word, row);
    DecodedWord d;
    d.mnemonic = row ? QString::fromLatin1(row->mnemonic).toUpper() : QStringLiteral("DA    ");
    d.operands = op.code1 + op.code2 + op.code3;
    d.endsBlock = row && row->endsBlock;
    return d;
}

Listing buildListing(const ListingInput& in, const std::function<void(const QString&)>& progress,
                     const std::function<void()>& pump) {
    Listing listing;
    const QString mcuId = mcuIdOf(in.deviceName);
    Walk walk{mcuId, nameTableFor(mcuId), portsOfPackage(in.package), in.wordCount};
    const std::vector<std::uint8_t>& image = *in.image;
    QByteArray& out = listing.text;
    out.reserve(in.wordCount * 56 + 8192);
    writeHeader(out, in, mcuId);

    std::vector<bool> jumpTarget(static_cast<std::size_t>(std::max(in.wordCount, 0)) + 1, false);
    if (in.wordCount <= 2048) {
        for (int k = 0; k < in.wordCount; ++k) {
            const std::uint16_t w = wordAt(image, k);
            if ((w & 0x3800) == 0x2800 || (w & 0x3800) == 0x2000) {
                const int target = w & 0x7FF;
                if (target < in.wordCount) jumpTarget[static_cast<std::size_t>(target)] = true;
            }
        }
    }

    QString lastProgress;
    const qint64 bytes = 2LL * in.wordCount;
    for (int adr = 0; adr < in.wordCount; ++adr) {
        const qint64 i = 2LL * adr;
        const QString p = QString::number(static_cast<qint64>(double(i + 1) / double(bytes) * 101));
        if (p.endsWith(QLatin1Char('0')) && p != lastProgress) {
            lastProgress = p;
            if (progress) progress(p + QLatin1Char('%'));
        }
        if (pump && (adr & 63) == 0) pump();

        const std::uint16_t w = wordAt(image, adr);
        const bool target = jumpTarget[static_cast<std::size_t>(adr)];
        if (target) walk.bank = 9;
        const DecodeRow* row = decodeRow(w);
        Operands op = decodeOperands(walk, w, row);
        const WordMarks marks = markWord(in.codes, w);
        if (marks.matched) ++listing.matchCount;

        if ((op.code1 + op.code2 + op.code3).size() < 7) op.code3 += kTab;
        if ((op.code1 + op.code2 + op.code3).size() < 15) op.code3 += kTab;

        const QString adrHex =
            QString::number(adr, 16).toUpper().rightJustified(6, QLatin1Char('0'));
        QString line = target ? QStringLiteral("L_") + adrHex.right(4) + QStringLiteral("\t\t")
                              : QStringLiteral("\t\t");
        line += (row ? QString::fromLatin1(row->mnemonic).toUpper() : QStringLiteral("DA    "));
        line += kTab + QLatin1Char(' ') + op.code1 + op.code2 + op.code3 + kTab +
                QStringLiteral("; ") + adrHex + QStringLiteral("  (") + hex4(w) +
                QStringLiteral(")  ") + marks.message + marks.matches;
        appendLine(out, line);
        if (row && row->endsBlock) appendLine(out, QStringLiteral("\t\t\t\t\t\t;"));
    }
    appendLine(out, QStringLiteral("                END"));
    writeRegisterTable(out, walk);
    return listing;
}

QString listingRefusal(const DeviceRecord& device) {
    if (device.SelectedDevice.isEmpty()) return QStringLiteral("デバイスが選択されていません。");
    if (coreGroupOf(device.ProgramType) != CoreGroup::Bit14)
        return QStringLiteral("ディスアセンブルは１４ビットコアのマイコンのみ対応しています。（") +
               device.SelectedDevice + QStringLiteral("）");
    return {};
}

} // namespace tavrin
