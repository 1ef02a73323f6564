// quvela-batch zw print: the forms of every flagged row, as "打印" prints them, into files.
#include "cli/record_batch_tool.h"
#include "common/settings_records.h"
#include "zw/zw_forms.h"
#include "zw/zw_settings.h"

namespace quvela::cli {
namespace {

int printAction(BatchContext &context)
{
    RecordBatchTool<TZwcs, zw::ZwForms> tool(zwcs, &zw::zwSettingsFile, &zw::LoadZwSettings);
    return runRosterPrint(context, tool);
}

const bool registered = registerCommand({"zw", "print", kRosterPrintUsage, &printAction});

} // namespace
} // namespace quvela::cli
