// gwyjbgz.ini: the record a new window loads, a mode's keys on a switch, what a save writes.
#include "jb/jb_settings.h"

#include "support/file_bytes.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

using namespace quvela;
using namespace quvela::jb;
using quvela::test::fileBytes;

namespace {

void writeText(const std::filesystem::path &path, const std::string &utf8)
{
    std::ofstream(path, std::ios::binary) << gbk::fromUtf8(utf8);
}

const char *const kBothModes = "[xtcs]\r\n"
                               "Type=1\r\n"
                               "Area=某市人社局制\r\n"
                               "File0=某人社(2007)49号\r\n"
                               "Date0=2010-4-7\r\n"
                               "Start0=8\r\n"
                               "End0=20\r\n"
                               "yjkd0=80\r\n"
                               "excelFileName0=/data/正常.xlsx\r\n"
                               "File1=某人社(2007)196号\r\n"
                               "Date1=2011-1-5 9:30:00\r\n"
                               "Start1=9\r\n"
                               "End1=30\r\n"
                               "yjkd1=76\r\n"
                               "excelFileName1=/data/滚动.xlsx\r\n";

class JbSettings : public testing::Test
{
protected:
    test::TempFolder m_dir;
    std::filesystem::path m_file = jbSettingsFile(gbk::fromPath(m_dir.path()));
};

TEST_F(JbSettings, FileInTheProgramFolder)
{
    EXPECT_EQ(m_file, m_dir.path() / "gwyjbgz.ini");
}

TEST_F(JbSettings, DefaultsOfAFreshInstallation)
{
    const IniFile ini(m_file);
    for (int mode : {0, 1}) {
        TJbcs rec;
        const QDateTime before = QDateTime::currentDateTime();
        if (mode == 0)
            LoadJbSettings(ini, rec);
        else
            LoadJbModeSettings(ini, 1, rec);
        EXPECT_EQ(rec.Mode, mode);
        EXPECT_EQ(gbk::toUtf8(rec.FileNo), mode == 0 ? "zar(2007)49号" : "zar(2007)196号");
        EXPECT_EQ(rec.StartRow, 7);
        EXPECT_EQ(rec.EndRow, 7);
        EXPECT_EQ(rec.OpinionWidth, 78);
        EXPECT_EQ(rec.WorkbookFile, "");
        EXPECT_GE(rec.PrintDate, before.addSecs(-1));
        EXPECT_LE(rec.PrintDate, QDateTime::currentDateTime());
    }
    TJbcs rec;
    LoadJbSettings(ini, rec);
    EXPECT_EQ(gbk::toUtf8(rec.Issuer), "vodeve工资处制");
    EXPECT_FALSE(std::filesystem::exists(m_file)); // reading writes nothing
}

TEST_F(JbSettings, CreationLoadsTheStoredModeAndItsKeys)
{
    writeText(m_file, kBothModes);
    TJbcs rec;
    rec.ProgramDir = "/opt/quvela";
    LoadJbSettings(IniFile(m_file), rec);
    EXPECT_EQ(rec.Mode, 1);
    EXPECT_EQ(gbk::toUtf8(rec.FileNo), "某人社(2007)196号");
    EXPECT_EQ(rec.PrintDate, QDateTime(QDate(2011, 1, 5), QTime(9, 30)));
    EXPECT_EQ(rec.StartRow, 9);
    EXPECT_EQ(rec.EndRow, 30);
    EXPECT_EQ(rec.OpinionWidth, 76);
    EXPECT_EQ(gbk::toUtf8(rec.WorkbookFile), "/data/滚动.xlsx");
    EXPECT_EQ(gbk::toUtf8(rec.Issuer), "某市人社局制");
    EXPECT_EQ(rec.ProgramDir, "/opt/quvela");
}

TEST_F(JbSettings, ModeSwitchLoadsTheOtherKeysAndKeepsTheIssuer)
{
    writeText(m_file, kBothModes);
    IniFile ini(m_file);
    TJbcs rec;
    LoadJbSettings(ini, rec);
    // An issuer saved since the window was created is not read back at a switch.
    ini.writeString(kSettingsSection, "Area", gbk::fromUtf8("新机构"));
    LoadJbModeSettings(ini, 0, rec);
    EXPECT_EQ(rec.Mode, 0);
    EXPECT_EQ(gbk::toUtf8(rec.FileNo), "某人社(2007)49号");
    EXPECT_EQ(rec.PrintDate, QDateTime(QDate(2010, 4, 7), QTime(0, 0)));
    EXPECT_EQ(rec.StartRow, 8);
    EXPECT_EQ(rec.EndRow, 20);
    EXPECT_EQ(rec.OpinionWidth, 80);
    EXPECT_EQ(gbk::toUtf8(rec.WorkbookFile), "/data/正常.xlsx");
    EXPECT_EQ(gbk::toUtf8(rec.Issuer), "某市人社局制");
}

struct TypeCase
{
    const char *stored;
    int mode;
};

class StoredType : public JbSettings, public testing::WithParamInterface<TypeCase>
{
};

TEST_P(StoredType, GivesTheMode)
{
    writeText(m_file, std::string("[xtcs]\r\nType=") + GetParam().stored + "\r\nFile1=R\r\nFile0=N\r\n");
    TJbcs rec;
    LoadJbSettings(IniFile(m_file), rec);
    EXPECT_EQ(rec.Mode, GetParam().mode);
    EXPECT_EQ(rec.FileNo, GetParam().mode == 0 ? "N" : "R");
}

const TypeCase kTypes[] = {{"0", 0}, {"1", 1}, {"", 0}, {"x", 0}, {"2", 0}, {"-1", 0}, {" 1", 1}};

INSTANTIATE_TEST_SUITE_P(Values, StoredType, testing::ValuesIn(kTypes),
                         [](const testing::TestParamInfo<TypeCase> &p) { return "case" + std::to_string(p.index); });

TEST_F(JbSettings, IntegerKeysThatAreNoNumberGiveTheirDefaults)
{
    writeText(m_file, "[xtcs]\r\nStart0=\r\nEnd0=七\r\nyjkd0=7a\r\nDate0=昨天\r\nFile0=\r\n");
    TJbcs rec;
    LoadJbSettings(IniFile(m_file), rec);
    EXPECT_EQ(rec.StartRow, 7);
    EXPECT_EQ(rec.EndRow, 7);
    EXPECT_EQ(rec.OpinionWidth, 78);
    EXPECT_TRUE(rec.PrintDate.isValid());
    EXPECT_EQ(rec.FileNo, ""); // present and empty: empty
}

TEST_F(JbSettings, SaveWritesTheModesKeysInOrderAndLeavesTheOtherMode)
{
    writeText(m_file, "[xtcs]\r\nFile1=R\r\nStart1=9\r\n");
    IniFile ini(m_file);
    roster::RosterBoxTexts boxes;
    boxes.file = gbk::fromUtf8("某人社(2007)49号");
    boxes.area = gbk::fromUtf8("某机构");
    boxes.start = "007";
    boxes.end = "";
    boxes.width = "80";
    boxes.printDate = QDateTime(QDate(2010, 4, 7), QTime(0, 0));
    SaveJbModeSettings(ini, 1, 0, boxes);
    EXPECT_EQ(gbk::toUtf8(fileBytes(m_file)), "[xtcs]\r\nFile1=R\r\nStart1=9\r\n"
                                             "Type=1\r\n"
                                             "File0=某人社(2007)49号\r\n"
                                             "Date0=2010-4-7\r\n"
                                             "Start0=007\r\n"
                                             "End0=\r\n"
                                             "yjkd0=80\r\n"
                                             "Area=某机构\r\n");
    TJbcs rec;
    LoadJbSettings(ini, rec);
    EXPECT_EQ(rec.Mode, 1);
    EXPECT_EQ(rec.FileNo, "R");
    EXPECT_EQ(rec.StartRow, 9);
}

} // namespace
