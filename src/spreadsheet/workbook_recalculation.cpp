#include "spreadsheet/workbook_recalculation.h"

#include "spreadsheet/formula_references.h"

#include <cctype>
#include <unordered_map>

namespace quvela::spreadsheet {

namespace {

bool sameSheetName(const std::string &a, const std::string &b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// The columns of a sheet that a formula reads; sheet kEverything for what cannot be
// known from the text (a defined name, a text that cannot be read).
struct Read
{
    int sheet;
    int first;
    int last;
};
constexpr int kEverything = -1;

struct SheetPlan
{
    const SheetFormulas *formulas = nullptr;
    std::vector<std::vector<Read>> reads; // by formula
    std::vector<uint8_t> reached;         // by formula
    std::vector<uint8_t> dirtyColumns;    // by column, allocated with the first
    bool anyDirty = false;
    int engineSheet = -1;
    // The formulas whose defined names were spelled out: their texts as the engine
    // gets them.
    std::unordered_map<std::size_t, std::string> spelled;
};

std::vector<Read> readsOf(const std::string &text, const std::string &ownName, int ownSheet,
                          RecalculationSheets &sheets, bool *usesName = nullptr)
{
    std::vector<Read> reads;
    for (const FormulaReference &ref : FormulaReferences::find(text, ownName)) {
        if (ref.name) {
            if (usesName)
                *usesName = true;
            reads.push_back({kEverything, 0, 0});
        } else if (!ref.otherSheet) {
            reads.push_back({ownSheet, ref.range.first.column, ref.range.last.column});
        } else if (!ref.external) {
            // Sheet names are compared as the spreadsheet programs compare them; a sheet
            // that does not exist reads as nothing here (an error there).
            for (std::size_t s = 0; s < sheets.count(); ++s) {
                if (sameSheetName(sheets.name(s), ref.sheet)) {
                    reads.push_back({static_cast<int>(s), ref.range.first.column, ref.range.last.column});
                    break;
                }
            }
        }
    }
    return reads;
}

// What each formula reads, by columns. A filled-down formula reads the columns of its
// group's first cell: only its rows differ.
void findReads(SheetPlan &plan, int sheet, RecalculationSheets &sheets)
{
    const std::vector<SheetFormula> &all = plan.formulas->all();
    plan.reads.resize(all.size());
    plan.reached.assign(all.size(), 0);
    const std::string &name = sheets.name(static_cast<std::size_t>(sheet));
    for (std::size_t i = 0; i < all.size(); ++i) {
        const SheetFormula &f = all[i];
        if (f.kind == SheetFormula::Kind::Shared) {
            const SheetFormula *first = plan.formulas->groupFirst(f.group);
            const std::size_t at = first ? static_cast<std::size_t>(first - all.data()) : all.size();
            if (at < i && first->cell.column == f.cell.column
                && first->range.contains(f.cell.row, f.cell.column) && !plan.spelled.count(at)) {
                plan.reads[i] = plan.reads[at];
                continue;
            }
        }
        const auto text = plan.formulas->textAt(f);
        if (!text) {
            plan.reads[i] = {{kEverything, 0, 0}};
            continue;
        }
        bool usesName = false;
        plan.reads[i] = readsOf(*text, name, sheet, sheets, &usesName);
        if (usesName && !sheets.names().empty()) {
            if (auto spelled = sheets.names().spelledOut(*text, name)) {
                plan.reads[i] = readsOf(*spelled, name, sheet, sheets);
                plan.spelled.emplace(i, *std::move(spelled));
            }
        }
    }
}

// Marks, by columns, a superset of the formulas that read a written cell, directly or
// through others: a roster's formulas read whole columns of figures row by row, so
// this leaves out every formula over columns no write reaches.
void markReached(std::vector<SheetPlan> &plans)
{
    auto dirty = [&](int sheet, int column) {
        SheetPlan &plan = plans[static_cast<std::size_t>(sheet)];
        if (plan.dirtyColumns.empty())
            plan.dirtyColumns.assign(kMaxColumns + 1, 0);
        plan.anyDirty = true;
        uint8_t &d = plan.dirtyColumns[static_cast<std::size_t>(column)];
        const bool grew = d == 0;
        d = 1;
        return grew;
    };
    auto hits = [&](const Read &read) {
        if (read.sheet == kEverything)
            return true; // a write has been made, and it may be anywhere
        const SheetPlan &plan = plans[static_cast<std::size_t>(read.sheet)];
        if (!plan.anyDirty)
            return false;
        constexpr int kWide = 256; // columns; a wider read is taken to reach a change
        if (read.last - read.first >= kWide)
            return true;
        for (int c = read.first; c <= read.last; ++c) {
            if (plan.dirtyColumns[static_cast<std::size_t>(c)])
                return true;
        }
        return false;
    };
    constexpr int kMaxPasses = 64;
    for (int pass = 0;; ++pass) {
        bool grew = false;
        for (std::size_t s = 0; s < plans.size(); ++s) {
            SheetPlan &plan = plans[s];
            if (!plan.formulas)
                continue;
            const std::vector<SheetFormula> &all = plan.formulas->all();
            for (std::size_t i = 0; i < all.size(); ++i) {
                if (plan.reached[i])
                    continue;
                const bool hit = pass == kMaxPasses
                    || std::any_of(plan.reads[i].begin(), plan.reads[i].end(), hits);
                if (hit) {
                    plan.reached[i] = 1;
                    grew = dirty(static_cast<int>(s), all[i].cell.column) || grew;
                }
            }
        }
        if (!grew || pass == kMaxPasses)
            break;
    }
}

} // namespace

std::vector<std::vector<FormulaResult>> recalculateWorkbook(RecalculationSheets &sheets,
                                                            const PendingWrites &writes)
{
    std::vector<std::vector<FormulaResult>> out(sheets.count());
    if (writes.empty() || sheets.count() == 0)
        return out;
    std::vector<SheetPlan> plans(sheets.count());
    for (std::size_t s = 0; s < plans.size(); ++s) {
        plans[s].formulas = sheets.formulas(s);
        if (plans[s].formulas && plans[s].formulas->all().empty())
            plans[s].formulas = nullptr;
        if (plans[s].formulas)
            findReads(plans[s], static_cast<int>(s), sheets);
    }
    for (const auto &[row, cells] : writes) {
        for (const auto &[column, value] : cells) {
            (void)value;
            if (column >= 1 && column <= kMaxColumns) {
                if (plans[0].dirtyColumns.empty())
                    plans[0].dirtyColumns.assign(kMaxColumns + 1, 0);
                plans[0].dirtyColumns[static_cast<std::size_t>(column)] = 1;
                plans[0].anyDirty = true;
            }
        }
    }
    markReached(plans);

    // The first sheet's formulas saved without a result are computed in any case: a
    // formula reading them needs their values.
    auto included = [&](std::size_t s, std::size_t i) {
        return plans[s].reached[i] || (s == 0 && !plans[s].formulas->all()[i].hasResult);
    };
    std::vector<uint8_t> involved(plans.size(), 0);
    involved[0] = 1;
    for (std::size_t s = 0; s < plans.size(); ++s) {
        if (!plans[s].formulas)
            continue;
        for (std::size_t i = 0; i < plans[s].reads.size(); ++i) {
            if (!included(s, i))
                continue;
            involved[s] = 1;
            for (const Read &read : plans[s].reads[i]) {
                if (read.sheet != kEverything)
                    involved[static_cast<std::size_t>(read.sheet)] = 1;
            }
        }
    }
    std::vector<std::string> names;
    std::vector<std::size_t> workbookSheet; // by engine sheet
    std::vector<const CellStore *> cells(plans.size(), nullptr);
    for (std::size_t s = 0; s < plans.size(); ++s) {
        if (!involved[s])
            continue;
        cells[s] = sheets.cells(s);
        if (!cells[s]) {
            // Without its cells the sheet is not in the engine: what reads it cannot be
            // computed, and its own formulas that the write reaches lose their results.
            if (plans[s].formulas) {
                for (std::size_t i = 0; i < plans[s].reached.size(); ++i) {
                    if (plans[s].reached[i])
                        out[s].push_back({plans[s].formulas->all()[i].cell, std::nullopt, static_cast<int>(s)});
                }
            }
            continue;
        }
        plans[s].engineSheet = static_cast<int>(names.size());
        names.push_back(sheets.name(s));
        workbookSheet.push_back(s);
    }
    if (plans[0].engineSheet != 0)
        return out; // the written sheet itself cannot be read: nothing is known

    FormulaEngine engine(names);
    for (std::size_t s : workbookSheet) {
        if (!plans[s].formulas)
            continue;
        const std::vector<SheetFormula> &all = plans[s].formulas->all();
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (!included(s, i))
                continue;
            const SheetFormula &f = all[i];
            std::optional<CellValue> stored;
            if (f.hasResult)
                stored = cells[s]->cell(f.cell.row, f.cell.column);
            std::optional<std::string> text;
            if (const auto spelled = plans[s].spelled.find(i); spelled != plans[s].spelled.end())
                text = f.kind == SheetFormula::Kind::Array ? "QUVELA.ARRAY(" + spelled->second + ")" : spelled->second;
            else
                text = plans[s].formulas->engineText(f);
            if (text)
                engine.setFormula(plans[s].engineSheet, f.cell, *text, stored);
            else
                engine.setUnknownFormula(plans[s].engineSheet, f.cell, stored);
        }
    }
    std::vector<SheetCell> changed;
    for (const auto &[row, columns] : writes) {
        for (const auto &[column, value] : columns)
            changed.push_back({0, {row, column}});
    }
    // Only the values that will be read: a roster's other columns would cost as much
    // to hand over as the whole calculation.
    for (const SheetRange &range : engine.sheetCellsRead(changed)) {
        const std::size_t s = workbookSheet[static_cast<std::size_t>(range.sheet)];
        const SheetFormulas *formulas = plans[s].formulas;
        cells[s]->forEachCellIn(range.range, [&](int row, int column, const CellValue &value) {
            const SheetFormula *formula = formulas ? formulas->find(row, column) : nullptr;
            if (!formula || !included(s, static_cast<std::size_t>(formula - formulas->all().data())))
                engine.setValue(range.sheet, {row, column}, value);
        });
    }
    for (const auto &[row, columns] : writes) {
        for (const auto &[column, value] : columns) {
            CellValue number;
            number.type = CellValue::Type::Number;
            number.number = value;
            engine.setValue(0, {row, column}, number);
        }
    }
    for (FormulaResult &result : engine.recalculateSheets(changed)) {
        const std::size_t s = workbookSheet[static_cast<std::size_t>(result.sheet)];
        if (s == 0) {
            const auto r = writes.find(result.cell.row);
            if (r != writes.end() && r->second.count(result.cell.column))
                continue;
        }
        result.sheet = static_cast<int>(s);
        out[s].push_back(std::move(result));
    }
    return out;
}

} // namespace quvela::spreadsheet
