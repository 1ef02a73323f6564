// quvela-batch xj import | adjust | writeback | dump: the XJ tool's operations on the
// settings and the table of the program folder, as the tool window runs them.
#include "cli/batch_command.h"
#include "cli/batch_prompts.h"
#include "common/ini_file.h"
#include "common/settings_records.h"
#include "common/xj_settings.h"
#include "xj/xj_adjust.h"
#include "xj/xj_import.h"
#include "xj/xj_table.h"
#include "xj/xj_tsv_dump.h"
#include "xj/xj_writeback.h"

#include <iostream>
#include <string>

namespace quvela::cli {
namespace {

// What the tool window loads when it is created: the settings and the table.
struct XjProgramFolder
{
    explicit XjProgramFolder(const std::filesystem::path &dir)
        : ini(xjSettingsFile(gbk::fromPath(dir)))
    {
        xjcs = TXtcs{};
        xjcs.ProgramDir = gbk::fromPath(dir);
        LoadXjSettings(ini, xjcs);
        table = xj::XjTable::open(dir / "xjgz.db");
    }
    IniFile ini;
    std::unique_ptr<xj::XjTable> table;
};

// The texts the row boxes would hold.
std::pair<std::string, std::string> rowTexts(const BatchOptions &options)
{
    const auto [start, end] = BatchOptions::parseRows(options.required("rows"));
    return {std::to_string(start), std::to_string(end)};
}

int importAction(BatchContext &context)
{
    context.options.allowOnly({"workbook", "rows"});
    const auto [start, end] = rowTexts(context.options);
    const std::filesystem::path workbook = std::filesystem::absolute(context.options.required("workbook"));
    XjProgramFolder folder(context.programDir);
    BatchPrompts prompts(gbk::fromPath(workbook));
    const auto result = xj::importRoster(prompts, folder.ini, xjcs, start, end, *folder.table);
    return result.completed ? ExitOk : ExitStopped;
}

int adjustAction(BatchContext &context)
{
    context.options.allowOnly({});
    XjProgramFolder folder(context.programDir);
    return xj::adjustSalaryGrades(context.prompts, xjcs, *folder.table) ? ExitOk : ExitStopped;
}

int writebackAction(BatchContext &context)
{
    context.options.allowOnly({"rows"});
    const auto [start, end] = rowTexts(context.options);
    XjProgramFolder folder(context.programDir);
    // The window does nothing at all here; a script needs to hear why nothing happened.
    if (RecallWorkbook(folder.ini, xjcs).empty()) {
        std::cerr << "quvela-batch: no workbook remembered; run xj import first\n";
        return ExitStopped;
    }
    return xj::writeBackRoster(context.prompts, folder.ini, xjcs, start, end, *folder.table) ? ExitOk
                                                                                             : ExitStopped;
}

int dumpAction(BatchContext &context)
{
    context.options.allowOnly({});
    XjProgramFolder folder(context.programDir);
    xj::writeTableTsv(*folder.table, std::cout);
    std::cout.flush();
    return std::cout ? ExitOk : ExitStopped;
}

[[maybe_unused]] const bool registered = registerCommand({"xj", "import", "--workbook FILE --rows S-E", importAction})
                        && registerCommand({"xj", "adjust", "", adjustAction})
                        && registerCommand({"xj", "writeback", "--rows S-E", writebackAction})
                        && registerCommand({"xj", "dump", "", dumpAction});

} // namespace
} // namespace quvela::cli
