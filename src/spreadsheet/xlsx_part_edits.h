// The small edits a write makes to the parts around the worksheet, done on the XML text
// so that everything else in those parts stays byte for byte.
#pragma once

#include <string>
#include <string_view>

namespace quvela::spreadsheet {

// All throw XmlError when the part is damaged.

// The workbook part with <calcPr fullCalcOnLoad="1"/>, so that the applications
// recalculate the formulas that depend on written cells when the file is opened.
std::string requestFullCalculation(std::string_view workbookXml);

// [Content_Types].xml without the Override of partName (a part name from the root).
std::string removeContentTypeOverride(std::string_view contentTypesXml, std::string_view partName);

// A .rels part without the relationships of sourcePart that point at targetPart.
std::string removeRelationshipsTo(std::string_view relationshipsXml, const std::string &sourcePart,
                                  const std::string &targetPart);

} // namespace quvela::spreadsheet
