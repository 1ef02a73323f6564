// The built quvela-batch run from a shell, as a clerk's script runs it: its exit status
// and what it wrote on its error stream.
#pragma once

#include "support/file_bytes.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace quvela::test {

inline const char *const kBatchProgram = QUVELA_BINARY_DIR "/bin/quvela-batch";

// In single quotes, for the shell.
inline std::string shellQuoted(const std::filesystem::path &p)
{
    return "'" + p.string() + "'";
}

struct BatchRun
{
    int status = -1; // -1: the program did not exit by itself
    std::string err;
};

// quvela-batch --dir programDir arguments (quoted as the shell needs them); the standard
// output is dropped, the error stream kept in errFile.
inline BatchRun runBatch(const std::filesystem::path &programDir, const std::string &arguments,
                         const std::filesystem::path &errFile)
{
    const std::string command = std::string(kBatchProgram) + " --dir " + shellQuoted(programDir) + " " + arguments
                                + " >/dev/null 2>" + shellQuoted(errFile);
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, fileBytes(errFile)};
}

} // namespace quvela::test
