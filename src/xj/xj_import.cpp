#include "xj/xj_import.h"

#include "common/column_map.h"
#include "common/errors.h"
#include "common/pub_func.h"
#include "common/xj_settings.h"
#include "spreadsheet/spreadsheet_session.h"
#include "xj/roster_session.h"
#include "xj/xj_columns.h"
#include "xj/xj_table.h"
#include "xj/worksheet_rows.h"

namespace quvela::xj {
namespace {

enum class Kind { Integer, YearMonth, Text };

struct Rule
{
    int field; // table column, 1-based
    Kind kind;
    std::size_t limit; // bytes, for texts and year-months
    const char *text;  // the label of an integer, the message of a text
};

// The order in which a row is filled decides which fault is reported first.
constexpr Rule kRules[] = {
    {1, Kind::Integer, 0, "序号"},
    {2, Kind::Text, 8, "姓名最长4个汉字！"},
    {3, Kind::Text, 2, "性别只能是1个汉字：男或女！"},
    {4, Kind::YearMonth, 7, nullptr},
    {5, Kind::YearMonth, 7, nullptr},
    {6, Kind::YearMonth, 7, nullptr},
    {9, Kind::YearMonth, 7, nullptr},
    {7, Kind::Text, 10, "年度考核最长5个汉字！"},
    {8, Kind::Text, 30, "职务最长15个汉字！"},
    {11, Kind::Text, 16, "岗位等级最长8个汉字！"},
    {18, Kind::Text, 16, "岗位等级最长8个汉字！"},
    {10, Kind::Integer, 0, "合计"},
    {12, Kind::Integer, 0, "岗位工资"},
    {13, Kind::Integer, 0, "薪级等级"},
    {14, Kind::Integer, 0, "薪级工资"},
    {15, Kind::Integer, 0, "10%工资"},
    {16, Kind::Integer, 0, "其它工资"},
    {17, Kind::Integer, 0, "合计"},
    {19, Kind::Integer, 0, "岗位工资"},
    {20, Kind::Integer, 0, "薪级等级"},
    {21, Kind::Integer, 0, "薪级工资"},
    {22, Kind::Integer, 0, "10%工资"},
    {23, Kind::Integer, 0, "其它工资"},
    {24, Kind::Integer, 0, "增资合计"},
    {25, Kind::Integer, 0, "薪级增资"},
    {26, Kind::Integer, 0, "10%增资"},
    {27, Kind::Integer, 0, "其它增资"},
    {28, Kind::Integer, 0, "补发工资"},
    {29, Kind::Text, 16, "备注最长8个汉字！"},
    {30, Kind::Integer, 0, "职务类别"},
    {31, Kind::Integer, 0, "是否调资"},
    {32, Kind::Text, 10, "文化程度最长5个汉字！"},
};
static_assert(std::size(kRules) == kXjColumns.size());

const GbkString &caption()
{
    static const GbkString text = gbk::fromUtf8("薪级调整");
    return text;
}

// A whole number below 7; a box that does not hold a whole number passes.
bool belowFirstDataRow(std::string_view text)
{
    int32_t value = 0;
    return TryStrToInt(text, value) && value < 7;
}

} // namespace

std::optional<GbkString> readRosterRow(const spreadsheet::SpreadsheetSession &sheet, int row,
                                       const std::vector<int> &columns, XjRecord &record)
{
    for (const Rule &rule : kRules) {
        const XjColumn &column = kXjColumns[static_cast<std::size_t>(rule.field - 1)];
        const GbkString text = sheet.readCellText(row, columns.at(static_cast<std::size_t>(rule.field - 1)));
        const std::string_view trimmed = gbk::trimmed(text);
        switch (rule.kind) {
        case Kind::Integer: {
            int32_t value = 0;
            // Leading blanks pass, trailing ones do not: the conversion of the time
            // allowed only the former.
            if (!trimmed.empty() && !TryStrToInt(text, value))
                return text + "," + gbk::fromUtf8(rule.text) + gbk::fromUtf8("必须是数字！");
            record.*column.integer = value;
            break;
        }
        case Kind::YearMonth:
        case Kind::Text:
            if (trimmed.size() > rule.limit)
                return text + ","
                       + gbk::fromUtf8(rule.kind == Kind::Text
                                           ? rule.text
                                           : "年月格式:yyyymm或yyyy.mm, 有无分隔符均可，分隔符长度只能一位");
            // Stored as the cell holds it, surrounding blanks included.
            record.*column.text = trimmed.empty() ? GbkString() : text;
            break;
        }
    }
    return std::nullopt;
}

ImportResult importRoster(Prompts &prompts, IniFile &ini, const TXtcs &settings, std::string_view startText,
                          std::string_view endText, XjTable &table)
{
    ImportResult result;
    if (belowFirstDataRow(startText)) {
        prompts.message(gbk::fromUtf8("开始行号不能小于7 ！"), caption(), MessageIcon::Error);
        result.focus = RangeBox::Start;
    }
    if (belowFirstDataRow(endText)) {
        prompts.message(gbk::fromUtf8("开始行号不能小于7 ！"), caption(), MessageIcon::Error);
        result.focus = RangeBox::End;
    }
    if (result.focus != RangeBox::None)
        return result;

    try {
        if (prompts.askYesNo(gbk::fromUtf8("读入Excel表时将清除上表所有显示调资数据？\n\n"
                                           "是－清除上表数据并从Excel表读入调资数据，否－返回"),
                             caption(), MessageIcon::Information)
            != Answer::Yes)
            return result;
        const GbkString file = prompts.chooseOpenFile({}, settings.ProgramDir);
        RememberWorkbook(ini, file);

        spreadsheet::SpreadsheetSession sheet;
        if (!openRosterWorkbook(prompts, sheet, file))
            return result;

        // From here the table holds exactly the rows stored so far, whatever stops the
        // reading: one transaction, kept on every way out.
        std::optional<GbkString> badCell;
        std::optional<GbkString> failure;
        {
            XjTable::Transaction transaction(table, XjTable::Transaction::OnExit::Commit);
            table.clear();
            std::unique_ptr<WaitWindow> wait;
            try {
                const std::vector<int> columns = DecodeColumnMap(settings.ColumnMap, kXjColumnFields);
                wait = prompts.showWait(gbk::fromUtf8("正在读入数据，请稍等......"));
                const int32_t first = StrToInt(startText);
                const int32_t last = lastRowOfRange(StrToInt(endText), sheet.lastRow());
                for (int32_t row = first; row <= last && !badCell; ++row) {
                    if (gbk::trimmed(sheet.readCellText(row, columns[0])).empty()
                        || gbk::trimmed(sheet.readCellText(row, columns[1])).empty())
                        continue;
                    XjRecord record;
                    badCell = readRosterRow(sheet, row, columns, record);
                    if (!badCell) {
                        table.append(record);
                        ++result.rowsStored;
                    }
                }
            } catch (const QuvelaError &e) {
                failure = e.message();
            } catch (const std::exception &e) {
                failure = gbk::fromUtf8(e.what());
            }
            wait.reset();
            sheet.end();
            transaction.commit();
        }
        if (badCell)
            prompts.message(*badCell);
        else if (failure)
            prompts.showError(*failure);
        result.completed = !badCell && !failure;
    } catch (const QuvelaError &e) {
        prompts.showError(e.message());
    } catch (const std::exception &e) {
        prompts.showError(gbk::fromUtf8(e.what()));
    }
    return result;
}

} // namespace quvela::xj
