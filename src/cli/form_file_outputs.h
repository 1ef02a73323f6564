// The files a headless print writes: a PDF of every form, and on request the text
// export, the JSON dump and one PNG per page. Files appear only on commit(), when the
// whole run has succeeded.
#pragma once

#include "cli/batch_command.h"
#include "report/json_dump.h"
#include "report/page_image.h"
#include "report/pdf_document_writer.h"
#include "report/text_export.h"

#include <optional>

namespace quvela::cli {

class FormFileOutputs
{
public:
    // Takes --pdf (required), --txt, --json, --png-dir and --png-dpi. Throws UsageError.
    explicit FormFileOutputs(const BatchOptions &options);

    // One printed form to every output.
    void print(const report::RenderedPage &page);
    void commit();
    int pages() const { return m_pages; }

    // The option names the constructor reads.
    static std::vector<std::string> optionNames();

private:
    report::PdfDocumentWriter m_pdf;
    std::optional<report::TextExportWriter> m_text;
    std::optional<report::JsonDumpWriter> m_json;
    std::optional<report::PngFolderWriter> m_png;
    int m_pages = 0;
};

// An option naming a file or folder, made absolute.
QString fileOption(const std::string &utf8);

} // namespace quvela::cli
