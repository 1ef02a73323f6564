// quvela-batch jg print, run as the built program in a program folder of its own.
#include "common/ini_file.h"
#include "jg/jg_roster.h"
#include "support/batch_run.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <fstream>

using namespace quvela;
using namespace quvela::test;

namespace {

class JgBatch : public ::testing::Test
{
protected:
    TempFolder dir;
    std::filesystem::path roster = dir / "职务变动.xlsx";

    void SetUp() override
    {
        writeJgRoster(roster, {
                                  {7, with(dutyChange(), {{jg::column::Name, std::string("甲")}})},
                                  {8, with(dutyChange(), {{jg::column::PrintFlag, Cell{}}})},
                                  {9, with(dutyChange(), {{jg::column::Name, std::string("乙")},
                                                          {jg::column::OldAmount, 195.0},
                                                          {jg::column::OldPost, std::string("高级工")},
                                                          {jg::column::NewAmount, 270.0},
                                                          {jg::column::NewPost, std::string("技师")}})},
                                  {10, with(dutyChange(), {{jg::column::NewAmount, std::string("待定")}})},
                              });
    }

    void store(const char *key, const std::string &utf8)
    {
        IniFile(dir / "gwyzwgz.ini").writeString(kSettingsSection, key, gbk::fromUtf8(utf8));
    }

    BatchRun run(const std::string &options)
    {
        return runBatch(dir.path(), "jg print " + options, dir / "stderr.txt");
    }

    QJsonArray pages(const std::filesystem::path &json)
    {
        const QByteArray bytes = QByteArray::fromStdString(fileBytes(json));
        return QJsonDocument::fromJson(bytes).object().value(QStringLiteral("pages")).toArray();
    }

    static QString labelText(const QJsonValue &page, const char *name)
    {
        for (const QJsonValue &l : page.toObject().value(QStringLiteral("labels")).toArray())
            if (l.toObject().value(QStringLiteral("name")).toString() == QLatin1String(name))
                return l.toObject().value(QStringLiteral("text")).toString();
        return QStringLiteral("<missing>");
    }
};

TEST_F(JgBatch, PrintsTheFlaggedRowsOfTheRange)
{
    const BatchRun r = run("--workbook " + shellQuoted(roster) + " --rows 7-9 --pdf " + shellQuoted(dir / "out.pdf")
                           + " --json " + shellQuoted(dir / "out.json") + " --txt " + shellQuoted(dir / "out.txt"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const QJsonArray p = pages(dir / "out.json");
    ASSERT_EQ(p.size(), 2);
    EXPECT_EQ(labelText(p[0], "l_xm"), QStringLiteral("甲"));
    EXPECT_EQ(labelText(p[1], "l_xm"), QStringLiteral("乙"));
    EXPECT_EQ(labelText(p[1], "l_gw2"), QStringLiteral("技师"));
    EXPECT_EQ(fileBytes(dir / "out.pdf").rfind("%PDF", 0), 0u);
    EXPECT_NE(fileBytes(dir / "out.txt").find("职务变动"), std::string::npos);
}

TEST_F(JgBatch, DefaultsFromTheSettingsFile)
{
    store("excelFileName", roster.string());
    store("Start", "9");
    store("End", "9");
    store("yjkd", "40");
    store("File", "某人社(2010)12号");
    ASSERT_EQ(run("--pdf " + shellQuoted(dir / "out.pdf") + " --json " + shellQuoted(dir / "a.json")).status, 0);
    QJsonArray p = pages(dir / "a.json");
    ASSERT_EQ(p.size(), 1);
    EXPECT_EQ(labelText(p[0], "l_xm"), QStringLiteral("乙"));
    EXPECT_TRUE(labelText(p[0], "y1").startsWith(QStringLiteral("根据某人社(2010)12号文件规定")));
    EXPECT_LE(gbk::fromQString(labelText(p[0], "y1")).size(), 36u);
    EXPECT_LE(gbk::fromQString(labelText(p[0], "y2")).size(), 40u);

    // an option replaces the stored value for this run only
    ASSERT_EQ(run("--width 100 --rows 7-7 --pdf " + shellQuoted(dir / "out.pdf") + " --json " + shellQuoted(dir / "b.json"))
                  .status,
              0);
    p = pages(dir / "b.json");
    ASSERT_EQ(p.size(), 1);
    EXPECT_EQ(labelText(p[0], "l_xm"), QStringLiteral("甲"));
    EXPECT_GT(gbk::fromQString(labelText(p[0], "y1")).size(), 90u);
    EXPECT_LE(gbk::fromQString(labelText(p[0], "y1")).size(), 96u);
    EXPECT_EQ(gbk::toUtf8(IniFile(dir / "gwyzwgz.ini").readString(kSettingsSection, "yjkd", {})), "40");
}

TEST_F(JgBatch, StopsWithAMessageAndWritesNothing)
{
    struct Case
    {
        const char *name;
        std::string options;
        const char *message;
    };
    const Case cases[] = {
        {"nothing_flagged", "--workbook " + shellQuoted(roster) + " --rows 8-8", ""},
        {"no_workbook", "--workbook " + shellQuoted(dir / "missing.xlsx"), "请选择EXCEL数据表格！"},
        {"amount_not_a_number", "--workbook " + shellQuoted(roster) + " --rows 7-10", "'待定' is not a valid integer value"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const BatchRun r = run(c.options + " --pdf " + shellQuoted(dir / "x.pdf") + " --json " + shellQuoted(dir / "x.json"));
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_NE(r.err, "");
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(dir / "x.pdf"));
        EXPECT_FALSE(std::filesystem::exists(dir / "x.json"));
    }
}

} // namespace
