#include "support/read_only_folder.h"

#include <gtest/gtest.h>

#include <sys/fsuid.h>
#include <unistd.h>

namespace quvela::test {

namespace {

constexpr uid_t kNobody = 65534;

} // namespace

ReadOnlyFolder::ReadOnlyFolder(std::filesystem::path folder)
    : m_folder(std::move(folder))
    , m_permissions(std::filesystem::status(m_folder).permissions())
{
    using std::filesystem::perms;
    std::filesystem::permissions(m_folder, perms::owner_read | perms::owner_exec | perms::group_read | perms::group_exec
                                               | perms::others_read | perms::others_exec);
    if (geteuid() == 0) {
        setfsuid(kNobody);
        // setfsuid answers with the previous identity; asking again tells whether it took.
        m_identityChanged = setfsuid(static_cast<uid_t>(-1)) == static_cast<int>(kNobody);
        if (!m_identityChanged)
            ADD_FAILURE() << "could not take an ordinary user's file-system identity";
    }
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    if (m_identityChanged)
        setfsuid(0);
    std::error_code ignored;
    std::filesystem::permissions(m_folder, m_permissions, ignored);
}

} // namespace quvela::test
