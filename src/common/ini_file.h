// The settings files of the tools: INI text in GBK, one key per line.
#pragma once

#include "common/gbk.h"

#include <QDateTime>

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace quvela {

// Every tool keeps all its keys in this section.
inline constexpr std::string_view kSettingsSection = "xtcs";

// A settings file read afresh at every call and rewritten whole at every write.
// Sections and keys are found regardless of letter case. A write changes only the line
// of its key (or adds one) and keeps every other byte, line ends included, so a file of
// an older installation survives. The file is replaced atomically; it is never held open.
// A missing, unreadable or oversized file reads as empty, so every read gives its
// default. A file with a UTF-8 byte order mark is taken as UTF-8 text and stays so.
class IniFile
{
public:
    explicit IniFile(std::filesystem::path file);

    const std::filesystem::path &path() const { return m_file; }

    // The stored text, or def when the key is missing; an empty value is returned empty.
    GbkString readString(std::string_view section, std::string_view key, const GbkString &def) const;
    // The stored decimal integer; def when the key is missing or not an integer.
    int32_t readInteger(std::string_view section, std::string_view key, int32_t def) const;
    // The stored date-time (y-M-d with "-", "/" or "." and an optional H:mm or H:mm:ss);
    // def when the key is missing or the text is not a valid date-time.
    QDateTime readDateTime(std::string_view section, std::string_view key, const QDateTime &def) const;

    // Each write reaches the disk before it returns. Throws QuvelaError when the file
    // cannot be written, or when an existing file cannot be read (replacing it would
    // lose its other keys). Line breaks in a value become blanks: values are one line.
    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInteger(std::string_view section, std::string_view key, int32_t value);
    // Written "yyyy-M-d H:mm:ss", the date alone at midnight.
    void writeDateTime(std::string_view section, std::string_view key, const QDateTime &value);

    // The text a date-time is stored as, and its reading; an invalid result when the text
    // is not a date-time.
    static GbkString formatDateTime(const QDateTime &value);
    static QDateTime parseDateTime(std::string_view text);

private:
    std::filesystem::path m_file;
};

} // namespace quvela
