// quvela-batch jb print: the forms of the flagged rows, as the JB window's "打印" prints
// them in the mode stored last, or in the mode that --mode names.
#include "cli/roster_print_command.h"
#include "common/ini_file.h"
#include "common/settings_records.h"
#include "jb/jb_roster_forms.h"
#include "jb/jb_settings.h"

#include <string>

namespace quvela::cli {
namespace {

class JbBatchTool final : public RosterBatchTool
{
public:
    std::vector<std::string> extraOptions() const override { return {"mode"}; }

    RosterPrintSettings load(BatchContext &context) override
    {
        std::optional<int> mode;
        if (auto text = context.options.value("mode")) {
            if (*text != "0" && *text != "1")
                throw UsageError("--mode takes 0 (正常晋升) or 1 (滚动晋升)");
            mode = *text == "1" ? jb::kRollingPromotion : jb::kNormalStep;
        }
        // As the tool window loads them when it is created, then as a click on the
        // other mode button loads that mode's keys.
        jbcs = TJbcs{};
        jbcs.ProgramDir = gbk::fromPath(context.programDir);
        const IniFile ini(jb::jbSettingsFile(jbcs.ProgramDir));
        jb::LoadJbSettings(ini, jbcs);
        if (mode && *mode != jbcs.Mode)
            jb::LoadJbModeSettings(ini, *mode, jbcs);
        return {jbcs.WorkbookFile, jbcs.StartRow, jbcs.EndRow, jbcs.OpinionWidth};
    }

    std::unique_ptr<roster::RosterForms> forms(const GbkString &widthText) override
    {
        return std::make_unique<jb::JbRosterForms>(widthText, jbcs);
    }
};

int jbPrint(BatchContext &context)
{
    JbBatchTool tool;
    return runRosterPrint(context, tool);
}

const std::string kUsage = std::string("[--mode 0|1] ") + kRosterPrintUsage;
const bool registered = registerCommand({"jb", "print", kUsage.c_str(), &jbPrint});

} // namespace
} // namespace quvela::cli
