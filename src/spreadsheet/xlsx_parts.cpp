#include "spreadsheet/xlsx_parts.h"

#include "spreadsheet/spreadsheet_session.h"

#include <charconv>
#include <optional>

namespace quvela::spreadsheet {

namespace {

[[noreturn]] void damaged(const std::string &detail)
{
    throw WorkbookOpenError(gbk::fromUtf8("工作簿文件已损坏或不是有效的 Excel 文件（" + detail + "）。"));
}

std::string attribute(std::string_view attributes, std::string_view name)
{
    std::string_view raw;
    return XmlScanner::findAttribute(attributes, name, raw) ? XmlScanner::decode(raw) : std::string();
}

bool isTrue(std::string_view value)
{
    return value == "1" || value == "true";
}

} // namespace

std::string relationshipsPartName(const std::string &sourcePart)
{
    const std::size_t slash = sourcePart.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : sourcePart.substr(0, slash + 1);
    const std::string file = slash == std::string::npos ? sourcePart : sourcePart.substr(slash + 1);
    return folder + "_rels/" + file + ".rels";
}

std::string resolveTarget(const std::string &sourcePart, std::string_view target)
{
    std::string path;
    if (!target.empty() && (target.front() == '/' || target.front() == '\\')) {
        path = std::string(target.substr(1));
    } else {
        const std::size_t slash = sourcePart.rfind('/');
        path = (slash == std::string::npos ? std::string() : sourcePart.substr(0, slash + 1))
            + std::string(target);
    }
    for (char &c : path) {
        if (c == '\\')
            c = '/';
    }
    std::vector<std::string> segments;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string segment = path.substr(start, end - start);
        if (segment == "..") {
            if (segments.empty())
                return {};
            segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = end + 1;
    }
    std::string resolved;
    for (const std::string &segment : segments)
        resolved += (resolved.empty() ? "" : "/") + segment;
    return resolved;
}

bool hasTypeSuffix(const Relationship &relationship, std::string_view suffix)
{
    const std::string_view type = relationship.type;
    return type.size() > suffix.size() && type.ends_with(suffix)
        && type[type.size() - suffix.size() - 1] == '/';
}

std::vector<Relationship> readRelationships(ZipPackage &package, const std::string &sourcePart)
{
    std::vector<Relationship> relationships;
    const auto index = package.find(relationshipsPartName(sourcePart));
    if (!index)
        return relationships;
    const std::string document = package.read(*index);
    try {
        XmlScanner scanner{std::string_view(document)};
        for (;;) {
            const auto &token = scanner.next();
            if (token.kind == XmlScanner::Kind::Eof)
                break;
            if ((token.kind != XmlScanner::Kind::Start && token.kind != XmlScanner::Kind::Empty)
                || token.depth != 1 || XmlScanner::localName(token.name) != "Relationship")
                continue;
            Relationship relationship;
            relationship.id = attribute(token.attributes, "Id");
            relationship.type = attribute(token.attributes, "Type");
            if (attribute(token.attributes, "TargetMode") != "External")
                relationship.target = resolveTarget(sourcePart, attribute(token.attributes, "Target"));
            relationships.push_back(std::move(relationship));
            if (relationships.size() > ZipPackage::kMaxEntries * 4)
                damaged("关系过多");
        }
    } catch (const XmlError &error) {
        damaged(std::string("关系部件 XML 无效：") + error.what());
    }
    return relationships;
}

XlsxParts locateParts(ZipPackage &package)
{
    XlsxParts parts;
    for (const Relationship &r : readRelationships(package, "")) {
        if (hasTypeSuffix(r, "officeDocument") && !r.target.empty()) {
            parts.workbook = r.target;
            break;
        }
    }
    if (parts.workbook.empty() && package.find("xl/workbook.xml"))
        parts.workbook = "xl/workbook.xml";
    const auto workbookIndex = parts.workbook.empty() ? std::nullopt : package.find(parts.workbook);
    if (!workbookIndex)
        damaged("找不到工作簿部件");

    std::vector<std::string> sheetIds;
    std::vector<std::string> sheetNames;
    const std::string workbook = package.read(*workbookIndex);
    try {
        XmlScanner scanner{std::string_view(workbook)};
        bool inSheets = false;
        std::optional<XlsxParts::DefinedName> name;
        std::string localSheet;
        std::vector<std::pair<XlsxParts::DefinedName, std::string>> names; // with localSheetId
        for (;;) {
            const auto &token = scanner.next();
            if (token.kind == XmlScanner::Kind::Eof)
                break;
            const bool open = token.kind == XmlScanner::Kind::Start || token.kind == XmlScanner::Kind::Empty;
            const std::string_view local = XmlScanner::localName(token.name);
            if (token.depth == 1 && local == "sheets") {
                inSheets = token.kind == XmlScanner::Kind::Start;
            } else if (open && token.depth == 1 && local == "workbookPr") {
                parts.date1904 = isTrue(attribute(token.attributes, "date1904"));
            } else if (open && inSheets && token.depth == 2 && local == "sheet") {
                sheetIds.push_back(attribute(token.attributes, "id"));
                sheetNames.push_back(attribute(token.attributes, "name"));
            } else if (token.kind == XmlScanner::Kind::Start && token.depth == 2 && local == "definedName") {
                name = XlsxParts::DefinedName{attribute(token.attributes, "name"), {}, {}};
                localSheet = attribute(token.attributes, "localSheetId");
            } else if (name && token.kind == XmlScanner::Kind::Text) {
                XmlScanner::decodeAppend(token.raw, name->text);
            } else if (name && token.kind == XmlScanner::Kind::End && token.depth == 2 && local == "definedName") {
                names.emplace_back(std::move(*name), localSheet);
                name.reset();
            }
        }
        // A local name belongs to the sheet at its place in <sheets>, which lists chart
        // sheets too.
        for (auto &[defined, sheetId] : names) {
            if (!sheetId.empty()) {
                std::size_t index = 0;
                const auto [end, error] = std::from_chars(sheetId.data(), sheetId.data() + sheetId.size(), index);
                if (error != std::errc() || end != sheetId.data() + sheetId.size() || index >= sheetNames.size())
                    continue;
                defined.sheet = sheetNames[index];
            }
            parts.definedNames.push_back(std::move(defined));
        }
    } catch (const XmlError &error) {
        damaged(std::string("工作簿部件 XML 无效：") + error.what());
    }

    const std::vector<Relationship> relationships = readRelationships(package, parts.workbook);
    for (std::size_t i = 0; i < sheetIds.size(); ++i) {
        for (const Relationship &r : relationships) {
            if (r.id == sheetIds[i] && hasTypeSuffix(r, "worksheet") && !r.target.empty()) {
                parts.firstSheet = r.target;
                parts.firstSheetName = sheetNames[i];
                break;
            }
        }
        if (!parts.firstSheet.empty())
            break;
    }
    if (parts.firstSheet.empty() || !package.find(parts.firstSheet))
        damaged("找不到工作表");
    for (std::size_t i = 0; i < sheetIds.size(); ++i) {
        for (const Relationship &r : relationships) {
            if (r.id == sheetIds[i] && hasTypeSuffix(r, "worksheet") && !r.target.empty()
                && r.target != parts.firstSheet && package.find(r.target)) {
                parts.otherSheets.push_back({r.target, sheetNames[i]});
                break;
            }
        }
    }
    for (const Relationship &r : relationships) {
        if (r.target.empty() || !package.find(r.target))
            continue;
        if (hasTypeSuffix(r, "sharedStrings"))
            parts.sharedStrings = r.target;
        else if (hasTypeSuffix(r, "styles"))
            parts.styles = r.target;
        else if (hasTypeSuffix(r, "calcChain"))
            parts.calcChain = r.target;
    }
    for (const Relationship &r : readRelationships(package, parts.firstSheet)) {
        if (hasTypeSuffix(r, "table") && !r.target.empty() && package.find(r.target))
            parts.sheetTables.push_back(r.target);
    }
    return parts;
}

} // namespace quvela::spreadsheet
