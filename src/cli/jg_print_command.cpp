// quvela-batch jg print: the forms of the flagged rows, as the JG window's "打印" prints them.
#include "cli/roster_print_command.h"
#include "common/ini_file.h"
#include "common/settings_records.h"
#include "jg/jg_forms.h"
#include "jg/jg_settings.h"

namespace quvela::cli {
namespace {

class JgBatchTool final : public RosterBatchTool
{
public:
    RosterPrintSettings load(BatchContext &context) override
    {
        // As the tool window loads them when it is created.
        jgcs = TJgcs{};
        jgcs.ProgramDir = gbk::fromPath(context.programDir);
        const IniFile ini(jg::jgSettingsFile(jgcs.ProgramDir));
        jg::LoadJgSettings(ini, jgcs);
        return {jgcs.WorkbookFile, jgcs.StartRow, jgcs.EndRow, jgcs.OpinionWidth};
    }

    std::unique_ptr<roster::RosterForms> forms(const GbkString &widthText) override
    {
        return std::make_unique<jg::JgForms>([widthText] { return widthText; }, jgcs);
    }
};

int jgPrint(BatchContext &context)
{
    JgBatchTool tool;
    return runRosterPrint(context, tool);
}

const bool registered = registerCommand({"jg", "print", kRosterPrintUsage, &jgPrint});

} // namespace
} // namespace quvela::cli
