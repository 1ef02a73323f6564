// quvela-batch jg print: the forms of the flagged rows, as the JG window's "打印" prints them.
#include "cli/record_batch_tool.h"
#include "common/settings_records.h"
#include "jg/jg_forms.h"
#include "jg/jg_settings.h"

namespace quvela::cli {
namespace {

int jgPrint(BatchContext &context)
{
    RecordBatchTool<TJgcs, jg::JgForms> tool(jgcs, &jg::jgSettingsFile, &jg::LoadJgSettings);
    return runRosterPrint(context, tool);
}

const bool registered = registerCommand({"jg", "print", kRosterPrintUsage, &jgPrint});

} // namespace
} // namespace quvela::cli
