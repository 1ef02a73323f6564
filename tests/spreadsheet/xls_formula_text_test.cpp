// The A1 texts made from the formula tokens of .xls files that LibreOffice and xlwt
// wrote: computed by the formula engine from the cells around them, each gives the
// value LibreOffice computes for the cell when it opens the file.

#include "libreoffice_values.h"
#include "spreadsheet/cell_reference.h"
#include "spreadsheet/compound_file.h"
#include "spreadsheet/formula_engine.h"
#include "spreadsheet/xls_reader.h"
#include "spreadsheet/xls_sheet_editor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

namespace quvela::test {
namespace {

using spreadsheet::CellValue;

const std::filesystem::path kFixtures = std::filesystem::path(QUVELA_SOURCE_DIR) / "tests/spreadsheet/xls_fixtures";

struct TextCase
{
    const char *fixture;
    std::size_t minimumComputed; // formulas whose text must be made and computed
};

class XlsFormulaText : public ::testing::TestWithParam<TextCase>
{
};

TEST_P(XlsFormulaText, EveryTextComputesWhatLibreOfficeComputes)
{
    const auto shown = valuesByLibreOffice(kFixtures / GetParam().fixture);
    if (!shown)
        GTEST_SKIP() << "LibreOffice (soffice) is not installed: the formula texts are not checked";
    std::ifstream in(kFixtures / GetParam().fixture, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const std::string file = bytes.str();
    const spreadsheet::CompoundFile container(file);
    const std::string stream = container.readStream("Workbook").value();
    const auto cells = spreadsheet::readXlsFirstSheet(std::string_view(file));
    const spreadsheet::XlsSheetEditor editor(stream);

    spreadsheet::FormulaEngine engine;
    for (int row = 1; row <= cells->lastRow(); ++row) {
        for (int column = 1; column <= cells->lastColumn(row); ++column) {
            const CellValue value = cells->cell(row, column);
            if (value.type != CellValue::Type::Empty)
                engine.setValue({row, column}, value);
        }
    }
    const auto formulas = editor.formulas();
    for (const auto &formula : formulas) {
        if (formula.text)
            engine.setFormula(formula.cell, *formula.text); // no stored result: computed
    }
    std::size_t computed = 0;
    for (const auto &formula : formulas) {
        if (!formula.text)
            continue;
        const std::optional<CellValue> value = engine.evaluate(formula.cell);
        if (!value)
            continue;
        ++computed;
        const std::string where = spreadsheet::cellReference(formula.cell.row, formula.cell.column) + " ="
            + *formula.text;
        const std::size_t r = static_cast<std::size_t>(formula.cell.row - 1);
        const std::size_t c = static_cast<std::size_t>(formula.cell.column - 1);
        std::string text = r < shown->size() && c < (*shown)[r].size() ? (*shown)[r][c] : "";
        switch (value->type) {
        case CellValue::Type::Number: {
            text.erase(std::remove(text.begin(), text.end(), ','), text.end());
            char *end = nullptr;
            const double theirs = std::strtod(text.c_str(), &end);
            EXPECT_TRUE(!text.empty() && end == text.c_str() + text.size()) << where << ": " << text;
            // LibreOffice shows the cell's format: half its last place is the tolerance.
            const std::size_t point = text.find('.');
            const int places = point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
            EXPECT_NEAR(value->number, theirs, 0.5 * std::pow(10.0, -places) + 1e-9) << where;
            break;
        }
        case CellValue::Type::Boolean: // shown as a word or, under a number format, a digit
            EXPECT_TRUE(text == (value->number != 0 ? "TRUE" : "FALSE") || text == (value->number != 0 ? "1" : "0"))
                << where << ": " << text;
            break;
        case CellValue::Type::Text:
        case CellValue::Type::Error:
            EXPECT_EQ(value->text, text) << where;
            break;
        case CellValue::Type::Empty:
            EXPECT_EQ(text, "") << where;
            break;
        }
    }
    EXPECT_GE(computed, GetParam().minimumComputed);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, XlsFormulaText,
                         ::testing::Values(TextCase{"lo_xj_roster.xls", 75}, TextCase{"lo_formulas.xls", 8},
                                           TextCase{"xlwt_write.xls", 42}),
                         [](const auto &test) {
                             std::string name = test.param.fixture;
                             return name.substr(0, name.find('.'));
                         });

} // namespace
} // namespace quvela::test
