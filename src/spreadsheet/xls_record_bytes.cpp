#include "spreadsheet/xls_record_bytes.h"

#include "spreadsheet/xls_sheet_data.h"

#include <algorithm>
#include <bit>

namespace quvela::spreadsheet {
namespace {

constexpr uint16_t kRk = 0x027E;
constexpr uint16_t kNumber = 0x0203;
constexpr uint16_t kMulRk = 0x00BD;
constexpr uint16_t kBlank = 0x0201;
constexpr uint16_t kMulBlank = 0x00BE;
constexpr uint16_t kString = 0x0207;

} // namespace

void put16(std::string &out, uint16_t value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8));
}

void put32(std::string &out, uint32_t value)
{
    put16(out, static_cast<uint16_t>(value & 0xFFFF));
    put16(out, static_cast<uint16_t>(value >> 16));
}

void set16(std::string &bytes, std::size_t at, uint16_t value)
{
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>(value >> 8);
}

void set32(std::string &bytes, std::size_t at, uint32_t value)
{
    set16(bytes, at, static_cast<uint16_t>(value & 0xFFFF));
    set16(bytes, at + 2, static_cast<uint16_t>(value >> 16));
}

void header(std::string &out, uint16_t type, std::size_t length)
{
    put16(out, type);
    put16(out, static_cast<uint16_t>(length));
}

std::string numberRecord(int row, int column, uint16_t xf, int32_t value)
{
    std::string out;
    if (value >= -(1 << 29) && value < (1 << 29)) {
        header(out, kRk, 10);
        put16(out, static_cast<uint16_t>(row));
        put16(out, static_cast<uint16_t>(column));
        put16(out, xf);
        put32(out, static_cast<uint32_t>(value) << 2 | 0x02);
        return out;
    }
    header(out, kNumber, 14);
    put16(out, static_cast<uint16_t>(row));
    put16(out, static_cast<uint16_t>(column));
    put16(out, xf);
    const uint64_t bits = std::bit_cast<uint64_t>(static_cast<double>(value));
    put32(out, static_cast<uint32_t>(bits));
    put32(out, static_cast<uint32_t>(bits >> 32));
    return out;
}

std::string runRecord(bool rk, int row, int firstColumn, std::string_view cellBytes)
{
    const std::size_t width = rk ? 6 : 2;
    const std::size_t count = cellBytes.size() / width;
    std::string out;
    if (count == 1) {
        header(out, rk ? kRk : kBlank, 4 + cellBytes.size());
        put16(out, static_cast<uint16_t>(row));
        put16(out, static_cast<uint16_t>(firstColumn));
        out.append(cellBytes);
        return out;
    }
    header(out, rk ? kMulRk : kMulBlank, 6 + cellBytes.size());
    put16(out, static_cast<uint16_t>(row));
    put16(out, static_cast<uint16_t>(firstColumn));
    out.append(cellBytes);
    put16(out, static_cast<uint16_t>(firstColumn + count - 1));
    return out;
}

uint8_t errorCode(const std::string &text)
{
    for (uint8_t code : {0x00, 0x07, 0x0F, 0x17, 0x1D, 0x24, 0x2A}) {
        if (XlsSheetData::errorText(code) == text)
            return code;
    }
    return 0x2A;
}

std::optional<std::string> stringRecord(const std::string &utf8)
{
    std::u16string units;
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        const int extra = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : -1;
        if (extra < 0 || i + static_cast<std::size_t>(extra) >= utf8.size() + (extra == 0 ? 1 : 0))
            return std::nullopt;
        uint32_t point = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const unsigned char next = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            point = point << 6 | (next & 0x3F);
        }
        i += static_cast<std::size_t>(extra) + 1;
        if (point >= 0x10000) {
            point -= 0x10000;
            units.push_back(static_cast<char16_t>(0xD800 + (point >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + (point & 0x3FF)));
        } else {
            units.push_back(static_cast<char16_t>(point));
        }
    }
    const bool narrow = std::all_of(units.begin(), units.end(), [](char16_t u) { return u < 0x100; });
    const std::size_t length = 3 + units.size() * (narrow ? 1 : 2);
    if (units.size() > 0xFFFF || length > 8224)
        return std::nullopt;
    std::string out;
    header(out, kString, length);
    put16(out, static_cast<uint16_t>(units.size()));
    out.push_back(narrow ? '\0' : '\1');
    for (char16_t u : units) {
        if (narrow)
            out.push_back(static_cast<char>(u));
        else
            put16(out, static_cast<uint16_t>(u));
    }
    return out;
}

} // namespace quvela::spreadsheet
