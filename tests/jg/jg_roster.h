// Small JG rosters for the tests: heading rows 1 to 6, one person per row below, in the
// fixed columns of the JG tool, and the form of a row filled from an open session.
#pragma once

#include "common/settings_records.h"
#include "jg/jg_form.h"
#include "report/rendered_page.h"
#include "spreadsheet/spreadsheet_session.h"
#include "support/page_labels.h"
#include "support/temp_folder.h"
#include "support/xlsx_rows.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace quvela::test {

namespace jgc = quvela::jg::column;

// A section member promoted to section head: leading-post duty wage 1080 to 1410, rank
// step and rank wage moving with it.
inline Cells dutyChange()
{
    Cells c;
    c[1] = 1.0;
    c[jgc::Name] = std::string("韩志刚");
    c[jgc::Sex] = std::string("男");
    c[jgc::Birth] = std::string("196807");
    c[jgc::WorkStart] = 198907.0;
    c[jgc::ServiceStart] = std::string("1989.07");
    c[jgc::Post] = std::string("处长");
    c[jgc::NewPostSince] = 200912.0;
    c[jgc::OldTotal] = 1662.0;
    c[jgc::OldPost] = std::string("副处长");
    c[jgc::OldAmount] = 1080.0;
    c[jgc::OldStep] = std::string("16-3");
    c[jgc::OldRankWage] = 582.0;
    c[jgc::NewTotal] = 2052.0;
    c[jgc::NewPost] = std::string("处长");
    c[jgc::NewAmount] = 1410.0;
    c[jgc::NewStep] = std::string("15-2");
    c[jgc::NewRankWage] = 642.0;
    c[jgc::Increase] = 390.0;
    c[jgc::PrintFlag] = 1.0;
    c[jgc::Education] = std::string("大学");
    c[jgc::OldPostSince] = std::string("200503");
    return c;
}

// The same row with some cells replaced (a monostate empties a cell).
inline Cells with(Cells base, const Cells &changes)
{
    for (const auto &[column, cell] : changes)
        base[column] = cell;
    return base;
}

inline void writeJgRoster(const std::filesystem::path &file, const std::vector<SheetRow> &rows)
{
    writeRosterBook(file, {"职务变动", "机关工作人员职务工资变动花名册", {{2, "姓名"}}, 28}, rows);
}

inline TJgcs jgSettings()
{
    TJgcs s;
    s.FileNo = gbk::fromUtf8("zar(2007)71号");
    s.PrintDate = QDateTime(QDate(2010, 3, 5), QTime(9, 30));
    s.Issuer = gbk::fromUtf8("vodeve工资处制");
    s.OpinionWidth = 78;
    return s;
}

// A roster written once and open for reading, as a print run holds it.
class JgRosterTest : public ::testing::Test
{
protected:
    TempFolder dir;
    spreadsheet::SpreadsheetSession sheet;
    TJgcs settings = jgSettings();
    GbkString widthText = "78";

    void writeAndOpen(const std::vector<SheetRow> &rows)
    {
        writeJgRoster(dir / "jg.xlsx", rows);
        sheet.open(dir / "jg.xlsx");
        sheet.bindWorkbook();
        sheet.bindFirstWorksheet();
    }

    report::RenderedPage page(int row)
    {
        jg::TJgPrnForm form(sheet, row, [this] { return widthText; }, settings);
        return form.run();
    }
};

// The whole wording as the four lines hold it.
inline std::string wordingOf(const report::RenderedPage &page)
{
    return textOf(page, "y1") + textOf(page, "y2") + textOf(page, "y3") + textOf(page, "y4");
}

} // namespace quvela::test
