// JSON dump of rendered pages: the page model as positioned on the paper, for golden
// files and for checking a form against its layout.
#pragma once

#include "report/output_file.h"
#include "report/page_sink.h"

#include <QString>

#include <string>

namespace quvela::report {

// {"width_mm":..,"height_mm":..,"labels":[..],"lines":[..]}, texts UTF-8, millimetres
// with at most three decimals, one label or line per text line.
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
