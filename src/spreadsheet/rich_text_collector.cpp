#include "spreadsheet/rich_text_collector.h"

#include "spreadsheet/ooxml_text.h"
#include "spreadsheet/spreadsheet_session.h"

namespace quvela::spreadsheet {

void RichTextCollector::clear()
{
    m_raw.clear();
    m_inText = false;
    m_skipping = false;
}

void RichTextCollector::feed(const XmlScanner::Token &token)
{
    using Kind = XmlScanner::Kind;
    if (m_skipping) {
        if (token.kind == Kind::End && token.depth == m_skipDepth)
            m_skipping = false;
        return;
    }
    switch (token.kind) {
    case Kind::Start: {
        const std::string_view local = XmlScanner::localName(token.name);
        if (local == "rPh" || local == "phoneticPr") {
            m_skipping = true;
            m_skipDepth = token.depth;
        } else if (local == "t") {
            m_inText = true;
        }
        break;
    }
    case Kind::End:
        if (XmlScanner::localName(token.name) == "t")
            m_inText = false;
        break;
    case Kind::Text:
        if (m_inText)
            XmlScanner::decodeAppend(token.raw, m_raw);
        break;
    case Kind::CData:
        if (m_inText)
            m_raw.append(token.raw.substr(9, token.raw.size() - 12));
        break;
    default:
        break;
    }
}

std::string RichTextCollector::take()
{
    std::string text = unescapeOoxml(m_raw);
    if (!isValidUtf8(text))
        throw WorkbookOpenError(gbk::fromUtf8("工作簿文件已损坏或不是有效的 Excel 文件（文本编码无效）。"));
    clear();
    return text;
}

} // namespace quvela::spreadsheet
