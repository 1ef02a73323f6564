#include "spreadsheet/xlsx_part_edits.h"

#include "spreadsheet/xlsx_parts.h"
#include "spreadsheet/xml_scanner.h"
#include "spreadsheet/zip_package.h"

#include <algorithm>
#include <array>
#include <functional>

namespace quvela::spreadsheet {

namespace {

using Kind = XmlScanner::Kind;

// Copies the document, leaving out the elements at depth 1 for which drop is true.
std::string withoutChildren(std::string_view xml,
                            const std::function<bool(const XmlScanner::Token &)> &drop)
{
    XmlScanner scanner(xml);
    std::string out;
    out.reserve(xml.size());
    for (;;) {
        const auto &token = scanner.next();
        if (token.kind == Kind::Eof)
            return out;
        if ((token.kind == Kind::Start || token.kind == Kind::Empty) && token.depth == 1 && drop(token)) {
            if (token.kind == Kind::Start) {
                // Skipped token by token: nothing here recurses over what the file holds.
                for (;;) {
                    const auto &inner = scanner.next();
                    if (inner.kind == Kind::End && inner.depth == 1)
                        break;
                }
            }
            continue;
        }
        out += token.raw;
    }
}

std::string decodedAttribute(std::string_view attributes, std::string_view name)
{
    std::string_view raw;
    return XmlScanner::findAttribute(attributes, name, raw) ? XmlScanner::decode(raw) : std::string();
}

} // namespace

std::string requestFullCalculation(std::string_view workbookXml)
{
    // Children of <workbook> that come after calcPr in the schema's order.
    static constexpr std::array<std::string_view, 9> after = {
        "oleSize", "customWorkbookViews", "pivotCaches", "smartTagPr", "smartTagTypes",
        "webPublishing", "fileRecoveryPr", "webPublishObjects", "extLst"};
    XmlScanner scanner(workbookXml);
    std::string out;
    out.reserve(workbookXml.size() + 40);
    std::string prefix;
    bool done = false;
    for (;;) {
        const auto &token = scanner.next();
        if (token.kind == Kind::Eof)
            return out;
        const std::string_view local = XmlScanner::localName(token.name);
        const bool open = token.kind == Kind::Start || token.kind == Kind::Empty;
        if (open && token.depth == 0)
            prefix = std::string(token.name.substr(0, token.name.size() - local.size()));
        if (!done && open && token.depth == 1 && local == "calcPr") {
            out += '<';
            out += token.name;
            XmlScanner::Attributes attributes(token.attributes);
            std::string_view name;
            std::string_view value;
            while (attributes.next(name, value)) {
                if (XmlScanner::localName(name) == "fullCalcOnLoad")
                    continue;
                out += ' ';
                out += name;
                out += '=';
                out += value.data()[-1];
                out += value;
                out += value.data()[-1];
            }
            out += " fullCalcOnLoad=\"1\"";
            out += token.kind == Kind::Empty ? "/>" : ">";
            done = true;
            continue;
        }
        const bool insertHere = !done
            && ((open && token.depth == 1
                 && std::find(after.begin(), after.end(), local) != after.end())
                || (token.kind == Kind::End && token.depth == 0));
        if (insertHere) {
            out += '<' + prefix + "calcPr fullCalcOnLoad=\"1\"/>";
            done = true;
        }
        out += token.raw;
    }
}

std::string removeContentTypeOverride(std::string_view contentTypesXml, std::string_view partName)
{
    const std::string wanted = ZipPackage::normalise(partName);
    return withoutChildren(contentTypesXml, [&](const XmlScanner::Token &token) {
        return XmlScanner::localName(token.name) == "Override"
            && ZipPackage::normalise(decodedAttribute(token.attributes, "PartName")) == wanted;
    });
}

std::string removeRelationshipsTo(std::string_view relationshipsXml, const std::string &sourcePart,
                                  const std::string &targetPart)
{
    const std::string wanted = ZipPackage::normalise(targetPart);
    return withoutChildren(relationshipsXml, [&](const XmlScanner::Token &token) {
        return XmlScanner::localName(token.name) == "Relationship"
            && decodedAttribute(token.attributes, "TargetMode") != "External"
            && ZipPackage::normalise(
                   resolveTarget(sourcePart, decodedAttribute(token.attributes, "Target")))
            == wanted;
    });
}

} // namespace quvela::spreadsheet
