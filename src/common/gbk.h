// GBK text: the byte strings every rule of the wage office counts in.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

class QString;

namespace quvela {

// Bytes in GB18030, the superset of GBK: a Chinese character of GBK takes two bytes,
// a character outside GBK four. Every limit, width and position counts these bytes.
using GbkString = std::string;

namespace gbk {

// Conversions for the edges (cells, database, widgets, renderer, exports). They never
// lose a character: what GBK lacks travels as a four-byte GB18030 sequence. Malformed
// input bytes become U+FFFD (decoding) rather than being dropped silently.
GbkString fromUtf8(std::string_view utf8);
std::string toUtf8(std::string_view gbk);
GbkString fromQString(const QString &text);
QString toQString(std::string_view gbk);

// A file name held as GBK text (settings files store them so) as a path of this system.
std::filesystem::path toPath(std::string_view gbk);
GbkString fromPath(const std::filesystem::path &path);

// A GBK lead byte opens a two- or four-byte character.
constexpr bool isLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

// Length in bytes (1, 2 or 4) of the character that starts at pos; 1 for a stray byte
// or a sequence cut short by the end of the text.
std::size_t charLength(std::string_view text, std::size_t pos);

// Only ASCII a-z change; bytes of multi-byte characters are left alone even where a
// trail byte happens to fall in the a-z range.
GbkString toUpperAscii(std::string_view text);

// Without leading and trailing blanks and control characters (bytes up to 0x20).
std::string_view trimmed(std::string_view text);

} // namespace gbk
} // namespace quvela
