// quvela-batch xj print: the forms of every table row, as "打印" prints them, into files.
#include "cli/batch_command.h"
#include "cli/form_file_outputs.h"
#include "common/ini_file.h"
#include "common/settings_records.h"
#include "common/xj_settings.h"
#include "xj/xj_report_run.h"
#include "xj/xj_table.h"

namespace quvela::cli {
namespace {

// Every printed form goes to each output asked for.
class FileOutputs final : public xj::XjReportHost
{
public:
    explicit FileOutputs(const BatchOptions &options) : m_files(options) {}

    void suspendDisplay() override {}
    void resumeDisplay() override {}
    void preview(const report::PageStore &) override {}
    void print(const report::RenderedPage &page) override { m_files.print(page); }

    void commit() { m_files.commit(); }
    int pages() const { return m_files.pages(); }

private:
    FormFileOutputs m_files;
};

int printAction(BatchContext &context)
{
    context.options.allowOnly(FormFileOutputs::optionNames());
    FileOutputs outputs(context.options);

    // As the tool window loads them when it is created.
    IniFile ini(xjSettingsFile(gbk::fromPath(context.programDir)));
    xjcs = TXtcs{};
    xjcs.ProgramDir = gbk::fromPath(context.programDir);
    LoadXjSettings(ini, xjcs);
    const auto table = xj::XjTable::open(context.programDir / "xjgz.db");

    xj::RunFormReport(
        xj::ReportMode::Print,
        [&table](int64_t offset, int64_t limit) { return table->readRange(offset, limit); },
        outputs, xjcs);
    // "打印" on an empty table prints nothing and says nothing; a file command that was
    // asked for files says why there are none.
    if (outputs.pages() == 0) {
        context.prompts.message(gbk::fromUtf8("表中没有记录，没有写入文件。"));
        return ExitStopped;
    }
    outputs.commit();
    return ExitOk;
}

const bool registered = registerCommand(
    {"xj", "print", "--pdf OUT.pdf [--txt OUT.txt] [--json OUT.json] [--png-dir DIR] [--png-dpi N]",
     &printAction});

} // namespace
} // namespace quvela::cli
