#include "spreadsheet/xml_scanner.h"
#include "spreadsheet/utf8_append.h"

#include <cstring>

namespace quvela::spreadsheet {

namespace {

constexpr std::size_t kChunk = 1u << 20;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

} // namespace

XmlScanner::XmlScanner(Source source)
    : m_source(std::move(source))
{
}

XmlScanner::XmlScanner(std::string_view document)
    : m_data(document)
{
    m_eof = true;
}

void XmlScanner::fail(const char *what) const
{
    throw XmlError(what);
}

bool XmlScanner::fill()
{
    if (m_eof)
        return false;
    m_buffer.erase(0, m_pos);
    m_pos = 0;
    if (m_buffer.size() >= kMaxTokenBytes)
        fail("XML token too long");
    const std::size_t old = m_buffer.size();
    m_buffer.resize(old + kChunk);
    const std::size_t got = m_source(m_buffer.data() + old, kChunk);
    m_buffer.resize(old + got);
    m_data = m_buffer;
    if (got == 0) {
        m_eof = true;
        return false;
    }
    return true;
}

void XmlScanner::checkProlog()
{
    while (m_data.size() - m_pos < 4 && fill()) {
    }
    const std::string_view head = m_data.substr(m_pos, 4);
    if (head.substr(0, 3) == "\xEF\xBB\xBF")
        m_pos += 3;
    else if (head.substr(0, 2) == "\xFF\xFE" || head.substr(0, 2) == "\xFE\xFF"
             || (head.size() >= 2 && (head[0] == '\0' || head[1] == '\0')))
        fail("XML not in UTF-8");
}

const XmlScanner::Token &XmlScanner::next()
{
    if (!m_started) {
        checkProlog();
        m_started = true;
    }
    for (;;) {
        if (m_pos >= m_data.size()) {
            if (fill())
                continue;
            if (!m_open.empty() || !m_rootSeen)
                fail("XML document ends early");
            m_token = Token{};
            return m_token;
        }
        const char *data = m_data.data();
        const std::size_t size = m_data.size();
        if (data[m_pos] != '<') {
            const void *lt = std::memchr(data + m_pos, '<', size - m_pos);
            if (!lt && fill())
                continue;
            const std::size_t end = lt ? static_cast<std::size_t>(static_cast<const char *>(lt) - data) : size;
            m_token = Token{Kind::Text, m_data.substr(m_pos, end - m_pos), {}, {}, m_open.size()};
            m_pos = end;
            if (m_open.empty()) {
                for (char c : m_token.raw) {
                    if (!isSpace(c))
                        fail("text outside the root element");
                }
            }
            return m_token;
        }

        const std::string_view rest = m_data.substr(m_pos);
        if (rest.size() < 2 && fill())
            continue;
        if (rest.size() < 2)
            fail("XML document ends early");

        if (rest[1] == '!' || rest[1] == '?') {
            std::string_view open;
            std::string_view close;
            Kind kind = Kind::Other;
            if (rest.size() < 9 && fill())
                continue;
            if (rest.substr(0, 4) == "<!--") {
                open = "<!--";
                close = "-->";
            } else if (rest.substr(0, 9) == "<![CDATA[") {
                open = "<![CDATA[";
                close = "]]>";
                kind = Kind::CData;
            } else if (rest[1] == '?') {
                open = "<?";
                close = "?>";
            } else {
                fail("DOCTYPE or unknown markup declaration");
            }
            const std::size_t end = rest.find(close, open.size());
            if (end == std::string_view::npos) {
                if (fill())
                    continue;
                fail("XML document ends early");
            }
            const std::size_t length = end + close.size();
            m_token = Token{kind, rest.substr(0, length), {}, {}, m_open.size()};
            if (kind == Kind::CData && m_open.empty())
                fail("text outside the root element");
            if (open == "<?") {
                // The declaration must not name another encoding.
                std::string_view body = rest.substr(2, end - 2);
                if (body.substr(0, 3) == "xml" && (body.size() == 3 || isSpace(body[3]))) {
                    std::string_view encoding;
                    if (findAttribute(body.substr(3), "encoding", encoding)
                        && !equalsNoCase(encoding, "utf-8") && !equalsNoCase(encoding, "utf8"))
                        fail("XML not in UTF-8");
                }
            }
            m_pos += length;
            return m_token;
        }

        // A tag: find its '>' outside quoted attribute values.
        std::size_t i = 1;
        char quote = 0;
        for (; i < rest.size(); ++i) {
            const char c = rest[i];
            if (quote) {
                if (c == quote)
                    quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                break;
            } else if (c == '<') {
                fail("malformed tag");
            }
        }
        if (i == rest.size()) {
            if (fill())
                continue;
            fail("XML document ends early");
        }
        const std::string_view raw = rest.substr(0, i + 1);
        const bool isEnd = raw[1] == '/';
        const std::size_t nameStart = isEnd ? 2 : 1;
        std::size_t nameEnd = nameStart;
        while (nameEnd < raw.size() - 1 && !isSpace(raw[nameEnd]) && raw[nameEnd] != '/')
            ++nameEnd;
        const std::string_view name = raw.substr(nameStart, nameEnd - nameStart);
        if (name.empty())
            fail("malformed tag");
        m_pos += raw.size();
        if (isEnd) {
            if (m_open.empty() || m_open.back() != name)
                fail("mismatched end tag");
            m_open.pop_back();
            m_token = Token{Kind::End, raw, name, {}, m_open.size()};
            return m_token;
        }
        if (m_open.empty()) {
            if (m_rootSeen)
                fail("more than one root element");
            m_rootSeen = true;
        }
        const bool empty = raw[raw.size() - 2] == '/';
        std::string_view attributes = raw.substr(nameEnd, raw.size() - 1 - nameEnd - (empty ? 1 : 0));
        if (empty) {
            m_token = Token{Kind::Empty, raw, name, attributes, m_open.size()};
            return m_token;
        }
        if (m_open.size() >= kMaxDepth)
            fail("XML nested too deeply");
        m_token = Token{Kind::Start, raw, name, attributes, m_open.size()};
        m_open.emplace_back(name);
        return m_token;
    }
}

std::string_view XmlScanner::localName(std::string_view name)
{
    const std::size_t colon = name.rfind(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

std::string XmlScanner::decode(std::string_view raw)
{
    std::string out;
    decodeAppend(raw, out);
    return out;
}

void XmlScanner::decodeAppend(std::string_view raw, std::string &out)
{
    out.reserve(out.size() + raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '\r') {
            out += '\n';
            if (i + 1 < raw.size() && raw[i + 1] == '\n')
                ++i;
            continue;
        }
        if (c != '&') {
            out += c;
            continue;
        }
        const std::size_t semi = raw.find(';', i + 1);
        if (semi == std::string_view::npos || semi - i > 12)
            throw XmlError("malformed entity");
        const std::string_view entity = raw.substr(i + 1, semi - i - 1);
        if (entity == "lt")
            out += '<';
        else if (entity == "gt")
            out += '>';
        else if (entity == "amp")
            out += '&';
        else if (entity == "quot")
            out += '"';
        else if (entity == "apos")
            out += '\'';
        else if (entity.size() >= 2 && entity[0] == '#') {
            unsigned long code = 0;
            const bool hex = entity[1] == 'x';
            const std::string_view digits = entity.substr(hex ? 2 : 1);
            if (digits.empty() || digits.size() > 8)
                throw XmlError("malformed character reference");
            for (char d : digits) {
                int v;
                if (d >= '0' && d <= '9')
                    v = d - '0';
                else if (hex && d >= 'a' && d <= 'f')
                    v = d - 'a' + 10;
                else if (hex && d >= 'A' && d <= 'F')
                    v = d - 'A' + 10;
                else
                    throw XmlError("malformed character reference");
                code = code * (hex ? 16 : 10) + static_cast<unsigned long>(v);
            }
            if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
                throw XmlError("invalid character reference");
            appendUtf8(out, static_cast<char32_t>(code));
        } else {
            throw XmlError("unknown entity");
        }
        i = semi;
    }
}

bool XmlScanner::Attributes::next(std::string_view &name, std::string_view &rawValue)
{
    const std::string_view t = m_text;
    std::size_t &p = m_pos;
    while (p < t.size() && isSpace(t[p]))
        ++p;
    if (p >= t.size())
        return false;
    const std::size_t nameStart = p;
    while (p < t.size() && t[p] != '=' && !isSpace(t[p]))
        ++p;
    name = t.substr(nameStart, p - nameStart);
    while (p < t.size() && isSpace(t[p]))
        ++p;
    if (name.empty() || p >= t.size() || t[p] != '=')
        throw XmlError("malformed attribute");
    ++p;
    while (p < t.size() && isSpace(t[p]))
        ++p;
    if (p >= t.size() || (t[p] != '"' && t[p] != '\''))
        throw XmlError("malformed attribute");
    const char quote = t[p++];
    const std::size_t close = t.find(quote, p);
    if (close == std::string_view::npos)
        throw XmlError("malformed attribute");
    rawValue = t.substr(p, close - p);
    p = close + 1;
    return true;
}

bool XmlScanner::findAttribute(std::string_view attributes, std::string_view wanted,
                               std::string_view &rawValue)
{
    Attributes it(attributes);
    std::string_view name;
    std::string_view value;
    while (it.next(name, value)) {
        if (localName(name) == wanted && name.substr(0, 6) != "xmlns:") {
            rawValue = value;
            return true;
        }
    }
    return false;
}

} // namespace quvela::spreadsheet
