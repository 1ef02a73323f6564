#include "libreoffice_values.h"

#include "support/temp_folder.h"
#include "zip_parts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace quvela::test {

namespace {

// LibreOffice trusts the stored results of .xlsx files unless told otherwise; its own
// profile, kept apart from any user's, tells it to recalculate always.
const char kProfile[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Office.Calc/Formula/Load"><prop oor:name="OOXMLRecalcMode" oor:op="fuse"><value>0</value></prop></item>
</oor:items>
)";

std::vector<std::string> csvFields(const std::string &line)
{
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                fields.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

} // namespace

std::optional<std::vector<std::vector<std::string>>> valuesByLibreOffice(const std::filesystem::path &file,
                                                                         int sheet)
{
    if (std::system("command -v soffice >/dev/null 2>&1") != 0)
        return std::nullopt;
    TempFolder folder;
    std::filesystem::create_directories(folder / "profile/user");
    writeBytes(folder / "profile/user/registrymodifications.xcu", kProfile);
    // Under its own extension: LibreOffice picks the import filter by it.
    const std::string name = "book" + file.extension().string();
    std::filesystem::copy_file(file, folder / name);
    // 44,34,76: comma, double quote, UTF-8; the twelfth field picks the sheet, whose
    // text then goes to book-<sheet name>.csv.
    const std::string options = sheet == 1 ? "44,34,76" : "44,34,76,1,,0,false,true,false,false,false," + std::to_string(sheet);
    const std::string command = "cd '" + folder.path().string() + "' && soffice -env:UserInstallation=file://"
        + (folder / "profile").string() + " --headless --convert-to 'csv:Text - txt - csv (StarCalc):" + options
        + "' --outdir out " + name + " >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::filesystem::path csv;
    std::error_code ignored; // no folder when LibreOffice failed, which was reported
    for (const auto &entry : std::filesystem::directory_iterator(folder / "out", std::filesystem::directory_options::none, ignored)) {
        if (entry.path().extension() == ".csv")
            csv = entry.path();
    }
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(csv.empty() ? std::string() : readBytes(csv));
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        rows.push_back(csvFields(line));
    }
    EXPECT_FALSE(rows.empty()) << "LibreOffice gave no text for " << file;
    return rows;
}

} // namespace quvela::test
