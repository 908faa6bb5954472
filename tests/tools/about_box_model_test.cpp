#include "core/about_texts.h"
#include "tools/logic/about_box_model.h"

#include <gtest/gtest.h>

using namespace tavrin;

TEST(AboutBox, StartupFormFirstThenTheWindowsOwnFormAfterClosing) {
    const ProgramVersion version{
        6, 5, 68, QStringLiteral("Tavrin Writer v4"), {}, {}, QStringLiteral("notes")};
    AboutBoxModel model(version);
    model.fill(aboutTextsOnceStarted(version));

    EXPECT_EQ(model.texts().version, QStringLiteral("V6.5.68"));
    EXPECT_EQ(model.texts().disclaimer, supportPageLine());
    model.closed();
    EXPECT_EQ(model.texts().version, QStringLiteral("ﾊﾞｰｼﾞｮﾝ 6.5.68"));
    EXPECT_EQ(model.texts().disclaimer, QStringLiteral("notes"));
    EXPECT_EQ(aboutCaption(version), QStringLiteral("Tavrin Writer v4のﾊﾞｰｼﾞｮﾝ情報"));
}

TEST(AboutBox, IdWordLineFromTheFirstEightConfigurationBytes) {
    EXPECT_EQ(idWordLine(QStringLiteral("NEW :"),
                         {0x12, 0x34, 0x00, 0x0F, 0xAB, 0xCD, 0xFF, 0xFF, 0x3F, 0x72}),
              QStringLiteral("NEW :1234:000F:ABCD:FFFF"));
    EXPECT_EQ(idWordLine(QStringLiteral("OPEN:"), {0x01}),
              QStringLiteral("OPEN:0100:0000:0000:0000"));
}
