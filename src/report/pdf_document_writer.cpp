#include "report/pdf_document_writer.h"

#include "common/errors.h"
#include "report/output_file.h"
#include "report/page_painter.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace quvela::report {
namespace {

constexpr int kResolution = 1200;

// Qt's PDF engine compresses every page through buffers of several megabytes. With
// glibc's default thresholds each page maps them, faults them in page by page and
// unmaps them again, which costs about as much as drawing the page itself; keeping
// freed memory in the heap lets the next page reuse it. Peak memory stays what one
// page needs.
void keepLargeBuffersInTheHeap()
{
#if defined(__GLIBC__)
    static const bool done = [] {
        mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
        mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
        return true;
    }();
    (void)done;
#endif
}

} // namespace

struct PdfDocumentWriter::Private
{
    QString fileName;
    QSaveFile file;
    std::unique_ptr<QPdfWriter> writer;
    QPainter painter;
};

PdfDocumentWriter::PdfDocumentWriter(const QString &fileName) : d(std::make_unique<Private>())
{
    keepLargeBuffersInTheHeap();
    d->fileName = fileName;
    d->file.setFileName(fileName);
}

PdfDocumentWriter::~PdfDocumentWriter()
{
    if (d->painter.isActive())
        d->painter.end();
    d->writer.reset();
    d->file.cancelWriting();
}

void PdfDocumentWriter::printJob(const RenderedPage &page)
{
    const QPageSize size(QSizeF(page.widthMm, page.heightMm), QPageSize::Millimeter,
                         QStringLiteral("B5 (182 x 257 mm)"), QPageSize::ExactMatch);
    if (!d->writer) {
        if (!d->file.open(QIODevice::WriteOnly))
            throw QuvelaError(writeFailure(d->fileName, d->file.errorString()));
        d->writer = std::make_unique<QPdfWriter>(&d->file);
        d->writer->setResolution(kResolution);
        d->writer->setCreator(QStringLiteral("Quvela"));
        d->writer->setTitle(QStringLiteral("国家机关事业单位工作人员工资变动审批表"));
        d->writer->setPageSize(size);
        d->writer->setPageMargins(QMarginsF(0, 0, 0, 0));
        if (!d->painter.begin(d->writer.get()))
            throw QuvelaError(writeFailure(d->fileName, QStringLiteral("PDF")));
    } else {
        d->writer->setPageSize(size);
        d->writer->newPage();
    }
    paintPage(d->painter, page, kResolution / 25.4);
    ++m_pages;
}

void PdfDocumentWriter::commit()
{
    if (!d->writer)
        return;
    d->painter.end();
    d->writer.reset();
    if (!d->file.commit())
        throw QuvelaError(writeFailure(d->fileName, d->file.errorString()));
}

void writePdf(const PageStore &pages, const QString &fileName)
{
    PdfDocumentWriter writer(fileName);
    for (const RenderedPage &page : pages)
        writer.printJob(page);
    writer.commit();
}

} // namespace quvela::report
