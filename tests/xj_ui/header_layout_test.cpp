// Where the pieces of grouped titles go: merging of equal upper levels of neighbours, short titles reaching up, and the lines each header row must hold.
#include "widgets/header_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using quvela::widgets::HeaderCell;
using quvela::widgets::HeaderLayout;

namespace {

// "text@first-last/top+span" per cell, in layout order.
std::vector<std::string> describe(const HeaderLayout &layout)
{
    std::vector<std::string> out;
    for (const HeaderCell &c : layout.cells())
        out.push_back(c.text.toStdString() + "@" + std::to_string(c.first) + "-" + std::to_string(c.last) + "/"
                      + std::to_string(c.topRow) + "+" + std::to_string(c.rowSpan));
    return out;
}

QStringList titles(std::initializer_list<const char *> list)
{
    QStringList out;
    for (const char *t : list)
        out << QString::fromUtf8(t);
    return out;
}

TEST(HeaderLayout, PlacesEveryPiece)
{
    struct Case
    {
        const char *name;
        QStringList titles;
        std::vector<std::string> cells;
        std::vector<int> rowLines;
    };
    const Case cases[] = {
        {"neighbours share every upper level they agree on down to it, never the lowest",
         titles({"G|a|1", "G|a|1", "G|b|3"}),
         {"G@0-2/0+1", "a@0-1/1+1", "b@2-2/1+1", "1@0-0/2+1", "1@1-1/2+1", "3@2-2/2+1"},
         {1, 1, 1}},
        {"a middle level is shared only under the same group",
         titles({"G|a|1", "H|a|2"}),
         {"G@0-0/0+1", "H@1-1/0+1", "a@0-0/1+1", "a@1-1/1+1", "1@0-0/2+1", "2@1-1/2+1"},
         {1, 1, 1}},
        {"equal groups apart stay apart",
         titles({"G|x|1", "H|y|2", "G|z|3"}),
         {"G@0-0/0+1", "H@1-1/0+1", "G@2-2/0+1", "x@0-0/1+1", "y@1-1/1+1", "z@2-2/1+1", "1@0-0/2+1", "2@1-1/2+1",
          "3@2-2/2+1"},
         {1, 1, 1}},
        {"a two-level title reaches up over the group row",
         titles({"序号|甲", "G|a|1", "G|b|2"}),
         {"序号@0-0/0+2", "G@1-2/0+1", "甲@0-0/2+1", "a@1-1/1+1", "b@2-2/1+1", "1@1-1/2+1", "2@2-2/2+1"},
         {1, 1, 1}},
        {"line breaks size the rows; a tall spanning title adds to its top row",
         titles({"连续\r\n工龄\r\n推算\r\n时间|5", "G|岗位\r\n等级|10"}),
         {"连续\n工龄\n推算\n时间@0-0/0+2", "G@1-1/0+1", "5@0-0/2+1", "岗位\n等级@1-1/1+1", "10@1-1/2+1"},
         {2, 2, 1}},
        {"titles of different depth do not merge", titles({"G|x", "G|x|1"}),
         {"G@0-0/0+2", "G@1-1/0+1", "x@0-0/2+1", "x@1-1/1+1", "1@1-1/2+1"}, {1, 1, 1}},
        {"no titles", {}, {}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const HeaderLayout layout = HeaderLayout::build(c.titles);
        EXPECT_EQ(describe(layout), c.cells);
        EXPECT_EQ(layout.rowLines(), c.rowLines);
    }
}

TEST(HeaderLayout, FindsTheCellUnderAColumnAndRow)
{
    const HeaderLayout layout = HeaderLayout::build(titles({"序号|甲", "G|a|1", "G|b|2"}));
    struct Case
    {
        int column, row;
        const char *text; // nullptr: none
    };
    const Case cases[] = {{0, 0, "序号"}, {0, 1, "序号"}, {0, 2, "甲"}, {2, 0, "G"},
                          {2, 1, "b"},    {3, 0, nullptr}, {1, 3, nullptr}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.column << "/" << c.row);
        const HeaderCell *cell = layout.cellAt(c.column, c.row);
        if (!c.text) {
            EXPECT_EQ(cell, nullptr);
            continue;
        }
        ASSERT_TRUE(cell);
        EXPECT_EQ(cell->text, QString::fromUtf8(c.text));
    }
}

} // namespace
