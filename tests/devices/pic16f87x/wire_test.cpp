// Every operation of the family, for each of the four names and both power modes, byte for byte
// as the board receives it: the letters, the erase selectors, the counts, the data and every
// acknowledgement.
#include "family_cases.h"

#include "devices/pic16f87x/pic16f87x_modules.h"

#include "core/session.h"
#include "link/board_link.h"

#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

struct WireCase {
    FamilyCase family;
    bool vpp;
};

std::string wireCaseName(const ::testing::TestParamInfo<WireCase>& info) {
    return caseName(info.param.family) + (info.param.vpp ? "_VPP" : "_VDD");
}

std::vector<WireCase> wireCases() {
    std::vector<WireCase> out;
    for (const auto& f : familyCases())
        for (bool vpp : {false, true})
            out.push_back({f, vpp});
    return out;
}

// What the host sends for each step, built from the variant's letters and the buffer.
class Expected {
  public:
    Expected(const FamilyCase& c, char power, const Session& s) : c_(c), p_(power), s_(s) {}

    QByteArray command(const QByteArray& letters, int count) const {
        QByteArray b(1, p_);
        b += letters;
        b.append(char(count >> 8)).append(char(count & 0xFF));
        return b;
    }
    QByteArray acks(int n) const { return QByteArray(n, '@'); }
    QByteArray letters(char op, char area) const {
        return QByteArray(1, op) + QByteArray(1, c_.family) + QByteArray(1, area);
    }

    QByteArray check() const { return command(letters('r', 'c'), 8) + acks(1); }
    QByteArray blank() const {
        return command(QByteArray("b") + c_.family, 8192) + command(letters('r', 'd'), 256) +
               acks(32) + command(letters('r', 'c'), 8) + acks(1);
    }
    QByteArray readOrVerifyProgram() const { return command(letters('r', 'p'), 8192) + acks(1024); }
    QByteArray readOrVerifyEeprom() const { return command(letters('r', 'd'), 256) + acks(32); }
    QByteArray readOrVerifyConfig() const { return command(letters('r', 'c'), 8) + acks(1); }
    QByteArray erase(int code) const {
        return QByteArray(1, p_) + 'b' + c_.eraseLetter + char(code);
    }
    QByteArray chipErase() const {
        QByteArray b;
        for (int code : c_.chipEraseCodes)
            b += erase(code);
        return b;
    }
    QByteArray writeProgram() const {
        QByteArray b = command(c_.programWrite, 8192);
        const auto& image = s_.buffer.ProgramImage;
        b.append(reinterpret_cast<const char*>(image.data()), 2 * 8192);
        return b;
    }
    QByteArray writeEeprom() const {
        QByteArray b = command(c_.eepromWrite, 256);
        b.append(reinterpret_cast<const char*>(s_.buffer.EepromImage.data()), 512);
        return b;
    }
    QByteArray writeConfig() const {
        QByteArray b = command(c_.configWrite, 8);
        QByteArray words(reinterpret_cast<const char*>(s_.buffer.ConfigIdImage.data()), 16);
        for (int i : {8, 10, 12})
            words[i] = char(words[i] | 0x80);
        return b + words;
    }

  private:
    const FamilyCase& c_;
    char p_;
    const Session& s_;
};

class Wire : public ::testing::TestWithParam<WireCase> {
  protected:
    void SetUp() override {
        const WireCase& w = GetParam();
        bench = std::make_unique<OperationBench>(QString::fromLatin1(w.family.device));
        bench->s.device.PowerMode = w.vpp ? QStringLiteral("VPP") : QStringLiteral("VDD");
        bench->openHex(familyDataPath(w.family.hex));
        expected = std::make_unique<Expected>(w.family, w.vpp ? 'n' : 'N', bench->s);
    }
    // The bytes after the board check of the operation frame.
    QByteArray run(void (MainOperations::*button)()) {
        bench->recordFromHere();
        (bench->ops.*button)();
        const QByteArray sent = bench->sentSinceRecord();
        EXPECT_TRUE(sent.startsWith("***?"));
        return sent.mid(4);
    }
    // A single step as the extended programming window calls it, on a port it has opened.
    template <class Step> QByteArray step(Step&& body) {
        QString result;
        bench->link.CheckProgrammer(result);
        auto module = pic16F87xModuleFor(bench->ops.environment(), bench->s.device.SelectedDevice);
        bench->recordFromHere();
        body(*module);
        bench->link.ClosePort();
        return bench->sentSinceRecord();
    }

    std::unique_ptr<OperationBench> bench;
    std::unique_ptr<Expected> expected;
};

TEST_P(Wire, BlankReadVerifyAndProgram) {
    const Expected& e = *expected;
    const bool kindCheck = GetParam().family.family == 's';
    EXPECT_EQ(run(&MainOperations::Command_blank_Click), e.blank());

    EXPECT_EQ(run(&MainOperations::Command_pogram_Click),
              e.check() + e.blank() + e.chipErase() + e.writeProgram() + e.writeEeprom() +
                  e.readOrVerifyProgram() + e.readOrVerifyEeprom() + e.writeConfig() +
                  e.readOrVerifyConfig());
    EXPECT_EQ(bench->s.run.PassCount, 1) << bench->ui.statusText.toStdString();

    EXPECT_EQ(run(&MainOperations::Command_Vrify_Click),
              (kindCheck ? e.check() : QByteArray()) + e.readOrVerifyConfig() +
                  e.readOrVerifyProgram() + e.readOrVerifyEeprom());
    EXPECT_EQ(run(&MainOperations::Command_read_Click), e.check() + e.readOrVerifyProgram() +
                                                            e.readOrVerifyEeprom() +
                                                            e.readOrVerifyConfig());
}

TEST_P(Wire, TheExtendedWindowsSteps) {
    const Expected& e = *expected;
    const FamilyCase& c = GetParam().family;
    QString r, cp;
    EXPECT_EQ(step([&](Pic16F87xModule& m) { m.EraseChip(r); }), e.chipErase());
    EXPECT_EQ(r, result::OK);
    EXPECT_EQ(step([&](Pic16F87xModule& m) { m.EraseCodeProtect(r); }),
              e.erase(c.chipEraseCodes.front()));
    EXPECT_EQ(step([&](Pic16F87xModule& m) { m.EraseProgramMemory(r); }),
              e.erase(c.chipEraseCodes.front() + 1));
    EXPECT_EQ(step([&](Pic16F87xModule& m) { m.EraseEepromMemory(r); }),
              e.erase(c.chipEraseCodes.front() + 2));
    EXPECT_EQ(step([&](Pic16F87xModule& m) { m.ProgramProgramMemoryAndConfig(); }),
              e.writeProgram() + e.readOrVerifyProgram() + e.writeConfig() +
                  e.readOrVerifyConfig());
    EXPECT_EQ(
        statusLine(bench->ui),
        QStringLiteral("Ｆｌａｓｈプログラムメモリ＆コンフィグレーションワード プログラム終了"));
    EXPECT_EQ(step([&](Pic16F87xModule& m) { m.ProgramEepromMemory(); }),
              e.erase(c.chipEraseCodes.front() + 2) + e.writeEeprom() + e.readOrVerifyEeprom());
    EXPECT_EQ(statusLine(bench->ui),
              QStringLiteral("プログラムデータメモリー..........ＥＥＰＲＯＭデ"
                             "ータメモリーのプログラミングに成功しました。"));
    expectChipHoldsBuffer(*bench, "after the single areas");
    EXPECT_EQ(step([&](Pic16F87xModule& m) { m.ReadProgramMemory(r); }), e.readOrVerifyProgram());
    EXPECT_EQ(step([&](Pic16F87xModule& m) { m.ReadEepromMemory(r); }), e.readOrVerifyEeprom());
    EXPECT_EQ(step([&](Pic16F87xModule& m) { m.ReadConfigWords(r, cp); }), e.readOrVerifyConfig());
    EXPECT_EQ(r, result::OK);
}

INSTANTIATE_TEST_SUITE_P(Family, Wire, ::testing::ValuesIn(wireCases()), wireCaseName);

} // namespace
