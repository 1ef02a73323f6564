// A pull tokenizer for the XML parts of a workbook package. It reads its input in
// chunks, so a sheet of any size is parsed in bounded memory, and it gives each token's
// raw bytes, so a writer can copy what it does not change byte for byte.
//
// It refuses what a spreadsheet part never holds and what would make parsing unsafe:
// DOCTYPE declarations (no entity expansion), mismatched or unclosed elements, nesting
// deeper than kMaxDepth, tokens longer than kMaxTokenBytes, unknown entities, and
// documents not in UTF-8. Failures throw XmlError.
#pragma once

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quvela::spreadsheet {

class XmlError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class XmlScanner
{
public:
    static constexpr std::size_t kMaxDepth = 256;
    static constexpr std::size_t kMaxTokenBytes = 16u << 20;

    // Fills the buffer with up to capacity bytes; returns 0 at the end.
    using Source = std::function<std::size_t(char *buffer, std::size_t capacity)>;

    enum class Kind { Start, Empty, End, Text, CData, Other, Eof };

    struct Token
    {
        Kind kind = Kind::Eof;
        std::string_view raw;        // the bytes of the token as in the input
        std::string_view name;       // qualified name, for Start, Empty and End
        std::string_view attributes; // the attribute part of a Start or Empty tag
        std::size_t depth = 0;       // of the element (Start, Empty, End) or of the text
    };

    explicit XmlScanner(Source source);
    explicit XmlScanner(std::string_view document); // the document must outlive the scanner

    // The views of a token stay valid until the next call.
    const Token &next();

    // Local part of a qualified name ("x:c" -> "c").
    static std::string_view localName(std::string_view name);
    // Decodes entities and character references of text or an attribute value.
    static std::string decode(std::string_view raw);
    static void decodeAppend(std::string_view raw, std::string &out);

    // Walks "name='value'" pairs; values raw (undecoded).
    class Attributes
    {
    public:
        explicit Attributes(std::string_view text) : m_text(text) {}
        bool next(std::string_view &name, std::string_view &rawValue);

    private:
        std::string_view m_text;
        std::size_t m_pos = 0;
    };
    // The raw value of the attribute whose local name is localName; false when absent.
    static bool findAttribute(std::string_view attributes, std::string_view localName,
                              std::string_view &rawValue);

private:
    bool fill(); // false at the end of input
    [[noreturn]] void fail(const char *what) const;
    void checkProlog();

    Source m_source;
    std::string m_buffer;
    std::string_view m_data; // m_buffer, or the whole document when given at once
    std::size_t m_pos = 0;
    bool m_eof = false;
    bool m_started = false;
    bool m_rootSeen = false;
    std::vector<std::string> m_open;
    Token m_token;
};

} // namespace quvela::spreadsheet
