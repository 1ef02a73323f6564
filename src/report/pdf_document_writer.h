// Form pages into one PDF file, one page per form, the fonts embedded.
#pragma once

#include "report/page_sink.h"

#include <QString>

#include <memory>

namespace quvela::report {

// Pages are written as they come, so memory does not grow with their number. The file
// appears only when commit() succeeds; until then an older file of that name stays.
class PdfDocumentWriter final : public PageSink
{
public:
    explicit PdfDocumentWriter(const QString &fileName);
    ~PdfDocumentWriter() override;

    void printJob(const RenderedPage &page) override;
    // Throws QuvelaError when the file cannot be written. Without any page no file is
    // written: a PDF needs at least one.
    void commit();

    int pageCount() const { return m_pages; }

private:
    struct Private;
    std::unique_ptr<Private> d;
    int m_pages = 0;
};

// The whole store at once.
void writePdf(const PageStore &pages, const QString &fileName);

} // namespace quvela::report
