// gwyzwgz.ini: the defaults of a fresh installation, stored values, and what "退出" writes.
#include "jg/jg_settings.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace quvela;
using namespace quvela::test;

namespace {

TEST(JgSettings, FreshInstallationGivesTheDefaults)
{
    TempFolder dir;
    const IniFile ini(jg::jgSettingsFile(gbk::fromPath(dir.path())));
    EXPECT_EQ(ini.path(), dir / "gwyzwgz.ini");
    TJgcs rec;
    rec.ProgramDir = "kept";
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    jg::LoadJgSettings(ini, rec);
    EXPECT_EQ(gbk::toUtf8(rec.FileNo), "zar(2007)71号");
    EXPECT_EQ(gbk::toUtf8(rec.Issuer), "vodeve工资处制");
    EXPECT_EQ(rec.StartRow, 7);
    EXPECT_EQ(rec.EndRow, 7);
    EXPECT_EQ(rec.OpinionWidth, 78);
    EXPECT_EQ(rec.WorkbookFile, "");
    EXPECT_GE(rec.PrintDate, before);
    EXPECT_LE(rec.PrintDate, QDateTime::currentDateTime().addSecs(1));
    EXPECT_EQ(rec.ProgramDir, "kept");
    EXPECT_FALSE(std::filesystem::exists(dir / "gwyzwgz.ini"));
}

TEST(JgSettings, StoredValuesAreRead)
{
    TempFolder dir;
    std::ofstream(dir / "gwyzwgz.ini", std::ios::binary)
        << gbk::fromUtf8("[xtcs]\r\nArea=某市人社局制\r\nFile=某人社(2010)12号\r\nDate=2010-3-5\r\nStart=9\r\n"
                         "End=40\r\nexcelFileName=D:\\工资\\职务变动.xls\r\nyjkd=80\r\n");
    TJgcs rec;
    jg::LoadJgSettings(IniFile(dir / "gwyzwgz.ini"), rec);
    EXPECT_EQ(gbk::toUtf8(rec.Issuer), "某市人社局制");
    EXPECT_EQ(gbk::toUtf8(rec.FileNo), "某人社(2010)12号");
    EXPECT_EQ(rec.PrintDate, QDateTime(QDate(2010, 3, 5), QTime(0, 0)));
    EXPECT_EQ(rec.StartRow, 9);
    EXPECT_EQ(rec.EndRow, 40);
    EXPECT_EQ(gbk::toUtf8(rec.WorkbookFile), "D:\\工资\\职务变动.xls");
    EXPECT_EQ(rec.OpinionWidth, 80);
}

TEST(JgSettings, ExitWritesTheBoxesAsTypedInTheirOrder)
{
    TempFolder dir;
    IniFile ini(dir / "gwyzwgz.ini");
    ini.writeString(kSettingsSection, jg::kWorkbookKey, "roster.xlsx");
    roster::RosterBoxTexts boxes;
    boxes.file = gbk::fromUtf8("新文(2011)1号");
    boxes.area = gbk::fromUtf8("某局制");
    boxes.start = "007";
    boxes.end = "";
    boxes.width = "80";
    boxes.printDate = QDateTime(QDate(2011, 1, 5), QTime(0, 0));
    jg::SaveJgSettings(ini, boxes);
    EXPECT_EQ(gbk::toUtf8(fileBytes(dir / "gwyzwgz.ini")),
              "[xtcs]\r\nexcelFileName=roster.xlsx\r\nFile=新文(2011)1号\r\nDate=2011-1-5\r\nStart=007\r\nEnd=\r\n"
              "yjkd=80\r\nArea=某局制\r\n");

    // what was typed is what the next window loads; an empty end row gives the default
    TJgcs rec;
    jg::LoadJgSettings(ini, rec);
    EXPECT_EQ(rec.StartRow, 7);
    EXPECT_EQ(rec.EndRow, 7);
    EXPECT_EQ(rec.OpinionWidth, 80);
    EXPECT_EQ(gbk::toUtf8(rec.FileNo), "新文(2011)1号");
}

} // namespace
