// Small routines shared by the four tools: wage-list membership, year-month texts,
// template filling, character-safe cutting, strict integers and the desktop shortcut.
#pragma once

#include "common/gbk.h"

#include <cstdint>
#include <string_view>

namespace quvela {

// 1-based position of "^amount^" in the leading-post duty-wage list, 0 when absent.
// The amount is compared as text: "0830" and " 830" are not 830.
int PosInLeaderDutyWages(std::string_view amount);

// The same against the worker-grade amount list.
int PosInWorkerGradeWages(std::string_view amount);

// A year and its month, the month always two digits.
struct TPny
{
    GbkString Year;
    GbkString Month;
};

// Reads "yyyymm", "yyyy?mm" (any one separator byte), "yyyym" or "yyyy?m", shifts it by
// shift months (-1, 0 or +1) and writes the pair. Returns false, leaving the pair alone,
// when the year is not in 1901..2099 or the month not in 1..12. Throws ConversionError
// when the year or month bytes are not an integer.
bool ShiftYearMonth(std::string_view text, int shift, TPny &pair);

// The text with the first occurrence of oldText, found regardless of the case of ASCII
// letters, replaced by newText with its ASCII letters upper-cased. Matches only start
// on a character boundary, so a multi-byte character is never split.
GbkString ReplaceFirstNoCase(std::string_view text, std::string_view oldText,
                             std::string_view newText);

// At most the first count bytes of text without cutting a character: when byte count
// falls inside a two- or four-byte character, the cut moves before that character and
// count is lowered to the length returned. A count of 0 or less gives an empty text.
GbkString CopyWholeChars(std::string_view text, int &count);

// Strict decimal integer: leading blanks, an optional sign, digits to the end, 32-bit
// range. Throws ConversionError "'text' is not a valid integer value" otherwise.
int32_t StrToInt(std::string_view text);

// The same without throwing; value is untouched on failure.
bool TryStrToInt(std::string_view text, int32_t &value);

// A roster year-month as the forms print it: "200907" -> "2009.07", "20097" -> "2009.7"
// (blanks around it ignored). Any other text comes back unchanged, also a six-byte one
// that already has a separator after the year ("2009-7").
GbkString FormatYearMonth(std::string_view text);

// Writes the desktop shortcut to target. The link file must end in ".lnk" (any case),
// otherwise QuvelaError "快捷方式的扩展名必须是'LNK'!" and nothing is written.
// Windows: a shell link at linkFile. Elsewhere: a freedesktop launcher named after
// linkFile with the extension ".desktop" in the user's desktop folder, working
// directory the folder of target, replaced atomically; nothing is written when that
// folder does not exist. Saving is best effort: a shortcut that cannot be written is
// skipped without a message.
void CreateShellLink(const GbkString &target, const GbkString &arguments,
                     const GbkString &linkFile, const GbkString &description);

// The link file the launcher hands to CreateShellLink on this platform: "Quvela.lnk"
// in the shared desktop folder on Windows, in the user's desktop folder elsewhere.
GbkString LauncherLinkFile();

} // namespace quvela
