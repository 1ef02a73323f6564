#include "spreadsheet/xls_reader.h"

#include "spreadsheet/compound_file.h"
#include "spreadsheet/xls_error.h"
#include "spreadsheet/xls_globals.h"
#include "spreadsheet/xls_record_stream.h"
#include "spreadsheet/xls_sheet_data.h"
#include "spreadsheet/xls_string_reader.h"

#include <bit>
#include <cmath>
#include <fstream>
#include <optional>
#include <string>

namespace quvela::spreadsheet {
namespace {

constexpr uint16_t kBof = 0x0809;
constexpr uint16_t kWorksheetSubstream = 0x0010;
constexpr uint16_t kEof = 0x000A;
constexpr uint16_t kNumber = 0x0203;
constexpr uint16_t kRk = 0x027E;
constexpr uint16_t kMulRk = 0x00BD;
constexpr uint16_t kLabelSst = 0x00FD;
constexpr uint16_t kLabel = 0x0204;
constexpr uint16_t kRString = 0x00D6;
constexpr uint16_t kBoolErr = 0x0205;
constexpr uint16_t kFormula = 0x0006;
constexpr uint16_t kString = 0x0207;
// May stand between a FORMULA record and the STRING record holding its result.
constexpr uint16_t kSharedFormula = 0x04BC;
constexpr uint16_t kArray = 0x0221;
constexpr uint16_t kTable = 0x0236;

constexpr uint8_t kErrorNum = 0x24;
// Days from 1899-12-30 to 1904-01-01.
constexpr double k1904Offset = 1462;

double ieeeDouble(std::string_view data, std::size_t at)
{
    const uint64_t bits = static_cast<uint64_t>(xlsU32(data, at))
                          | static_cast<uint64_t>(xlsU32(data, at + 4)) << 32;
    return std::bit_cast<double>(bits);
}

// An RK value: a 30-bit integer or the upper 30 bits of a double, either of them
// possibly scaled by 100.
double rkValue(uint32_t rk)
{
    double value;
    if (rk & 0x02)
        value = static_cast<double>(static_cast<int32_t>(rk) >> 2);
    else
        value = std::bit_cast<double>(static_cast<uint64_t>(rk & 0xFFFFFFFCu) << 32);
    return (rk & 0x01) ? value / 100 : value;
}

class SheetReader
{
public:
    SheetReader(std::string_view stream, const XlsGlobals &globals, XlsSheetData &sheet)
        : m_stream(stream), m_globals(globals), m_sheet(sheet)
    {
    }

    void read(uint32_t offset)
    {
        if (offset >= m_stream.size())
            throw damagedWorkbook("工作表的位置超出文件范围");
        XlsRecordStream records(m_stream, offset);
        XlsRecord record;
        // The offset must lead to a worksheet's own substream, not back into the globals
        // or into a chart: read from there, records would be taken for cells.
        if (!records.next(record) || record.type != kBof || record.data.size() < 4
            || xlsU16(record.data, 2) != kWorksheetSubstream)
            throw damagedWorkbook("工作表的位置无效");
        // Embedded charts sit inside the sheet as substreams of their own.
        int depth = 1;
        while (depth > 0 && records.next(record)) {
            if (record.type == kBof)
                ++depth;
            else if (record.type == kEof)
                --depth;
            else if (depth == 1)
                cellRecord(records, record);
        }
    }

private:
    void number(int row, int column, uint16_t xf, double value)
    {
        // Excel cannot store infinities or NaNs; they come only from damage and would
        // poison every later conversion.
        if (!std::isfinite(value)) {
            m_sheet.setError(row, column, kErrorNum);
            return;
        }
        const bool isDate = xf < m_globals.xfIsDate.size() && m_globals.xfIsDate[xf];
        if (isDate && m_globals.date1904)
            value += k1904Offset;
        m_sheet.setNumber(row, column, value, isDate);
    }

    void text(int row, int column, const std::string &utf8)
    {
        m_sheet.setText(row, column, m_sheet.addText(utf8));
    }

    void formula(int row, int column, uint16_t xf, std::string_view data)
    {
        if (xlsU16(data, 12) != 0xFFFF) {
            number(row, column, xf, ieeeDouble(data, 6));
            return;
        }
        switch (data[6]) {
        case 0: // the text follows in a STRING record
            m_sheet.setEmpty(row, column);
            m_pendingString = {row, column};
            break;
        case 1:
            m_sheet.setBoolean(row, column, data[8] != 0);
            break;
        case 2:
            m_sheet.setError(row, column, static_cast<uint8_t>(data[8]));
            break;
        default: // an empty text, which reads as an empty cell in .xlsx files too
            m_sheet.setEmpty(row, column);
            break;
        }
    }

    void cellRecord(XlsRecordStream &records, const XlsRecord &record)
    {
        const std::string_view data = record.data;
        if (record.type == kString) {
            if (m_pendingString) {
                XlsStringReader reader(records.withContinues(record));
                const std::string value = reader.unicodeString();
                if (!value.empty())
                    text(m_pendingString->first, m_pendingString->second, value);
            }
            m_pendingString.reset();
            return;
        }
        if (record.type != kSharedFormula && record.type != kArray && record.type != kTable
            && record.type != XlsRecordStream::kContinue)
            m_pendingString.reset();

        if (data.size() < 6)
            return;
        const int row = xlsU16(data, 0);
        const int column = xlsU16(data, 2);
        const uint16_t xf = xlsU16(data, 4);
        switch (record.type) {
        case kNumber:
            if (data.size() >= 14)
                number(row, column, xf, ieeeDouble(data, 6));
            break;
        case kRk:
            if (data.size() >= 10)
                number(row, column, xf, rkValue(xlsU32(data, 6)));
            break;
        case kMulRk:
            // row, first column, then (XF, RK) pairs of six bytes, then the last column.
            for (std::size_t at = 4, i = 0; at + 6 <= data.size(); at += 6, ++i)
                number(row, column + static_cast<int>(i), xlsU16(data, at), rkValue(xlsU32(data, at + 2)));
            break;
        case kLabelSst:
            if (data.size() >= 10)
                m_sheet.setText(row, column, xlsU32(data, 6));
            break;
        case kLabel:
        case kRString: {
            std::vector<std::string_view> segments = records.withContinues(record);
            segments.front() = segments.front().substr(6);
            XlsStringReader reader(std::move(segments));
            text(row, column, reader.unicodeString());
            break;
        }
        case kBoolErr:
            if (data.size() >= 8) {
                if (data[7] != 0)
                    m_sheet.setError(row, column, static_cast<uint8_t>(data[6]));
                else
                    m_sheet.setBoolean(row, column, data[6] != 0);
            }
            break;
        case kFormula:
            if (data.size() >= 14)
                formula(row, column, xf, data);
            break;
        default: // BLANK, MULBLANK and everything else hold no value
            break;
        }
    }

    std::string_view m_stream;
    const XlsGlobals &m_globals;
    XlsSheetData &m_sheet;
    std::optional<std::pair<int, int>> m_pendingString;
};

} // namespace

std::unique_ptr<SheetData> readXlsFirstSheet(std::string_view bytes)
{
    if (!CompoundFile::hasSignature(bytes))
        throw notAWorkbook();
    if (bytes.size() > kMaxXlsFileBytes)
        throw workbookTooLarge();
    const CompoundFile container(bytes);
    // Excel 5.0/95 names its stream "Book"; its first record tells the version.
    std::optional<std::string> stream = container.readStream("Workbook");
    if (!stream)
        stream = container.readStream("Book");
    if (!stream) {
        if (container.hasEncryptedPackage())
            throw encryptedWorkbook();
        throw notAWorkbook();
    }

    auto sheet = std::make_unique<XlsSheetData>();
    const XlsGlobals globals = readXlsGlobals(*stream, *sheet);
    const XlsSheetEntry *first = nullptr;
    for (const XlsSheetEntry &entry : globals.sheets) {
        if (entry.kind == XlsSheetEntry::Kind::Worksheet) {
            first = &entry;
            break;
        }
    }
    if (!first)
        throw WorkbookOpenError(gbk::fromUtf8("工作簿中没有工作表。"));
    SheetReader(*stream, globals, *sheet).read(first->offset);
    sheet->finish();
    return sheet;
}

std::string readXlsFileBytes(const std::filesystem::path &file)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        throw cannotOpenFile(file);
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error)
        throw cannotOpenFile(file);
    if (size > kMaxXlsFileBytes)
        throw workbookTooLarge();
    std::ifstream in(file, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!in || !in.read(bytes.data(), static_cast<std::streamsize>(bytes.size())))
        throw cannotOpenFile(file);
    return bytes;
}

std::unique_ptr<SheetData> readXlsFirstSheet(const std::filesystem::path &file)
{
    return readXlsFirstSheet(std::string_view(readXlsFileBytes(file)));
}

} // namespace quvela::spreadsheet
