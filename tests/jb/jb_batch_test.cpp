// quvela-batch jb print, run as the built program in a program folder of its own: the
// mode of the settings file or of --mode, the example rosters, a row that stops the run.
#include "common/gbk.h"
#include "common/ini_file.h"
#include "jb_roster.h"
#include "support/batch_run.h"
#include "support/temp_folder.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

using namespace quvela;
using namespace quvela::test;

namespace {

const std::filesystem::path kExamples = std::filesystem::path(QUVELA_SOURCE_DIR) / "examples";

// The labels of each page of a JSON dump by name: their texts.
using PageTexts = std::map<std::string, std::string>;

std::vector<PageTexts> dumpedPages(const std::filesystem::path &json)
{
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(fileBytes(json)));
    std::vector<PageTexts> pages;
    for (const QJsonValue &page : doc.object().value(QStringLiteral("pages")).toArray()) {
        PageTexts texts;
        for (const QJsonValue &label : page.toObject().value(QStringLiteral("labels")).toArray()) {
            const QJsonObject l = label.toObject();
            const std::string name = l.value(QStringLiteral("name")).toString().toStdString();
            if (!name.empty())
                texts[name] = l.value(QStringLiteral("text")).toString().toStdString();
        }
        pages.push_back(texts);
    }
    return pages;
}

class JbBatch : public testing::Test
{
protected:
    TempFolder dir;
    TempFolder work;

    void setIni(const char *key, const std::string &utf8)
    {
        IniFile(dir / "gwyjbgz.ini").writeString("xtcs", key, gbk::fromUtf8(utf8));
    }

    // Both example rosters stored, mode `type` selected last; rows 7 to 21.
    void storeExamples(int type)
    {
        setIni("Type", std::to_string(type));
        setIni("File0", "某人社(2007)49号");
        setIni("File1", "某人社(2007)196号");
        for (const char *m : {"0", "1"}) {
            setIni((std::string("Date") + m).c_str(), "2010-4-7");
            setIni((std::string("Start") + m).c_str(), "7");
            setIni((std::string("End") + m).c_str(), "21");
        }
        setIni("excelFileName0", (kExamples / "jb-normal-roster.xlsx").string());
        setIni("excelFileName1", (kExamples / "jb-rolling-roster.xlsx").string());
    }

    BatchRun run(const std::string &arguments)
    {
        return runBatch(dir.path(), "jb print " + arguments, work / "err.txt");
    }

    std::string outputs() const
    {
        return "--pdf " + shellQuoted(work / "forms.pdf") + " --json " + shellQuoted(work / "forms.json");
    }
};

TEST_F(JbBatch, StoredModeWithoutTheOption)
{
    storeExamples(1);
    const BatchRun r = run(outputs());
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<PageTexts> pages = dumpedPages(work / "forms.json");
    // Rows 7-11, 13, 14 and 17-21 of the rolling example are flagged.
    ASSERT_EQ(pages.size(), 12u);
    for (const PageTexts &p : pages) {
        EXPECT_EQ(p.at("lb_bdyy"), "滚动级别工资");
        EXPECT_EQ(p.at("lb_ndkh"), "2006");
    }
    EXPECT_EQ(pages[0].at("l_xm"), "卢翰");
    EXPECT_EQ(pages[0].at("m_gw1"), "4000"); // first entry of the list: non-leading
    // Row 10: post column blank, the post of column 3 instead.
    EXPECT_EQ(pages[3].at("zw1"), "科员");
    // Row 18: former step and wage empty, those of columns 7 and 8 instead.
    EXPECT_EQ(pages[8].at("l_xm"), "陆国达");
    EXPECT_NE(pages[8].at("l_xj1"), "");
    EXPECT_GT(std::filesystem::file_size(work / "forms.pdf"), 1000u);
}

TEST_F(JbBatch, ModeOptionChoosesTheOtherKeys)
{
    storeExamples(1);
    const BatchRun r = run("--mode 0 " + outputs());
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<PageTexts> pages = dumpedPages(work / "forms.json");
    // Rows 7-16, 18, 19 and 21 of the normal example.
    ASSERT_EQ(pages.size(), 13u);
    EXPECT_EQ(pages[0].at("l_xm"), "孟宏达");
    EXPECT_EQ(pages[0].at("l_gw1"), "510");
    EXPECT_EQ(pages[0].at("lb_bdyy"), "正常晋升级别工资");
    // Row 8: grade wage 195, a senior worker.
    EXPECT_EQ(pages[1].at("l_gw1"), "高级工");
    EXPECT_EQ(pages[1].at("lb_bdyy"), "正常增加岗位工资");
    const std::string wording = pages[1].at("y1") + pages[1].at("y2") + pages[1].at("y3") + pages[1].at("y4");
    EXPECT_NE(wording.find("岗位工资由（高级工）"), std::string::npos) << wording;
    // The settings file still names the mode stored.
    EXPECT_EQ(IniFile(dir / "gwyjbgz.ini").readInteger("xtcs", "Type", -1), 1);
}

TEST_F(JbBatch, RowsAndWidthReplaceTheStoredOnes)
{
    storeExamples(0);
    const BatchRun r = run("--rows 8-9 --width 300 " + outputs());
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<PageTexts> pages = dumpedPages(work / "forms.json");
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[1].at("l_gw1"), "技师");
    EXPECT_EQ(pages[1].at("y2"), "");
}

TEST_F(JbBatch, BadModeIsAUsageError)
{
    storeExamples(0);
    for (const char *mode : {"2", "x", "-1", ""}) {
        const BatchRun r = run(std::string("--mode '") + mode + "' " + outputs());
        EXPECT_EQ(r.status, 2) << mode;
        EXPECT_FALSE(std::filesystem::exists(work / "forms.pdf"));
    }
}

TEST_F(JbBatch, TextInAnAmountStopsTheRunAndWritesNothing)
{
    Cells bad = normalStepPerson("王五");
    bad[12] = std::string("410元");
    const std::filesystem::path book = dir / "花名册.xlsx";
    writeJbRoster(book, {{7, normalStepPerson("张三")}, {8, bad}});
    setIni("excelFileName0", book.string());
    setIni("End0", "8");
    const BatchRun r = run(outputs());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("'410元' is not a valid integer value"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(work / "forms.pdf"));
    EXPECT_FALSE(std::filesystem::exists(work / "forms.json"));
}

} // namespace
