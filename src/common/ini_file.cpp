#include "common/ini_file.h"

#include "common/errors.h"
#include "common/pub_func.h"

#include <QFile>
#include <QSaveFile>
#include <QString>

#include <cstdio>
#include <fstream>
#include <optional>
#include <vector>

namespace quvela {
namespace {

namespace fs = std::filesystem;

// Settings files hold a few hundred bytes; anything far larger is not one of ours and
// is neither read into memory nor overwritten.
constexpr std::size_t kMaxFileBytes = 1 << 20;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

struct FileContent
{
    bool exists = false;
    bool readable = false;
    std::string bytes;
};

FileContent load(const fs::path &file)
{
    FileContent content;
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (status.type() == fs::file_type::not_found)
        return content;
    content.exists = true;
    // Only a regular file is read: a folder or a pipe at that name would hang or fail.
    if (error || status.type() != fs::file_type::regular)
        return content;
    const std::uintmax_t size = fs::file_size(file, error);
    if (error || size > kMaxFileBytes)
        return content;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return content;
    // One byte more than the size found, to notice a file that grew meanwhile.
    std::string bytes(static_cast<std::size_t>(size) + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad())
        return content;
    const auto got = static_cast<std::size_t>(in.gcount());
    if (got > kMaxFileBytes)
        return content;
    bytes.resize(got);
    content.bytes = std::move(bytes);
    content.readable = true;
    return content;
}

QString qtPath(const fs::path &file)
{
#ifdef Q_OS_WIN
    return QString::fromStdWString(file.wstring());
#else
    return QFile::decodeName(QByteArray::fromStdString(file.native()));
#endif
}

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

enum class LineKind { Blank, Comment, Section, Key, Other };

struct Line
{
    std::size_t begin = 0;  // first byte of the line in the file
    std::size_t end = 0;    // end of its text, before "\r\n" or "\n"
    std::size_t next = 0;   // first byte of the following line
    LineKind kind = LineKind::Other;
    GbkString name;         // section or key, as GBK text in upper case
    std::size_t valueBegin = 0; // for a key: first byte after "="
};

// The file split into lines and read for sections and keys. Names are compared in GBK
// upper case, so a UTF-8 file and a GBK file match the same keys.
class ParsedIni
{
public:
    ParsedIni(std::string bytes)
        : m_bytes(std::move(bytes))
    {
        m_utf8 = m_bytes.starts_with(kUtf8Bom);
        const std::size_t start = m_utf8 ? kUtf8Bom.size() : 0;
        for (std::size_t pos = start; pos < m_bytes.size();) {
            Line line;
            line.begin = pos;
            const std::size_t newline = m_bytes.find('\n', pos);
            line.next = newline == std::string::npos ? m_bytes.size() : newline + 1;
            line.end = newline == std::string::npos ? m_bytes.size() : newline;
            if (line.end > line.begin && m_bytes[line.end - 1] == '\r')
                --line.end;
            classify(line);
            m_lines.push_back(std::move(line));
            pos = m_lines.back().next;
        }
    }

    const std::string &bytes() const { return m_bytes; }
    bool utf8() const { return m_utf8; }
    const std::vector<Line> &lines() const { return m_lines; }

    // Text of the file's own encoding as GBK, and back.
    GbkString toGbk(std::string_view text) const { return m_utf8 ? gbk::fromUtf8(text) : GbkString(text); }
    std::string fromGbk(std::string_view text) const { return m_utf8 ? gbk::toUtf8(text) : std::string(text); }

    // The first section of that name, as an index into lines(), or none.
    std::optional<std::size_t> findSection(std::string_view section) const
    {
        const GbkString wanted = gbk::toUpperAscii(section);
        for (std::size_t i = 0; i < m_lines.size(); ++i)
            if (m_lines[i].kind == LineKind::Section && m_lines[i].name == wanted)
                return i;
        return std::nullopt;
    }

    // One past the last line of the section that starts at line index header.
    std::size_t sectionEnd(std::size_t header) const
    {
        std::size_t i = header + 1;
        while (i < m_lines.size() && m_lines[i].kind != LineKind::Section)
            ++i;
        return i;
    }

    std::optional<std::size_t> findKey(std::string_view section, std::string_view key) const
    {
        const std::optional<std::size_t> header = findSection(section);
        if (!header)
            return std::nullopt;
        const GbkString wanted = gbk::toUpperAscii(key);
        for (std::size_t i = *header + 1; i < sectionEnd(*header); ++i)
            if (m_lines[i].kind == LineKind::Key && m_lines[i].name == wanted)
                return i;
        return std::nullopt;
    }

    std::string_view value(const Line &line) const
    {
        return trimBlanks(std::string_view(m_bytes).substr(line.valueBegin, line.end - line.valueBegin));
    }

    // The line end this file uses; CRLF for a new file, as the older installations wrote.
    std::string_view lineEnd() const
    {
        const std::size_t newline = m_bytes.find('\n');
        if (newline != std::string::npos && (newline == 0 || m_bytes[newline - 1] != '\r'))
            return "\n";
        return "\r\n";
    }

private:
    void classify(Line &line)
    {
        const std::string_view text = trimBlanks(std::string_view(m_bytes).substr(line.begin, line.end - line.begin));
        if (text.empty()) {
            line.kind = LineKind::Blank;
        } else if (text.front() == ';' || text.front() == '#') {
            line.kind = LineKind::Comment;
        } else if (text.front() == '[') {
            line.kind = LineKind::Section;
            const GbkString inner = toGbk(text.substr(1));
            // "]" can be the second byte of a GBK character, so look for it character-wise.
            std::size_t close = inner.size();
            for (std::size_t pos = 0; pos < inner.size(); pos += gbk::charLength(inner, pos)) {
                if (inner[pos] == ']') {
                    close = pos;
                    break;
                }
            }
            line.name = gbk::toUpperAscii(trimBlanks(std::string_view(inner).substr(0, close)));
        } else if (const std::size_t equals = text.find('='); equals != std::string_view::npos) {
            // "=" lies below every GBK second byte, so a byte search finds the real one.
            line.kind = LineKind::Key;
            line.name = gbk::toUpperAscii(toGbk(trimBlanks(text.substr(0, equals))));
            line.valueBegin = static_cast<std::size_t>(text.data() - m_bytes.data()) + equals + 1;
        }
    }

    std::string m_bytes;
    bool m_utf8 = false;
    std::vector<Line> m_lines;
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads 1 to maxDigits digits at pos; nothing when there is no digit there.
std::optional<int> readNumber(std::string_view text, std::size_t &pos, std::size_t maxDigits)
{
    const std::size_t start = pos;
    int value = 0;
    while (pos < text.size() && isDigit(text[pos]) && pos - start < maxDigits) {
        value = value * 10 + (text[pos] - '0');
        ++pos;
    }
    if (pos == start || (pos < text.size() && isDigit(text[pos])))
        return std::nullopt;
    return value;
}

} // namespace

IniFile::IniFile(std::filesystem::path file)
    : m_file(std::move(file))
{
}

GbkString IniFile::readString(std::string_view section, std::string_view key, const GbkString &def) const
{
    FileContent content = load(m_file);
    if (!content.readable)
        return def;
    const ParsedIni ini(std::move(content.bytes));
    const std::optional<std::size_t> line = ini.findKey(section, key);
    if (!line)
        return def;
    return ini.toGbk(ini.value(ini.lines()[*line]));
}

int32_t IniFile::readInteger(std::string_view section, std::string_view key, int32_t def) const
{
    int32_t value = def;
    const GbkString text = readString(section, key, {});
    return TryStrToInt(text, value) ? value : def;
}

QDateTime IniFile::readDateTime(std::string_view section, std::string_view key, const QDateTime &def) const
{
    const QDateTime value = parseDateTime(readString(section, key, {}));
    return value.isValid() ? value : def;
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value)
{
    const auto cannotWrite = [this] {
        return QuvelaError(gbk::fromUtf8("无法写入设置文件 ") + gbk::fromPath(m_file));
    };
    FileContent content = load(m_file);
    if (content.exists && !content.readable)
        throw cannotWrite();

    GbkString oneLine(value);
    for (char &c : oneLine)
        if (c == '\r' || c == '\n')
            c = ' ';

    const ParsedIni ini(std::move(content.bytes));
    const std::string &bytes = ini.bytes();
    const std::string_view eol = ini.lineEnd();
    const std::string storedValue = ini.fromGbk(oneLine);
    std::string out;
    out.reserve(bytes.size() + key.size() + storedValue.size() + section.size() + 16);

    if (const std::optional<std::size_t> keyLine = ini.findKey(section, key)) {
        // Keep the key as the file spells it and everything around the line.
        const Line &line = ini.lines()[*keyLine];
        out.append(bytes, 0, line.valueBegin);
        out.append(storedValue);
        out.append(bytes, line.end, std::string::npos);
    } else if (const std::optional<std::size_t> header = ini.findSection(section)) {
        // After the last key of the section, before any blank lines or comments that
        // lead to the next section.
        std::size_t last = *header;
        for (std::size_t i = *header + 1; i < ini.sectionEnd(*header); ++i)
            if (ini.lines()[i].kind == LineKind::Key || ini.lines()[i].kind == LineKind::Other)
                last = i;
        const Line &line = ini.lines()[last];
        out.append(bytes, 0, line.next);
        if (line.next == 0 || bytes[line.next - 1] != '\n')
            out.append(eol);
        out.append(ini.fromGbk(key)).append("=").append(storedValue).append(eol);
        out.append(bytes, line.next, std::string::npos);
    } else {
        out = bytes;
        if (!out.empty() && out.back() != '\n' && out != kUtf8Bom)
            out.append(eol);
        out.append("[").append(ini.fromGbk(section)).append("]").append(eol);
        out.append(ini.fromGbk(key)).append("=").append(storedValue).append(eol);
    }

    QSaveFile file(qtPath(m_file));
    if (!file.open(QIODevice::WriteOnly))
        throw cannotWrite();
    if (file.write(out.data(), static_cast<qint64>(out.size())) != static_cast<qint64>(out.size())) {
        file.cancelWriting();
        file.commit();
        throw cannotWrite();
    }
    if (!file.commit())
        throw cannotWrite();
}

void IniFile::writeInteger(std::string_view section, std::string_view key, int32_t value)
{
    writeString(section, key, std::to_string(value));
}

void IniFile::writeDateTime(std::string_view section, std::string_view key, const QDateTime &value)
{
    writeString(section, key, formatDateTime(value));
}

GbkString IniFile::formatDateTime(const QDateTime &value)
{
    if (!value.isValid())
        return {};
    const QDate date = value.date();
    const QTime time = value.time();
    char text[64];
    if (time.hour() == 0 && time.minute() == 0 && time.second() == 0)
        std::snprintf(text, sizeof text, "%d-%d-%d", date.year(), date.month(), date.day());
    else
        std::snprintf(text, sizeof text, "%d-%d-%d %d:%02d:%02d", date.year(), date.month(),
                      date.day(), time.hour(), time.minute(), time.second());
    return text;
}

QDateTime IniFile::parseDateTime(std::string_view text)
{
    text = trimBlanks(text);
    std::size_t pos = 0;
    const std::optional<int> year = readNumber(text, pos, 4);
    if (!year || pos != 4 || pos >= text.size())
        return {};
    const char separator = text[pos];
    if (separator != '-' && separator != '/' && separator != '.')
        return {};
    ++pos;
    const std::optional<int> month = readNumber(text, pos, 2);
    if (!month || pos >= text.size() || text[pos] != separator)
        return {};
    ++pos;
    const std::optional<int> day = readNumber(text, pos, 2);
    if (!day)
        return {};
    const QDate date(*year, *month, *day);
    if (!date.isValid())
        return {};
    if (pos == text.size())
        return QDateTime(date, QTime(0, 0));

    if (text[pos] != ' ' && text[pos] != '\t')
        return {};
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
        ++pos;
    const std::optional<int> hour = readNumber(text, pos, 2);
    if (!hour || pos >= text.size() || text[pos] != ':')
        return {};
    ++pos;
    const std::optional<int> minute = readNumber(text, pos, 2);
    if (!minute)
        return {};
    int second = 0;
    if (pos < text.size()) {
        if (text[pos] != ':')
            return {};
        ++pos;
        const std::optional<int> seconds = readNumber(text, pos, 2);
        if (!seconds || pos != text.size())
            return {};
        second = *seconds;
    }
    const QTime time(*hour, *minute, second);
    if (!time.isValid())
        return {};
    return QDateTime(date, time);
}

} // namespace quvela
