#include "emulator/identification.h"
#include "host_script.h"

#include <gtest/gtest.h>

using namespace tavrin::test;

TEST(Identification, AnswersQuestionMarkWithEighteenCharacters) {
    EmulatedBoard bench("PIC16F877A");
    HostScript host(bench);
    host.send("?");
    EXPECT_EQ(host.collect(18), QByteArray("QZ-WRT400  V6.50\r\n"));
}

TEST(Identification, ReidentificationIgnoresStarsAndAnswersTheQuestionMark) {
    EmulatedBoard bench("PIC16F84A");
    HostScript host(bench);
    host.send("*");
    host.send("*");
    host.send("*");
    EXPECT_TRUE(host.idle(100).isEmpty());
    host.send("?");
    EXPECT_EQ(host.collect(18), QByteArray("QZ-WRT400  V6.50\r\n"));
}

TEST(Identification, BoardNameOrWholeTextGivesSixteenCharacters) {
    EXPECT_EQ(emu::normalizeIdentification("QZ-WRT400A"), "QZ-WRT400A V6.50");
    EXPECT_EQ(emu::normalizeIdentification("QZ-WRT400"), "QZ-WRT400  V6.50");
    EXPECT_EQ(emu::normalizeIdentification("QZ-WRT400  V6.00"), "QZ-WRT400  V6.00");
    EXPECT_EQ(emu::normalizeIdentification("QZ-WRT400 V6.1"), "QZ-WRT400 V6.1  ");
}

TEST(Identification, EmptySocketStillIdentifiesTheBoard) {
    EmulatedBoard bench("none");
    HostScript host(bench);
    host.send("?");
    EXPECT_EQ(host.collect(18), QByteArray("QZ-WRT400  V6.50\r\n"));
}
