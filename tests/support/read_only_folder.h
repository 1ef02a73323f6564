// A folder that refuses new files to the test, also when the tests run as root.
#pragma once

#include <filesystem>

namespace quvela::test {

// While alive, the folder's permission bits allow reading and searching only, and they
// bind the calling thread: root passes every permission check, so a root thread takes an
// ordinary user's file-system identity until the object goes, and the bits then apply to
// it as to anybody. Restores identity and permissions when destroyed.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(std::filesystem::path folder);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

private:
    std::filesystem::path m_folder;
    std::filesystem::perms m_permissions;
    bool m_identityChanged = false;
};

} // namespace quvela::test
