// The corpus of hostile and broken files made by hostile/make_hostile.py: every fail_*
// file is refused with WorkbookOpenError, every opens_* file opens; nothing crashes,
// and memory stays bounded (the suite also runs under AddressSanitizer).

#include "session_reading.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/resource.h>

namespace quvela::test {
namespace {

const std::filesystem::path kCorpus = std::filesystem::path(QUVELA_SOURCE_DIR) / "tests/spreadsheet/hostile";

std::vector<std::string> corpus(const std::string &prefix)
{
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(kCorpus)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(prefix))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

long peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// Generous for the instrumented build; an unbounded reader goes far past it.
constexpr long kPeakMegabytes = 900;

TEST(HostileFiles, RefusedWithAMessage)
{
    const std::vector<std::string> names = corpus("fail_");
    ASSERT_GE(names.size(), 60u) << "run make_hostile.py";
    for (const std::string &name : names) {
        try {
            openWorkbook(kCorpus / name);
            ADD_FAILURE() << name << " opened";
        } catch (const spreadsheet::WorkbookOpenError &e) {
            EXPECT_FALSE(e.message().empty()) << name;
        } catch (const std::exception &e) {
            ADD_FAILURE() << name << ": not a WorkbookOpenError: " << e.what();
        }
        EXPECT_LT(peakMegabytes(), kPeakMegabytes) << "after " << name;
    }
}

TEST(HostileFiles, OddButSoundFilesOpen)
{
    const std::vector<std::string> names = corpus("opens_");
    ASSERT_GE(names.size(), 6u) << "run make_hostile.py";
    for (const std::string &name : names) {
        try {
            const auto session = openWorkbook(kCorpus / name);
            EXPECT_EQ(cellUtf8(*session, 1, 1), "ok") << name;
            EXPECT_EQ(cellUtf8(*session, 1048576, 16384), "") << name;
        } catch (const std::exception &e) {
            ADD_FAILURE() << name << ": " << e.what();
        }
        EXPECT_LT(peakMegabytes(), kPeakMegabytes) << "after " << name;
    }
}

} // namespace
} // namespace quvela::test
