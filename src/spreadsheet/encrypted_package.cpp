#include "spreadsheet/encrypted_package.h"

#include <cstring>
#include <fstream>
#include <vector>

namespace quvela::spreadsheet {

bool isEncryptedPackage(const std::filesystem::path &compoundFile)
{
    std::ifstream in(compoundFile, std::ios::binary);
    unsigned char header[512] = {};
    in.read(reinterpret_cast<char *>(header), sizeof header);
    if (in.gcount() < 512)
        return false;
    const unsigned shift = header[0x1E] | (header[0x1F] << 8);
    if (shift != 9 && shift != 12)
        return false;
    const std::size_t sectorSize = std::size_t(1) << shift;

    static const char name[] = "EncryptedPackage";
    unsigned char entryName[34] = {};
    for (std::size_t i = 0; i < 16; ++i)
        entryName[2 * i] = static_cast<unsigned char>(name[i]);

    in.seekg(static_cast<std::streamoff>(sectorSize));
    std::vector<char> chunk(1u << 20);
    const std::size_t maxBytes = 1024u << 20;
    for (std::size_t total = 0; in && total < maxBytes;) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const std::size_t got = static_cast<std::size_t>(in.gcount());
        for (std::size_t at = 0; at + 128 <= got; at += 128) {
            const auto *entry = reinterpret_cast<const unsigned char *>(chunk.data() + at);
            const unsigned length = entry[0x40] | (entry[0x41] << 8);
            if (length == 34 && entry[0x42] == 2 && std::memcmp(entry, entryName, 34) == 0)
                return true;
        }
        total += got;
    }
    return false;
}

} // namespace quvela::spreadsheet
