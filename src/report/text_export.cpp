#include "report/text_export.h"

#include "report/cell_fit.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace quvela::report {
namespace {

// Labels whose tops lie closer than this share a row: the captions and values of one
// ruled row sit up to 1.6 mm apart, the rows themselves about 6.9 mm.
constexpr double kRowTolerance = 2.5;
// One column of text per half em of 10 pt.
constexpr double kColumnMm = 10 * 25.4 / 72 / 2;

// Where the text is drawn: a value condensed into its cell starts where the paper shows it.
double leftEdge(const ReportLabel &l) { return drawnLeftMm(l, drawnWidthMm(l)); }

} // namespace

std::string pageText(const RenderedPage &page)
{
    std::vector<const ReportLabel *> labels;
    for (const ReportLabel &l : page.labels) {
        if (!gbk::trimmed(l.text).empty())
            labels.push_back(&l);
    }
    std::stable_sort(labels.begin(), labels.end(),
                     [](const ReportLabel *a, const ReportLabel *b) { return a->y < b->y; });
    std::string out;
    std::size_t i = 0;
    while (i < labels.size()) {
        const double rowTop = labels[i]->y;
        std::size_t end = i;
        while (end < labels.size() && labels[end]->y - rowTop < kRowTolerance)
            ++end;
        std::vector<const ReportLabel *> row(labels.begin() + i, labels.begin() + end);
        std::stable_sort(row.begin(), row.end(), [](const ReportLabel *a, const ReportLabel *b) {
            return leftEdge(*a) < leftEdge(*b);
        });
        GbkString line;
        for (const ReportLabel *l : row) {
            const auto column = static_cast<std::size_t>(std::max(0.0, std::round(leftEdge(*l) / kColumnMm)));
            if (!line.empty() && line.size() >= column)
                line += ' ';
            while (line.size() < column)
                line += ' ';
            line += l->text;
        }
        out += gbk::toUtf8(line);
        out += '\n';
        i = end;
    }
    return out;
}

void TextExportWriter::printJob(const RenderedPage &page)
{
    if (m_pages == 0)
        m_file.write("\xEF\xBB\xBF");
    else
        m_file.write("\f\n");
    m_file.write(pageText(page));
    ++m_pages;
}

void TextExportWriter::commit()
{
    if (m_pages == 0)
        m_file.write("\xEF\xBB\xBF");
    m_file.commit();
}

void writeTextExport(const PageStore &pages, const QString &fileName)
{
    TextExportWriter writer(fileName);
    for (const RenderedPage &page : pages)
        writer.printJob(page);
    writer.commit();
}

} // namespace quvela::report
