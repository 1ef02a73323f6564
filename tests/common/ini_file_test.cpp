#include "common/errors.h"
#include "common/ini_file.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace quvela;
namespace fs = std::filesystem;

namespace {

class IniFileTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    fs::path folder() const { return fs::path(m_dir.path().toStdString()); }
    fs::path file() const { return folder() / "xjgz.ini"; }

    void put(const std::string &bytes) const
    {
        std::ofstream out(file(), std::ios::binary);
        out << bytes;
    }

    std::string contents() const
    {
        std::ifstream in(file(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::vector<std::string> folderEntries() const
    {
        std::vector<std::string> names;
        for (const auto &entry : fs::directory_iterator(folder()))
            names.push_back(entry.path().filename().string());
        return names;
    }

    QTemporaryDir m_dir;
};

const QDateTime kDefaultDate(QDate(2001, 2, 3), QTime(4, 5, 6));

// Written by an older installation: CRLF, comments, other sections, keys in other letter
// case, blanks around "=", an empty value and a number that is not one.
const std::string kOlderFile =
    "; written by the older installation\r\n"
    "[Other]\r\n"
    "File=not this one\r\n"
    "\r\n"
    "[XTCS]\r\n"
    "file = zar(2009)12\r\n"
    "YEAR=2009\r\n"
    "Month=abc\r\n"
    "Empty=\r\n"
    "Date=2009/4/8\r\n"
    "\r\n"
    "; belongs to the next section\r\n"
    "[third]\r\n"
    "x=1\r\n";

} // namespace

TEST_F(IniFileTest, MissingFileGivesDefaultsAndReadingCreatesNothing)
{
    const IniFile ini(file());
    EXPECT_EQ(ini.readString("xtcs", "File", "zar(2007)50"), "zar(2007)50");
    EXPECT_EQ(ini.readInteger("xtcs", "Year", 2010), 2010);
    EXPECT_EQ(ini.readDateTime("xtcs", "Date", kDefaultDate), kDefaultDate);
    EXPECT_TRUE(folderEntries().empty());
}

TEST_F(IniFileTest, ReadsAFileOfAnOlderInstallation)
{
    put(kOlderFile);
    const IniFile ini(file());
    EXPECT_EQ(ini.readString("xtcs", "File", "def"), "zar(2009)12");
    EXPECT_EQ(ini.readString("XtCs", "FILE", "def"), "zar(2009)12");
    EXPECT_EQ(ini.readInteger("xtcs", "Year", 0), 2009);
    EXPECT_EQ(ini.readInteger("xtcs", "Month", 4), 4);
    EXPECT_EQ(ini.readString("xtcs", "Empty", "def"), "");
    EXPECT_EQ(ini.readString("xtcs", "x", "def"), "def");
    EXPECT_EQ(ini.readString("Third", "X", "def"), "1");
    EXPECT_EQ(ini.readString("nowhere", "File", "def"), "def");
    EXPECT_EQ(ini.readDateTime("xtcs", "Date", kDefaultDate), QDateTime(QDate(2009, 4, 8), QTime(0, 0)));
}

TEST_F(IniFileTest, WritesChangeOnlyTheirOwnLine)
{
    put(kOlderFile);
    IniFile ini(file());
    ini.writeString("xtcs", "File", "abc(2010)1");
    ini.writeInteger("xtcs", "Start", 9);
    ini.writeString("xtcs", "Empty", "now set");
    ini.writeString("new", "Key", "v");

    EXPECT_EQ(contents(),
              "; written by the older installation\r\n"
              "[Other]\r\n"
              "File=not this one\r\n"
              "\r\n"
              "[XTCS]\r\n"
              "file =abc(2010)1\r\n"
              "YEAR=2009\r\n"
              "Month=abc\r\n"
              "Empty=now set\r\n"
              "Date=2009/4/8\r\n"
              "Start=9\r\n"
              "\r\n"
              "; belongs to the next section\r\n"
              "[third]\r\n"
              "x=1\r\n"
              "[new]\r\n"
              "Key=v\r\n");
    EXPECT_EQ(ini.readString("xtcs", "file", "def"), "abc(2010)1");
    EXPECT_EQ(ini.readInteger("xtcs", "start", 0), 9);
}

TEST_F(IniFileTest, KeepsTheLineEndsAndEncodingOfTheFile)
{
    struct Case
    {
        const char *name;
        std::string before;
        std::string after;
    };
    const std::string bom = "\xEF\xBB\xBF";
    const Case cases[] = {
        {"new file", "", "[xtcs]\r\nArea=A\r\n"},
        {"LF", "[xtcs]\nFile=1\n", "[xtcs]\nFile=1\nArea=A\n"},
        {"no final line end", "[xtcs]\r\nFile=1", "[xtcs]\r\nFile=1\r\nArea=A\r\n"},
        {"other section, no final line end", "[a]\nb=c", "[a]\nb=c\n[xtcs]\nArea=A\n"},
        {"empty section at the end", "[xtcs]", "[xtcs]\r\nArea=A\r\n"},
        {"BOM only", bom, bom + "[xtcs]\r\nArea=A\r\n"},
    };
    for (const Case &c : cases) {
        if (c.before.empty())
            fs::remove(file());
        else
            put(c.before);
        IniFile(file()).writeString("xtcs", "Area", "A");
        EXPECT_EQ(contents(), c.after) << c.name;
        EXPECT_EQ(IniFile(file()).readString("xtcs", "area", "def"), "A") << c.name;
    }
}

TEST_F(IniFileTest, AFileWithAByteOrderMarkIsUtf8)
{
    put("\xEF\xBB\xBF[xtcs]\r\nArea=\xE5\xB7\xA5\xE8\xB5\x84\xE5\xA4\x84\r\n");
    IniFile ini(file());
    EXPECT_EQ(ini.readString("xtcs", "Area", "def"), gbk::fromUtf8("工资处"));
    ini.writeString("xtcs", "File", gbk::fromUtf8("京(2010)1号"));
    EXPECT_EQ(contents(), "\xEF\xBB\xBF[xtcs]\r\nArea=\xE5\xB7\xA5\xE8\xB5\x84\xE5\xA4\x84\r\n"
                          "File=\xE4\xBA\xAC(2010)1\xE5\x8F\xB7\r\n");
    EXPECT_EQ(ini.readString("xtcs", "File", "def"), gbk::fromUtf8("京(2010)1号"));
}

TEST_F(IniFileTest, GbkTextTravelsAsItIs)
{
    IniFile ini(file());
    // 昞 ends in the byte of "\\", 乚 in that of "]", and U+20000 takes four bytes.
    const GbkString value = gbk::fromUtf8("vodeve工资处制 昞乚 \xF0\xA0\x80\x80");
    const GbkString section = gbk::fromUtf8("设置乚");
    ini.writeString("xtcs", "Area", value);
    ini.writeString(section, "Area", "other");
    EXPECT_EQ(ini.readString("xtcs", "Area", "def"), value);
    EXPECT_EQ(ini.readString(section, "Area", "def"), "other");
    EXPECT_EQ(contents(), "[xtcs]\r\nArea=" + value + "\r\n[" + section + "]\r\nArea=other\r\n");
}

TEST_F(IniFileTest, AValueNeverSpansLines)
{
    IniFile ini(file());
    ini.writeString("xtcs", "File", "a\r\n[evil]\nEnd=1");
    ini.writeString("xtcs", "End", "7");
    EXPECT_EQ(ini.readString("xtcs", "File", "def"), "a  [evil] End=1");
    EXPECT_EQ(ini.readString("evil", "End", "def"), "def");
    EXPECT_EQ(ini.readInteger("xtcs", "End", 0), 7);
}

TEST_F(IniFileTest, ReplacesTheFileAtomically)
{
    IniFile ini(file());
    for (int i = 0; i < 5; ++i)
        ini.writeInteger("xtcs", "Start", i);
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"xjgz.ini"});
    EXPECT_EQ(contents(), "[xtcs]\r\nStart=4\r\n");
}

TEST_F(IniFileTest, WhatCannotBeReadIsNeitherReadNorOverwritten)
{
    // A folder where the file should be.
    fs::create_directory(file());
    IniFile ini(file());
    EXPECT_EQ(ini.readString("xtcs", "File", "def"), "def");
    EXPECT_THROW(ini.writeString("xtcs", "File", "x"), QuvelaError);
    EXPECT_TRUE(fs::is_directory(file()));
    fs::remove(file());

    // Far larger than any settings file: not read into memory, and not replaced by a
    // file that would lose all of it.
    const std::string huge = "[xtcs]\r\nFile=big\r\n" + std::string(2 << 20, ';');
    put(huge);
    EXPECT_EQ(ini.readString("xtcs", "File", "def"), "def");
    EXPECT_THROW(ini.writeString("xtcs", "File", "x"), QuvelaError);
    EXPECT_EQ(contents().size(), huge.size());

    // A folder that does not exist.
    IniFile nowhere(folder() / "missing" / "xjgz.ini");
    EXPECT_THROW(nowhere.writeString("xtcs", "File", "x"), QuvelaError);
    EXPECT_EQ(nowhere.readString("xtcs", "File", "def"), "def");
}

TEST_F(IniFileTest, IntegersReadStrictlyWithTheirDefault)
{
    struct Case
    {
        const char *stored;
        int32_t expected;
    };
    const Case cases[] = {
        {"12", 12}, {"-3", -3}, {" 12 ", 12}, {"", 77}, {"abc", 77}, {"12abc", 77},
        {"1.5", 77}, {"2147483648", 77}, {"0x10", 77},
    };
    IniFile ini(file());
    for (const Case &c : cases) {
        ini.writeString("xtcs", "Year", c.stored);
        EXPECT_EQ(ini.readInteger("xtcs", "Year", 77), c.expected) << c.stored;
    }
}

TEST_F(IniFileTest, DateTimesReadInTheUsualSpellings)
{
    struct Case
    {
        const char *stored;
        QDateTime expected; // invalid: the default
    };
    const QDate april8(2010, 4, 8);
    const Case cases[] = {
        {"2010-4-8", QDateTime(april8, QTime(0, 0))},
        {"2010-04-08", QDateTime(april8, QTime(0, 0))},
        {"2010/4/8", QDateTime(april8, QTime(0, 0))},
        {"2010.04.8", QDateTime(april8, QTime(0, 0))},
        {"2010-4-8 9:05", QDateTime(april8, QTime(9, 5))},
        {"2010/04/08 09:05:07", QDateTime(april8, QTime(9, 5, 7))},
        {"2010.4.8  23:59:59", QDateTime(april8, QTime(23, 59, 59))},
        {"2010-4-8 0:0:0", QDateTime(april8, QTime(0, 0))},
        {"", {}},
        {"abc", {}},
        {"2010-13-1", {}},
        {"2010-2-30", {}},
        {"2010-4/8", {}},
        {"10-4-8", {}},
        {"20100-4-8", {}},
        {"2010-004-8", {}},
        {"2010-4-8x", {}},
        {"2010-4-8 9", {}},
        {"2010-4-8 24:00", {}},
        {"2010-4-8 9:60", {}},
        {"2010-4-8 9:05:07:01", {}},
        {"2010-4-8 9:05:", {}},
        {"2010-4-", {}},
    };
    IniFile ini(file());
    for (const Case &c : cases) {
        ini.writeString("xtcs", "Date", c.stored);
        const QDateTime expected = c.expected.isValid() ? c.expected : kDefaultDate;
        EXPECT_EQ(ini.readDateTime("xtcs", "Date", kDefaultDate), expected) << c.stored;
    }
}

TEST_F(IniFileTest, DateTimesAreWrittenWithoutLeadingZerosAndTheDateAloneAtMidnight)
{
    struct Case
    {
        QDateTime value;
        const char *stored;
    };
    const Case cases[] = {
        {QDateTime(QDate(2010, 4, 8), QTime(0, 0)), "2010-4-8"},
        {QDateTime(QDate(2010, 4, 8), QTime(9, 5, 7)), "2010-4-8 9:05:07"},
        {QDateTime(QDate(2010, 12, 31), QTime(23, 0)), "2010-12-31 23:00:00"},
        {QDateTime(QDate(2010, 4, 8), QTime(0, 0, 1)), "2010-4-8 0:00:01"},
    };
    IniFile ini(file());
    for (const Case &c : cases) {
        ini.writeDateTime("xtcs", "Date", c.value);
        EXPECT_EQ(ini.readString("xtcs", "Date", "def"), c.stored);
        EXPECT_EQ(ini.readDateTime("xtcs", "Date", kDefaultDate), c.value) << c.stored;
    }
}
