// JSON dump of rendered pages: the page model as positioned on the paper, for golden
// files and for checking a form against its layout.
#pragma once

#include "report/output_file.h"
#include "report/page_sink.h"

#include <QString>

#include <string>

namespace quvela::report {

// {"width_mm":..,"height_mm":..,"labels":[..],"lines":[..]}, texts UTF-8, millimetres
// with at most three decimals, one label or line per text line. A label also gives its
// cell (cell_x1_mm, cell_x2_mm) and how its text is drawn there: stretch (horizontal scale
// of the face, 1 for a text that fits, four decimals), drawn_size_pt, and the text's left edge and width
// as drawn (drawn_x_mm, drawn_width_mm).
std::string pageJson(const RenderedPage &page);

// {"pages":[...]}; the file is replaced only by commit().
class JsonDumpWriter final : public PageSink
{
public:
    explicit JsonDumpWriter(const QString &fileName) : m_file(fileName) {}
    void printJob(const RenderedPage &page) override;
    void commit(); // throws QuvelaError

private:
    OutputFile m_file;
    int m_pages = 0;
};

void writeJsonDump(const PageStore &pages, const QString &fileName);

} // namespace quvela::report
