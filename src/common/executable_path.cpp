#include "common/executable_path.h"

#include <system_error>

namespace quvela {

std::filesystem::path executableDir(const char *argv0)
{
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        self = std::filesystem::absolute(argv0 ? argv0 : "", ec);
    return self.parent_path();
}

} // namespace quvela
