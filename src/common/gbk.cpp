#include "common/gbk.h"

#include <QString>

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace quvela::gbk {
namespace {

// Runs iconv over the whole input. An invalid or cut-off input sequence becomes the
// replacement text and conversion resumes one byte later, so no input is ever lost
// silently and the loop always advances.
std::string convert(const char *to, const char *from, std::string_view input,
                    std::string_view replacement)
{
    // ASCII reads the same in UTF-8 and GB18030; most cells of a roster are numbers, and
    // opening a converter for each of them costs more than reading the workbook.
    if (std::all_of(input.begin(), input.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(input);
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::string(input);
    std::string out;
    out.reserve(input.size() * 3 / 2 + 8);
    char *in = const_cast<char *>(input.data());
    size_t inLeft = input.size();
    char buffer[1024];
    while (inLeft > 0) {
        char *dst = buffer;
        size_t dstLeft = sizeof buffer;
        size_t rc = iconv(cd, &in, &inLeft, &dst, &dstLeft);
        out.append(buffer, dst - buffer);
        if (rc == static_cast<size_t>(-1)) {
            if (errno == E2BIG)
                continue;
            // EILSEQ or EINVAL: skip one byte of the input.
            out.append(replacement);
            ++in;
            --inLeft;
        }
    }
    char *dst = buffer;
    size_t dstLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &dst, &dstLeft);
    out.append(buffer, dst - buffer);
    iconv_close(cd);
    return out;
}

} // namespace

GbkString fromUtf8(std::string_view utf8)
{
    // "\xA1\xA1"-style fallbacks would invent characters; GB18030 encodes U+FFFD itself.
    return convert("GB18030", "UTF-8", utf8, "\x84\x31\xA4\x37");
}

std::string toUtf8(std::string_view text)
{
    return convert("UTF-8", "GB18030", text, "\xEF\xBF\xBD");
}

GbkString fromQString(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    return fromUtf8(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

QString toQString(std::string_view text)
{
    const std::string utf8 = toUtf8(text);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::filesystem::path toPath(std::string_view text)
{
    const std::string utf8 = toUtf8(text);
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

GbkString fromPath(const std::filesystem::path &path)
{
    const std::u8string utf8 = path.u8string();
    return fromUtf8(std::string_view(reinterpret_cast<const char *>(utf8.data()), utf8.size()));
}

std::size_t charLength(std::string_view text, std::size_t pos)
{
    if (pos >= text.size())
        return 0;
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    if (!isLeadByte(at(pos)) || pos + 1 >= text.size())
        return 1;
    const unsigned char second = at(pos + 1);
    if (second >= 0x30 && second <= 0x39) {
        // Four-byte GB18030: lead, digit, lead, digit.
        if (pos + 3 < text.size() && isLeadByte(at(pos + 2)) && at(pos + 3) >= 0x30 && at(pos + 3) <= 0x39)
            return 4;
        return 1;
    }
    return 2;
}

GbkString toUpperAscii(std::string_view text)
{
    GbkString out(text);
    for (std::size_t i = 0; i < out.size();) {
        const std::size_t n = charLength(out, i);
        if (n == 1 && out[i] >= 'a' && out[i] <= 'z')
            out[i] = static_cast<char>(out[i] - 'a' + 'A');
        i += n;
    }
    return out;
}

std::string_view trimmed(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 0x20)
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 0x20)
        --end;
    return text.substr(begin, end - begin);
}

} // namespace quvela::gbk
