#include "spreadsheet/compound_file.h"

#include "spreadsheet/xls_error.h"

#include <algorithm>
#include <cstring>

namespace quvela::spreadsheet {
namespace {

constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kFreeSector = 0xFFFFFFFF;
constexpr uint32_t kNoStream = 0xFFFFFFFF;
constexpr std::size_t kHeaderSize = 512;
constexpr std::size_t kEntrySize = 128;
// Workbooks hold a handful of entries; tens of thousands only come from damage.
constexpr std::size_t kMaxDirectoryEntries = 65536;

constexpr uint8_t kTypeStream = 2;
constexpr uint8_t kTypeRoot = 5;

uint16_t u16(std::string_view bytes, std::size_t at)
{
    return static_cast<uint16_t>(static_cast<unsigned char>(bytes[at])
                                 | static_cast<unsigned char>(bytes[at + 1]) << 8);
}

uint32_t u32(std::string_view bytes, std::size_t at)
{
    return static_cast<uint32_t>(u16(bytes, at)) | static_cast<uint32_t>(u16(bytes, at + 2)) << 16;
}

uint64_t u64(std::string_view bytes, std::size_t at)
{
    return static_cast<uint64_t>(u32(bytes, at)) | static_cast<uint64_t>(u32(bytes, at + 4)) << 32;
}

char16_t upperAscii(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool sameName(const std::u16string &name, std::string_view ascii)
{
    if (name.size() != ascii.size())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (upperAscii(name[i]) != upperAscii(static_cast<char16_t>(static_cast<unsigned char>(ascii[i]))))
            return false;
    }
    return true;
}

} // namespace

bool CompoundFile::hasSignature(std::string_view bytes)
{
    static constexpr char kSignature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
    return bytes.size() >= 8 && std::memcmp(bytes.data(), kSignature, 8) == 0;
}

CompoundFile::CompoundFile(std::string_view bytes) : m_bytes(bytes)
{
    if (!hasSignature(bytes))
        throw notAWorkbook();
    if (bytes.size() < kHeaderSize)
        throw damagedWorkbook("文件头不完整");
    const uint16_t sectorShift = u16(bytes, 0x1E);
    const uint16_t miniShift = u16(bytes, 0x20);
    if (sectorShift != 9 && sectorShift != 12)
        throw damagedWorkbook("扇区大小无效");
    if (miniShift != 6 || u32(bytes, 0x38) != 4096)
        throw damagedWorkbook("小扇区参数无效");
    m_sectorSize = 1u << sectorShift;
    m_miniSectorSize = 1u << miniShift;
    m_miniCutoff = u32(bytes, 0x38);
    // The header fills the whole first sector; a short last sector still counts.
    if (bytes.size() > m_sectorSize)
        m_sectorCount = (bytes.size() - m_sectorSize + m_sectorSize - 1) / m_sectorSize;

    readFat(u32(bytes, 0x2C), u32(bytes, 0x44), u32(bytes, 0x48));
    readDirectory(u32(bytes, 0x30));
    readMiniStream(u32(bytes, 0x3C), u32(bytes, 0x40));
    collectRootStreams();
}

// A sector of the file; the last one may be cut short by the end of the bytes.
std::string_view CompoundFile::sector(uint32_t index) const
{
    if (index >= m_sectorCount)
        throw damagedWorkbook("扇区号超出文件范围");
    const std::size_t offset = (static_cast<std::size_t>(index) + 1) * m_sectorSize;
    return m_bytes.substr(offset, m_sectorSize);
}

// Follows a chain through a sector table; stops after sectorLimit sectors. Every step is
// checked, so a loop or a number outside the table ends in an error instead of a hang.
std::vector<uint32_t> CompoundFile::chain(uint32_t start, const std::vector<uint32_t> &table,
                                          uint64_t sectorLimit) const
{
    std::vector<uint32_t> sectors;
    std::vector<bool> seen(table.size(), false);
    uint32_t current = start;
    while (current != kEndOfChain && sectors.size() < sectorLimit) {
        if (current >= table.size())
            throw damagedWorkbook("扇区链中有无效的扇区号");
        if (seen[current])
            throw damagedWorkbook("扇区链首尾相接");
        seen[current] = true;
        sectors.push_back(current);
        current = table[current];
    }
    return sectors;
}

void CompoundFile::readFat(uint32_t fatSectors, uint32_t firstDifat, uint32_t difatSectors)
{
    if (fatSectors == 0 || fatSectors > m_sectorCount)
        throw damagedWorkbook("扇区分配表的大小无效");
    if (difatSectors > m_sectorCount)
        throw damagedWorkbook("扇区分配表索引的大小无效");

    std::vector<uint32_t> fatList;
    fatList.reserve(fatSectors);
    for (std::size_t i = 0; i < 109 && fatList.size() < fatSectors; ++i)
        fatList.push_back(u32(m_bytes, 0x4C + 4 * i));

    // Further FAT sector numbers sit in a chain of DIFAT sectors, each ending with the
    // number of the next.
    std::vector<bool> seen(m_sectorCount, false);
    uint32_t difat = firstDifat;
    for (uint32_t n = 0; fatList.size() < fatSectors; ++n) {
        if (n >= difatSectors || difat >= m_sectorCount || seen[difat])
            throw damagedWorkbook("扇区分配表索引不完整");
        seen[difat] = true;
        const std::string_view data = sector(difat);
        if (data.size() < m_sectorSize)
            throw damagedWorkbook("扇区分配表索引不完整");
        const std::size_t perSector = m_sectorSize / 4 - 1;
        for (std::size_t i = 0; i < perSector && fatList.size() < fatSectors; ++i)
            fatList.push_back(u32(data, 4 * i));
        difat = u32(data, m_sectorSize - 4);
    }

    m_fat.reserve(static_cast<std::size_t>(fatSectors) * (m_sectorSize / 4));
    for (uint32_t number : fatList) {
        const std::string_view data = sector(number);
        for (std::size_t at = 0; at < m_sectorSize; at += 4)
            m_fat.push_back(at + 4 <= data.size() ? u32(data, at) : kFreeSector);
    }
}

void CompoundFile::readDirectory(uint32_t firstSector)
{
    const std::vector<uint32_t> sectors =
        chain(firstSector, m_fat, kMaxDirectoryEntries * kEntrySize / m_sectorSize + 1);
    if (sectors.size() * (m_sectorSize / kEntrySize) > kMaxDirectoryEntries)
        throw damagedWorkbook("目录过大");
    for (uint32_t number : sectors) {
        const std::string_view data = sector(number);
        for (std::size_t at = 0; at + kEntrySize <= data.size(); at += kEntrySize) {
            Entry entry;
            const uint16_t nameBytes = u16(data, at + 0x40);
            if (nameBytes >= 2 && nameBytes <= 64) {
                for (std::size_t i = 0; i + 1 < nameBytes / 2u; ++i)
                    entry.name.push_back(static_cast<char16_t>(u16(data, at + 2 * i)));
            }
            entry.type = static_cast<uint8_t>(data[at + 0x42]);
            entry.left = u32(data, at + 0x44);
            entry.right = u32(data, at + 0x48);
            entry.child = u32(data, at + 0x4C);
            entry.start = u32(data, at + 0x74);
            // Version 3 files leave the upper half undefined; some writers fill it with junk.
            entry.size = m_sectorSize == 512 ? u32(data, at + 0x78) : u64(data, at + 0x78);
            m_entries.push_back(std::move(entry));
        }
    }
    if (m_entries.empty() || m_entries.front().type != kTypeRoot)
        throw damagedWorkbook("缺少根目录");
}

void CompoundFile::readMiniStream(uint32_t firstMiniFat, uint32_t miniFatSectors)
{
    const Entry &root = m_entries.front();
    if (root.size == 0)
        return;
    if (root.size > m_bytes.size())
        throw damagedWorkbook("流的长度超过其扇区链");
    const uint64_t needed = (root.size + m_sectorSize - 1) / m_sectorSize;
    const std::vector<uint32_t> sectors = chain(root.start, m_fat, needed);
    if (sectors.size() < needed)
        throw damagedWorkbook("流的长度超过其扇区链");
    m_miniStream.reserve(root.size);
    for (uint32_t number : sectors)
        m_miniStream.append(sector(number));
    if (m_miniStream.size() < root.size)
        throw damagedWorkbook("流的长度超过其扇区链");
    m_miniStream.resize(root.size);

    if (miniFatSectors > m_sectorCount)
        throw damagedWorkbook("小扇区分配表的大小无效");
    for (uint32_t number : chain(firstMiniFat, m_fat, miniFatSectors)) {
        const std::string_view data = sector(number);
        for (std::size_t at = 0; at + 4 <= data.size(); at += 4)
            m_miniFat.push_back(u32(data, at));
    }
}

// The streams of the root storage sit in a red-black tree under its child link. The
// whole tree is walked rather than searched, because some writers leave it unsorted.
void CompoundFile::collectRootStreams()
{
    std::vector<bool> seen(m_entries.size(), false);
    std::vector<uint32_t> pending{m_entries.front().child};
    while (!pending.empty()) {
        const uint32_t index = pending.back();
        pending.pop_back();
        if (index == kNoStream)
            continue;
        if (index >= m_entries.size() || index == 0)
            throw damagedWorkbook("目录中有无效的链接");
        if (seen[index])
            throw damagedWorkbook("目录中有循环链接");
        seen[index] = true;
        const Entry &entry = m_entries[index];
        if (entry.type == kTypeStream)
            m_rootStreams.push_back(index);
        pending.push_back(entry.left);
        pending.push_back(entry.right);
    }
}

const CompoundFile::Entry *CompoundFile::find(std::string_view asciiName) const
{
    for (uint32_t index : m_rootStreams) {
        if (sameName(m_entries[index].name, asciiName))
            return &m_entries[index];
    }
    return nullptr;
}

std::vector<std::u16string> CompoundFile::streamNames() const
{
    std::vector<std::u16string> names;
    for (uint32_t index : m_rootStreams)
        names.push_back(m_entries[index].name);
    return names;
}

bool CompoundFile::hasStream(std::string_view asciiName) const
{
    return find(asciiName) != nullptr;
}

std::optional<std::string> CompoundFile::readStream(std::string_view asciiName) const
{
    const Entry *entry = find(asciiName);
    if (!entry)
        return std::nullopt;
    std::string data;
    if (entry->size == 0)
        return data;
    const bool mini = entry->size < m_miniCutoff;
    const uint32_t unit = mini ? m_miniSectorSize : m_sectorSize;
    const uint64_t available = mini ? m_miniStream.size() : m_bytes.size();
    if (entry->size > available)
        throw damagedWorkbook("流的长度超过其扇区链");
    const uint64_t needed = (entry->size + unit - 1) / unit;
    const std::vector<uint32_t> sectors = chain(entry->start, mini ? m_miniFat : m_fat, needed);
    if (sectors.size() < needed)
        throw damagedWorkbook("流的长度超过其扇区链");
    data.reserve(entry->size);
    for (uint32_t number : sectors) {
        if (mini) {
            const std::size_t offset = static_cast<std::size_t>(number) * unit;
            if (offset >= m_miniStream.size())
                throw damagedWorkbook("扇区号超出文件范围");
            data.append(std::string_view(m_miniStream).substr(offset, unit));
        } else {
            data.append(sector(number));
        }
    }
    if (data.size() < entry->size)
        throw damagedWorkbook("流的长度超过其扇区链");
    data.resize(entry->size);
    return data;
}

} // namespace quvela::spreadsheet
