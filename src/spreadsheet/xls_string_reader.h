// Reads the BIFF8 strings of a record that may run on into CONTINUE records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quvela::spreadsheet {

class XlsStringReader
{
public:
    // The data of a record and of its CONTINUE records, in order; not copied.
    explicit XlsStringReader(std::vector<std::string_view> segments);

    bool atEnd();
    void skip(std::size_t count);
    uint8_t u8();
    uint16_t u16();
    uint32_t u32();

    // A Unicode string with a 16-bit (or, for lengthBytes 1, 8-bit) character count and
    // an option byte, as UTF-8. Formatting runs and phonetic text are skipped. Where the
    // characters continue in the next record, that record opens with a fresh option
    // byte, so a string may switch between one- and two-byte characters halfway.
    // Throws WorkbookOpenError when the string runs past the data.
    std::string unicodeString(int lengthBytes = 2);

private:
    std::size_t leftInSegment() const;
    void advanceSegment();

    std::vector<std::string_view> m_segments;
    std::size_t m_segment = 0;
    std::size_t m_pos = 0;
};

// UTF-16 code units as UTF-8; an unpaired surrogate becomes U+FFFD.
std::string utf16ToUtf8(const std::u16string &units);

} // namespace quvela::spreadsheet
