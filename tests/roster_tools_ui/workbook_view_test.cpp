// The workbook view on real workbooks: cells as the tools read them, the sheet's layout,
// the frozen rows, reloading when the file changes, and files it cannot show.
#include "roster_tools/sheet_fixture.h"
#include "roster_tools/ui/workbook_model.h"
#include "roster_tools/ui/workbook_view.h"
#include "spreadsheet/sheet_layout.h"
#include "support/qt_application.h"
#include "support/temp_folder.h"

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

using namespace quvela;
using namespace quvela::test;

namespace {

class WorkbookViewTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ensureApplication<QApplication>(); }

    QString file(const char *name = "roster.xlsx") const
    {
        return QString::fromStdString((folder / name).string());
    }
    QString cell(int row, int column) const
    {
        return view.model()->data(view.model()->index(row - 1, column - 1)).toString();
    }

    TempFolder folder;
    roster::WorkbookView view;
};

std::vector<SheetRow> people(int count)
{
    std::vector<SheetRow> rows{{1, {{1, std::string("岗位工资变动花名册")}}}};
    for (int i = 0; i < count; ++i)
        rows.push_back({7 + i, {{1, double(i + 1)}, {2, "人员" + std::to_string(i + 1)}, {11, 680.0},
                                {8, std::string(" 2009.07 ")}, {28, 1.5}}});
    return rows;
}

TEST_F(WorkbookViewTest, CellsAsTheToolsReadThemUnderLettersAndNumbers)
{
    writeSheet(folder / "roster.xlsx", people(3));
    view.showWorkbook(file());
    EXPECT_TRUE(view.message().isEmpty());
    EXPECT_EQ(view.model()->rowCount(), 9);
    EXPECT_EQ(view.model()->columnCount(), 28);
    EXPECT_EQ(cell(7, 1), QStringLiteral("1"));
    EXPECT_EQ(cell(7, 2), QStringLiteral("人员1"));
    EXPECT_EQ(cell(7, 11), QStringLiteral("680"));
    EXPECT_EQ(cell(7, 8), QStringLiteral(" 2009.07 "));
    EXPECT_EQ(cell(9, 28), QStringLiteral("1.5"));
    EXPECT_EQ(cell(2, 2), QString());
    EXPECT_EQ(view.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("A"));
    EXPECT_EQ(view.model()->headerData(27, Qt::Horizontal).toString(), QStringLiteral("AB"));
    EXPECT_EQ(view.model()->headerData(6, Qt::Vertical).toString(), QStringLiteral("7"));
    EXPECT_FALSE(view.model()->flags(view.model()->index(6, 1)) & Qt::ItemIsEditable);

    // The original is not held open while it is shown: the spreadsheet program must be
    // able to save over it.
    int heldOpen = 0;
    for (const auto &fd : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (std::filesystem::read_symlink(fd.path(), error) == folder / "roster.xlsx")
            ++heldOpen;
    }
    EXPECT_EQ(heldOpen, 0);

    view.clear();
    EXPECT_EQ(view.model()->rowCount(), 0);
    EXPECT_TRUE(view.file().isEmpty());
    EXPECT_TRUE(view.message().isEmpty());
}

TEST_F(WorkbookViewTest, MergesWidthsHeightsAndFrozenRowsAsStored)
{
    SheetExtras extras;
    extras.merges = {{1, 1, 1, 33, "事业单位工作人员岗位工资变动花名册"}, {4, 10, 5, 11, "岗位"}};
    extras.columnWidths = {{2, 20}, {3, 4}};
    extras.rowHeights = {{1, 30}, {8, 24}};
    extras.frozenRows = 6;
    writeSheet(folder / "roster.xlsx", people(30), extras);
    view.resize(900, 600);
    view.show();
    view.showWorkbook(file());
    QApplication::processEvents();

    QTableView *sheet = view.table();
    QTableView *top = view.frozenTable();
    EXPECT_EQ(view.frozenRows(), 6);
    // The title reaches column AG although no cell past AB holds a value.
    EXPECT_EQ(view.model()->columnCount(), 33);
    EXPECT_EQ(top->columnSpan(0, 0), 33);
    EXPECT_EQ(top->rowSpan(3, 9), 2);
    EXPECT_EQ(top->columnSpan(3, 9), 2);
    // A width of 20 characters is 145 pixels, as the spreadsheet program shows it.
    EXPECT_EQ(sheet->columnWidth(1), 145);
    EXPECT_EQ(top->columnWidth(1), 145);
    EXPECT_EQ(sheet->columnWidth(2), 33);
    EXPECT_EQ(sheet->columnWidth(0), 64);
    EXPECT_EQ(top->rowHeight(0), 40);
    EXPECT_EQ(sheet->rowHeight(7), 32);
    EXPECT_EQ(sheet->rowHeight(8), 20);

    // The frozen rows stay above whatever the sheet below scrolls to.
    EXPECT_TRUE(top->isVisible());
    for (int row = 0; row < 6; ++row)
        EXPECT_TRUE(sheet->isRowHidden(row)) << row;
    EXPECT_FALSE(sheet->isRowHidden(6));
    EXPECT_FALSE(sheet->horizontalHeader()->isVisible());
    sheet->scrollToBottom();
    QApplication::processEvents();
    EXPECT_EQ(top->rowAt(1), 0);
    sheet->horizontalScrollBar()->setValue(200);
    EXPECT_EQ(top->horizontalScrollBar()->value(), sheet->horizontalScrollBar()->value());

    // A sheet without frozen rows shows its letters on the sheet itself.
    writeSheet(folder / "plain.xlsx", people(3));
    view.showWorkbook(file("plain.xlsx"));
    QApplication::processEvents();
    EXPECT_EQ(view.frozenRows(), 0);
    EXPECT_FALSE(top->isVisible());
    EXPECT_TRUE(sheet->horizontalHeader()->isVisible());
    EXPECT_FALSE(sheet->isRowHidden(0));
}

TEST_F(WorkbookViewTest, ASavedChangeIsShownKeepingTheScrollPosition)
{
    writeSheet(folder / "roster.xlsx", people(400));
    view.resize(600, 400);
    view.show();
    view.showWorkbook(file());
    QApplication::processEvents();
    view.table()->verticalScrollBar()->setValue(150);
    const int before = view.table()->verticalScrollBar()->value();
    ASSERT_GT(before, 0);

    QSignalSpy reloaded(&view, &roster::WorkbookView::reloaded);
    auto changed = people(400);
    changed[100].cells[2] = std::string("改过的名字");
    // Saved as a spreadsheet program saves: a new file renamed over the old one.
    writeSheet(folder / "saving.xlsx", changed);
    std::filesystem::rename(folder / "saving.xlsx", folder / "roster.xlsx");
    ASSERT_TRUE(reloaded.wait(5000));
    EXPECT_EQ(cell(106, 2), QStringLiteral("改过的名字"));
    EXPECT_EQ(view.table()->verticalScrollBar()->value(), before);

    // And again: the view still follows the file after the rename.
    changed[100].cells[2] = std::string("又改了");
    writeSheet(folder / "saving.xlsx", changed);
    std::filesystem::rename(folder / "saving.xlsx", folder / "roster.xlsx");
    ASSERT_TRUE(reloaded.wait(5000));
    EXPECT_EQ(cell(106, 2), QStringLiteral("又改了"));
}

TEST_F(WorkbookViewTest, FilesItCannotShowGiveTheReadersMessage)
{
    std::ofstream(folder / "text.xlsx") << "not a workbook";
    std::ofstream(folder / "empty.xlsx");
    for (const char *name : {"text.xlsx", "empty.xlsx", "missing.xlsx"}) {
        view.showWorkbook(file(name));
        EXPECT_FALSE(view.message().isEmpty()) << name;
        EXPECT_EQ(view.model()->rowCount(), 0) << name;
    }
    // A readable workbook afterwards shows as usual.
    writeSheet(folder / "roster.xlsx", people(1));
    view.showWorkbook(file());
    EXPECT_TRUE(view.message().isEmpty());
    EXPECT_EQ(cell(7, 2), QStringLiteral("人员1"));
}

// An .xls roster written by xlwt, an independent writer: a merged title, sized columns
// and rows, the heading rows frozen.
TEST_F(WorkbookViewTest, AnXlsRosterKeepsItsLayoutToo)
{
    const std::filesystem::path xls = folder / "roster.xls";
    const std::string script =
        "import sys, xlwt\n"
        "b = xlwt.Workbook(encoding='utf-8')\n"
        "s = b.add_sheet('花名册')\n"
        "s.write_merge(0, 0, 0, 32, '事业单位工作人员岗位工资变动花名册')\n"
        "s.col(1).width = 20 * 256\n"
        "s.row(0).height_mismatch = True\n"
        "s.row(0).height = 600\n"
        "s.panes_frozen = True\n"
        "s.horz_split_pos = 6\n"
        "s.vert_split_pos = 0\n"
        "for r in range(6, 40):\n"
        "    s.write(r, 0, r - 5)\n"
        "    s.write(r, 1, '人员%d' % (r - 5))\n"
        "b.save(sys.argv[1])\n";
    const std::filesystem::path py = folder / "make_xls.py";
    std::ofstream(py) << script;
    ASSERT_EQ(std::system(("/usr/bin/python3 '" + py.string() + "' '" + xls.string() + "'").c_str()), 0);

    view.resize(900, 600);
    view.show();
    view.showWorkbook(file("roster.xls"));
    QApplication::processEvents();
    ASSERT_TRUE(view.message().isEmpty()) << view.message().toStdString();
    EXPECT_EQ(cell(7, 2), QStringLiteral("人员1"));
    EXPECT_EQ(view.frozenRows(), 6);
    EXPECT_EQ(view.model()->columnCount(), 33);
    EXPECT_EQ(view.frozenTable()->columnSpan(0, 0), 33);
    EXPECT_EQ(view.table()->columnWidth(1), 140);
    EXPECT_EQ(view.frozenTable()->rowHeight(0), 40);
}

TEST(SheetLayout, FilesWithoutALayoutGiveTheDefaults)
{
    TempFolder folder;
    std::ofstream(folder / "text.xlsx") << "PK not really";
    for (const char *name : {"text.xlsx", "missing.xlsx"}) {
        const spreadsheet::SheetLayout layout = spreadsheet::readSheetLayout(folder / name);
        EXPECT_TRUE(layout.merges.empty());
        EXPECT_EQ(layout.frozenRows, 0);
        EXPECT_EQ(layout.defaultColumnWidth, 64);
        EXPECT_EQ(layout.defaultRowHeight, 20);
    }
}

} // namespace
