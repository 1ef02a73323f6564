#include "spreadsheet/ooxml_text.h"
#include "spreadsheet/utf8_append.h"

namespace quvela::spreadsheet {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The code unit of an escape at pos, or -1.
long escapeAt(std::string_view text, std::size_t pos)
{
    if (pos + 7 > text.size() || text[pos] != '_' || text[pos + 1] != 'x' || text[pos + 6] != '_')
        return -1;
    long code = 0;
    for (std::size_t i = pos + 2; i < pos + 6; ++i) {
        const int v = hexValue(text[i]);
        if (v < 0)
            return -1;
        code = code * 16 + v;
    }
    return code;
}

} // namespace

std::string unescapeOoxml(std::string_view text)
{
    if (text.find("_x") == std::string_view::npos)
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const long code = escapeAt(text, i);
        if (code < 0 || code == 0) {
            out += text[i++];
            continue;
        }
        if (code >= 0xD800 && code <= 0xDBFF) {
            const long low = escapeAt(text, i + 7);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, static_cast<char32_t>(0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00)));
                i += 14;
                continue;
            }
        }
        if (code >= 0xD800 && code <= 0xDFFF) {
            out += text[i++]; // a lone surrogate stays as written
            continue;
        }
        appendUtf8(out, static_cast<char32_t>(code));
        i += 7;
    }
    return out;
}

bool isValidUtf8(std::string_view text)
{
    const auto *p = reinterpret_cast<const unsigned char *>(text.data());
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t length;
        unsigned long code;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
            code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            code = c & 0x07;
        } else {
            return false;
        }
        if (i + length > n)
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[i + k] & 0x3F);
        }
        if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF))
            || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

} // namespace quvela::spreadsheet
