#include "spreadsheet/zip_package.h"

#include "spreadsheet/spreadsheet_session.h"

#include <zip.h>

#include <algorithm>
#include <memory>

namespace quvela::spreadsheet {

namespace {

[[noreturn]] void damaged(const char *detail)
{
    throw WorkbookOpenError(gbk::fromUtf8(std::string("工作簿文件已损坏或不是有效的 Excel 文件（")
                                          + detail + "）。"));
}

} // namespace

struct ZipPackage::Reader
{
    ZipPackage *package;
    uint64_t index;
    std::shared_ptr<zip_file_t> file;
    uint64_t read = 0;
    uint64_t compressed = 0;

    std::size_t operator()(char *buffer, std::size_t capacity)
    {
        if (!file) {
            zip_file_t *f = zip_fopen_index(package->m_zip, index, 0);
            if (!f)
                damaged("无法解压部件");
            file.reset(f, zip_fclose);
            zip_stat_t stat;
            zip_stat_init(&stat);
            if (zip_stat_index(package->m_zip, index, 0, &stat) == 0 && (stat.valid & ZIP_STAT_COMP_SIZE))
                compressed = stat.comp_size;
            // The stored data cannot be larger than the file it is in.
            compressed = std::min(compressed, package->m_fileSize);
        }
        const zip_int64_t got = zip_fread(file.get(), buffer, capacity);
        if (got < 0)
            damaged("解压失败");
        read += static_cast<uint64_t>(got);
        package->m_totalRead += static_cast<uint64_t>(got);
        if (read > kMaxEntryBytes || package->m_totalRead > kMaxTotalBytes)
            throw WorkbookOpenError(gbk::fromUtf8("工作簿解压后过大，无法读取。"));
        // Stop a bomb early rather than at the size cap: inflating and scanning a
        // gigabyte takes long. Real parts stay far below this ratio.
        if (read > kRatioCheckBytes && read / kMaxRatio > compressed)
            throw WorkbookOpenError(gbk::fromUtf8("工作簿解压后过大，无法读取。"));
        return static_cast<std::size_t>(got);
    }
};

std::string ZipPackage::normalise(std::string_view partName)
{
    std::string name;
    name.reserve(partName.size());
    for (char c : partName) {
        if (c == '\\')
            c = '/';
        else if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        name += c;
    }
    while (!name.empty() && name.front() == '/')
        name.erase(0, 1);
    return name;
}

ZipPackage::ZipPackage(const std::filesystem::path &file)
{
    std::error_code sizeError;
    m_fileSize = std::filesystem::file_size(file, sizeError);
    if (sizeError)
        m_fileSize = 0;
    int error = 0;
    m_zip = zip_open(file.string().c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!m_zip)
        damaged("zip 结构无效");
    const zip_int64_t count = zip_get_num_entries(m_zip, 0);
    if (count < 0 || static_cast<uint64_t>(count) > kMaxEntries) {
        zip_discard(m_zip);
        m_zip = nullptr;
        damaged("部件过多");
    }
    m_count = static_cast<uint64_t>(count);
    for (uint64_t i = 0; i < m_count; ++i) {
        const char *raw = zip_get_name(m_zip, i, ZIP_FL_ENC_RAW);
        const std::string name = normalise(raw ? raw : "");
        const bool unsafe = name.empty() || name == ".." || name.starts_with("../")
            || name.find("/../") != std::string::npos || name.ends_with("/..")
            || (name.size() > 1 && name[1] == ':');
        if (unsafe || !m_names.emplace(name, i).second) {
            zip_discard(m_zip);
            m_zip = nullptr;
            damaged(unsafe ? "部件名称无效" : "部件名称重复");
        }
    }
}

ZipPackage::~ZipPackage()
{
    if (m_zip)
        zip_discard(m_zip);
}

std::optional<uint64_t> ZipPackage::find(std::string_view partName) const
{
    const auto it = m_names.find(normalise(partName));
    if (it == m_names.end())
        return std::nullopt;
    return it->second;
}

std::string ZipPackage::read(uint64_t index)
{
    Reader reader{this, index, {}};
    std::string data;
    for (;;) {
        const std::size_t old = data.size();
        data.resize(old + 65536);
        const std::size_t got = reader(data.data() + old, 65536);
        data.resize(old + got);
        if (got == 0)
            return data;
        if (data.size() > kMaxSmallPartBytes)
            throw WorkbookOpenError(gbk::fromUtf8("工作簿解压后过大，无法读取。"));
    }
}

XmlScanner::Source ZipPackage::stream(uint64_t index)
{
    return Reader{this, index, {}};
}

} // namespace quvela::spreadsheet
