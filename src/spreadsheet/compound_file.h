// The compound-file container (OLE2) that .xls workbooks and password-protected
// .xlsx packages are stored in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quvela::spreadsheet {

class CompoundFile
{
public:
    // The eight bytes every compound file starts with.
    static bool hasSignature(std::string_view bytes);

    // Checks the header, the sector tables and the directory. The bytes are not copied:
    // they must outlive this object. Throws WorkbookOpenError when the container is
    // damaged; every sector chain, size and offset is bounded by the bytes given.
    explicit CompoundFile(std::string_view bytes);

    // Streams directly under the root storage, named without regard to ASCII letter case.
    bool hasStream(std::string_view asciiName) const;
    // The whole stream; nullopt when there is none of that name. Throws WorkbookOpenError
    // when its chain is damaged or shorter than its size.
    std::optional<std::string> readStream(std::string_view asciiName) const;

    // The names of the streams directly under the root storage, as UTF-16.
    std::vector<std::u16string> streamNames() const;

    // An "EncryptedPackage" stream: an .xlsx protected by a password to open.
    bool hasEncryptedPackage() const { return hasStream("EncryptedPackage"); }

private:
    struct Entry
    {
        std::u16string name;
        uint8_t type = 0;
        uint32_t left = 0;
        uint32_t right = 0;
        uint32_t child = 0;
        uint32_t start = 0;
        uint64_t size = 0;
    };

    std::string_view sector(uint32_t index) const;
    std::vector<uint32_t> chain(uint32_t start, const std::vector<uint32_t> &table,
                                uint64_t sectorCount) const;
    void readFat(uint32_t fatSectors, uint32_t firstDifat, uint32_t difatSectors);
    void readDirectory(uint32_t firstSector);
    void readMiniStream(uint32_t firstMiniFat, uint32_t miniFatSectors);
    void collectRootStreams();
    const Entry *find(std::string_view asciiName) const;

    std::string_view m_bytes;
    uint32_t m_sectorSize = 512;
    uint32_t m_miniSectorSize = 64;
    uint32_t m_miniCutoff = 4096;
    uint64_t m_sectorCount = 0; // sectors that start inside the bytes
    std::vector<uint32_t> m_fat;
    std::vector<uint32_t> m_miniFat;
    std::string m_miniStream;
    std::vector<Entry> m_entries;
    std::vector<uint32_t> m_rootStreams; // indexes into m_entries
};

} // namespace quvela::spreadsheet
