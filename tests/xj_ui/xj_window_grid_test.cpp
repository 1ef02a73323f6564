// The roster grid of the XJ window: grouped titles for the adjustment year, widths,
// alignments, row height, and a long table that is shown without being read whole.
#include "xj_window_fixture.h"

#include "widgets/data_grid.h"
#include "widgets/grid_cell_delegate.h"
#include "widgets/paged_table_model.h"

#include <QScrollBar>

using namespace quvela;
using namespace quvela::test;

namespace {

class XjWindowGrid : public XjWindowTest
{
protected:
    widgets::DataGrid &grid() { return *window->grid(); }
    // Grid column i (0..31) is logical section i + 1; section 0 is the hidden row place.
    QString title(int column) { return grid().model()->headerData(column + 1, Qt::Horizontal).toString(); }
    std::pair<int, int> span(int column, int level)
    {
        const auto [first, last] = grid().groupedHeader()->groupSpan(column + 1, level);
        return {first - 1, last - 1};
    }
};

TEST_F(XjWindowGrid, TitlesNameTheYearBeforeTheAdjustment)
{
    struct Case
    {
        const char *year;
        const char *group; // heading over grid columns 7..15
        const char *appraisal;
    };
    const Case cases[] = {
        {"2010", "2009 年 12 月 工 资 情 况", "2009\r\n年度\r\n考核\r\n情况|6"},
        {"2024", "2023 年 12 月 工 资 情 况", "2023\r\n年度\r\n考核\r\n情况|6"},
        // A year that is not a number reads as 2010.
        {"x", "2009 年 12 月 工 资 情 况", "2009\r\n年度\r\n考核\r\n情况|6"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.year);
        setIni("Year", c.year);
        open();
        const QString group = QString::fromUtf8(c.group);
        EXPECT_EQ(title(9), group + QStringLiteral("|合计|9"));
        EXPECT_EQ(title(7), group + QStringLiteral("|职  务\r\n(技术等级)|7"));
        EXPECT_EQ(title(15), group + QStringLiteral("| |15"));
        EXPECT_EQ(title(6), QString::fromUtf8(c.appraisal));
        const auto cells = grid().groupedHeader()->currentLayout().cells();
        EXPECT_TRUE(std::any_of(cells.begin(), cells.end(), [&](const widgets::HeaderCell &cell) {
            return cell.text == group && cell.first == 7 && cell.last == 15 && cell.topRow == 0;
        }));
    }
}

TEST_F(XjWindowGrid, EveryColumnHasItsTitleWidthAndAlignment)
{
    struct Case
    {
        const char *title;
        int width;
        Qt::Alignment align;
    };
    const auto C = Qt::AlignHCenter, L = Qt::AlignLeft, R = Qt::AlignRight;
    const QString old = QStringLiteral("2009 年 12 月 工 资 情 况|");
    const Case cases[32] = {
        {"序号|甲", 28, C},
        {"姓名|1", 56, L},
        {"性别|2", 28, C},
        {"出生\r\n\r\n年月|3", 48, C},
        {"参加\r\n工作\r\n时间|4", 48, C},
        {"连续\r\n工龄\r\n推算\r\n时间|5", 48, C},
        {"2009\r\n年度\r\n考核\r\n情况|6", 48, C},
        {"@职  务\r\n(技术等级)|7", 76, C},
        {"@任职\r\n时间|8", 48, C},
        {"@合计|9", 44, R},
        {"@岗位\r\n等级|10", 44, C},
        {"@岗位\r\n工资|11", 44, R},
        {"@薪级\r\n等级|12", 28, C},
        {"@薪级\r\n工资|13", 44, R},
        {"@提高\r\n10％|14", 40, R},
        {"@ |15", 36, R},
        {"正常增加一级薪级工资后工资情况|合计|16", 44, R},
        {"正常增加一级薪级工资后工资情况|岗位\r\n等级|17", 44, C},
        {"正常增加一级薪级工资后工资情况|岗位\r\n工资|18", 44, R},
        {"正常增加一级薪级工资后工资情况|薪级\r\n等级|19", 28, C},
        {"正常增加一级薪级工资后工资情况|薪级\r\n工资|20", 44, R},
        {"正常增加一级薪级工资后工资情况|提高\r\n10％|21", 40, R},
        {"正常增加一级薪级工资后工资情况| |22", 31, R},
        {"月增加薪级工资情况|合计|23", 40, R},
        {"月增加薪级工资情况|薪级\r\n工资|24", 40, R},
        {"月增加薪级工资情况|提高\r\n10％|25", 40, R},
        {"月增加薪级工资情况| |26", 29, R},
        {"补发\r\n工资|27", 44, R},
        {"备    注|28", 72, L},
        {"控制位|职务|29", 30, C},
        {"控制位|调资否|30", 43, C},
        {"文化\r\n程度|31", 48, C},
    };
    storeRows({person(1, "张三")});
    open();
    EXPECT_TRUE(grid().isColumnHidden(0));
    ASSERT_EQ(grid().model()->columnCount(), 33);
    for (int i = 0; i < 32; ++i) {
        SCOPED_TRACE(i);
        const Case &c = cases[i];
        QString expected = QString::fromUtf8(c.title);
        if (expected.startsWith(QLatin1Char('@')))
            expected = old + expected.mid(1);
        EXPECT_EQ(title(i), expected);
        EXPECT_EQ(grid().columnWidth(i + 1), c.width);
        const auto align = grid().model()->index(0, i + 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>();
        EXPECT_EQ(align & Qt::AlignHorizontal_Mask, c.align);
    }
}

TEST_F(XjWindowGrid, NeighboursWithEqualUpperLevelsShareOneHeading)
{
    struct Case
    {
        int column, level;
        std::pair<int, int> span;
    };
    const Case cases[] = {
        {7, 0, {7, 15}},   {9, 0, {7, 15}},   {15, 0, {7, 15}},  {16, 0, {16, 22}}, {22, 0, {16, 22}},
        {23, 0, {23, 26}}, {26, 0, {23, 26}}, {29, 0, {29, 30}}, {30, 0, {29, 30}},
        // Lower levels stay per column, also where their texts agree ("合计", " ").
        {9, 1, {9, 9}},    {16, 1, {16, 16}}, {15, 1, {15, 15}}, {22, 1, {22, 22}}, {9, 2, {9, 9}},
        // Two-level titles have no group.
        {0, 0, {0, 0}},    {6, 0, {6, 6}},    {27, 0, {27, 27}}, {31, 0, {31, 31}},
    };
    open();
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.column << "/" << c.level);
        EXPECT_EQ(span(c.column, c.level), c.span);
    }
}

TEST_F(XjWindowGrid, WidthsComeFromTheStoredWidthText)
{
    const std::vector<int> usual = {28, 56, 28, 48, 48, 48, 48, 76, 48, 44, 44, 44, 28, 44, 40, 36,
                                    44, 44, 44, 28, 44, 40, 31, 40, 40, 40, 29, 44, 72, 30, 43, 48};
    struct Case
    {
        const char *stored;
        std::vector<int> widths; // of the first columns; the rest keep their usual widths
    };
    const Case cases[] = {
        {"028056028048048048048076048044044044028044040036044044044028044040031040040040029044072030043048",
         usual},
        {"100020300999010", {100, 20, 300, 999, 10, 56, 56, 56, 56, 56, 56, 56, 56, 56, 56}},
        // A short text: ten spare widths of 56 follow it.
        {"100020300", {100, 20, 300, 56, 56, 56, 56, 56, 56, 56, 56, 56, 56}},
        {"", {56, 56, 56, 56, 56, 56, 56, 56, 56, 56}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.stored);
        setIni("GridWidth", c.stored);
        open();
        for (int i = 0; i < 32; ++i) {
            const int expected = std::size_t(i) < c.widths.size() ? c.widths[std::size_t(i)] : usual[std::size_t(i)];
            EXPECT_EQ(grid().columnWidth(i + 1), expected) << "column " << i;
        }
    }
    // A broken width text is reported; the window still opens.
    setIni("GridWidth", "02805x");
    prompts.shown.clear();
    open();
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].kind, "error");
}

TEST_F(XjWindowGrid, RowsAreEighteenPixelsAndShowTheTable)
{
    xj::XjRecord r = person(3, "李四");
    r.xb = gbk::fromUtf8("女");
    r.heji1 = 2345;
    r.sftz = 1;
    storeRows({person(1, "张三"), r});
    open();
    QAbstractItemModel *model = grid().model();
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(grid().rowHeight(0), 18);
    EXPECT_EQ(grid().rowHeight(1), 18);
    EXPECT_EQ(model->index(1, 1).data().toInt(), 3);
    EXPECT_EQ(model->index(1, 2).data().toString(), QStringLiteral("李四"));
    EXPECT_EQ(model->index(1, 3).data().toString(), QStringLiteral("女"));
    EXPECT_EQ(model->index(1, 10).data().toInt(), 2345);
    EXPECT_EQ(model->index(1, 31).data().toInt(), 1);
    EXPECT_EQ(model->index(0, 3).data().toString(), QString());
    // Read-only.
    EXPECT_FALSE(model->flags(model->index(0, 2)) & Qt::ItemIsEditable);
    EXPECT_EQ(grid().editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(XjWindowGrid, HeaderIsTallEnoughForEveryTitleLine)
{
    open().resize(1200, 700);
    window->show();
    QApplication::processEvents();
    widgets::GroupedHeaderView *header = grid().groupedHeader();
    const widgets::HeaderLayout layout = header->currentLayout();
    EXPECT_EQ(layout.rowCount(), 3);
    // Each column's pieces, laid out as they are drawn (Chinese lines are taller than
    // the Latin face's metrics say), stacked, must fit the header.
    for (int i = 0; i < 32; ++i) {
        SCOPED_TRACE(i);
        QString title = grid().model()->headerData(i + 1, Qt::Horizontal).toString();
        title.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        int needed = 0;
        for (const QString &piece : title.split(QLatin1Char('|')))
            needed += header->fontMetrics()
                          .boundingRect(QRect(0, 0, 1000, 1000), Qt::AlignCenter, piece)
                          .height();
        EXPECT_GE(header->height(), needed);
    }
    // The four-line titles of columns 5 and 6 span the two upper rows.
    const widgets::HeaderCell *cell = layout.cellAt(6, 0);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->rowSpan, 2);
    EXPECT_GE(layout.rowLines()[0] + layout.rowLines()[1], 4);
}

TEST_F(XjWindowGrid, TypicalValuesFitTheirColumnsWhole)
{
    struct Case
    {
        int column;
        const char *text;
    };
    const Case cases[] = {
        {3, "1960.06"}, {3, "197110"},  {4, "1983.09"},   {6, "基本合格"}, {1, "欧阳明月"},
        {7, "高级工程师"}, {9, "12345"}, {12, "65"},       {28, "新调入人员"}, {31, "研究生"},
    };
    open();
    const QFontMetrics metrics = grid().fontMetrics();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        // The cell ends one pixel before its grid line; the text keeps its margins.
        const int room = grid().columnWidth(c.column + 1) - 1 - widgets::GridCellDelegate::kLeftMargin
                         - widgets::GridCellDelegate::kRightMargin;
        EXPECT_LE(metrics.horizontalAdvance(QString::fromUtf8(c.text)), room);
    }
}

TEST_F(XjWindowGrid, FiftyThousandRowsShowWithoutReadingThemAll)
{
    std::vector<xj::XjRecord> rows;
    rows.reserve(50000);
    for (int i = 1; i <= 50000; ++i)
        rows.push_back(person(i, "王五"));
    storeRows(rows);

    open().resize(1200, 800);
    window->show();
    QApplication::processEvents();
    widgets::PagedTableModel *model = grid().pagedModel();
    ASSERT_EQ(model->rowCount(), 50000);
    const long long firstScreen = model->rowsRead();
    EXPECT_GT(firstScreen, 0);
    EXPECT_LE(firstScreen, 2 * widgets::PagedTableModel::kPageRows);

    // Straight to the end: the last page is read, not the ones in between.
    grid().scrollToBottom();
    QApplication::processEvents();
    grid().viewport()->repaint();
    EXPECT_LE(model->rowsRead(), firstScreen + 2 * widgets::PagedTableModel::kPageRows);
    const int lastShown = grid().rowAt(grid().viewport()->height() - 1);
    EXPECT_EQ(lastShown, 49999);
    EXPECT_EQ(model->index(49999, 1).data().toInt(), 50000);
}

} // namespace
