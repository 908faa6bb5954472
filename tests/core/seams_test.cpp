#include "core/app_paths.h"
#include "core/clock.h"
#include "core/program_type.h"
#include "core/settings_store.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace tavrin;

TEST(ProgramType, GroupsFollowTheKeywordTable) {
    struct Case {
        const char* type;
        CoreGroup group;
    };
    const Case cases[] = {
        {"5X28", CoreGroup::Bit12},    {"5X18", CoreGroup::Bit12},   {"12C5", CoreGroup::Bit12},
        {"12F6", CoreGroup::Bit14},    {"EPROM2", CoreGroup::Bit14}, {"FLASH4.9", CoreGroup::Bit14},
        {"WRT400A", CoreGroup::Bit14}, {"18F_00", CoreGroup::Pic18}, {"18F_01", CoreGroup::Pic18},
        {"flash0", CoreGroup::None},   {"", CoreGroup::None},        {"FLASH", CoreGroup::None}};
    for (const auto& c : cases)
        EXPECT_EQ(coreGroupOf(QString::fromLatin1(c.type)), c.group) << c.type;
    EXPECT_FALSE(hasEepromFill(QStringLiteral("FLASH2")));
    EXPECT_TRUE(hasEepromFill(QStringLiteral("12C6")));
    EXPECT_TRUE(isOtpOrEpromType(QStringLiteral("EPROM2")));
    EXPECT_FALSE(isOtpOrEpromType(QStringLiteral("FLASH2")));
}

TEST(VirtualClock, AdvancesOnlyOnSleep) {
    VirtualClock clock;
    EXPECT_EQ(clock.nowUs(), 0);
    clock.sleepMs(3001);
    EXPECT_EQ(clock.nowUs(), 3001000);
    clock.advanceTo(100);
    EXPECT_EQ(clock.nowUs(), 3001000);
}

// The board relies on every pause lasting at least as long as asked; waking early to wait out the
// rest awake must never end one sooner, from one thread or from two sharing the clock.
TEST(SteadyClock, NoPauseEndsEarly) {
    SteadyClock clock;
    auto pauses = [&clock](int count) {
        int early = 0;
        for (int k = 0; k < count; ++k) {
            const int ms = 1 + k % 3;
            const auto start = std::chrono::steady_clock::now();
            clock.sleepMs(ms);
            if (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(ms)) ++early;
        }
        return early;
    };
    int earlyInThread = -1;
    std::thread other([&] { earlyInThread = pauses(60); });
    EXPECT_EQ(pauses(150), 0);
    other.join();
    EXPECT_EQ(earlyInThread, 0);
    EXPECT_GE(clock.wakeMarginUs(), 0);
    EXPECT_LE(clock.wakeMarginUs(), 250);
}

TEST(QtSettingsStore, KeepsJapaneseValuesAcrossInstances) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("s.ini"));
    {
        QtSettingsStore store(ini);
        store.setValue(QStringLiteral("OPEN_DIR0"), QStringLiteral("/home/テスト/My Hex"));
        store.sync();
    }
    QtSettingsStore again(ini);
    EXPECT_TRUE(again.contains(QStringLiteral("OPEN_DIR0")));
    EXPECT_EQ(again.value(QStringLiteral("OPEN_DIR0"), {}), QStringLiteral("/home/テスト/My Hex"));
    EXPECT_EQ(again.value(QStringLiteral("missing"), QStringLiteral("d")), QStringLiteral("d"));
}

TEST(AppPaths, DeviceFileFoundInOrderAndDataDirMade) {
    QTemporaryDir root;
    const QString exe = root.filePath(QStringLiteral("bin"));
    const QString installed = root.filePath(QStringLiteral("share"));
    const QString user = root.filePath(QStringLiteral("user/data"));
    QDir().mkpath(exe);
    QDir().mkpath(installed);
    auto touch = [](const QString& p) {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    };
    AppPaths none = locateAppPaths(exe, installed, user);
    EXPECT_TRUE(none.deviceFile.isEmpty());
    EXPECT_TRUE(QDir(user).exists());
    EXPECT_EQ(none.searchedDirs, QStringList({exe, installed, user}));
    touch(installed + QStringLiteral("/device6.ini"));
    EXPECT_EQ(locateAppPaths(exe, installed, user).deviceFile,
              installed + QStringLiteral("/device6.ini"));
    touch(exe + QStringLiteral("/device6.ini"));
    EXPECT_EQ(locateAppPaths(exe, installed, user).deviceFile,
              exe + QStringLiteral("/device6.ini"));
}
