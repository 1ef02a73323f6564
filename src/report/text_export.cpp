#include "report/text_export.h"

#include "common/errors.h"

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

GbkString failure(const QString &fileName, const QString &why)
{
    return gbk::fromQString(QStringLiteral("无法写入文件 %1：%2").arg(fileName, why));
}

double leftEdge(const ReportLabel &l)
{
    const double textWidth = textWidthMm(l.text, l.sizePt);
    switch (l.align) {
    case Align::Center:
        return l.x + (l.width - textWidth) / 2;
    case Align::Right:
        return l.x + l.width - textWidth;
    case Align::Left:
        break;
    }
    return l.x;
}

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

TextExportWriter::TextExportWriter(const QString &fileName) : m_fileName(fileName), m_file(fileName)
{
}

void TextExportWriter::write(const std::string &bytes)
{
    if (m_file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()))
        throw QuvelaError(failure(m_fileName, m_file.errorString()));
}

void TextExportWriter::printJob(const RenderedPage &page)
{
    if (!m_file.isOpen()) {
        if (!m_file.open(QIODevice::WriteOnly))
            throw QuvelaError(failure(m_fileName, m_file.errorString()));
        write("\xEF\xBB\xBF");
    }
    if (m_pages > 0)
        write("\f\n");
    write(pageText(page));
    ++m_pages;
}

void TextExportWriter::commit()
{
    if (!m_file.isOpen() && !m_file.open(QIODevice::WriteOnly))
        throw QuvelaError(failure(m_fileName, m_file.errorString()));
    if (m_pages == 0)
        write("\xEF\xBB\xBF");
    if (!m_file.commit())
        throw QuvelaError(failure(m_fileName, m_file.errorString()));
}

void writeTextExport(const PageStore &pages, const QString &fileName)
{
    TextExportWriter writer(fileName);
    for (const RenderedPage &page : pages)
        writer.printJob(page);
    writer.commit();
}

} // namespace quvela::report
