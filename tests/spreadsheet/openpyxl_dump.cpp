#include "openpyxl_dump.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

namespace quvela::test {

namespace {

std::string quoted(const std::string &text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

} // namespace

OpenpyxlDump dumpWithOpenpyxl(const std::filesystem::path &file, const char *mode)
{
    OpenpyxlDump dump;
    // Debian's interpreter by its full name: a python3 earlier on PATH may lack openpyxl.
    const std::string command = "/usr/bin/python3 "
        + quoted((std::filesystem::path(QUVELA_SOURCE_DIR) / "tests/spreadsheet/dump_openpyxl.py").string())
        + ' ' + quoted(file.string()) + ' ' + mode + " 2>&1";
    FILE *pipe = popen(command.c_str(), "r");
    EXPECT_NE(pipe, nullptr) << command;
    if (!pipe)
        return dump;
    std::string output;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, got);
    const int status = pclose(pipe);
    EXPECT_EQ(status, 0) << "openpyxl could not read " << file << ":\n" << output;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> fields;
        std::istringstream parts(line);
        std::string field;
        while (std::getline(parts, field, '\t'))
            fields.push_back(field);
        if (fields.size() == 8 && fields[0] == "cell") {
            dump.cells[{std::stoi(fields[1]), std::stoi(fields[2]), std::stoi(fields[3])}] =
                {fields[4], fields[5], fields[6], fields[7]};
        } else {
            dump.sheetLines.push_back(line);
        }
    }
    return dump;
}

} // namespace quvela::test
