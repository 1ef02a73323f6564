// The XJ tool's settings as a new window loads them and "退出" saves them, and the column
// maps and grid widths stored with them.
#include "common/column_map.h"
#include "common/errors.h"
#include "common/xj_settings.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

using namespace quvela;
using quvela::test::fileBytes;

namespace {

void writeText(const std::filesystem::path &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// The wage office's salary-grade amounts, grade 1 first, as its published tables give them.
const std::vector<int> kGradeAmounts1 = {
    80,   91,   102,  113,  125,  137,  151,  165,  181,  197,  // 1-10
    215,  233,  253,  273,  295,  317,  341,  365,  391,  417,  // 11-20
    443,  471,  499,  527,  555,  583,  613,  643,  673,  703,  // 21-30
    735,  767,  799,  834,  869,  904,  944,  984,  1024, 1064, // 31-40
    1109, 1154, 1199, 1244, 1289, 1334, 1384, 1434, 1484, 1534, // 41-50
    1590, 1655, 1720, 1785, 1850, 1920, 1990, 2060, 2130, 2200, // 51-60
    2280, 2360, 2440,                                           // 61-63
};
const std::vector<int> kGradeAmounts2 = {
    70,  80,  90,  101, 112, 124, 136, 148, 161, 174, // 1-10
    188, 202, 217, 232, 248, 264, 282, 300, 320, 340, // 11-20
    363, 386, 409, 432, 455, 478, 504, 530, 556, 585, // 21-30
    614, 643, 675, 707, 739, 774, 809, 844, 879, 915, // 31-40
};

// A table text holds the amount of grade g in its g-th group of four digits.
void expectAmounts(const GbkString &table, const std::vector<int> &amounts, const char *what)
{
    ASSERT_EQ(table.size(), 4 * amounts.size()) << what;
    for (std::size_t g = 0; g < amounts.size(); ++g) {
        std::string digits = std::to_string(amounts[g]);
        digits.insert(0, 4 - digits.size(), '0');
        EXPECT_EQ(table.substr(4 * g, 4), digits) << what << " grade " << g + 1;
    }
}

GbkString defaultPairsFrom(int first, int last)
{
    GbkString map;
    for (int k = first; k <= last; ++k)
        map += (k < 10 ? "0" : "") + std::to_string(k);
    return map;
}

TEST(XjSettings, WithoutAFileTheToolStartsFromTheDefaults)
{
    test::TempFolder folder;
    IniFile ini(folder / "xjgz.ini");
    TXtcs rec;
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    LoadXjSettings(ini, rec);
    EXPECT_EQ(rec.FileNo, "zar(2007)50");
    EXPECT_EQ(gbk::toUtf8(rec.Issuer), "vodeve工资处制");
    EXPECT_EQ(rec.Year, 2010);
    EXPECT_EQ(rec.Month, 4);
    EXPECT_GE(rec.PrintDate, before);
    EXPECT_LE(rec.PrintDate, QDateTime::currentDateTime().addSecs(1));
    EXPECT_EQ(rec.StartRow, 7);
    EXPECT_EQ(rec.EndRow, 7);
    EXPECT_EQ(rec.GridWidth, GbkString(kDefaultGridWidth) + "056056056056056056056056056056");
    EXPECT_EQ(rec.ColumnMap, GbkString(kDefaultXjColumnMap));
    expectAmounts(rec.GradeTable1, kGradeAmounts1, "table 1");
    expectAmounts(rec.GradeTable2, kGradeAmounts2, "table 2");
    EXPECT_FALSE(std::filesystem::exists(folder / "xjgz.ini"));
}

TEST(XjSettings, AFileOfAnOlderInstallationIsRead)
{
    test::TempFolder folder;
    writeText(folder / "xjgz.ini", gbk::fromUtf8("[other]\r\nYear=1999\r\n\r\n[XTCS]\r\nfile=人社(2011)3\r\n"
                                                 "AREA=某某县人社局\r\nyear=abc\r\nMonth=12\r\nDate=2011/3/5\r\n"
                                                 "Start=8\r\nEnd=300\r\nxjrow=0302\r\nGridWidth=030\r\n"));
    IniFile ini(folder / "xjgz.ini");
    TXtcs rec;
    LoadXjSettings(ini, rec);
    EXPECT_EQ(gbk::toUtf8(rec.FileNo), "人社(2011)3");
    EXPECT_EQ(gbk::toUtf8(rec.Issuer), "某某县人社局");
    EXPECT_EQ(rec.Year, 2010) << "a stored year that is no number reads as the default";
    EXPECT_EQ(rec.Month, 12);
    EXPECT_EQ(rec.PrintDate, QDateTime(QDate(2011, 3, 5), QTime(0, 0)));
    EXPECT_EQ(rec.StartRow, 8);
    EXPECT_EQ(rec.EndRow, 300);
    EXPECT_EQ(rec.ColumnMap, "0302" + defaultPairsFrom(3, 32));
    EXPECT_EQ(rec.GridWidth, "030056056056056056056056056056056");
}

TEST(XjSettings, ExitSavesTheBoxesAndTheNextWindowReadsThem)
{
    test::TempFolder folder;
    writeText(folder / "xjgz.ini", "[xtcs]\r\nxjRow=0201\r\nexcelFileName=/data/roster.xlsx\r\n");
    IniFile ini(folder / "xjgz.ini");
    XjBoxTexts boxes{"abc(2009)3", gbk::fromUtf8("人事局"), "2012", "6", "9", "40",
                     QDateTime(QDate(2012, 7, 1), QTime(14, 5, 9))};
    std::vector<int> widths(33, 56);
    widths[0] = 1056;
    widths[1] = 7;
    SaveXjSettings(ini, boxes, widths);

    TXtcs rec;
    LoadXjSettings(ini, rec);
    EXPECT_EQ(rec.FileNo, "abc(2009)3");
    EXPECT_EQ(gbk::toUtf8(rec.Issuer), "人事局");
    EXPECT_EQ(rec.Year, 2012);
    EXPECT_EQ(rec.Month, 6);
    EXPECT_EQ(rec.StartRow, 9);
    EXPECT_EQ(rec.EndRow, 40);
    EXPECT_EQ(rec.PrintDate, boxes.printDate);
    EXPECT_EQ(rec.GridWidth.substr(0, 9), "056007056");
    // What the boxes do not hold is left alone.
    EXPECT_EQ(rec.ColumnMap.substr(0, 4), "0201");
    EXPECT_EQ(RecallWorkbook(ini, rec), "/data/roster.xlsx");
    EXPECT_NE(fileBytes(folder / "xjgz.ini").find("\r\n"), std::string::npos);
}

TEST(XjSettings, ASmallGridLeavesTheStoredWidthsAlone)
{
    test::TempFolder folder;
    IniFile ini(folder / "xjgz.ini");
    ini.writeString(kSettingsSection, "GridWidth", "099099");
    const XjBoxTexts boxes{"f", "a", "2010", "4", "7", "7", QDateTime(QDate(2010, 1, 1), QTime(0, 0))};
    for (const size_t columns : {0u, 1u, 10u}) {
        SaveXjSettings(ini, boxes, std::vector<int>(columns, 30));
        EXPECT_EQ(ini.readString(kSettingsSection, "GridWidth", {}), "099099") << columns;
    }
    SaveXjSettings(ini, boxes, std::vector<int>(11, 30));
    EXPECT_EQ(ini.readString(kSettingsSection, "GridWidth", {}), "030030030030030030030030030030030");
}

TEST(XjSettings, TheWorkbookIsRememberedForTheWriteBack)
{
    test::TempFolder folder;
    IniFile ini(folder / "xjgz.ini");
    TXtcs rec;
    rec.ProgramDir = gbk::fromUtf8("/opt/工资");
    EXPECT_EQ(gbk::toUtf8(RecallWorkbook(ini, rec)), "/opt/工资/xjgz.xls");
    RememberWorkbook(ini, gbk::fromUtf8("/home/clerk/花名册.xlsx"));
    IniFile reopened(folder / "xjgz.ini");
    EXPECT_EQ(gbk::toUtf8(RecallWorkbook(reopened, rec)), "/home/clerk/花名册.xlsx");
    // The choice of a cancelled dialog, an empty name, is remembered as it is.
    RememberWorkbook(ini, "");
    EXPECT_EQ(RecallWorkbook(ini, rec), "");
}

TEST(ColumnMap, CompletionFillsMissingFieldsWithTheirOwnColumns)
{
    struct Case
    {
        const char *stored;
        int fields;
        GbkString expected;
    };
    const GbkString xjDefault(kDefaultXjColumnMap);
    const Case cases[] = {
        {"0302", 32, "0302" + defaultPairsFrom(3, 32)},
        {"", 32, defaultPairsFrom(1, 32)},
        {"", 31, defaultPairsFrom(1, 31)},
        // Longer maps are kept; only their first pairs are decoded.
        {"01020304050607080910111213141516171819202122232425262728293031323334353637383940", 32, xjDefault},
        // A dangling digit is no pair: it is replaced, so later fields keep their places.
        {"030", 32, "03" + defaultPairsFrom(2, 32)},
        {"03020", 31, "0302" + defaultPairsFrom(3, 31)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CompleteColumnMap(c.stored, c.fields), c.expected) << c.stored << " / " << c.fields;
}

TEST(ColumnMap, DecodingReadsTheFirstPairsOnly)
{
    const auto xj = DecodeColumnMap(CompleteColumnMap("0302", 32), 32);
    ASSERT_EQ(xj.size(), 32u);
    EXPECT_EQ(xj[0], 3);
    EXPECT_EQ(xj[1], 2);
    EXPECT_EQ(xj[2], 3);
    EXPECT_EQ(xj[31], 32);
    const auto zw = DecodeColumnMap(GbkString(kDefaultZwColumnMap), 31);
    ASSERT_EQ(zw.size(), 31u);
    EXPECT_EQ(zw[14], 15);
    EXPECT_EQ(zw[15], 17) << "column 16 is not in the default ZW map";
    EXPECT_EQ(zw[22], 25) << "nor is column 24";
    EXPECT_EQ(zw[30], 33);
}

TEST(ColumnMap, ANonNumericPairRaisesTheConversionError)
{
    const struct
    {
        GbkString map;
        const char *message;
    } cases[] = {
        {"01x2" + defaultPairsFrom(3, 32), "'x2' is not a valid integer value"},
        {"01020", "'0' is not a valid integer value"},
    };
    for (const auto &c : cases) {
        try {
            DecodeColumnMap(c.map, 32);
            ADD_FAILURE() << c.map;
        } catch (const ConversionError &e) {
            EXPECT_EQ(e.message(), c.message);
        }
    }
}

TEST(GridWidths, ThreeDigitsPerColumn)
{
    EXPECT_EQ(EncodeGridWidths({56, 1056, 7, 0, 999}), "056056007000999");
    const auto widths = DecodeGridWidths(GbkString(kDefaultGridWidth), 32);
    const std::vector<int> expected{28, 56, 28, 48, 48, 48, 48, 76, 48, 44, 44, 44, 28, 44, 40, 36,
                                    44, 44, 44, 28, 44, 40, 31, 40, 40, 40, 29, 44, 72, 30, 43, 48};
    EXPECT_EQ(widths, expected);
    EXPECT_EQ(DecodeGridWidths("028056", 32).size(), 2u) << "a short text leaves the other columns as they are";
    EXPECT_THROW(DecodeGridWidths("0280x6", 32), ConversionError);
}

} // namespace
