// A file's bytes as they stand on disk; empty when there is no such file.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace quvela::test {

inline std::string fileBytes(const std::filesystem::path &file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace quvela::test
