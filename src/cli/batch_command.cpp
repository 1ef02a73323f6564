#include "cli/batch_command.h"

#include <charconv>

namespace quvela::cli {

BatchOptions::BatchOptions(const std::vector<std::string> &args)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (arg.size() < 3 || arg.compare(0, 2, "--") != 0)
            throw UsageError("unexpected argument: " + arg);
        if (i + 1 >= args.size())
            throw UsageError("option " + arg + " needs a value");
        m_values[arg.substr(2)] = args[++i];
    }
}

std::optional<std::string> BatchOptions::value(const std::string &name) const
{
    const auto it = m_values.find(name);
    if (it == m_values.end())
        return std::nullopt;
    return it->second;
}

std::string BatchOptions::required(const std::string &name) const
{
    if (auto v = value(name))
        return *v;
    throw UsageError("missing option --" + name);
}

std::pair<int, int> BatchOptions::parseRows(const std::string &text)
{
    const auto dash = text.find('-');
    int start = 0;
    int end = 0;
    const char *b = text.data();
    const char *e = b + text.size();
    if (dash == std::string::npos || dash == 0)
        throw UsageError("--rows takes S-E, for example 7-20");
    auto r1 = std::from_chars(b, b + dash, start);
    auto r2 = std::from_chars(b + dash + 1, e, end);
    if (r1.ec != std::errc() || r1.ptr != b + dash || r2.ec != std::errc() || r2.ptr != e
        || start < 1 || end < 1)
        throw UsageError("--rows takes S-E, for example 7-20");
    return {start, end};
}

void BatchOptions::allowOnly(const std::vector<std::string> &names) const
{
    for (const auto &[name, v] : m_values) {
        bool known = false;
        for (const auto &n : names)
            known = known || n == name;
        if (!known)
            throw UsageError("unknown option --" + name);
    }
}

namespace {
std::vector<BatchCommand> &registry()
{
    static std::vector<BatchCommand> list;
    return list;
}
} // namespace

bool registerCommand(const BatchCommand &command)
{
    registry().push_back(command);
    return true;
}

const std::vector<BatchCommand> &commands()
{
    return registry();
}

} // namespace quvela::cli
