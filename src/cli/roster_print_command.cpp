#include "cli/roster_print_command.h"

#include "cli/form_file_outputs.h"

#include <charconv>
#include <filesystem>

namespace quvela::cli {
namespace {

class BatchRosterHost final : public roster::RosterReportHost
{
public:
    BatchRosterHost(FormFileOutputs &outputs, Prompts &prompts) : m_outputs(outputs), m_prompts(prompts) {}

    bool raiseOpenPreview() override { return false; }
    void setCurrentRow(int) override {}
    void preview(const report::PageStore &) override {}
    void print(const report::RenderedPage &page) override { m_outputs.print(page); }
    void nothingFlagged(const GbkString &status) override { m_prompts.message(status); }

private:
    FormFileOutputs &m_outputs;
    Prompts &m_prompts;
};

int32_t widthOption(const std::string &text)
{
    int32_t width = 0;
    const char *end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, width);
    if (ec != std::errc() || ptr != end || width < 0)
        throw UsageError("--width takes a whole number of bytes");
    return width;
}

} // namespace

int runRosterPrint(BatchContext &context, RosterBatchTool &tool)
{
    std::vector<std::string> names = FormFileOutputs::optionNames();
    for (const char *shared : {"workbook", "rows", "width"})
        names.emplace_back(shared);
    for (const std::string &extra : tool.extraOptions())
        names.push_back(extra);
    context.options.allowOnly(names);
    FormFileOutputs outputs(context.options);

    RosterPrintSettings settings = tool.load(context);
    if (auto workbook = context.options.value("workbook"))
        settings.workbookFile = gbk::fromPath(std::filesystem::absolute(*workbook));
    if (auto rows = context.options.value("rows")) {
        const auto [start, end] = BatchOptions::parseRows(*rows);
        settings.startRow = start;
        settings.endRow = end;
    }
    if (auto width = context.options.value("width"))
        settings.opinionWidth = widthOption(*width);

    roster::RosterRunRequest request;
    request.mode = roster::ReportMode::Print;
    request.startText = std::to_string(settings.startRow);
    request.endText = std::to_string(settings.endRow);
    request.workbookFile = settings.workbookFile;
    const std::unique_ptr<roster::RosterForms> forms = tool.forms(std::to_string(settings.opinionWidth));
    BatchRosterHost host(outputs, context.prompts);
    const roster::RosterRunResult result = roster::RunFormReport(request, *forms, host, context.prompts);
    // Nothing flagged or no workbook: the message has been given, and no file is written.
    if (result.workbookFailed || result.forms == 0)
        return ExitStopped;
    outputs.commit();
    return ExitOk;
}

} // namespace quvela::cli
