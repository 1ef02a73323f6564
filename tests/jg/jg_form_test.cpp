// The JG form as a whole: the cells filled from the row and the settings, the label moves
// as the JSON dump shows them (and gone again on the next form), a second fill giving the
// same page, the wording lines at the width of the box, and the errors that stop a form.
#include "common/errors.h"
#include "jg/jg_roster.h"
#include "report/json_dump.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <map>

using namespace quvela;
using namespace quvela::test;

namespace {

namespace col = quvela::jg::column;

constexpr int kDuty = 7, kWorker = 8, kLongWording = 9, kTextAmount = 10, kTextNewAmount = 11;

class JgForm : public JgRosterTest
{
protected:
    void SetUp() override
    {
        writeAndOpen({
            {kDuty, dutyChange()},
            {kWorker, with(dutyChange(), {{col::OldAmount, 155.0}, {col::OldPost, std::string("中级工")},
                                          {col::NewAmount, 195.0}, {col::NewPost, std::string("高级工")}})},
            {kLongWording, with(dutyChange(), {{col::OldPost, std::string("vodeve市林业局森林资源管理科副科长")},
                                               {col::NewPost, std::string("vodeve市林业局办公室主任兼信息中心主任")}})},
            {kTextAmount, with(dutyChange(), {{col::OldAmount, std::string("一千零八十")}})},
            {kTextNewAmount, with(dutyChange(), {{col::NewAmount, std::string("1410元")}})},
        });
    }

    // The labels of the dumped page by name, as the golden files see them.
    static std::map<std::string, QJsonObject> dumpedLabels(const report::RenderedPage &p)
    {
        const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(report::pageJson(p)));
        std::map<std::string, QJsonObject> labels;
        for (const QJsonValue &v : doc.object().value(QStringLiteral("labels")).toArray()) {
            const QJsonObject o = v.toObject();
            const std::string name = o.value(QStringLiteral("name")).toString().toStdString();
            if (!name.empty())
                labels[name] = o;
        }
        return labels;
    }
};

TEST_F(JgForm, CellsFromTheRowAndTheRecord)
{
    const report::RenderedPage p = page(kDuty);
    const std::pair<const char *, const char *> expected[] = {
        {"l_xm", "韩志刚"},    {"l_xb", "男"},        {"l_whcd", "大学"},         {"l_csny", "1968.07"},
        {"l_gzny", "1989.07"}, {"l_tsny", "1989.07"}, {"lb_bdyy", "职务变动"},    {"lb_ndkh", "2009"},
        {"zw0", "处长"},       {"zw1", "副处长"},     {"zw2", "处长"},            {"l_ny1", "2005.03"},
        {"l_ny2", "2009.12"},  {"l_xj1", "16-3"},     {"l_xj2", "15-2"},          {"m_xj1", "582"},
        {"m_xj2", "642"},      {"l_ph1", "1662"},     {"l_ph2", "2052"},          {"Lb_year", "2010 年 3 月 5 日"},
        {"lb_area", "vodeve工资处制"},
    };
    for (const auto &[name, text] : expected)
        EXPECT_EQ(textOf(p, name), text) << name;
    EXPECT_TRUE(labelOf(p, "lb_bdyy").bold);
}

TEST_F(JgForm, FormOfGovernmentStaff)
{
    const auto labels = dumpedLabels(page(kDuty));
    // four wording lines, the first indented; no "级" after the grade cells
    EXPECT_NEAR(labels.at("y1").value(QStringLiteral("x_mm")).toDouble(), 15 + 26.5, 1e-9);
    EXPECT_NEAR(labels.at("y4").value(QStringLiteral("x_mm")).toDouble(), 15 + 19.1, 1e-9);
    EXPECT_NEAR(labels.at("Lb_year").value(QStringLiteral("y_mm")).toDouble(), 18 + 13.5 + 177.0, 1e-9);
    const report::RenderedPage p = page(kDuty);
    for (const report::ReportLabel &l : p.labels)
        EXPECT_NE(gbk::toUtf8(l.text), "级") << "at " << l.x << ", " << l.y;
}

TEST_F(JgForm, WorkerMovesInTheDumpAndNotOnTheNextForm)
{
    const auto worker = dumpedLabels(page(kWorker));
    for (const char *name : {"l_gw1", "m_gw1", "l_xj1", "m_xj1", "l_ph1", "l_gw2", "m_gw2", "l_xj2", "m_xj2", "l_ph2"})
        EXPECT_NEAR(worker.at(name).value(QStringLiteral("x_mm")).toDouble(), 15 + 143.9, 1e-9) << name;
    EXPECT_EQ(worker.at("l_gw1").value(QStringLiteral("align")).toString(), QStringLiteral("center"));
    EXPECT_TRUE(worker.at("l_gw2").value(QStringLiteral("auto_width")).toBool());
    EXPECT_EQ(worker.at("l_gw2").value(QStringLiteral("text")).toString(), QStringLiteral("高级工"));
    EXPECT_EQ(worker.at("m_gw2").value(QStringLiteral("align")).toString(), QStringLiteral("right"));

    // the next form of the run starts from the design layout again
    const auto duty = dumpedLabels(page(kDuty));
    for (const char *name : {"l_gw1", "m_gw1", "l_xj1", "m_xj1", "l_ph1", "l_gw2", "m_gw2", "l_xj2", "m_xj2", "l_ph2"}) {
        EXPECT_NEAR(duty.at(name).value(QStringLiteral("x_mm")).toDouble(), 15 + 48.2, 1e-9) << name;
        EXPECT_EQ(duty.at(name).value(QStringLiteral("align")).toString(), QStringLiteral("right")) << name;
        EXPECT_FALSE(duty.at(name).value(QStringLiteral("auto_width")).toBool()) << name;
    }
}

TEST_F(JgForm, SecondFillGivesTheSamePage)
{
    for (int row : {kDuty, kWorker}) {
        jg::TJgPrnForm form(sheet, row, [this] { return widthText; }, settings);
        const std::string first = report::pageJson(form.run());
        EXPECT_EQ(report::pageJson(form.run()), first) << row;
    }
}

TEST_F(JgForm, WordingLinesAtTheWidthOfTheBox)
{
    widthText = "1000";
    const std::string whole = textOf(page(kLongWording), "y1");
    const GbkString wholeGbk = gbk::fromUtf8(whole);
    ASSERT_GT(wholeGbk.size(), 74u + 78 + 78);

    widthText = "78";
    const report::RenderedPage p = page(kLongWording);
    const std::size_t len[] = {labelOf(p, "y1").text.size(), labelOf(p, "y2").text.size(),
                               labelOf(p, "y3").text.size(), labelOf(p, "y4").text.size()};
    EXPECT_GE(len[0], 73u);
    EXPECT_LE(len[0], 74u);
    EXPECT_GE(len[1], 77u);
    EXPECT_LE(len[1], 78u);
    EXPECT_GE(len[2], 77u);
    EXPECT_LE(len[2], 78u);
    EXPECT_GT(len[3], 0u);
    EXPECT_EQ(wordingOf(p), whole);

    // the box is read at every fill, not when the form is made
    jg::TJgPrnForm form(sheet, kDuty, [this] { return widthText; }, settings);
    widthText = "0";
    const report::RenderedPage narrow = form.run();
    EXPECT_EQ(textOf(narrow, "y1"), "");
    EXPECT_EQ(textOf(narrow, "y3"), "");
    EXPECT_EQ(textOf(narrow, "y4"), wordingOf(page(kDuty)));
}

TEST_F(JgForm, ErrorsStopTheForm)
{
    struct Bad
    {
        const char *name;
        int row;
        const char *width;
        const char *quoted; // the text the message quotes
    };
    const Bad bad[] = {
        {"old_amount_in_words", kTextAmount, "78", "'一千零八十'"},
        {"new_amount_with_unit", kTextNewAmount, "78", "'1410元'"},
        {"empty_width", kDuty, "", "''"},
        {"width_with_letters", kDuty, "7a", "'7a'"},
    };
    for (const Bad &b : bad) {
        SCOPED_TRACE(b.name);
        widthText = b.width;
        try {
            page(b.row);
            ADD_FAILURE() << "the form was made";
        } catch (const ConversionError &e) {
            EXPECT_EQ(gbk::toUtf8(e.message()), std::string(b.quoted) + " is not a valid integer value");
        }
    }
}

} // namespace
