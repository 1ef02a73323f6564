// The formula engine: the values it computes, the formulas it refuses to compute, the
// texts of copied formulas, and hostile texts and cycles.

#include "spreadsheet/formula_engine.h"

#include <gtest/gtest.h>

#include <chrono>

namespace quvela::test {
namespace {

using spreadsheet::CellPosition;
using spreadsheet::CellValue;
using spreadsheet::FormulaEngine;

CellValue number(double n)
{
    CellValue v;
    v.type = CellValue::Type::Number;
    v.number = n;
    return v;
}

CellValue text(std::string t)
{
    CellValue v;
    v.type = CellValue::Type::Text;
    v.text = std::move(t);
    return v;
}

// A1 = 12.5, A2 = 13.5, A3 = "abc", B1 = -3.7, B2 = 1260, C1 empty.
void fill(FormulaEngine &engine)
{
    engine.setValue({1, 1}, number(12.5));
    engine.setValue({2, 1}, number(13.5));
    engine.setValue({3, 1}, text("abc"));
    engine.setValue({1, 2}, number(-3.7));
    engine.setValue({2, 2}, number(1260));
}

struct ValueCase
{
    const char *formula;
    CellValue::Type type;
    double number;
    const char *text;
};

class FormulaValues : public testing::TestWithParam<ValueCase>
{
};

TEST_P(FormulaValues, AsTheSpreadsheetProgramsCompute)
{
    const ValueCase &c = GetParam();
    FormulaEngine engine;
    fill(engine);
    engine.setFormula({10, 6}, c.formula);
    const auto value = engine.evaluate({10, 6});
    ASSERT_TRUE(value.has_value()) << c.formula;
    EXPECT_EQ(value->type, c.type) << c.formula;
    if (c.type == CellValue::Type::Text)
        EXPECT_EQ(value->text, c.text) << c.formula;
    else
        EXPECT_DOUBLE_EQ(value->number, c.number) << c.formula;
}

INSTANTIATE_TEST_SUITE_P(
    Trusted, FormulaValues,
    testing::Values(ValueCase{"A1+A2", CellValue::Type::Number, 26, ""},
                    ValueCase{"$A$1+A$2*$B1", CellValue::Type::Number, 12.5 + 13.5 * -3.7, ""},
                    ValueCase{"SUM(A1:A3)", CellValue::Type::Number, 26, ""},
                    ValueCase{"SUM( A1 , B2 )+10", CellValue::Type::Number, 1282.5, ""},
                    ValueCase{"B2*0.1", CellValue::Type::Number, 126, ""},
                    ValueCase{"INT(B1)", CellValue::Type::Number, -4, ""},
                    ValueCase{"IF(A1>12,B2,0)", CellValue::Type::Number, 1260, ""},
                    ValueCase{"MAX(A1,A2)", CellValue::Type::Number, 13.5, ""},
                    ValueCase{"MIN(A1,A2)", CellValue::Type::Number, 12.5, ""},
                    ValueCase{"IF(A1<0,7,A3)", CellValue::Type::Text, 0, "abc"},
                    ValueCase{"IF(A1>0,C1,7)", CellValue::Type::Number, 0, ""},
                    ValueCase{"SUM(A1,A3)", CellValue::Type::Number, 12.5, ""},
                    ValueCase{"COUNTA(A3,C1,A1)", CellValue::Type::Number, 2, ""},
                    ValueCase{"C1&\"x\"", CellValue::Type::Text, 0, "x"},
                    ValueCase{"IF(A1>12,A3&\"同志\",\"\")", CellValue::Type::Text, 0, "abc同志"},
                    ValueCase{"COUNTA(A1:A3)", CellValue::Type::Number, 3, ""},
                    ValueCase{"A3&\"x\"", CellValue::Type::Text, 0, "abcx"},
                    ValueCase{"\"中文\"&A3", CellValue::Type::Text, 0, "中文abc"},
                    ValueCase{"CONCATENATE(A3,\"d\")", CellValue::Type::Text, 0, "abcd"},
                    ValueCase{"LEN(A3)", CellValue::Type::Number, 3, ""},
                    ValueCase{"A1<A2", CellValue::Type::Boolean, 1, ""},
                    ValueCase{"A1=A2", CellValue::Type::Boolean, 0, ""},
                    ValueCase{"-A1^2", CellValue::Type::Number, 156.25, ""},
                    ValueCase{"A1+C1", CellValue::Type::Number, 12.5, ""},
                    ValueCase{"'Sheet1'!A1+1", CellValue::Type::Number, 13.5, ""}));

class UntrustedFormulas : public testing::TestWithParam<const char *>
{
};

TEST_P(UntrustedFormulas, AreNotComputed)
{
    FormulaEngine engine;
    fill(engine);
    engine.setFormula({10, 6}, GetParam());
    EXPECT_FALSE(engine.evaluate({10, 6}).has_value()) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(
    Refused, UntrustedFormulas,
    testing::Values("ROUND(A1,0)", "ABS(B1)", "TRUNC(B1)", "MOD(7,3)", "AND(1,1)", "OR(0,1)",
                    "COUNT(A1:A3)", "SUMIF(A1:A2,\">1\")", "VLOOKUP(1,A1:B2,2,0)",
                    "MAX(A1:A2)", "IF(A1>100,1)", "IF(C1=\"\",1,2)", "A1*10%", "FOO(A1)",
                    "[1]Sheet1!A1", "Sheet2!A1", "1/0", "A3+1", "\"1\"+1", "TRUE", "A1:A2",
                    "A1 A2", "SUM(A:A)", "SUM(1:2)", "1E3+A1", "A1+", ")))", "(A1>1)", "NOW()",
                    "IFERROR(1/0,5)", "F10+1", "AVERAGE(A1:A3)", "MAX(-1,C1)", "MIN(5,A3)",
                    "INT(A3)", "IF(A3,1,2)", "A1&\"\"", "1/3&\"\"", "LEN(A1)", "LEN(1/3)",
                    "CONCATENATE(A1,B1)", "\"a\"&B1+1", "-A3&\"x\""));

TEST(FormulaEngine, RecalculationReachesDependentsThroughOtherFormulas)
{
    FormulaEngine engine;
    engine.setValue({1, 1}, number(100));
    engine.setValue({1, 2}, number(20));
    engine.setFormula({1, 3}, "A1+B1", number(120));      // C1
    engine.setFormula({1, 4}, "C1*2", number(240));       // D1
    engine.setFormula({1, 5}, "B1+1", number(21));        // E1: not on A1's path
    engine.setFormula({1, 6}, "ROUND(D1,0)", number(240)); // F1: not computable here
    engine.setValue({1, 1}, number(130));
    const auto results = engine.recalculate({{1, 1}});
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[0].cell, (CellPosition{1, 3}));
    ASSERT_TRUE(results[0].value);
    EXPECT_EQ(results[0].value->number, 150);
    EXPECT_EQ(results[1].cell, (CellPosition{1, 4}));
    ASSERT_TRUE(results[1].value);
    EXPECT_EQ(results[1].value->number, 300);
    EXPECT_EQ(results[2].cell, (CellPosition{1, 6}));
    EXPECT_FALSE(results[2].value);
}

TEST(FormulaEngine, AFormulaUsingAnUncomputableOneIsUncomputable)
{
    FormulaEngine engine;
    engine.setValue({1, 1}, number(-5));
    engine.setFormula({1, 2}, "ABS(A1)", number(5));
    engine.setFormula({1, 3}, "B1+1", number(6));
    engine.setFormula({1, 4}, "IF(A1>0,B1,7)", number(7)); // the branch taken does not need B1
    engine.setValue({1, 1}, number(-8));
    const auto results = engine.recalculate({{1, 1}});
    ASSERT_EQ(results.size(), 3u);
    EXPECT_FALSE(results[0].value);
    EXPECT_FALSE(results[1].value);
    ASSERT_TRUE(results[2].value);
    EXPECT_EQ(results[2].value->number, 7);
}

TEST(FormulaEngine, FormulasWithoutStoredResultsAreComputedWhenRead)
{
    FormulaEngine engine;
    engine.setValue({2, 1}, number(900));
    engine.setFormula({2, 3}, "B2+A2");       // C2, from D2's point of view an input
    engine.setFormula({2, 2}, "A2*0.1");      // B2
    engine.setFormula({2, 4}, "C2");          // D2
    const auto value = engine.evaluate({2, 4});
    ASSERT_TRUE(value);
    EXPECT_DOUBLE_EQ(value->number, 990);
    EXPECT_FALSE(engine.evaluate({2, 1})) << "a value, not a formula";
}

TEST(FormulaEngine, CyclesAreNotComputableAndEnd)
{
    FormulaEngine engine;
    engine.setFormula({1, 1}, "B1+1", number(1));
    engine.setFormula({1, 2}, "A1+1", number(2));
    engine.setFormula({1, 3}, "C1");
    engine.setValue({1, 4}, number(3));
    engine.setFormula({1, 5}, "D1+A1", number(4));
    EXPECT_FALSE(engine.evaluate({1, 3}));
    const auto results = engine.recalculate({{1, 4}, {1, 1}});
    ASSERT_FALSE(results.empty());
    for (const auto &r : results)
        EXPECT_FALSE(r.value) << spreadsheet::cellReference(r.cell.row, r.cell.column);
}

TEST(FormulaEngine, HostileTextsAreRefusedQuickly)
{
    FormulaEngine engine;
    engine.setValue({1, 1}, number(1));
    const std::string deep = std::string(20000, '(') + "1" + std::string(20000, ')');
    const std::string deepFunctions = [] {
        std::string s;
        for (int i = 0; i < 3000; ++i)
            s += "SUM(";
        s += "A1";
        return s + std::string(3000, ')');
    }();
    std::string wide = "A1";
    for (int i = 0; i < 100000; ++i)
        wide += "+A1";
    const std::string unterminated = "\"" + std::string(100000, 'x');
    const std::string nested65 = std::string(65, '(') + "A1" + std::string(65, ')');
    for (const std::string &formula : {deep, deepFunctions, wide, unterminated, nested65}) {
        engine.setFormula({5, 5}, formula);
        EXPECT_FALSE(engine.evaluate({5, 5})) << formula.substr(0, 20);
        EXPECT_FALSE(engine.translate(formula, {5, 5}, {6, 5})) << formula.substr(0, 20);
    }
    const std::string nested64 = std::string(64, '(') + "A1" + std::string(64, ')');
    engine.setFormula({5, 5}, nested64);
    ASSERT_TRUE(engine.evaluate({5, 5}));
    EXPECT_EQ(engine.evaluate({5, 5})->number, 1);
}

TEST(FormulaEngine, ASumOverFormulasFollowsThem)
{
    FormulaEngine engine;
    for (int row = 1; row <= 3; ++row) {
        engine.setValue({row, 1}, number(row * 100));
        engine.setFormula({row, 2}, "A" + std::to_string(row) + "*2", number(row * 200));
    }
    engine.setFormula({4, 2}, "SUM(B1:B3)", number(1200));
    engine.setValue({2, 1}, number(1000));
    const auto results = engine.recalculate({{2, 1}});
    ASSERT_EQ(results.size(), 2u);
    ASSERT_TRUE(results[1].value);
    EXPECT_EQ(results[0].value->number, 2000);
    EXPECT_EQ(results[1].cell, (CellPosition{4, 2}));
    EXPECT_EQ(results[1].value->number, 2800);
}

TEST(FormulaEngine, ManyRowsOfRangeFormulasFollowTheWrittenCells)
{
    // One formula a row over a range of its own row, and a total over all of them:
    // a write in odd and even rows reaches its own row's formula and the total only.
    FormulaEngine engine;
    constexpr int kRows = 301;
    for (int row = 1; row <= kRows; ++row) {
        const std::string r = std::to_string(row);
        engine.setValue({row, 1}, number(row));
        engine.setValue({row, 2}, number(1));
        engine.setFormula({row, 3}, "SUM(A" + r + ":B" + r + ")", number(row + 1));
    }
    engine.setFormula({kRows + 1, 3}, "SUM(C1:C" + std::to_string(kRows) + ")",
                      number(kRows * (kRows + 1) / 2 + kRows));
    engine.setValue({7, 2}, number(11));
    engine.setValue({8, 1}, number(18));
    const auto results = engine.recalculate({{7, 2}, {8, 1}});
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[0].cell, (CellPosition{7, 3}));
    EXPECT_EQ(results[0].value->number, 18);
    EXPECT_EQ(results[1].cell, (CellPosition{8, 3}));
    EXPECT_EQ(results[1].value->number, 19);
    EXPECT_EQ(results[2].cell, (CellPosition{kRows + 1, 3}));
    EXPECT_EQ(results[2].value->number, kRows * (kRows + 1) / 2 + kRows + 10 + 10);
}

TEST(FormulaEngine, ANameOrTableIsTakenToReadTheWholeSheet)
{
    // What 工资总额 or 表1[合计] covers is not in the formula: any change may reach it, and
    // the engine does not compute names, so its stored result goes rather than stays stale.
    FormulaEngine engine;
    engine.setValue({40, 26}, number(1));
    engine.setFormula({1, 3}, "SUM(工资总额)", number(5));
    engine.setFormula({1, 4}, "SUM(表1[合计])+TRUE", number(6));
    engine.setFormula({1, 5}, "A1+1", number(1));
    engine.setValue({40, 26}, number(2));
    const auto results = engine.recalculate({{40, 26}});
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0].cell, (CellPosition{1, 3}));
    EXPECT_FALSE(results[0].value);
    EXPECT_EQ(results[1].cell, (CellPosition{1, 4}));
    EXPECT_FALSE(results[1].value);
}

// Sheets read each other's cells by name, exactly as spelt; a sheet the engine does not
// hold, another workbook's sheet of the same name, or a name spelt otherwise, is not
// guessed at.
TEST(FormulaEngine, SheetsReadEachOtherByTheirNames)
{
    FormulaEngine engine(std::vector<std::string>{"花名册", "汇总", "其 他", "Data"});
    engine.setValue(0, {1, 1}, number(100));
    engine.setValue(2, {1, 1}, number(3));
    engine.setFormula(1, {1, 1}, "SUM('花名册'!A1:A2)*'其 他'!A1", number(300)); // 汇总!A1
    engine.setFormula(0, {1, 2}, "汇总!A1+1", number(301));                      // 花名册!B1
    engine.setFormula(2, {1, 2}, "[1]花名册!A1*2", number(7));
    engine.setFormula(2, {1, 3}, "'花名册'!A1+缺!A1", number(8));
    engine.setFormula(2, {1, 4}, "data!A1+'花名册'!A1", number(9)); // spelt otherwise: Excel reads it
    engine.setFormula(2, {1, 5}, "A1+1", number(4));    // its own sheet's A1, not the first's
    engine.setValue(0, {1, 1}, number(150));
    const auto results = engine.recalculateSheets({{0, {1, 1}}});
    ASSERT_EQ(results.size(), 4u);
    EXPECT_EQ(results[0].sheet, 0);
    EXPECT_EQ(results[0].cell, (CellPosition{1, 2}));
    ASSERT_TRUE(results[0].value);
    EXPECT_EQ(results[0].value->number, 451);
    EXPECT_EQ(results[1].sheet, 1);
    ASSERT_TRUE(results[1].value);
    EXPECT_EQ(results[1].value->number, 450);
    EXPECT_EQ(results[2].cell, (CellPosition{1, 3}));
    EXPECT_FALSE(results[2].value);
    EXPECT_EQ(results[3].cell, (CellPosition{1, 4}));
    EXPECT_FALSE(results[3].value);
    // What a formula reads on each sheet, for the caller to hand over.
    engine.setFormula(1, {2, 1}, "'花名册'!C5+'其 他'!B2");
    const auto read = engine.sheetCellsRead({});
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].sheet, 0);
    EXPECT_EQ(read[0].range.first, (CellPosition{5, 3}));
    EXPECT_EQ(read[1].sheet, 2);
}

TEST(FormulaEngine, CellsOutsideTheSheetAreIgnored)
{
    FormulaEngine engine;
    engine.setValue({1, 1}, number(2));
    for (const CellPosition cell : {CellPosition{0, 1}, CellPosition{1, 0}, CellPosition{1, 64793},
                                    CellPosition{1048577, 1}, CellPosition{-5, -5}}) {
        engine.setValue(cell, number(1));
        engine.setFormula(cell, "A1+1");
        EXPECT_FALSE(engine.evaluate(cell));
    }
    engine.setFormula({1, 2}, "A1*2");
    ASSERT_TRUE(engine.evaluate({1, 2}));
    EXPECT_EQ(engine.evaluate({1, 2})->number, 4);
    EXPECT_EQ(engine.recalculate({{1, 64793}, {1, 1}}).size(), 1u);
}

struct TranslateCase
{
    const char *formula;
    CellPosition from;
    CellPosition to;
    const char *expected; // nullptr: refused
};

class FormulaTranslation : public testing::TestWithParam<TranslateCase>
{
};

TEST_P(FormulaTranslation, MovesRelativeReferencesAndKeepsTheRest)
{
    const TranslateCase &c = GetParam();
    FormulaEngine engine;
    const auto moved = engine.translate(c.formula, c.from, c.to);
    if (!c.expected) {
        EXPECT_FALSE(moved) << *moved;
        return;
    }
    ASSERT_TRUE(moved) << c.formula;
    EXPECT_EQ(*moved, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Fill, FormulaTranslation,
    testing::Values(
        TranslateCase{"T7+U7+V7+W7", {7, 25}, {8, 25}, "T8+U8+V8+W8"},
        TranslateCase{"$A$1+A$2*$B1+B1", {1, 3}, {5, 5}, "$A$1+C$2*$B5+D5"},
        TranslateCase{"SUM( A1 : B2 ) + 1.50", {3, 3}, {4, 3}, "SUM( A2 : B3 ) + 1.50"},
        TranslateCase{"SUM(A1:B2)", {3, 3}, {4, 3}, "SUM(A2:B3)"},
        TranslateCase{"1E+3+A1&\"A1\"", {1, 2}, {2, 2}, "1E+3+A2&\"A1\""},
        TranslateCase{"Sheet2!A1+'其 他'!$B2+[1]Book!C3", {1, 4}, {3, 4}, "Sheet2!A3+'其 他'!$B4+[1]Book!C5"},
        TranslateCase{"SUM(A:A)+SUM(3:4)+$C:$C", {1, 5}, {2, 6}, "SUM(B:B)+SUM(4:5)+$C:$C"},
        TranslateCase{"#REF!+LOG10(A1)+TAX2024", {1, 2}, {2, 2}, "#REF!+LOG10(A2)+TAX2025"},
        TranslateCase{"SUM(工资总额)+A1+TRUE", {1, 2}, {2, 2}, "SUM(工资总额)+A2+TRUE"},
        TranslateCase{"A2", {2, 2}, {1, 2}, "A1"},
        TranslateCase{"A1", {2, 2}, {1, 2}, nullptr},
        TranslateCase{"XFD1", {1, 1}, {1, 2}, nullptr}));

} // namespace
} // namespace quvela::test
