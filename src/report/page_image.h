// Form pages as images.
#pragma once

#include "report/page_sink.h"
#include "report/rendered_page.h"

#include <QImage>
#include <QString>
#include <QStringList>

namespace quvela::report {

// The page at the resolution given in dots per inch, on white.
QImage renderPageImage(const RenderedPage &page, double dpi);

// Writes the page as a PNG file, replacing it atomically. Throws QuvelaError.
void writePng(const RenderedPage &page, const QString &fileName, double dpi);

// One PNG per page in a folder, named form-0001.png, form-0002.png ... in page order.
// The pages are written under hidden temporary names and get their names only in
// commit(), so a run that fails half-way leaves the folder as it was.
class PngFolderWriter final : public PageSink
{
public:
    PngFolderWriter(const QString &folder, double dpi);
    ~PngFolderWriter() override;
    PngFolderWriter(const PngFolderWriter &) = delete;
    PngFolderWriter &operator=(const PngFolderWriter &) = delete;

    void printJob(const RenderedPage &page) override; // throws QuvelaError
    void commit();                                    // throws QuvelaError

    static QString pageFileName(int pageNumber);

private:
    QString m_folder;
    double m_dpi;
    QStringList m_pending; // temporary files, in page order
};

} // namespace quvela::report
