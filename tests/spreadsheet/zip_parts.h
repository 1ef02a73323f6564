// Workbook packages assembled part by part, the way other producers lay them out, and
// taken apart again to compare what a save kept.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quvela::test {

struct ZipPart
{
    std::string name;
    std::string data;
};

// Writes the parts, deflated, in the order given. Fails the test on any libzip error.
void writeZip(const std::filesystem::path &file, const std::vector<ZipPart> &parts);
// Every entry, inflated, in the order stored.
std::vector<ZipPart> readZip(const std::filesystem::path &file);
std::string readBytes(const std::filesystem::path &file);
// The data of the named entry; fails the test when there is none.
std::string &partData(std::vector<ZipPart> &parts, const std::string &name);
const std::string &partData(const std::vector<ZipPart> &parts, const std::string &name);
// The whole <c> element of a cell in a worksheet's XML ("B3"); empty when there is none.
std::string cellXml(const std::string &sheetXml, const std::string &reference);
void writeBytes(const std::filesystem::path &file, const std::string &bytes);

// A one-or-more-sheet package as LibreOffice or WPS might write it. The worksheet XML
// is given whole; everything else is the least a reader needs.
struct HandWorkbook
{
    // Sheets in workbook order; each with its part name (relative to xl/) and XML.
    struct Sheet
    {
        std::string name;
        std::string part;
        std::string xml;
    };
    std::vector<Sheet> sheets;
    std::string sharedStrings; // the <sst> document, or empty for none
    std::string styles;        // the <styleSheet> document, or empty for none
    std::string workbookPr;    // attributes of <workbookPr>, e.g. date1904="1"

    std::vector<ZipPart> parts() const;
    void write(const std::filesystem::path &file) const { writeZip(file, parts()); }
};

// A <worksheet> document around the given <sheetData> content.
std::string worksheetXml(const std::string &sheetDataContent);

} // namespace quvela::test
