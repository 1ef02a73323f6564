#include "common/column_map.h"
#include "xj/xj_column_settings.h"

#include <gtest/gtest.h>

using namespace quvela;
using namespace quvela::xj;

namespace {

DialogColumns defaultColumns()
{
    DialogColumns v{};
    for (int k = 0; k < kColumnMapFields; ++k)
        v[std::size_t(k)] = k;
    return v;
}

} // namespace

TEST(XjColumnSettings, TwoDigits)
{
    const std::pair<int, const char *> cases[] = {{0, "00"}, {1, "01"}, {9, "09"}, {10, "10"}, {99, "99"}};
    for (auto [n, text] : cases)
        EXPECT_EQ(TwoDigits(n), text) << n;
}

TEST(XjColumnSettings, TheDialogShowsEachPieceLessOne)
{
    struct Case
    {
        const char *map;
        DialogColumns values;
        const char *error;
    };
    DialogColumns swapped = defaultColumns();
    swapped[1] = 2, swapped[2] = 1;
    DialogColumns brokenAt3 = defaultColumns();
    for (std::size_t k = 2; k < brokenAt3.size(); ++k)
        brokenAt3[k] = 0;
    DialogColumns shortMap{};
    shortMap[0] = 98, shortMap[1] = 8;
    const Case cases[] = {
        {kDefaultXjColumnMap.data(), defaultColumns(), nullptr},
        {"010302040506070809101112131415161718192021222324252627282930313233", swapped, nullptr},
        {"0102x304050607080910111213141516171819202122232425262728293031323334", brokenAt3,
         "'x3' is not a valid integer value"},
        {"9909", shortMap, nullptr},
    };
    for (const Case &c : cases) {
        const DialogColumnsRead read = dialogColumnsFromMap(c.map);
        EXPECT_EQ(read.values, c.values) << c.map;
        if (c.error) {
            ASSERT_TRUE(read.error) << c.map;
            EXPECT_EQ(*read.error, c.error);
        } else {
            EXPECT_FALSE(read.error) << c.map;
        }
    }
}

TEST(XjColumnSettings, TheStoredMapHasTwoDigitsPerField)
{
    EXPECT_EQ(columnMapFromDialog(defaultColumns()),
              "0102030405060708091011121314151617181920212223242526272829303132");
    DialogColumns v = defaultColumns();
    v[0] = 8, v[1] = 9, v[31] = 98;
    const GbkString map = columnMapFromDialog(v);
    EXPECT_EQ(map.size(), 64u);
    EXPECT_EQ(map.substr(0, 4), "0910");
    EXPECT_EQ(map.substr(62), "99");
    // What the dialog stores, the import decodes to the same columns.
    const std::vector<int> columns = DecodeColumnMap(map, kXjColumnFields);
    EXPECT_EQ(columns[0], 9);
    EXPECT_EQ(columns[1], 10);
    EXPECT_EQ(columns[31], 99);
}

TEST(XjColumnSettings, ClashesAreReportedOncePerFieldWithTheNearestLaterField)
{
    struct Case
    {
        std::vector<std::pair<int, int>> setFieldToColumn; // field (1-based), dialog value
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {{}, {}},
        {{{8, 40}, {9, 40}, {30, 40}}, {"第 8 项与第 9 项列号重复！", "第 9 项与第 30 项列号重复！"}},
        {{{1, 31}}, {"第 1 项与第 32 项列号重复！"}},
        {{{2, 0}, {3, 0}}, {"第 1 项与第 2 项列号重复！", "第 2 项与第 3 项列号重复！"}},
        {{{5, 6}}, {"第 5 项与第 7 项列号重复！"}},
    };
    for (const Case &c : cases) {
        DialogColumns v = defaultColumns();
        for (auto [field, value] : c.setFieldToColumn)
            v[std::size_t(field - 1)] = value;
        std::vector<std::string> messages;
        for (const ColumnClash &clash : findColumnClashes(columnMapFromDialog(v)))
            messages.push_back(gbk::toUtf8(clashMessage(clash)));
        EXPECT_EQ(messages, c.messages);
    }
}
