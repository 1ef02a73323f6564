#include "xj/xj_writeback.h"

#include "common/column_map.h"
#include "common/errors.h"
#include "common/pub_func.h"
#include "common/xj_settings.h"
#include "spreadsheet/spreadsheet_session.h"
#include "xj/roster_session.h"
#include "xj/worksheet_rows.h"
#include "xj/xj_table.h"

#include <string>
#include <vector>

namespace quvela::xj {
namespace {

// Fields of the column map (1-based) of the cells written back.
constexpr int kSequenceField = 1;
constexpr int kNameField = 2;
constexpr int kGradeField = 20;
constexpr int kAmountField = 21;
constexpr int kSupplementField = 22;
constexpr int kAmountIncreaseField = 25;
constexpr int kSupplementIncreaseField = 26;

// More names than this make a message box taller than the screen.
constexpr std::size_t kListedNames = 20;

GbkString notWrittenMessage(const std::vector<XjRecord> &persons)
{
    std::string text = "以下调资人员因Excel表中的姓名与上表不一致，未回写：";
    for (std::size_t i = 0; i < persons.size() && i < kListedNames; ++i)
        text += "\n序号" + std::to_string(persons[i].xh) + " " + gbk::toUtf8(gbk::trimmed(persons[i].xm));
    if (persons.size() > kListedNames)
        text += "\n……共" + std::to_string(persons.size()) + "人";
    return gbk::fromUtf8(text);
}

} // namespace

bool writeBackRoster(Prompts &prompts, IniFile &ini, const TXtcs &settings, std::string_view startText,
                     std::string_view endText, const XjTable &table)
{
    return runShowingErrors(prompts, [&] {
        const GbkString file = RecallWorkbook(ini, settings);
        if (file.empty())
            return false;

        spreadsheet::SpreadsheetSession sheet;
        if (!openRosterWorkbook(prompts, sheet, file))
            return false;
        const std::vector<int> columns = DecodeColumnMap(settings.ColumnMap, kXjColumnFields);
        const auto column = [&](int field) { return columns[static_cast<std::size_t>(field - 1)]; };

        const GbkString failed = gbk::fromUtf8("回写数据错误！");
        std::vector<XjRecord> namesDisagree;
        try {
            const std::vector<XjRecord> rows = table.readAll();
            const int32_t first = StrToInt(startText);
            const std::string_view firstName = rows.empty() ? std::string_view() : gbk::trimmed(rows.front().xm);
            if (gbk::trimmed(sheet.readCellText(first, column(kNameField))) != firstName) {
                sheet.end();
                prompts.message(gbk::fromUtf8("Excel数据表与上表格数据对不上号，请检查开始行号！\n\n"
                                              "Excel数据表开始行对应上表第一行。"));
                prompts.message(failed);
                return false;
            }
            auto wait = prompts.showWait(gbk::fromUtf8("正在写入数据到excel表，请稍等......"));
            const int32_t last = lastRowOfRange(StrToInt(endText), sheet.lastRow());
            std::size_t paired = 0;
            for (int32_t row = first; row <= last && paired < rows.size(); ++row) {
                const GbkString name = sheet.readCellText(row, column(kNameField));
                // The import stored no row for these, so they take no table row either.
                if (gbk::trimmed(sheet.readCellText(row, column(kSequenceField))).empty()
                    || gbk::trimmed(name).empty())
                    continue;
                const XjRecord &person = rows[paired++];
                if (person.sftz != 1)
                    continue;
                // The stored name as it is: one that kept blanks from its cell never
                // matches, as before.
                if (gbk::trimmed(name) != person.xm) {
                    namesDisagree.push_back(person);
                    continue;
                }
                sheet.writeCellInteger(row, column(kGradeField), person.xjdj2);
                sheet.writeCellInteger(row, column(kAmountField), person.xjgz2);
                if (person.bf102 != 0)
                    sheet.writeCellInteger(row, column(kSupplementField), person.bf102);
                sheet.writeCellInteger(row, column(kAmountIncreaseField), person.zzxj);
                if (person.zz10 != 0)
                    sheet.writeCellInteger(row, column(kSupplementIncreaseField), person.zz10);
            }
            wait.reset();
            sheet.closeWithSave();
        } catch (const ConversionError &) {
            sheet.end();
            prompts.message(failed);
            return false;
        } catch (const QuvelaError &e) {
            // A cell that must not be written, an .xls workbook, a locked file: the
            // workbook stays as it was, and the clerk needs to know why before the
            // usual word that the write-back failed.
            sheet.end();
            prompts.showError(e.message());
            prompts.message(failed);
            return false;
        } catch (const std::exception &) {
            sheet.end();
            prompts.message(failed);
            return false;
        }
        sheet.end();
        prompts.message(gbk::fromUtf8("OK!!! 数据保存完毕。"));
        if (!namesDisagree.empty())
            prompts.message(notWrittenMessage(namesDisagree), gbk::fromUtf8("薪级调整"), MessageIcon::Warning);
        return true;
    });
}

} // namespace quvela::xj
