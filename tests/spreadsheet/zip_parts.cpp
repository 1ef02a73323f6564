#include "zip_parts.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <fstream>
#include <regex>
#include <iterator>

namespace quvela::test {

namespace {
const char kMain[] = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char kRel[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
} // namespace

void writeZip(const std::filesystem::path &file, const std::vector<ZipPart> &parts)
{
    int error = 0;
    zip_t *archive = zip_open(file.string().c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr) << "zip_open " << error;
    for (const ZipPart &part : parts) {
        zip_source_t *source = zip_source_buffer(archive, part.data.data(), part.data.size(), 0);
        ASSERT_NE(source, nullptr);
        ASSERT_GE(zip_file_add(archive, part.name.c_str(), source, ZIP_FL_ENC_UTF_8), 0)
            << part.name << ": " << zip_strerror(archive);
    }
    ASSERT_EQ(zip_close(archive), 0) << zip_strerror(archive);
}

std::string &partData(std::vector<ZipPart> &parts, const std::string &name)
{
    for (ZipPart &part : parts) {
        if (part.name == name)
            return part.data;
    }
    ADD_FAILURE() << "no part " << name;
    static std::string none;
    return none;
}

const std::string &partData(const std::vector<ZipPart> &parts, const std::string &name)
{
    return partData(const_cast<std::vector<ZipPart> &>(parts), name);
}

std::string cellXml(const std::string &sheetXml, const std::string &reference)
{
    std::smatch match;
    if (std::regex_search(sheetXml, match, std::regex("<c r=\"" + reference + "\"[^>]*?(/>|>.*?</c>)")))
        return match.str();
    return {};
}

std::vector<ZipPart> readZip(const std::filesystem::path &file)
{
    std::vector<ZipPart> parts;
    int error = 0;
    zip_t *archive = zip_open(file.string().c_str(), ZIP_RDONLY, &error);
    EXPECT_NE(archive, nullptr) << file;
    if (!archive)
        return parts;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        ZipPart part;
        part.name = zip_get_name(archive, static_cast<zip_uint64_t>(i), 0);
        zip_file_t *entry = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        EXPECT_NE(entry, nullptr) << part.name;
        if (!entry)
            continue;
        char buffer[65536];
        zip_int64_t got = 0;
        while ((got = zip_fread(entry, buffer, sizeof buffer)) > 0)
            part.data.append(buffer, static_cast<std::size_t>(got));
        EXPECT_EQ(got, 0) << part.name;
        zip_fclose(entry);
        parts.push_back(std::move(part));
    }
    zip_discard(archive);
    return parts;
}

std::string readBytes(const std::filesystem::path &file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::filesystem::path &file, const std::string &bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << file;
}

std::string worksheetXml(const std::string &sheetDataContent)
{
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<worksheet xmlns=\"")
        + kMain + "\" xmlns:r=\"" + kRel + "\"><sheetData>" + sheetDataContent
        + "</sheetData></worksheet>";
}

std::vector<ZipPart> HandWorkbook::parts() const
{
    std::string types = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                        "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>";
    std::string sheetList;
    std::string rels = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships xmlns=\"")
        + "http://schemas.openxmlformats.org/package/2006/relationships\">";
    std::vector<ZipPart> sheetParts;
    // Relationship ids run backwards, so that neither the id nor the part name gives the order.
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        const std::string id = "rId" + std::to_string(sheets.size() - i + 2);
        sheetList += "<sheet name=\"" + sheets[i].name + "\" sheetId=\"" + std::to_string(i + 1)
            + "\" r:id=\"" + id + "\"/>";
        rels += "<Relationship Id=\"" + id
            + "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" Target=\""
            + sheets[i].part + "\"/>";
        types += "<Override PartName=\"/xl/" + sheets[i].part
            + "\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>";
        sheetParts.push_back({"xl/" + sheets[i].part, sheets[i].xml});
    }
    if (!sharedStrings.empty()) {
        rels += "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings\" Target=\"sharedStrings.xml\"/>";
        types += "<Override PartName=\"/xl/sharedStrings.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/>";
    }
    if (!styles.empty()) {
        rels += "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" Target=\"styles.xml\"/>";
        types += "<Override PartName=\"/xl/styles.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>";
    }
    rels += "</Relationships>";
    types += "</Types>";
    const std::string workbook = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?><workbook xmlns=\"")
        + kMain + "\" xmlns:r=\"" + kRel + "\"><workbookPr " + workbookPr + "/><sheets>" + sheetList
        + "</sheets></workbook>";

    std::vector<ZipPart> parts{
        {"[Content_Types].xml", types},
        {"_rels/.rels",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" Target=\"xl/workbook.xml\"/>"
         "</Relationships>"},
        {"xl/workbook.xml", workbook},
        {"xl/_rels/workbook.xml.rels", rels},
    };
    parts.insert(parts.end(), sheetParts.begin(), sheetParts.end());
    if (!sharedStrings.empty())
        parts.push_back({"xl/sharedStrings.xml", sharedStrings});
    if (!styles.empty())
        parts.push_back({"xl/styles.xml", styles});
    return parts;
}

} // namespace quvela::test
