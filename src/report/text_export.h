// Plain-text export of rendered pages: what a clerk can paste or search.
#pragma once

#include "report/output_file.h"
#include "report/page_sink.h"

#include <QString>

#include <string>

namespace quvela::report {

// The labels of a page in reading order, UTF-8: one row of the page per line, each
// label set at about its column (one blank per half em of 10 pt), rows top to bottom.
std::string pageText(const RenderedPage &page);

// UTF-8 with a byte-order mark; pages separated by a line holding a form feed. The file
// is replaced only by commit().
class TextExportWriter final : public PageSink
{
public:
    explicit TextExportWriter(const QString &fileName) : m_file(fileName) {}
    void printJob(const RenderedPage &page) override;
    void commit(); // throws QuvelaError

private:
    OutputFile m_file;
    int m_pages = 0;
};

void writeTextExport(const PageStore &pages, const QString &fileName);

} // namespace quvela::report
