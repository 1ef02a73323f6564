#include "spreadsheet/atomic_file_replace.h"

#include "common/errors.h"
#include "common/gbk.h"

#include <random>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace quvela::spreadsheet {

namespace {

#ifndef _WIN32
bool syncPath(const std::filesystem::path &path, bool directory)
{
    const int fd = ::open(path.c_str(), directory ? O_RDONLY | O_DIRECTORY : O_RDONLY);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}
#endif

} // namespace

std::filesystem::path temporarySibling(const std::filesystem::path &target)
{
    std::random_device device;
    std::mt19937_64 random(device());
    const std::filesystem::path folder = target.parent_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate = folder
            / ("." + target.filename().string() + "." + std::to_string(random() % 1000000000) + ".tmp");
        std::error_code error;
        if (!std::filesystem::exists(candidate, error) && !error)
            return candidate;
    }
    throw QuvelaError(gbk::fromUtf8("无法在工作簿所在文件夹中创建临时文件。"));
}

void replaceFile(const std::filesystem::path &temporary, const std::filesystem::path &target)
{
    std::error_code error;
    auto fail = [&](const char *what) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw QuvelaError(gbk::fromUtf8(std::string("保存工作簿失败（") + what
                                        + "），原文件未被修改。请确认文件没有被其他程序打开。"));
    };
#ifndef _WIN32
    if (!syncPath(temporary, false))
        fail("无法写入磁盘");
#endif
    const auto status = std::filesystem::status(target, error);
    if (!error)
        std::filesystem::permissions(temporary, status.permissions(), error);
    std::filesystem::rename(temporary, target, error);
    if (error)
        fail("无法替换原文件");
#ifndef _WIN32
    syncPath(target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path(), true);
#endif
}

} // namespace quvela::spreadsheet
