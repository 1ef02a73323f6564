#include "report/wording_lines.h"

#include "common/pub_func.h"

namespace quvela::report {
namespace {

// A line of at most count bytes off the front of rest; a count of 0 or less takes nothing.
GbkString takeLine(std::string_view &rest, int count)
{
    GbkString line = CopyWholeChars(rest, count);
    rest.remove_prefix(line.size());
    return line;
}

} // namespace

std::array<GbkString, 4> breakWordingLines(std::string_view text, int width)
{
    std::array<GbkString, 4> lines;
    std::string_view rest = text;
    lines[0] = takeLine(rest, width - 4);
    lines[1] = takeLine(rest, width);
    if (width < 0 || static_cast<std::size_t>(width) < rest.size()) {
        lines[2] = takeLine(rest, width);
        lines[3] = GbkString(rest);
    } else {
        lines[2] = GbkString(rest);
    }
    return lines;
}

void fillWordingLines(ReportBand &band, std::string_view text, int width)
{
    const std::array<GbkString, 4> lines = breakWordingLines(text, width);
    const char *names[] = {"y1", "y2", "y3", "y4"};
    for (std::size_t i = 0; i < lines.size(); ++i)
        band.label(names[i]).text = lines[i];
}

} // namespace quvela::report
