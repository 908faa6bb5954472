#include "device_file_fixture.h"

#include "core/device_definition.h"

#include <QLocale>

using namespace tavrin;
using tavrin::test::deviceBlock;
using tavrin::test::withNeededKeys;

namespace {

const Control SocketOutlines[] = {Control::frmBoard_Shape_8P, Control::frmBoard_Shape_18P,
                                  Control::frmBoard_Shape_28P, Control::frmBoard_Shape_28AP,
                                  Control::frmBoard_Shape_40P};
const Control JumperMarks[] = {Control::frmBoard_Shape_12, Control::frmBoard_Shape_23,
                               Control::frmBoard_Label_sel};

const QString BlockReadErrorTitle = QStringLiteral("ﾌｧｲﾙ 開く失敗");
const QString BlockReadErrorText =
    QStringLiteral("設定ファイルの読み出しに失敗しました。\r\n\u3000");

// A part with every key set, the opposite of every default.
const QStringList FullPart = {
    "PGM_TYPE FLASH0",
    "PGM 0x1FFF",
    "EEPROM 0xFF",
    "POWER_MODE VPP",
    "PACKAGE 40",
    "JP2 1-2",
    "FIRM 2",
    "COMMENT a b c d e f",
    "CALIB(retlw) 34",
    "CP_MASK_CF5 0xC00F",
    "CONFIG1 0x3FFF 0x0000 0x0000 0x3FFF",
    "CONFIG2 0x3FFF 0x0000 0x0000 0x3FFF",
    "K1 CP OFF 0x3030 0x3030",
    "K1 CP ON 0x3030 0x0000",
    "K2 IESO ON 0x0002 0x0002",
};

std::vector<QString> settingNames(const std::vector<ConfigSetting>& settings) {
    std::vector<QString> names;
    for (const auto& s : settings)
        names.push_back(s.name + QLatin1Char('/') + QString::number(s.options.size()));
    return names;
}

} // namespace

class DeviceDefinitionTest : public tavrin::test::DeviceFileFixture {
  protected:
    // Selects the one part of a file made of `rows`.
    bool load(const QStringList& rows, const QString& before = QString()) {
        writeFile(before + deviceBlock(QStringLiteral("PIC1"), withNeededKeys(rows)));
        return select(QStringLiteral("PIC1"));
    }
};

TEST(BlockKeys, UpperCaseExceptTheCalibrationKeys) {
    struct Case {
        const char* key;
        BlockKey meaning;
    };
    const Case cases[] = {
        {"config2", BlockKey::ConfigWord},
        {"CONFIG7", BlockKey::ConfigWord},
        {"CONFIG8", BlockKey::Option},
        {"CONFIG0", BlockKey::Option},
        {"CONFIG12", BlockKey::Option},
        {"CALIB(retlw)", BlockKey::CalibRetlw},
        {"CALIB(movlw)", BlockKey::CalibMovlw},
        {"calib(retlw)", BlockKey::Option},
        {"CALIB(RETLW)", BlockKey::Option},
        {"pgm", BlockKey::ProgramSize},
        {"Eeprom", BlockKey::EepromSize},
        {"pgm_type", BlockKey::ProgramType},
        {"cp_mask_cf5", BlockKey::CpMaskCf5},
        {"Cmt", BlockKey::SettingComment},
        {"K1", BlockKey::Option},
        {"COMMENT", BlockKey::DeviceComment},
        {"jp2", BlockKey::Jumper2},
        {"power_mode", BlockKey::PowerMode},
    };
    for (const auto& c : cases)
        EXPECT_EQ(blockKeyOf(QString::fromLatin1(c.key)), c.meaning) << c.key;
}

TEST_F(DeviceDefinitionTest, KeysFillTheRecordAndTheWindow) {
    ASSERT_TRUE(
        load({"; a comment", "", "pgm_type FLASH4.9", "PGM 0x1FFF", "EEPROM 0x7F", "power_mode VPP",
              "PACKAGE 28A", "JP2 NON", "FIRM 6.5", "COMMENT w1 w2", "CALIB(movlw) 0C",
              "CP_MASK_CF5 0xC00F", "CONFIG1\t0x3FFF  0x0000 0x0000 0x3FFF",
              "config2 0x0003 0x3FFC 0 0x3FFF", "K1 CP OFF 0x3030 0x3030"}));
    const DeviceRecord& d = s->device;
    EXPECT_EQ(d.SelectedDevice, QStringLiteral("PIC1"));
    EXPECT_EQ(d.ProgramType, QStringLiteral("FLASH4.9"));
    EXPECT_EQ(d.PowerMode, QStringLiteral("VPP"));
    EXPECT_EQ(d.PackageType, QStringLiteral("28A"));
    EXPECT_EQ(d.Jumper2, QStringLiteral("NON"));
    EXPECT_FLOAT_EQ(d.RequiredFirmware, 6.5f);
    EXPECT_EQ(d.DeviceComment, QStringLiteral(" w1 w2   "));
    EXPECT_EQ(d.CalibrationInstruction, QStringLiteral("movlw 0x0C"));
    EXPECT_EQ(d.CpMaskCf5, 0xC00F);
    EXPECT_EQ(d.CodeProtectMask, 0x3030);

    EXPECT_EQ(d.ProgramWordCount, 8192);
    EXPECT_EQ((std::vector<int>{d.ProgramWordCountByte3, d.ProgramWordCountByte2,
                                d.ProgramWordCountHi, d.ProgramWordCountLo}),
              (std::vector<int>{0, 0, 0x20, 0x00}));
    EXPECT_EQ(d.EepromByteCount, 128);
    EXPECT_EQ(d.EepromByteCountHi, 0);
    EXPECT_EQ(d.EepromByteCountLo, 128);

    EXPECT_EQ(d.ConfigWordDefined[1], 1);
    EXPECT_EQ(d.ConfigWordDefined[2], 1) << "config2 in lower case is CONFIG2";
    EXPECT_EQ(d.ConfigWordDefined[3], 0);
    EXPECT_EQ(d.ConfigMask[2], 0x0003);
    EXPECT_EQ(d.ConfigValue[2], 0x0003);
    EXPECT_EQ(d.DeviceBlock.size(), 13u) << "comment and empty lines are no rows";
    EXPECT_EQ(d.DeviceBlock[10][1], QStringLiteral("0x3FFF"));

    EXPECT_EQ(ui.texts[Control::Label_pm_size], QStringLiteral("= 8192 word"));
    EXPECT_EQ(ui.texts[Control::Label_ed_size], QStringLiteral("= 128 byte"));
    EXPECT_TRUE(ui.visible[Control::Label_ed_size]);
    EXPECT_TRUE(ui.visible[Control::Label4]);
    EXPECT_TRUE(ui.visible[Control::rText_EepromMem]);
    EXPECT_EQ(ui.texts[Control::Label_Debug], QStringLiteral("dec:12336 , hex:3030"));
    EXPECT_EQ(ui.texts[Control::Text_Calib_Data], QStringLiteral("0C"));
    EXPECT_EQ(ui.texts[Control::Text_Config1], QStringLiteral("3FFF"));
    for (Control c : SocketOutlines)
        EXPECT_EQ(ui.visible[c], c == Control::frmBoard_Shape_28AP) << controlName(c);
    for (Control c : JumperMarks)
        EXPECT_EQ(ui.visible[c], c == Control::frmBoard_Label_sel) << controlName(c);
    EXPECT_TRUE(ui.refreshedViews & ViewConfigGrids);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DeviceDefinitionTest, ConfigWordsAreNormalisedAndPlacedInTheBuffer) {
    struct Case {
        const char* row;
        bool fromDevice;
        int value, mask, fixed;
        const char* label;
    };
    const Case cases[] = {
        {"CONFIG1 0x3FFF 0x0000 0x0000 0x3FFF", false, 0x3FFF, 0x3FFF, 0, "3FFF"},
        // 12-bit: the unimplemented bits read as ones through the fixed bits.
        {"CONFIG1 0x0FFF 0x0FE0 0x0FE0 0x0FFF", false, 0x0FFF, 0x001F, 0x0FE0, "0FFF"},
        {"CONFIG1 0x0000 0x0FE0 0x0FE0 0x0FFF", false, 0x0FE0, 0x001F, 0x0FE0, "0FE0"},
        {"CONFIG1 0b1 0 0 0", false, 0, 0, 0, "0000"},
        // Values read from the chip stay as they are.
        {"CONFIG1 0x1234 0x0FE0 0x0FE0 0x0FFF", true, 0x1234, 0x001F, 0x0FE0, "1234"},
    };
    for (const auto& c : cases) {
        s = std::make_unique<Session>();
        s->device.ConfigFromDevice = c.fromDevice;
        ASSERT_TRUE(load({QString::fromLatin1(c.row)})) << c.row;
        EXPECT_EQ(s->device.ConfigValue[1], c.value) << c.row;
        EXPECT_EQ(s->device.ConfigMask[1], c.mask) << c.row;
        EXPECT_EQ(s->device.ConfigFixed[1], c.fixed) << c.row;
        EXPECT_EQ(s->device.ConfigFromDevice, c.fromDevice) << c.row;
        EXPECT_EQ(s->buffer.ConfigIdImage[14], c.value >> 8) << c.row;
        EXPECT_EQ(s->buffer.ConfigIdImage[15], c.value & 0xFF) << c.row;
        EXPECT_EQ(s->buffer.Config18Bytes[0], c.value & 0xFF) << c.row;
        EXPECT_EQ(s->buffer.Config18Bytes[1], c.value >> 8) << c.row;
        EXPECT_EQ(ui.texts[Control::Text_Config1], QString::fromLatin1(c.label)) << c.row;
    }

    // PIC18: CONFIGk low byte at 2(k-1), high byte at 2(k-1)+1; word 1 alone goes to bytes 14-15.
    s = std::make_unique<Session>();
    ASSERT_TRUE(load({"CONFIG1 0x2700 0xD8FF 0 0xFFFF", "CONFIG5 0xC00F 0x3FF0 0 0xFFFF"}));
    EXPECT_EQ(s->device.ConfigValue[5], 0xC00F);
    EXPECT_EQ(s->buffer.Config18Bytes[8], 0x0F);
    EXPECT_EQ(s->buffer.Config18Bytes[9], 0xC0);
    EXPECT_EQ(s->buffer.ConfigIdImage[14], 0x27);
    EXPECT_EQ(s->buffer.ConfigIdImage[15], 0x00);
}

TEST_F(DeviceDefinitionTest, EepromZeroHidesTheEepromView) {
    ASSERT_TRUE(load({"EEPROM 0"}));
    EXPECT_EQ(s->device.EepromByteCount, 0);
    EXPECT_FALSE(ui.visible[Control::Label4]);
    EXPECT_FALSE(ui.visible[Control::Label_ed_size]);
    EXPECT_FALSE(ui.visible[Control::rText_EepromMem]);
    EXPECT_EQ(ui.texts[Control::rText_EepromMem], QString()) << "the view is emptied";
}

TEST_F(DeviceDefinitionTest, OptionRowsMakeOneGridRowPerConsecutiveSetting) {
    ASSERT_TRUE(
        load({"K1 FOSC LP 0x0003 0x0000", "K1 FOSC XT 0x0003 0x0001", "CONFIG1 0x3FFF 0 0 0x3FFF",
              "K1 FOSC HS 0x0003 0x0002", "K1 WDTE OFF 0x0004 0x0000", "K1 FOSC RC 0x0003 0x0003",
              "K2 FOSC X 0x0001 0x0001", "X1 FOSC Y 0x0001 0x0001", "K1 CP OFF 0x3FF0 0x3FF0",
              "K1 CP ON 0x3FF0 0x0000"}));
    const auto& word1 = s->device.ConfigSettings[1];
    // A row of another kind between two options of a setting does not split it.
    EXPECT_EQ(settingNames(word1),
              (std::vector<QString>{"FOSC/3", "WDTE/1", "FOSC/1", "FOSC/1", "CP/2"}));
    EXPECT_EQ(word1[0].options[2].name, QStringLiteral("HS"));
    EXPECT_EQ(word1[0].options[2].mask, 3);
    EXPECT_EQ(word1[0].options[2].value, 2);
    EXPECT_EQ(settingNames(s->device.ConfigSettings[2]), (std::vector<QString>{"FOSC/1"}));
    EXPECT_EQ(s->device.CodeProtectMask, 0x3FF0);
}

TEST_F(DeviceDefinitionTest, SettingCommentsComeFromBeforeTheBlockAndInsideIt) {
    writeFile(
        QStringLiteral("CMT FOSC 発振 LP／XT\r\n") +
        deviceBlock("PIC0", withNeededKeys({"CMT WDTE ウォッチドッグ 有効", "PGM 0x3FF"})) +
        deviceBlock("PIC1", withNeededKeys({"K1 FOSC LP 3 0", "CMT CP 保護 あり", "PGM 0x7FF"})) +
        QStringLiteral("CMT LATE x y\r\n"));
    ASSERT_TRUE(select(QStringLiteral("PIC1")));
    std::vector<QString> comments;
    for (const auto& c : s->device.SettingComments)
        comments.push_back(c.setting + QLatin1Char('|') + c.text1 + QLatin1Char('|') + c.text2);
    EXPECT_EQ(comments, (std::vector<QString>{"FOSC|発振|LP／XT", "WDTE|ウォッチドッグ|有効",
                                              "CP|保護|あり"}));
    EXPECT_EQ(settingNames(s->device.ConfigSettings[1]), (std::vector<QString>{"FOSC/1"}));
    EXPECT_EQ(s->device.ProgramWordCount, 0x800);
}

TEST_F(DeviceDefinitionTest, TheFirstBlockOfANameIsUsedAndLongRowsAreCut) {
    QString longRow = QStringLiteral("K1 S");
    for (int i = 2; i < 20; ++i)
        longRow += QStringLiteral(" %1").arg(i);
    writeFile(deviceBlock("PIC1", withNeededKeys({"PGM 0x3FF", longRow})) +
              deviceBlock("PIC1", withNeededKeys({"PGM 0x7FF"})));
    ASSERT_TRUE(select(QStringLiteral("PIC1")));
    EXPECT_EQ(s->device.ProgramWordCount, 0x400);
    ASSERT_EQ(s->device.DeviceBlock.size(), 4u) << "the two rows and the type and word added";
    EXPECT_EQ(s->device.DeviceBlock[1][15], QStringLiteral("15"));
}

TEST_F(DeviceDefinitionTest, LimitsThatWereOnlyArraySizesAreNotFaults) {
    // The largest sizes are a PIC18 part's: the other families address less.
    QStringList rows = {"PGM_TYPE 18F_01", "PGM 0xFFFFF", "EEPROM 0x3FF", "CP_MASK_CF5 0xC0FF"};
    for (int k : {1, 2, 4, 5, 6, 7})
        rows << QStringLiteral("CONFIG%1 0xFFFF 0 0 0xFFFF").arg(k);
    for (int i = 0; i < 300; ++i)
        rows << QStringLiteral("K1 S%1 ON 0x0001 0x0001").arg(i);
    QString comments;
    for (int i = 0; i < 200; ++i)
        comments += QStringLiteral("CMT S%1 a b\r\n").arg(i);
    ASSERT_TRUE(load(rows, comments));
    EXPECT_EQ(s->device.ProgramWordCount, 1048576);
    EXPECT_EQ(s->device.EepromByteCount, 1024);
    EXPECT_EQ((std::vector<int>{s->device.EepromByteCountHi, s->device.EepromByteCountLo}),
              (std::vector<int>{4, 0}));
    EXPECT_EQ(s->device.ConfigSettings[1].size(), 300u);
    EXPECT_EQ(s->device.SettingComments.size(), 200u);
}

TEST_F(DeviceDefinitionTest, FirmwareVersionIgnoresTheLocale) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German));
    const bool loaded = load({"FIRM 6.5"});
    QLocale::setDefault(saved);
    ASSERT_TRUE(loaded);
    EXPECT_FLOAT_EQ(s->device.RequiredFirmware, 6.5f);
}

// Select a good part, then a broken one: the broken one is refused with its message, the good
// part's record stays but is no longer selected.
TEST_F(DeviceDefinitionTest, BrokenBlocksAndFaultyRowsAreRefused) {
    struct Case {
        QStringList rows;
        QString detail; // the message's second line, after the full-width blank
    };
    // Rows start at line 3 (after "#BEGIN" and the name).
    const Case cases[] = {
        {{"PGM 0x1G"}, "3行目「PGM 0x1G」: 数値が正しくありません。"},
        {{"PGM 0x100000"}, "3行目「PGM 0x100000」: 値が範囲外です。"},
        {{"PGM"}, "3行目「PGM」: 数値が正しくありません。"},
        {{"PGM 0x3FF", "EEPROM 0x400"}, "4行目「EEPROM 0x400」: 値が範囲外です。"},
        {{"EEPROM 0x1G"}, "3行目「EEPROM 0x1G」: 数値が正しくありません。"},
        {{"EEPROM -1"}, "3行目「EEPROM -1」: 数値が正しくありません。"},
        {{"CONFIG1 0x3FFF 0x3FFF 0 0x3FFG"},
         "3行目「CONFIG1 0x3FFF 0x3FFF 0 0x3FFG」: 数値が正しくありません。"},
        {{"CONFIG1 0x3FFF 0x3FFF 0x10000 0x3FFF"},
         "3行目「CONFIG1 0x3FFF 0x3FFF 0x10000 0x3FFF」: 値が範囲外です。"},
        {{"CONFIG2 0x3FFF"}, "3行目「CONFIG2 0x3FFF」: 数値が正しくありません。"},
        {{"CP_MASK_CF5 ON"}, "3行目「CP_MASK_CF5 ON」: 数値が正しくありません。"},
        {{"FIRM six"}, "3行目「FIRM six」: 数値が正しくありません。"},
        {{"FIRM 6,5"}, "3行目「FIRM 6,5」: 数値が正しくありません。"},
        {{"K1 FOSC LP 0x3 zero"}, "3行目「K1 FOSC LP 0x3 zero」: 数値が正しくありません。"},
        {{"K1 FOSC 0x3 0x0"}, "3行目「K1 FOSC 0x3 0x0」: 数値が正しくありません。"},
        {{"K8 FOSC LP 0x3 0x0"},
         "3行目「K8 FOSC LP 0x3 0x0」: キーの末尾がコンフィグワード番号（1～7）ではありません。"},
        {{"CONFIG0 0 0 0 0"},
         "3行目「CONFIG0 0 0 0 0」: キーの末尾がコンフィグワード番号（1～7）ではありません。"},
        {{"VERSION 1 2 3 4"},
         "3行目「VERSION 1 2 3 4」: キーの末尾がコンフィグワード番号（1～7）ではありません。"},
        {{"calib(retlw) 34"},
         "3行目「calib(retlw) 34」: キーの末尾がコンフィグワード番号（1～7）ではありません。"},
        {{"PGM 0x3FF", "; fine", "", "PGM 0x7FF"}, ""}, // control: a good block loads
    };
    for (const auto& c : cases) {
        s = std::make_unique<Session>();
        ui = {};
        writeFile(deviceBlock("PIC1", withNeededKeys(c.rows)) + deviceBlock("PICGOOD", FullPart));
        ASSERT_TRUE(select(QStringLiteral("PICGOOD")));
        const bool loaded = select(QStringLiteral("PIC1"));
        const QString what = c.rows.join(QLatin1Char('/'));
        if (c.detail.isEmpty()) {
            EXPECT_TRUE(loaded) << what.toStdString();
            EXPECT_EQ(s->device.SelectedDevice, QStringLiteral("PIC1"));
            EXPECT_EQ(s->device.ProgramWordCount, 0x800);
            continue;
        }
        EXPECT_FALSE(loaded) << what.toStdString();
        ASSERT_EQ(ui.messages.size(), 1u) << what.toStdString();
        EXPECT_EQ(ui.messages[0].icon, MessageIcon::Critical);
        EXPECT_EQ(ui.messages[0].title, BlockReadErrorTitle);
        EXPECT_EQ(ui.messages[0].text, BlockReadErrorText + c.detail) << what.toStdString();
        EXPECT_EQ(s->device.DeviceFileError, -1);
        EXPECT_EQ(s->device.DeviceFileErrorText, c.detail);
        EXPECT_TRUE(s->device.SelectedDevice.isEmpty()) << what.toStdString();
        EXPECT_EQ(s->device.ProgramType, QStringLiteral("FLASH0")) << "previous record kept";
        EXPECT_EQ(s->device.ProgramWordCount, 0x2000) << what.toStdString();
    }
}

// A block whose sizes the number type allows but its family's address space does not (12-bit:
// 0x800 program words; 12- and 14-bit: 256 EEPROM locations, all the HEX file holds; 14-bit:
// 0x2000 words; PIC18: the 2 MiB below the ID bytes), or whose type no operation serves, is
// refused when the part is chosen, with the box a missing key gives. Before, such a part loaded
// and Program ran into the ID words or timed out. A 12-bit part with data EEPROM loads.
TEST_F(DeviceDefinitionTest, SizesBeyondTheFamilyAndUnknownTypesAreRefused) {
    const QString word14 = QStringLiteral("CONFIG1 0x3FFF 0 0 0x3FFF");
    const QString word12 = QStringLiteral("CONFIG1 0x0FFF 0x0FE0 0x0FE0 0x0FFF");
    const QStringList pic18 = {"CP_MASK_CF5 0xC00F",
                               "CONFIG1 0x2700 0xD8FF 0 0xFFFF",
                               "CONFIG2 0x0F0F 0xF0F0 0 0xFFFF",
                               "CONFIG4 0x0085 0xFF7A 0 0xFFFF",
                               "CONFIG5 0xC00F 0x3FF0 0 0xFFFF",
                               "CONFIG6 0xE00F 0x1FF0 0 0xFFFF",
                               "CONFIG7 0x400F 0xBFF0 0 0xFFFF"};
    struct Case {
        QString key; // the row the case is about
        QString value;
        QString family;
        QStringList rows;
        QString detail; // the message's second line; empty: the part loads
    };
    const Case cases[] = {
        {"PGM",
         "0xFFFF",
         "14-bit",
         {"PGM_TYPE FLASH2", "PGM 0xFFFF", word14},
         "PIC1 の定義の PGM 0xFFFF が範囲外です（PGM_TYPE FLASH2 では 0x1FFF まで）。"},
        {"PGM",
         "0x3FFF",
         "14-bit",
         {"PGM_TYPE FLASH8", "PGM 0x3FFF", "EEPROM 0xFF", word14},
         "PIC1 の定義の PGM 0x3FFF が範囲外です（PGM_TYPE FLASH8 では 0x1FFF まで）。"},
        {"PGM",
         "0x2000",
         "14-bit",
         {"PGM_TYPE EPROM2", "PGM 0x2000", word14},
         "PIC1 の定義の PGM 0x2000 が範囲外です（PGM_TYPE EPROM2 では 0x1FFF まで）。"},
        {"PGM",
         "1048575",
         "14-bit",
         {"PGM_TYPE EPROM", "PGM 1048575", word14},
         "PIC1 の定義の PGM 0xFFFFF が範囲外です（PGM_TYPE EPROM では 0x1FFF まで）。"},
        {"EEPROM",
         "0x3FF",
         "14-bit",
         {"PGM_TYPE FLASH0", "PGM 0x3FF", "EEPROM 0x3FF", word14},
         "PIC1 の定義の EEPROM 0x03FF が範囲外です（PGM_TYPE FLASH0 では 0x00FF まで）。"},
        {"EEPROM",
         "0x100",
         "14-bit",
         {"PGM_TYPE EPROM", "PGM 0x7FF", "EEPROM 0x100", word14},
         "PIC1 の定義の EEPROM 0x0100 が範囲外です（PGM_TYPE EPROM では 0x00FF まで）。"},
        {"PGM",
         "0x800",
         "12-bit",
         {"PGM_TYPE 5X18", "PGM 0x800", word12},
         "PIC1 の定義の PGM 0x0800 が範囲外です（PGM_TYPE 5X18 では 0x07FF まで）。"},
        {"EEPROM",
         "0x100",
         "12-bit",
         {"PGM_TYPE 12C5", "PGM 0x1FF", "EEPROM 0x100", "CALIB(movlw) FF", word12},
         "PIC1 の定義の EEPROM 0x0100 が範囲外です（PGM_TYPE 12C5 では 0x00FF まで）。"},
        {"PGM_TYPE",
         "FLASH9",
         "none",
         {"PGM_TYPE FLASH9", "PGM 0x3FF", word14},
         "PIC1 の定義の PGM_TYPE FLASH9 は未対応です。"},
        // Keywords compare with their case; an "18F" keyword is a PIC18 type, but none that an
        // operation serves.
        {"PGM_TYPE",
         "flash0",
         "none",
         {"PGM_TYPE flash0", "PGM 0x3FF", "EEPROM 0x3F", word14},
         "PIC1 の定義の PGM_TYPE flash0 は未対応です。"},
        {"PGM_TYPE", "18F_02", "PIC18",
         QStringList{"PGM_TYPE 18F_02", "PGM 0x3FFF", "EEPROM 0xFF"} + pic18,
         "PIC1 の定義の PGM_TYPE 18F_02 は未対応です。"},
        // The type is told before the keys it would need.
        {"PGM_TYPE",
         "FLASH9",
         "none",
         {"PGM_TYPE FLASH9", word14},
         "PIC1 の定義の PGM_TYPE FLASH9 は未対応です。"},
        // Each family's largest part loads.
        {"PGM", "0x7FF", "12-bit", {"PGM_TYPE 5X28", "PGM 0x7FF", "EEPROM 0", word12}, ""},
        {"EEPROM",
         "0x3F",
         "12-bit",
         {"PGM_TYPE 12C5", "PGM 0x1FF", "EEPROM 0x3F", "CALIB(movlw) FF", word12},
         ""},
        {"EEPROM", "0xFF", "12-bit", {"PGM_TYPE 5X18", "PGM 0x1FF", "EEPROM 0xFF", word12}, ""},
        {"PGM", "0x1FFF", "14-bit", {"PGM_TYPE FLASH0", "PGM 0x1FFF", "EEPROM 0xFF", word14}, ""},
        {"PGM", "0xFFFFF", "PIC18",
         QStringList{"PGM_TYPE 18F_01", "PGM 0xFFFFF", "EEPROM 0x3FF"} + pic18, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(
            (c.family + QLatin1Char(' ') + c.key + QLatin1Char(' ') + c.value).toStdString());
        s = std::make_unique<Session>();
        ui = {};
        writeFile(deviceBlock("PIC1", c.rows) + deviceBlock("PICGOOD", FullPart));
        ASSERT_TRUE(select(QStringLiteral("PICGOOD")));
        const bool loaded = select(QStringLiteral("PIC1"));
        if (c.detail.isEmpty()) {
            EXPECT_TRUE(loaded);
            EXPECT_TRUE(ui.messages.empty());
            EXPECT_EQ(s->device.SelectedDevice, QStringLiteral("PIC1"));
            continue;
        }
        EXPECT_FALSE(loaded);
        EXPECT_EQ(ui.messages.size(), 1u);
        if (ui.messages.size() != 1) continue;
        EXPECT_EQ(ui.messages[0].icon, MessageIcon::Critical);
        EXPECT_EQ(ui.messages[0].title, BlockReadErrorTitle);
        EXPECT_EQ(ui.messages[0].text, BlockReadErrorText + c.detail);
        EXPECT_EQ(s->device.DeviceFileError, -1);
        EXPECT_TRUE(s->device.SelectedDevice.isEmpty());
        EXPECT_EQ(s->device.ProgramWordCount, 0x2000) << "the previous part's record kept";
    }
}

TEST_F(DeviceDefinitionTest, BlockEndErrorsAndMissingBlocks) {
    struct Case {
        QString file;
        QString select;
        QString detail;
    };
    const QString good = deviceBlock("PIC1", withNeededKeys({}));
    const Case cases[] = {
        {"#BEGIN\r\nPIC1\r\nPGM 0x3FF\r\n#BEGIN\r\nPIC2\r\n#END\r\n", "PIC1",
         "#End が見つかりませんでした。"},
        {"#BEGIN\r\nPIC1\r\nPGM 0x3FF\r\n", "PIC1", "EOF を検出しました。"},
        {good + "#BEGIN\r\n", "PIC1", ""},
        {good, "PIC2", "#BEGIN PIC2 が見つかりませんでした。"},
        // A broken block after the selected one is never read.
        {good + "#BEGIN\r\nPIC2\r\nPGM 1\r\n", "PIC1", ""},
    };
    for (const auto& c : cases) {
        ui = {};
        s->device.DeviceFileError = 0;
        writeFile(c.file);
        const bool loaded = select(c.select);
        EXPECT_EQ(loaded, c.detail.isEmpty()) << c.detail.toStdString();
        if (c.detail.isEmpty()) {
            EXPECT_TRUE(ui.messages.empty());
            EXPECT_EQ(s->device.DeviceFileError, 0);
            continue;
        }
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, BlockReadErrorText + c.detail);
        EXPECT_EQ(s->device.DeviceFileError, -1);
        EXPECT_TRUE(s->device.SelectedDevice.isEmpty());
    }
}

TEST_F(DeviceDefinitionTest, MissingFileAtSelectionAndEmptySelection) {
    EXPECT_FALSE(select(QString()));
    EXPECT_TRUE(ui.messages.empty()) << "nothing selected, nothing to say";

    EXPECT_FALSE(select(QStringLiteral("PIC1")));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("設定ファイルを開けませんでした"));
    EXPECT_EQ(s->device.DeviceFileError, 1);
    EXPECT_TRUE(s->device.SelectedDevice.isEmpty());
}

TEST_F(DeviceDefinitionTest, EachSelectionStartsFromAFreshRecord) {
    writeFile(
        QStringLiteral("VERSION 1 0 0 0\r\n") + deviceBlock("PICA", FullPart) +
        deviceBlock("PICB", {"PGM_TYPE FLASH2", "PGM 0xFFF", "CONFIG1 0x3FFF 0x3000 0 0x3FFF"}));
    ASSERT_TRUE(LoadDeviceList(*s, ui, paths));
    ASSERT_TRUE(select(QStringLiteral("PICA")));
    ASSERT_EQ(s->device.CodeProtectMask, 0x3030);
    ASSERT_TRUE(ui.visible[Control::frmBoard_Shape_40P]);
    ASSERT_TRUE(select(QStringLiteral("PICB")));

    const DeviceRecord& d = s->device;
    const DeviceRecord defaults;
    EXPECT_EQ(d.SelectedDevice, QStringLiteral("PICB"));
    EXPECT_EQ(d.DeviceNames, QStringList({"PICA", "PICB"}));
    EXPECT_EQ(d.DeviceFileVersion, QStringLiteral("1000"));
    EXPECT_EQ(d.ProgramType, QStringLiteral("FLASH2"));
    EXPECT_EQ(d.ProgramWordCount, 0x1000);
    EXPECT_EQ(d.EepromByteCount, 0);
    EXPECT_EQ(d.PowerMode, QString());
    EXPECT_EQ(d.PackageType, QString());
    EXPECT_EQ(d.Jumper2, QString());
    EXPECT_EQ(d.RequiredFirmware, 0.0f);
    EXPECT_EQ(d.DeviceComment, QString());
    EXPECT_EQ(d.CalibrationInstruction, QString());
    EXPECT_EQ(d.CpMaskCf5, 0);
    EXPECT_EQ(d.CodeProtectMask, 0);
    // B's own word 1; A's word 2 is gone.
    auto defined = defaults.ConfigWordDefined;
    auto values = defaults.ConfigValue;
    auto masks = defaults.ConfigMask;
    defined[1] = 1;
    values[1] = 0x0FFF;
    masks[1] = 0x0FFF;
    EXPECT_EQ(d.ConfigWordDefined, defined);
    EXPECT_EQ(d.ConfigValue, values);
    EXPECT_EQ(d.ConfigMask, masks);
    for (const auto& settings : d.ConfigSettings)
        EXPECT_TRUE(settings.empty());

    // The window shows B, not what A left there.
    EXPECT_FALSE(ui.visible[Control::rText_EepromMem]);
    EXPECT_FALSE(ui.visible[Control::Label_ed_size]);
    EXPECT_EQ(ui.texts[Control::Label_Debug], QString());
    EXPECT_EQ(ui.texts[Control::Label_pm_size], QStringLiteral("= 4096 word"));
    for (Control c : SocketOutlines)
        EXPECT_FALSE(ui.visible[c]) << controlName(c);
    for (Control c : JumperMarks)
        EXPECT_FALSE(ui.visible[c]) << controlName(c);
}

// A complete block of each kind of need, then the same block with each row left out in turn:
// it is refused, naming the row's key, exactly when the part's programming type needs that key.
TEST(RequiredKeys, ABlockLackingAKeyItsTypeNeedsIsRefused) {
    struct Case {
        QStringList rows;   // a complete block
        QStringList needed; // the keys of those rows that it cannot do without
    };
    const QStringList common = {"POWER_MODE VDD", "PACKAGE 18",        "JP2 NON",
                                "FIRM 1.00",      "COMMENT a b c d e", "K1 CP OFF 0x0008 0x0008"};
    const QString word14 = QStringLiteral("CONFIG1 0x3FFF 0 0 0x3FFF");
    const Case cases[] = {
        {{"PGM_TYPE FLASH2", "PGM 0xFFF", "EEPROM 0", word14}, {"PGM_TYPE", "PGM", "CONFIG1"}},
        {{"PGM_TYPE EPROM", "PGM 0x7FF", word14}, {"PGM_TYPE", "PGM", "CONFIG1"}},
        {{"PGM_TYPE FLASH0", "PGM 0x3FF", "EEPROM 0x3F", word14},
         {"PGM_TYPE", "PGM", "EEPROM", "CONFIG1"}},
        {{"PGM_TYPE WRT400A", "PGM 0x1FFF", "EEPROM 0xFF", word14},
         {"PGM_TYPE", "PGM", "EEPROM", "CONFIG1"}},
        {{"PGM_TYPE FLASH4.9", "PGM 0xFFF", "EEPROM 0xFF", word14, "CONFIG2 0x3 0x3FFC 0 0x3FFF"},
         {"PGM_TYPE", "PGM", "EEPROM", "CONFIG1", "CONFIG2"}},
        {{"PGM_TYPE 12C5", "PGM 0x1FF", "EEPROM 0", "CALIB(movlw) FF",
          "CONFIG1 0x0FFF 0x0FE0 0x0FE0 0x0FFF"},
         {"PGM_TYPE", "PGM", "CALIB(movlw)", "CONFIG1"}},
        {{"PGM_TYPE 12F6", "PGM 0x3FF", "EEPROM 0x7F", "CALIB(retlw) FF", word14},
         {"PGM_TYPE", "PGM", "EEPROM", "CALIB(retlw)", "CONFIG1"}},
        {{"PGM_TYPE 18F_00", "PGM 0x3FFF", "EEPROM 0xFF", "CP_MASK_CF5 0xC00F",
          "CONFIG1 0x2700 0xD8FF 0 0xFFFF", "CONFIG2 0x0F0F 0xF0F0 0 0xFFFF",
          "CONFIG3 0x0100 0xFEFF 0 0xFFFF", "CONFIG4 0x0085 0xFF7A 0 0xFFFF",
          "CONFIG5 0xC00F 0x3FF0 0 0xFFFF", "CONFIG6 0xE00F 0x1FF0 0 0xFFFF",
          "CONFIG7 0x400F 0xBFF0 0 0xFFFF"},
         {"PGM_TYPE", "PGM", "EEPROM", "CP_MASK_CF5", "CONFIG1", "CONFIG2", "CONFIG4", "CONFIG5",
          "CONFIG6", "CONFIG7"}},
        // Any keyword beginning "18F" is a PIC18 type.
        {{"PGM_TYPE 18F_01", "PGM 0xFFFF", "EEPROM 0x3FF", "CP_MASK_CF5 0xC0FF",
          "CONFIG1 0x2700 0xD8FF 0 0xFFFF", "CONFIG2 0x0F0F 0xF0F0 0 0xFFFF",
          "CONFIG4 0x0085 0xFF7A 0 0xFFFF", "CONFIG5 0xC0FF 0x3F00 0 0xFFFF",
          "CONFIG6 0xE0FF 0x1F00 0 0xFFFF", "CONFIG7 0x40FF 0xBF00 0 0xFFFF"},
         {"PGM_TYPE", "PGM", "EEPROM", "CP_MASK_CF5", "CONFIG1", "CONFIG2", "CONFIG4", "CONFIG5",
          "CONFIG6", "CONFIG7"}},
    };
    DeviceRecord current;
    current.SelectedDevice = QStringLiteral("PIC1");
    for (const Case& c : cases) {
        const QStringList full = c.rows + common;
        const QString type = c.rows[0].section(QLatin1Char(' '), 1);
        SCOPED_TRACE(type.toStdString());
        ASSERT_EQ(readDeviceDefinition(deviceBlock("PIC1", full).toUtf8(), current).outcome,
                  DeviceDefinition::Outcome::Loaded);
        for (qsizetype i = 0; i < full.size(); ++i) {
            QStringList rows = full;
            const QString key = rows.takeAt(i).section(QLatin1Char(' '), 0, 0);
            const DeviceDefinition d =
                readDeviceDefinition(deviceBlock("PIC1", rows).toUtf8(), current);
            if (!c.needed.contains(key)) {
                EXPECT_EQ(d.outcome, DeviceDefinition::Outcome::Loaded) << key.toStdString();
                continue;
            }
            EXPECT_EQ(d.outcome, DeviceDefinition::Outcome::Faulty) << key.toStdString();
            EXPECT_EQ(
                d.errorText,
                key == QLatin1String("PGM_TYPE")
                    ? QStringLiteral("PIC1 の定義に PGM_TYPE がありません。")
                    : QStringLiteral("PIC1 の定義に %1 がありません（PGM_TYPE %2 に必要です）。")
                          .arg(key, type));
            EXPECT_TRUE(d.record.SelectedDevice.isEmpty()) << "no half-read record";
        }
    }
}

// Keys count as the reader compares them; a keyword left out counts as no keyword.
TEST(RequiredKeys, KeysCountAsTheReaderReadsThem) {
    struct Case {
        QStringList rows;
        QString missing; // empty: loads
    };
    const Case cases[] = {
        {{"pgm_type FLASH0", "pgm 0x3FF", "Eeprom 0", "config1 0x3FFF 0 0 0x3FFF"}, ""},
        // Either calibration form will do: the chip's own word decides what is kept.
        {{"PGM_TYPE 12C5", "PGM 0x1FF", "CALIB(retlw) FF", "CONFIG1 0xFFF 0xFE0 0xFE0 0xFFF"}, ""},
        {{"PGM_TYPE", "PGM 0x3FF", "CONFIG1 0x3FFF 0 0 0x3FFF"}, "PGM_TYPE"},
        // An option row or a comment named like a key is not that key.
        {{"PGM_TYPE FLASH2", "PGM 0x7FF", "K1 CONFIG1 ON 0x1 0x1"}, "CONFIG1"},
        {{"PGM_TYPE FLASH2", "PGM 0x7FF", "CMT CONFIG1 a b"}, "CONFIG1"},
    };
    DeviceRecord current;
    current.SelectedDevice = QStringLiteral("PIC1");
    for (const Case& c : cases) {
        const QString what = c.rows.join(QLatin1Char('/'));
        const DeviceDefinition d =
            readDeviceDefinition(deviceBlock("PIC1", c.rows).toUtf8(), current);
        if (c.missing.isEmpty()) {
            EXPECT_EQ(d.outcome, DeviceDefinition::Outcome::Loaded) << what.toStdString();
            continue;
        }
        EXPECT_EQ(d.outcome, DeviceDefinition::Outcome::Faulty) << what.toStdString();
        EXPECT_TRUE(d.errorText.contains(QStringLiteral(" の定義に ") + c.missing +
                                         QStringLiteral(" がありません")))
            << d.errorText.toStdString();
    }
}
