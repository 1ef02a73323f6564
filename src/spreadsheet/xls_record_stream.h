// Walks the records of a BIFF8 workbook stream: a 16-bit type, a 16-bit length and
// that many bytes of data, one after the other.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quvela::spreadsheet {

struct XlsRecord
{
    uint16_t type = 0;
    std::string_view data;
    std::size_t offset = 0; // of the record header in the stream
};

class XlsRecordStream
{
public:
    static constexpr uint16_t kContinue = 0x003C;

    // The stream is not copied. Reading starts at offset.
    explicit XlsRecordStream(std::string_view stream, std::size_t offset = 0);

    // The next record; false at the end of the stream. Throws WorkbookOpenError when
    // a record claims more bytes than the stream has left.
    bool next(XlsRecord &record);

    // The data of record followed by the data of the CONTINUE records right after it,
    // which are consumed. Long strings and string tables run on this way.
    std::vector<std::string_view> withContinues(const XlsRecord &record);

private:
    bool nextIsContinue() const;

    std::string_view m_stream;
    std::size_t m_offset;
};

// Little-endian fields of record data; the caller checks the bounds first.
inline uint16_t xlsU16(std::string_view data, std::size_t at)
{
    return static_cast<uint16_t>(static_cast<unsigned char>(data[at])
                                 | static_cast<unsigned char>(data[at + 1]) << 8);
}

inline uint32_t xlsU32(std::string_view data, std::size_t at)
{
    return static_cast<uint32_t>(xlsU16(data, at)) | static_cast<uint32_t>(xlsU16(data, at + 2)) << 16;
}

} // namespace quvela::spreadsheet
