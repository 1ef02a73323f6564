// Where the parts of an .xlsx package are, found through its relationships the way
// Excel finds them (no part name is assumed).
#pragma once

#include "spreadsheet/zip_package.h"

#include <string>
#include <vector>

namespace quvela::spreadsheet {

struct Relationship
{
    std::string id;
    std::string type;
    std::string target; // part name from the package root; empty for external targets
};

struct XlsxParts
{
    std::string workbook;
    std::string firstSheet; // the first worksheet in workbook order
    std::string firstSheetName;
    struct Sheet
    {
        std::string part;
        std::string name;
    };
    std::vector<Sheet> otherSheets; // the worksheets after the first, in workbook order
    std::string sharedStrings;
    std::string styles;
    std::string calcChain;
    std::vector<std::string> sheetTables;
    bool date1904 = false;
    // The workbook's defined names, as formulas use them: "应发" for '花名册'!$D$2:$D$4.
    struct DefinedName
    {
        std::string name;
        std::string sheet; // the sheet a local name belongs to; empty for the whole workbook
        std::string text;  // the formula it stands for, without "="
    };
    std::vector<DefinedName> definedNames;
};

// The relationships of a part ("" for the package); none when it has no .rels part.
// Throws WorkbookOpenError when the .rels part is damaged.
std::vector<Relationship> readRelationships(ZipPackage &package, const std::string &sourcePart);
// The .rels part name of a part.
std::string relationshipsPartName(const std::string &sourcePart);
// A Target resolved against its source part; empty when it leaves the package.
std::string resolveTarget(const std::string &sourcePart, std::string_view target);
// Does a relationship type end with "/" + suffix (transitional and strict URIs alike)?
bool hasTypeSuffix(const Relationship &relationship, std::string_view suffix);

// Throws WorkbookOpenError when there is no workbook or no worksheet.
XlsxParts locateParts(ZipPackage &package);

} // namespace quvela::spreadsheet
