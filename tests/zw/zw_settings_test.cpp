// zwgz.ini: the keys, their defaults, the completion of the column map and the order in
// which the boxes are saved.
#include "common/column_map.h"
#include "common/errors.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"
#include "zw/zw_fields.h"
#include "zw/zw_settings.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace quvela;
using namespace quvela::test;

namespace {

TEST(ZwSettings, DefaultsOfAFreshInstallation)
{
    TempFolder folder;
    const IniFile ini(zw::zwSettingsFile(gbk::fromPath(folder.path())));
    TZwcs rec;
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    zw::LoadZwSettings(ini, rec);
    EXPECT_EQ(gbk::toUtf8(rec.FileNo), "zar(2007)71号");
    EXPECT_EQ(gbk::toUtf8(rec.Issuer), "vodeve工资处制");
    EXPECT_EQ(rec.StartRow, 7);
    EXPECT_EQ(rec.EndRow, 7);
    EXPECT_EQ(rec.OpinionWidth, 78);
    EXPECT_EQ(rec.WorkbookFile, "");
    EXPECT_GE(rec.PrintDate, before);
    // The default map has 38 pieces and is left as it is.
    EXPECT_EQ(rec.ColumnMap, kDefaultZwColumnMap);
    EXPECT_EQ(zw::LoadColumnMap(rec)[zw::field::PrintFlag - 1], 28);
}

TEST(ZwSettings, StoredValuesAndTheCompletionOfShortMaps)
{
    struct Case
    {
        const char *stored;
        const char *loaded;
    };
    const Case cases[] = {
        {"01020304050607080910111213141517181920212223252627", "01020304050607080910111213141517181920212223252627262728293031"},
        {"01020304050607080910111213141517181920212223252627282930313233",
         "01020304050607080910111213141517181920212223252627282930313233"},
        {"0302", "03020304050607080910111213141516171819202122232425262728293031"},
    };
    for (const Case &c : cases) {
        TempFolder folder;
        IniFile ini(zw::zwSettingsFile(gbk::fromPath(folder.path())));
        ini.writeString(kSettingsSection, "zwRow", c.stored);
        ini.writeString(kSettingsSection, "File", gbk::fromUtf8("某人社(2010)3号"));
        ini.writeString(kSettingsSection, "Start", "9");
        ini.writeString(kSettingsSection, "End", "abc");
        ini.writeString(kSettingsSection, "yjkd", "80");
        ini.writeString(kSettingsSection, "excelFileName", "/data/zw.xlsx");
        TZwcs rec;
        zw::LoadZwSettings(ini, rec);
        EXPECT_EQ(rec.ColumnMap, c.loaded) << c.stored;
        EXPECT_EQ(gbk::toUtf8(rec.FileNo), "某人社(2010)3号");
        EXPECT_EQ(rec.StartRow, 9);
        EXPECT_EQ(rec.EndRow, 7);
        EXPECT_EQ(rec.OpinionWidth, 80);
        EXPECT_EQ(rec.WorkbookFile, "/data/zw.xlsx");
    }
}

TEST(ZwSettings, SavedInTheOrderOfTheToolAsTyped)
{
    TempFolder folder;
    IniFile ini(zw::zwSettingsFile(gbk::fromPath(folder.path())));
    ini.writeString(kSettingsSection, "excelFileName", "/data/zw.xlsx");
    roster::RosterBoxTexts boxes;
    boxes.file = gbk::fromUtf8("某人社(2010)3号");
    boxes.area = gbk::fromUtf8("人事处");
    boxes.start = "";
    boxes.end = "12";
    boxes.width = "0080";
    boxes.printDate = QDateTime(QDate(2010, 4, 9), QTime(0, 0));
    zw::SaveZwSettings(ini, boxes);
    const std::string text = gbk::toUtf8(fileBytes(ini.path()));
    EXPECT_EQ(text, "[xtcs]\r\nexcelFileName=/data/zw.xlsx\r\nFile=某人社(2010)3号\r\nArea=人事处\r\nDate=2010-4-9\r\n"
                    "Start=\r\nEnd=12\r\nyjkd=0080\r\n");
}

TEST(ZwSettings, AMapPieceThatIsNotANumberStopsTheColumnTable)
{
    TZwcs rec;
    rec.ColumnMap = "01x20304050607080910111213141517181920212223252627282930313233";
    EXPECT_THROW(zw::LoadColumnMap(rec), ConversionError);
}

} // namespace
