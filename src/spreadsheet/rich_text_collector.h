// Collects the text of a shared or inline string: the plain <t> and the <t> of each
// run joined, phonetic guides (<rPh>) left out, "_xHHHH_" escapes decoded.
#pragma once

#include "spreadsheet/xml_scanner.h"

#include <string>

namespace quvela::spreadsheet {

class RichTextCollector
{
public:
    void clear();
    // Every token inside the string's element (<si> or <is>).
    void feed(const XmlScanner::Token &token);
    // Throws WorkbookOpenError for text that is not UTF-8.
    std::string take();

private:
    std::string m_raw;
    bool m_inText = false;
    std::size_t m_skipDepth = 0; // depth of the <rPh> being skipped, 0 for none
    bool m_skipping = false;
};

} // namespace quvela::spreadsheet
