#include "report/json_dump.h"

#include "report/cell_fit.h"

#include <cmath>
#include <cstdio>

namespace quvela::report {
namespace {

std::string number(double v, int decimals = 3)
{
    const double unit = std::pow(10.0, decimals);
    double rounded = std::round(v * unit) / unit;
    if (rounded == 0)
        rounded = 0; // no "-0"
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, rounded);
    std::string s = buffer;
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == '.')
        s.pop_back();
    return s;
}

std::string quoted(const std::string &utf8)
{
    std::string out = "\"";
    for (unsigned char c : utf8) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                out += buffer;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

const char *alignName(Align a)
{
    switch (a) {
    case Align::Center: return "center";
    case Align::Right: return "right";
    case Align::Left: break;
    }
    return "left";
}

} // namespace

std::string pageJson(const RenderedPage &page)
{
    std::string out = "{\"width_mm\":" + number(page.widthMm) + ",\"height_mm\":" + number(page.heightMm)
        + ",\"labels\":[";
    bool first = true;
    for (const ReportLabel &l : page.labels) {
        out += first ? "\n" : ",\n";
        first = false;
        out += "{\"name\":" + quoted(l.name) + ",\"text\":" + quoted(gbk::toUtf8(l.text))
            + ",\"x_mm\":" + number(l.x) + ",\"y_mm\":" + number(l.y) + ",\"width_mm\":" + number(l.width)
            + ",\"height_mm\":" + number(l.height) + ",\"font\":" + quoted(gbk::toUtf8(l.font))
            + ",\"size_pt\":" + number(l.sizePt) + ",\"bold\":" + (l.bold ? "true" : "false")
            + ",\"underline\":" + (l.underline ? "true" : "false") + ",\"align\":\"" + alignName(l.align)
            + "\",\"auto_width\":" + (l.autoWidth ? "true" : "false");
        const double drawnWidth = drawnWidthMm(l);
        out += ",\"cell_x1_mm\":" + number(l.cellX1) + ",\"cell_x2_mm\":" + number(l.cellX2)
            + ",\"stretch\":" + number(l.stretch, 4) + ",\"drawn_size_pt\":" + number(drawnSizePt(l))
            + ",\"drawn_x_mm\":" + number(drawnLeftMm(l, drawnWidth)) + ",\"drawn_width_mm\":"
            + number(drawnWidth) + "}";
    }
    out += "],\"lines\":[";
    first = true;
    for (const RuledLine &l : page.lines) {
        out += first ? "\n" : ",\n";
        first = false;
        out += "{\"x1_mm\":" + number(l.x1) + ",\"y1_mm\":" + number(l.y1) + ",\"x2_mm\":" + number(l.x2)
            + ",\"y2_mm\":" + number(l.y2) + ",\"width_mm\":" + number(l.width) + "}";
    }
    out += "]}";
    return out;
}

void JsonDumpWriter::printJob(const RenderedPage &page)
{
    m_file.write(m_pages == 0 ? "{\"pages\":[\n" : ",\n");
    m_file.write(pageJson(page));
    ++m_pages;
}

void JsonDumpWriter::commit()
{
    m_file.write(m_pages == 0 ? "{\"pages\":[\n]}\n" : "\n]}\n");
    m_file.commit();
}

void writeJsonDump(const PageStore &pages, const QString &fileName)
{
    JsonDumpWriter writer(fileName);
    for (const RenderedPage &page : pages)
        writer.printJob(page);
    writer.commit();
}

} // namespace quvela::report
