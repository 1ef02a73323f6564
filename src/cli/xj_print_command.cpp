// quvela-batch xj print: the forms of every table row, as "打印" prints them, into files.
#include "cli/batch_command.h"
#include "common/ini_file.h"
#include "common/settings_records.h"
#include "common/xj_settings.h"
#include "report/json_dump.h"
#include "report/page_image.h"
#include "report/pdf_document_writer.h"
#include "report/text_export.h"
#include "xj/xj_report_run.h"
#include "xj/xj_table.h"

#include <QDir>
#include <QString>

#include <charconv>
#include <iostream>
#include <memory>
#include <optional>

namespace quvela::cli {
namespace {

QString fileOption(const std::string &utf8)
{
    return QString::fromStdString(std::filesystem::absolute(utf8).string());
}

// Every printed form goes to each output asked for; files appear only when the whole
// run has succeeded.
class FileOutputs final : public xj::XjReportHost
{
public:
    explicit FileOutputs(const BatchOptions &options)
        : m_pdf(fileOption(options.required("pdf")))
    {
        if (auto txt = options.value("txt"))
            m_text.emplace(fileOption(*txt));
        if (auto json = options.value("json"))
            m_json.emplace(fileOption(*json));
        int pngDpi = 150;
        if (auto dpi = options.value("png-dpi")) {
            const char *end = dpi->data() + dpi->size();
            auto [ptr, ec] = std::from_chars(dpi->data(), end, pngDpi);
            if (ec != std::errc() || ptr != end || pngDpi < 10 || pngDpi > 1200)
                throw UsageError("--png-dpi takes a resolution from 10 to 1200");
        }
        if (auto dir = options.value("png-dir")) {
            const QString folder = fileOption(*dir);
            if (!QDir().mkpath(folder))
                throw UsageError("cannot create the folder " + folder.toStdString());
            m_png.emplace(folder, pngDpi);
        }
    }

    void suspendDisplay() override {}
    void resumeDisplay() override {}
    void preview(const report::PageStore &) override {}

    void print(const report::RenderedPage &page) override
    {
        ++m_pages;
        m_pdf.printJob(page);
        if (m_text)
            m_text->printJob(page);
        if (m_json)
            m_json->printJob(page);
        if (m_png)
            m_png->printJob(page);
    }

    void commit()
    {
        m_pdf.commit();
        if (m_text)
            m_text->commit();
        if (m_json)
            m_json->commit();
        if (m_png)
            m_png->commit();
    }

    int pages() const { return m_pages; }

private:
    report::PdfDocumentWriter m_pdf;
    std::optional<report::TextExportWriter> m_text;
    std::optional<report::JsonDumpWriter> m_json;
    std::optional<report::PngFolderWriter> m_png;
    int m_pages = 0;
};

int printAction(BatchContext &context)
{
    context.options.allowOnly({"pdf", "txt", "json", "png-dir", "png-dpi"});
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
