// A zip package opened for reading, with the bounds a hostile file needs: entry count,
// names, and inflated sizes counted as they are read (declared sizes are not trusted).
#pragma once

#include "spreadsheet/xml_scanner.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

struct zip;

namespace quvela::spreadsheet {

class ZipPackage
{
public:
    static constexpr std::size_t kMaxEntries = 10000;
    static constexpr uint64_t kMaxEntryBytes = 1024ull << 20;
    static constexpr uint64_t kMaxTotalBytes = 2048ull << 20;
    static constexpr std::size_t kMaxSmallPartBytes = 64u << 20;
    // Past kRatioCheckBytes, a part inflating to more than kMaxRatio times its stored
    // size is a bomb (sheet XML deflates at 5-50 to 1; only long runs of one byte come
    // near deflate's limit of about 1032, and other methods go far beyond it).
    static constexpr uint64_t kRatioCheckBytes = 16u << 20;
    static constexpr uint64_t kMaxRatio = 1000;

    // Throws WorkbookOpenError.
    explicit ZipPackage(const std::filesystem::path &file);
    ~ZipPackage();
    ZipPackage(const ZipPackage &) = delete;
    ZipPackage &operator=(const ZipPackage &) = delete;

    // The index of a part, named without regard to ASCII case, "\" taken as "/" and a
    // leading "/" ignored.
    std::optional<uint64_t> find(std::string_view partName) const;
    // A small part (relationships, workbook, styles) whole; throws WorkbookOpenError past
    // kMaxSmallPartBytes.
    std::string read(uint64_t index);
    // A part of any size in chunks, for the XML scanner.
    XmlScanner::Source stream(uint64_t index);

    zip *handle() const { return m_zip; }
    uint64_t entryCount() const { return m_count; }
    static std::string normalise(std::string_view partName);

private:
    struct Reader;
    zip *m_zip = nullptr;
    uint64_t m_count = 0;
    uint64_t m_totalRead = 0;
    uint64_t m_fileSize = 0;
    std::unordered_map<std::string, uint64_t> m_names;
};

} // namespace quvela::spreadsheet
