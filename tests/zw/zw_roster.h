// Small ZW rosters for the tests: one person per row in the columns of the default ZW
// column map (fields 16 to 22 in columns Q to W, 23 to 31 in Y to AG), and the form of
// a row filled from an open session.
#pragma once

#include "common/column_map.h"
#include "common/settings_records.h"
#include "roster_tools/sheet_fixture.h"
#include "spreadsheet/spreadsheet_session.h"
#include "support/page_labels.h"
#include "support/temp_folder.h"
#include "zw/zw_fields.h"
#include "zw/zw_form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quvela::test {

namespace zwf = quvela::zw::field;

// The worksheet column of a field under the default map.
inline int zwColumn(int field)
{
    return DecodeColumnMap(GbkString(kDefaultZwColumnMap), kZwColumnFields).at(std::size_t(field - 1));
}

// Cells by field, placed in their columns.
inline Cells zwCells(const std::vector<std::pair<int, Cell>> &fields)
{
    Cells c;
    for (const auto &[field, value] : fields)
        c[zwColumn(field)] = value;
    return c;
}

// The person of the worked example: 办事员 to 科员, post grade 7 (590) to 8 (640), the
// salary grade kept at 435, 10% part 59 to 64, 55 a month more from the month after 2009-07.
inline std::vector<std::pair<int, Cell>> examplePerson()
{
    return {
        {zwf::Number, 1.0},
        {zwf::Name, std::string("林晓明")},
        {zwf::Sex, std::string("男")},
        {zwf::Birth, std::string("197805")},
        {zwf::WorkStart, 199807.0},
        {zwf::ServiceStart, std::string(" 199807 ")},
        {zwf::Post, std::string("科员")},
        {zwf::PostSince, 200907.0},
        {zwf::OldTotal, 1084.0},
        {zwf::OldGrade, std::string("7")},
        {zwf::OldPostWage, 590.0},
        {zwf::OldStep, 12.0},
        {zwf::OldStepWage, 435.0},
        {zwf::OldTenPercent, 59.0},
        {zwf::NewTotal, 1139.0},
        {zwf::NewGrade, std::string("8")},
        {zwf::NewPostWage, 640.0},
        {zwf::NewStep, 12.0},
        {zwf::NewStepWage, 435.0},
        {zwf::NewTenPercent, 64.0},
        {zwf::Increase, 55.0},
        {zwf::PrintFlag, 1.0},
        {zwf::Education, std::string("大学")},
        {zwf::Reason, std::string("职务晋升")},
        {zwf::PreviousPost, std::string("办事员")},
        {zwf::PreviousPostSince, std::string("2005.07")},
    };
}

inline std::vector<std::pair<int, Cell>> with(std::vector<std::pair<int, Cell>> fields,
                                              const std::vector<std::pair<int, Cell>> &changes)
{
    for (const auto &change : changes) {
        bool found = false;
        for (auto &f : fields)
            if (f.first == change.first) {
                f.second = change.second;
                found = true;
            }
        if (!found)
            fields.push_back(change);
    }
    return fields;
}

class ZwRosterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        settings = TZwcs{};
        settings.FileNo = gbk::fromUtf8("某人社(2007)71号");
        settings.Issuer = gbk::fromUtf8("vodeve工资处制");
        settings.PrintDate = QDateTime(QDate(2010, 4, 9), QTime(10, 30));
        settings.ColumnMap = GbkString(kDefaultZwColumnMap);
        zwCol = DecodeColumnMap(settings.ColumnMap, kZwColumnFields);
    }

    // Writes the rows (row number, fields), then opens the workbook.
    void writeAndOpen(const std::vector<std::pair<int, std::vector<std::pair<int, Cell>>>> &people)
    {
        std::vector<SheetRow> rows{{1, {{1, std::string("事业单位工作人员岗位工资变动花名册")}}}};
        for (const auto &[row, fields] : people)
            rows.push_back({row, zwCells(fields)});
        writeSheet(workbook(), rows);
        sheet.open(workbook());
    }

    report::RenderedPage page(int row)
    {
        zw::TZwPrnForm form(sheet, row, zwCol, [this] { return width; }, settings);
        return form.run();
    }

    // A label's text of a page, UTF-8.
    static std::string text(const report::RenderedPage &p, const std::string &name) { return textOf(p, name); }
    static std::string wording(const report::RenderedPage &p)
    {
        return text(p, "y1") + text(p, "y2") + text(p, "y3") + text(p, "y4");
    }

    std::filesystem::path workbook() const { return folder / "zw.xlsx"; }

    TempFolder folder;
    TZwcs settings;
    std::vector<int> zwCol;
    GbkString width = "78";
    spreadsheet::SpreadsheetSession sheet;
};

} // namespace quvela::test
