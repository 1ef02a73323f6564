// quvela-batch zw print: the forms of every flagged row, as "打印" prints them, into files.
#include "cli/roster_print_command.h"
#include "common/ini_file.h"
#include "common/settings_records.h"
#include "zw/zw_forms.h"
#include "zw/zw_settings.h"

namespace quvela::cli {
namespace {

class ZwBatchTool final : public RosterBatchTool
{
public:
    RosterPrintSettings load(BatchContext &context) override
    {
        // As the tool window loads them when it is created.
        const IniFile ini(zw::zwSettingsFile(gbk::fromPath(context.programDir)));
        zwcs = TZwcs{};
        zwcs.ProgramDir = gbk::fromPath(context.programDir);
        zw::LoadZwSettings(ini, zwcs);
        return {zwcs.WorkbookFile, zwcs.StartRow, zwcs.EndRow, zwcs.OpinionWidth};
    }

    std::unique_ptr<roster::RosterForms> forms(const GbkString &widthText) override
    {
        return std::make_unique<zw::ZwForms>([widthText] { return widthText; }, zwcs);
    }
};

int printAction(BatchContext &context)
{
    ZwBatchTool tool;
    return runRosterPrint(context, tool);
}

const bool registered = registerCommand({"zw", "print", kRosterPrintUsage, &printAction});

} // namespace
} // namespace quvela::cli
