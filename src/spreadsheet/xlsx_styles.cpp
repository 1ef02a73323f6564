#include "spreadsheet/xlsx_styles.h"

#include "spreadsheet/number_format.h"
#include "spreadsheet/spreadsheet_session.h"

#include <charconv>
#include <unordered_map>

namespace quvela::spreadsheet {

namespace {

constexpr std::size_t kMaxStyles = 1u << 20;

int number(std::string_view attributes, std::string_view name, int fallback)
{
    std::string_view raw;
    int value = fallback;
    if (XmlScanner::findAttribute(attributes, name, raw))
        std::from_chars(raw.data(), raw.data() + raw.size(), value);
    return value;
}

} // namespace

std::vector<bool> readDateStyles(ZipPackage &package, const std::string &stylesPart)
{
    std::vector<int> formatIds;
    std::unordered_map<int, bool> custom;
    const auto index = stylesPart.empty() ? std::nullopt : package.find(stylesPart);
    if (!index)
        return {};
    const std::string document = package.read(*index);
    try {
        XmlScanner scanner{std::string_view(document)};
        bool inCellXfs = false;
        bool inNumFmts = false;
        for (;;) {
            const auto &token = scanner.next();
            if (token.kind == XmlScanner::Kind::Eof)
                break;
            const std::string_view local = XmlScanner::localName(token.name);
            const bool open = token.kind == XmlScanner::Kind::Start || token.kind == XmlScanner::Kind::Empty;
            if (token.depth == 1) {
                if (local == "cellXfs")
                    inCellXfs = token.kind == XmlScanner::Kind::Start;
                else if (local == "numFmts")
                    inNumFmts = token.kind == XmlScanner::Kind::Start;
            } else if (open && token.depth == 2 && inNumFmts && local == "numFmt") {
                std::string_view code;
                XmlScanner::findAttribute(token.attributes, "formatCode", code);
                custom[number(token.attributes, "numFmtId", -1)] = isDateFormatCode(XmlScanner::decode(code));
            } else if (open && token.depth == 2 && inCellXfs && local == "xf") {
                if (formatIds.size() >= kMaxStyles)
                    throw WorkbookOpenError(gbk::fromUtf8("工作簿的样式过多，无法读取。"));
                formatIds.push_back(number(token.attributes, "numFmtId", 0));
            }
        }
    } catch (const XmlError &error) {
        throw WorkbookOpenError(
            gbk::fromUtf8(std::string("工作簿文件已损坏或不是有效的 Excel 文件（样式部件 XML 无效：")
                          + error.what() + "）。"));
    }
    std::vector<bool> dates(formatIds.size());
    for (std::size_t i = 0; i < formatIds.size(); ++i) {
        const auto it = custom.find(formatIds[i]);
        dates[i] = it != custom.end() ? it->second : isBuiltinDateFormat(formatIds[i]);
    }
    return dates;
}

} // namespace quvela::spreadsheet
