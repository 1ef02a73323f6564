// The actions of quvela-batch: each tool's file registers its own.
#pragma once

#include "common/prompts.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quvela::cli {

// Exit status of an action: 0 success, 1 the operation stopped with a message, 2 usage.
enum ExitCode { ExitOk = 0, ExitStopped = 1, ExitUsage = 2 };

class UsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Options of an action: "--name value" pairs, all UTF-8 as typed.
class BatchOptions
{
public:
    BatchOptions(const std::vector<std::string> &args); // throws UsageError
    std::optional<std::string> value(const std::string &name) const;
    std::string required(const std::string &name) const; // throws UsageError
    // "S-E" of --rows; throws UsageError when malformed.
    static std::pair<int, int> parseRows(const std::string &text);
    // Throws UsageError for an option that none of names takes.
    void allowOnly(const std::vector<std::string> &names) const;

private:
    std::map<std::string, std::string> m_values;
};

struct BatchContext
{
    std::filesystem::path programDir;
    BatchOptions options;
    Prompts &prompts;
};

using BatchAction = int (*)(BatchContext &context);

struct BatchCommand
{
    const char *tool;
    const char *action;
    const char *usage; // the options, for the usage text
    BatchAction run;
};

// Called from a static object in each command file.
bool registerCommand(const BatchCommand &command);
const std::vector<BatchCommand> &commands();

} // namespace quvela::cli
