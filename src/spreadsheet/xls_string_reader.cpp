#include "spreadsheet/xls_string_reader.h"
#include "spreadsheet/utf8_append.h"

#include "spreadsheet/xls_error.h"

namespace quvela::spreadsheet {
namespace {

constexpr uint8_t kHighByte = 0x01;
constexpr uint8_t kPhonetic = 0x04;
constexpr uint8_t kRichText = 0x08;

} // namespace

std::string utf16ToUtf8(const std::u16string &units)
{
    std::string out;
    out.reserve(units.size() * 3);
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units.size()
            && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            appendUtf8(out, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            appendUtf8(out, 0xFFFD);
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

XlsStringReader::XlsStringReader(std::vector<std::string_view> segments)
    : m_segments(std::move(segments))
{
}

std::size_t XlsStringReader::leftInSegment() const
{
    return m_segment < m_segments.size() ? m_segments[m_segment].size() - m_pos : 0;
}

void XlsStringReader::advanceSegment()
{
    if (m_segment >= m_segments.size())
        throw damagedWorkbook("字符串超出记录末尾");
    ++m_segment;
    m_pos = 0;
}

bool XlsStringReader::atEnd()
{
    while (m_segment < m_segments.size() && leftInSegment() == 0)
        advanceSegment();
    return m_segment >= m_segments.size();
}

void XlsStringReader::skip(std::size_t count)
{
    while (count > 0) {
        if (atEnd())
            throw damagedWorkbook("字符串超出记录末尾");
        const std::size_t step = std::min(count, leftInSegment());
        m_pos += step;
        count -= step;
    }
}

uint8_t XlsStringReader::u8()
{
    if (atEnd())
        throw damagedWorkbook("字符串超出记录末尾");
    return static_cast<uint8_t>(m_segments[m_segment][m_pos++]);
}

uint16_t XlsStringReader::u16()
{
    const uint16_t low = u8();
    return static_cast<uint16_t>(low | u8() << 8);
}

uint32_t XlsStringReader::u32()
{
    const uint32_t low = u16();
    return low | static_cast<uint32_t>(u16()) << 16;
}

std::string XlsStringReader::unicodeString(int lengthBytes)
{
    const std::size_t count = lengthBytes == 1 ? u8() : u16();
    uint8_t options = u8();
    const std::size_t runs = (options & kRichText) ? u16() : 0;
    const std::size_t phonetic = (options & kPhonetic) ? u32() : 0;

    std::u16string units;
    units.reserve(count);
    while (units.size() < count) {
        if (leftInSegment() == 0) {
            // The characters go on in the next record, which repeats the option byte.
            advanceSegment();
            if (m_segment >= m_segments.size() || m_segments[m_segment].empty())
                throw damagedWorkbook("字符串超出记录末尾");
            options = u8();
            continue;
        }
        const std::string_view data = m_segments[m_segment];
        if (options & kHighByte) {
            if (leftInSegment() < 2)
                throw damagedWorkbook("字符串被截断");
            units.push_back(static_cast<char16_t>(static_cast<unsigned char>(data[m_pos])
                                                  | static_cast<unsigned char>(data[m_pos + 1]) << 8));
            m_pos += 2;
        } else {
            units.push_back(static_cast<char16_t>(static_cast<unsigned char>(data[m_pos])));
            ++m_pos;
        }
    }
    skip(runs * 4);
    skip(phonetic);
    return utf16ToUtf8(units);
}

} // namespace quvela::spreadsheet
