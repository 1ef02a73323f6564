#include "spreadsheet/xls_globals.h"

#include "spreadsheet/number_format.h"
#include "spreadsheet/xls_error.h"
#include "spreadsheet/xls_record_stream.h"
#include "spreadsheet/xls_sheet_data.h"
#include "spreadsheet/xls_string_reader.h"

#include <map>

namespace quvela::spreadsheet {
namespace {

constexpr uint16_t kBof = 0x0809;
constexpr uint16_t kEof = 0x000A;
constexpr uint16_t kFilePass = 0x002F;
constexpr uint16_t kDateMode = 0x0022;
constexpr uint16_t kBoundSheet = 0x0085;
constexpr uint16_t kSst = 0x00FC;
constexpr uint16_t kFormat = 0x041E;
constexpr uint16_t kXf = 0x00E0;

constexpr uint16_t kBiff8 = 0x0600;
constexpr uint16_t kWorkbookGlobals = 0x0005;

XlsSheetEntry::Kind sheetKind(uint8_t type)
{
    switch (type) {
    case 0: return XlsSheetEntry::Kind::Worksheet;
    case 1: return XlsSheetEntry::Kind::MacroSheet;
    case 2: return XlsSheetEntry::Kind::Chart;
    case 6: return XlsSheetEntry::Kind::Module;
    default: return XlsSheetEntry::Kind::Other;
    }
}

void readSharedStrings(XlsRecordStream &records, const XlsRecord &sst, XlsSheetData &texts)
{
    XlsStringReader reader(records.withContinues(sst));
    reader.skip(4); // total count of uses
    const uint32_t unique = reader.u32();
    // The declared count is only an upper bound: never size anything from it.
    for (uint32_t i = 0; i < unique && !reader.atEnd(); ++i)
        texts.addText(reader.unicodeString());
}

} // namespace

XlsGlobals readXlsGlobals(std::string_view stream, XlsSheetData &texts)
{
    XlsRecordStream records(stream);
    XlsRecord record;
    if (!records.next(record) || record.type != kBof || record.data.size() < 4)
        throw damagedWorkbook("缺少工作簿开头记录");
    const uint16_t version = xlsU16(record.data, 0);
    if (version < kBiff8)
        throw oldExcelFormat();
    if (version != kBiff8 || xlsU16(record.data, 2) != kWorkbookGlobals)
        throw damagedWorkbook("工作簿开头记录无效");

    XlsGlobals globals;
    std::map<uint16_t, bool> customIsDate;
    std::vector<uint16_t> xfFormats;
    while (records.next(record) && record.type != kEof) {
        const std::string_view data = record.data;
        switch (record.type) {
        case kFilePass:
            throw encryptedWorkbook();
        case kDateMode:
            if (data.size() >= 2)
                globals.date1904 = xlsU16(data, 0) != 0;
            break;
        case kBoundSheet:
            if (data.size() >= 6)
                globals.sheets.push_back({sheetKind(static_cast<uint8_t>(data[5])), xlsU32(data, 0)});
            break;
        case kSst:
            readSharedStrings(records, record, texts);
            break;
        case kFormat: {
            XlsStringReader reader(records.withContinues(record));
            const uint16_t id = reader.u16();
            customIsDate[id] = isDateFormatCode(reader.unicodeString());
            break;
        }
        case kXf:
            if (data.size() >= 4)
                xfFormats.push_back(xlsU16(data, 2));
            break;
        default:
            break;
        }
    }

    // A FORMAT record overrides the built-in meaning of its id, as in .xlsx files.
    globals.xfIsDate.reserve(xfFormats.size());
    for (uint16_t id : xfFormats) {
        const auto custom = customIsDate.find(id);
        globals.xfIsDate.push_back(custom != customIsDate.end() ? custom->second
                                                                : isBuiltinDateFormat(id));
    }
    return globals;
}

} // namespace quvela::spreadsheet
