#include "xlrd_dump.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

namespace quvela::test {

std::vector<std::string> dumpWithXlrd(const std::filesystem::path &file, const char *mode)
{
    auto quoted = [](const std::string &text) {
        std::string out = "'";
        for (char c : text)
            out += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return out + "'";
    };
    // Debian's interpreter by its full name: a python3 earlier on PATH may lack xlrd.
    const std::string command = "/usr/bin/python3 "
        + quoted((std::filesystem::path(QUVELA_SOURCE_DIR) / "tests/spreadsheet/dump_xlrd.py").string()) + ' '
        + quoted(file.string()) + ' ' + mode + " 2>&1";
    std::vector<std::string> lines;
    FILE *pipe = popen(command.c_str(), "r");
    EXPECT_NE(pipe, nullptr) << command;
    if (!pipe)
        return lines;
    std::string output;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, got);
    EXPECT_EQ(pclose(pipe), 0) << "xlrd could not read " << file << ":\n" << output;
    std::istringstream in(output);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

} // namespace quvela::test
