#include "core/status.h"
#include "support/recording_ui.h"

#include <gtest/gtest.h>

using namespace tavrin;
using tavrin::test::RecordingUi;

TEST(ShowStatusMessage, ColourByPrefix) {
    struct Case {
        const char* message;
        const char* shown;
        StatusColor color;
    };
    const Case cases[] = {
        {"REDエラー", "エラー ", StatusColor::Red},
        {"redエラー", "エラー ", StatusColor::Red},
        {" RED x", " x ", StatusColor::Red},
        {"REDUCE", "UCE ", StatusColor::Red},
        {"<<注意>>確認", "<<注意>>確認 ", StatusColor::Red},
        {"書き込み完了", "書き込み完了 ", StatusColor::Black},
        {"", " ", StatusColor::Black},
    };
    for (const auto& c : cases) {
        RecordingUi ui;
        ShowStatusMessage(ui, QString::fromUtf8(c.message));
        EXPECT_EQ(ui.statusText, QString::fromUtf8(c.shown)) << c.message;
        EXPECT_EQ(ui.statusColor, c.color) << c.message;
    }
    RecordingUi ui;
    ShowStatusMessage(ui, QStringLiteral("読み出し"), QStringLiteral("0x0010"));
    EXPECT_EQ(ui.statusText, QStringLiteral("読み出し 0x0010"));
}

TEST(ShowProgress, RefreshesAboutOncePerPercent) {
    {
        RecordingUi ui;
        for (int v = 0; v <= 64; ++v)
            ShowProgress(ui, ProgressMode::On, 0, 64, v);
        EXPECT_FALSE(ui.progressVisible);
        EXPECT_EQ(ui.progressUpdates, 1) << "only the hide at value == maximum";
    }
    {
        RecordingUi ui;
        ShowProgress(ui, ProgressMode::On, 0, 100, 29);
        EXPECT_TRUE(ui.progressVisible);
        EXPECT_EQ(ui.progressText, QStringLiteral("28%"));
    }
    {
        RecordingUi ui;
        int shown = 0;
        for (int v = 0; v < 8192; ++v) {
            const int before = ui.progressUpdates;
            ShowProgress(ui, ProgressMode::On, 0, 8192, v);
            if (ui.progressUpdates != before) {
                ++shown;
                EXPECT_EQ(v % 82, 0) << v;
            }
        }
        EXPECT_EQ(shown, 100);
        ShowProgress(ui, ProgressMode::On, 0, 8192, 8192);
        EXPECT_FALSE(ui.progressVisible) << "8192 is no multiple of 82: stays hidden";
    }
    {
        RecordingUi ui;
        ShowProgress(ui, ProgressMode::On, 0, 1000, 1000);
        EXPECT_TRUE(ui.progressVisible) << "hidden, then shown again at 100%";
        EXPECT_EQ(ui.progressText, QStringLiteral("100%"));
        ShowProgress(ui, ProgressMode::Off, 0, 1000, 10);
        EXPECT_FALSE(ui.progressVisible);
    }
}
