// quvela-batch workbook show: the first worksheet of a workbook as the tools read it,
// for checking a roster without a spreadsheet application.
#include "cli/batch_command.h"
#include "common/gbk.h"
#include "spreadsheet/cell_reference.h"
#include "spreadsheet/spreadsheet_session.h"

#include <algorithm>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace quvela::cli {
namespace {

// A cell may hold a tab or a line break (a header typed with Alt+Enter); written as
// they are they would split the row, so they and the backslash become escapes.
void appendField(std::string &line, std::string_view text)
{
    line += '\t';
    for (char c : text) {
        if (c == '\\' || c == '\t' || c == '\n' || c == '\r') {
            line += '\\';
            line += c == '\\' ? '\\' : c == '\t' ? 't' : c == '\n' ? 'n' : 'r';
        } else {
            line += c;
        }
    }
}

// The range asked for; nullopt for all rows up to the last.
std::optional<std::pair<int, int>> rowRange(const BatchOptions &options)
{
    const auto rows = options.value("rows");
    if (!rows)
        return std::nullopt;
    const auto [start, end] = BatchOptions::parseRows(*rows);
    if (start > end)
        throw UsageError("--rows S-E needs S not above E");
    if (end > spreadsheet::kMaxRows)
        throw UsageError("--rows: a worksheet has at most " + std::to_string(spreadsheet::kMaxRows) + " rows");
    return std::pair{start, end};
}

int showAction(BatchContext &context)
{
    context.options.allowOnly({"workbook", "rows"});
    const std::filesystem::path workbook = context.options.required("workbook");
    const auto range = rowRange(context.options);
    spreadsheet::SpreadsheetSession session;
    session.open(workbook);
    session.bindFirstWorksheet();
    const auto [start, end] = range.value_or(std::pair{1, session.lastRow()});

    std::string line;
    for (int row = start; row <= end; ++row) {
        line = std::to_string(row);
        // Cells that read as the empty text after the last visible one add nothing.
        const int last = session.lastColumn(row);
        std::vector<std::string> texts(static_cast<std::size_t>(std::max(last, 0)));
        for (int column = 1; column <= last; ++column)
            texts[column - 1] = gbk::toUtf8(session.readCellText(row, column));
        while (!texts.empty() && texts.back().empty())
            texts.pop_back();
        for (const std::string &text : texts)
            appendField(line, text);
        line += '\n';
        std::cout << line;
    }
    std::cout.flush();
    return std::cout ? ExitOk : ExitStopped;
}

[[maybe_unused]] const bool registered =
    registerCommand({"workbook", "show", "--workbook FILE [--rows S-E]", showAction});

} // namespace
} // namespace quvela::cli
