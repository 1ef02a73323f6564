#include "spreadsheet/xls_record_stream.h"

#include "spreadsheet/xls_error.h"

namespace quvela::spreadsheet {

XlsRecordStream::XlsRecordStream(std::string_view stream, std::size_t offset)
    : m_stream(stream), m_offset(offset)
{
}

bool XlsRecordStream::next(XlsRecord &record)
{
    // Streams are padded to whole sectors; a header cut short by the end is padding.
    if (m_offset + 4 > m_stream.size())
        return false;
    const std::size_t length = xlsU16(m_stream, m_offset + 2);
    if (m_offset + 4 + length > m_stream.size())
        throw damagedWorkbook("记录超出文件末尾");
    record.type = xlsU16(m_stream, m_offset);
    record.data = m_stream.substr(m_offset + 4, length);
    record.offset = m_offset;
    m_offset += 4 + length;
    return true;
}

bool XlsRecordStream::nextIsContinue() const
{
    return m_offset + 4 <= m_stream.size() && xlsU16(m_stream, m_offset) == kContinue;
}

std::vector<std::string_view> XlsRecordStream::withContinues(const XlsRecord &record)
{
    std::vector<std::string_view> segments{record.data};
    XlsRecord more;
    while (nextIsContinue() && next(more))
        segments.push_back(more.data);
    return segments;
}

} // namespace quvela::spreadsheet
