#include "report/wording_template.h"

#include <string>
#include <vector>

namespace quvela::report {
namespace {

struct Piece
{
    GbkString text;
    bool inserted = false;
};

// Byte offset of the first occurrence of upperNeedle in text that starts and ends on a
// character boundary, compared without regard to ASCII letter case; npos when none.
std::size_t findNoCase(std::string_view text, const GbkString &upperNeedle)
{
    const GbkString upper = gbk::toUpperAscii(text);
    std::vector<bool> boundary(text.size() + 1, false);
    for (std::size_t pos = 0; pos < text.size(); pos += gbk::charLength(text, pos))
        boundary[pos] = true;
    boundary[text.size()] = true;
    for (std::size_t pos = upper.find(upperNeedle); pos != std::string::npos;
         pos = upper.find(upperNeedle, pos + 1)) {
        if (boundary[pos] && boundary[pos + upperNeedle.size()])
            return pos;
    }
    return std::string::npos;
}

} // namespace

GbkString fillTemplate(std::string_view text, std::span<const TemplateValue> values)
{
    std::vector<Piece> pieces{{GbkString(text), false}};
    for (const TemplateValue &v : values) {
        if (v.placeholder.empty())
            continue;
        const GbkString needle = gbk::toUpperAscii(v.placeholder);
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            if (pieces[i].inserted)
                continue;
            const std::size_t at = findNoCase(pieces[i].text, needle);
            if (at == std::string::npos)
                continue;
            const GbkString source = std::move(pieces[i].text);
            Piece before{source.substr(0, at), false};
            Piece value{gbk::toUpperAscii(v.value), true};
            Piece after{source.substr(at + needle.size()), false};
            pieces[i] = std::move(before);
            pieces.insert(pieces.begin() + static_cast<std::ptrdiff_t>(i) + 1, {std::move(value), std::move(after)});
            break;
        }
    }
    GbkString out;
    for (const Piece &p : pieces)
        out += p.text;
    return out;
}

} // namespace quvela::report
