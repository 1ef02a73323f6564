// quvela-batch zw|jb|jg print: the forms of every flagged row of a row range, as "打印"
// prints them, into files. The shared part of the three tools' print commands.
//
// A tool registers its command in its own file:
//     int zwPrint(BatchContext &c) { ZwBatchTool tool; return runRosterPrint(c, tool); }
//     const bool registered = registerCommand({"zw", "print", kRosterPrintUsage, &zwPrint});
// and implements RosterBatchTool: load its settings as its window does when created,
// and make its forms. Options: --workbook FILE, --rows S-E, --width N (each replacing
// the stored value for this run only), the outputs of FormFileOutputs, and the tool's
// own extraOptions().
#pragma once

#include "cli/batch_command.h"
#include "common/gbk.h"
#include "roster_tools/roster_report_run.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quvela::cli {

inline constexpr const char *kRosterPrintUsage =
    "[--workbook FILE] [--rows S-E] [--width N] --pdf OUT.pdf [--txt OUT.txt] [--json OUT.json] "
    "[--png-dir DIR] [--png-dpi N]";

// What the settings file gives a run when no option replaces it.
struct RosterPrintSettings
{
    GbkString workbookFile;
    int32_t startRow = 0;
    int32_t endRow = 0;
    int32_t opinionWidth = 0;
};

class RosterBatchTool
{
public:
    virtual ~RosterBatchTool() = default;
    // Options of this tool beyond the shared ones.
    virtual std::vector<std::string> extraOptions() const { return {}; }
    // Fills the tool's record from its settings file in context.programDir, as the tool
    // window does when it is created.
    virtual RosterPrintSettings load(BatchContext &context) = 0;
    // The forms of one run; widthText stands for the text of the window's edWidth.
    virtual std::unique_ptr<roster::RosterForms> forms(const GbkString &widthText) = 0;
};

int runRosterPrint(BatchContext &context, RosterBatchTool &tool);

} // namespace quvela::cli
