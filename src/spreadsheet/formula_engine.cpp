// The only file that knows the engine is libixion; the rest of the program sees
// FormulaEngine alone.
#include "spreadsheet/formula_engine.h"

#include "spreadsheet/formula_references.h"
#include "spreadsheet/range_index.h"

#include <ixion/address.hpp>
#include <ixion/cell.hpp>
#include <ixion/formula.hpp>
#include <ixion/formula_function_opcode.hpp>
#include <ixion/formula_name_resolver.hpp>
#include <ixion/formula_opcode.hpp>
#include <ixion/formula_result.hpp>
#include <ixion/formula_tokens.hpp>
#include <ixion/model_context.hpp>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <unordered_map>

namespace quvela::spreadsheet {

namespace {

using ixion::fopcode_t;
using ixion::formula_function_t;

// The functions whose results were checked against the spreadsheet programs'. The
// engine knows more names, but some it only names (ROUND, ABS, MOD, COUNT, SUMIF,
// VLOOKUP ... throw "not implemented") and some it computes differently (MAX and MIN
// over a range give an error and count an empty or text cell as 0, AVERAGE counts
// them too; IF insists on three arguments; numbers turned into text are spelled with
// six digits). What may be trusted still depends on what the cells hold: see Operand.
bool isTrusted(formula_function_t function)
{
    switch (function) {
    case formula_function_t::func_sum:
    case formula_function_t::func_if:
    case formula_function_t::func_int:
    case formula_function_t::func_max:
    case formula_function_t::func_min:
    case formula_function_t::func_counta:
    case formula_function_t::func_concatenate:
    case formula_function_t::func_len:
        return true;
    default:
        return false;
    }
}

bool isComparison(fopcode_t op)
{
    return op == fopcode_t::fop_equal || op == fopcode_t::fop_not_equal || op == fopcode_t::fop_less
        || op == fopcode_t::fop_greater || op == fopcode_t::fop_less_equal
        || op == fopcode_t::fop_greater_equal;
}

bool isOperand(fopcode_t op)
{
    return op == fopcode_t::fop_value || op == fopcode_t::fop_string || op == fopcode_t::fop_single_ref
        || op == fopcode_t::fop_range_ref;
}

bool insideSheet(const ixion::abs_address_t &a, int sheets)
{
    return a.sheet >= 0 && a.sheet < sheets && a.row >= 0 && a.row < kMaxRows && a.column >= 0 && a.column < kMaxColumns;
}

// What a referenced cell must hold for the engine's result to be the spreadsheet
// programs' result.
enum class Need : uint8_t {
    NumberOrEmpty, // arithmetic, comparisons, conditions: an empty cell counts as 0
    Number,        // a whole argument of MAX, MIN or INT: empty or text is not 0 there
    TextOrEmpty,   // joined as text: the engine spells numbers differently
};

struct Operand
{
    ixion::abs_address_t cell;
    Need need;
};

struct Verdict
{
    bool trusted = false;
    bool booleanResult = false; // a comparison decides the result: TRUE or FALSE
    std::vector<Operand> operands;
};

bool takesRanges(formula_function_t function)
{
    return function == formula_function_t::func_sum || function == formula_function_t::func_counta
        || function == formula_function_t::func_max || function == formula_function_t::func_min;
}

bool joinsText(formula_function_t function)
{
    return function == formula_function_t::func_concatenate || function == formula_function_t::func_len;
}

// Tokens that may stand on either side of a whole operand of "&".
bool boundsTextOperand(fopcode_t op)
{
    return op == fopcode_t::fop_unknown || op == fopcode_t::fop_open || op == fopcode_t::fop_close
        || op == fopcode_t::fop_sep || op == fopcode_t::fop_concat || isComparison(op);
}

// Whether the engine's reading of the formula is one whose value can be trusted: a
// well-formed expression over this sheet's cells, the trusted functions and the
// operators. The engine's parser accepts some malformed texts (an operator at the end,
// two operands side by side, "1E3" read as 1 and the cell E3) and computes something
// for them; those are refused here.
Verdict judge(const ixion::formula_tokens_t &tokens, const ixion::abs_address_t &position, int sheets)
{
    struct Frame
    {
        bool function = false;
        formula_function_t name = formula_function_t::func_unknown;
        int argument = 0;
        bool empty = true;
    };
    std::vector<Frame> frames;
    Verdict verdict;
    bool expectOperand = true;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const ixion::formula_token &token = *tokens[i];
        const fopcode_t op = token.get_opcode();
        const auto nextOp = [&]() {
            return i + 1 < tokens.size() ? tokens[i + 1]->get_opcode() : fopcode_t::fop_unknown;
        };
        const fopcode_t previous = i > 0 ? tokens[i - 1]->get_opcode() : fopcode_t::fop_unknown;
        if (!frames.empty())
            frames.back().empty = false;
        if (isOperand(op)) {
            if (!expectOperand)
                return {};
            const bool wholeArgument = !frames.empty() && frames.back().function
                && (previous == fopcode_t::fop_open || previous == fopcode_t::fop_sep)
                && (nextOp() == fopcode_t::fop_sep || nextOp() == fopcode_t::fop_close);
            const bool joined = previous == fopcode_t::fop_concat || nextOp() == fopcode_t::fop_concat
                || (!frames.empty() && frames.back().function && joinsText(frames.back().name));
            if (joined) {
                // Only a cell or a text by itself is joined exactly; a number or an
                // expression would be spelled by the engine.
                const bool inFunction = !frames.empty() && frames.back().function && joinsText(frames.back().name);
                if (op != fopcode_t::fop_string && op != fopcode_t::fop_single_ref)
                    return {};
                if (inFunction ? !wholeArgument
                               : !(boundsTextOperand(previous) && boundsTextOperand(nextOp())))
                    return {};
            }
            if (op == fopcode_t::fop_single_ref) {
                const ixion::abs_address_t cell = token.get_single_ref().to_abs(position);
                if (!insideSheet(cell, sheets))
                    return {};
                const formula_function_t function = wholeArgument ? frames.back().name
                                                                  : formula_function_t::func_unknown;
                // SUM skips a text cell named by itself and COUNTA counts any, as the
                // programs do; MAX, MIN and INT are only right on numbers.
                if (joined)
                    verdict.operands.push_back({cell, Need::TextOrEmpty});
                else if (function == formula_function_t::func_max || function == formula_function_t::func_min
                         || function == formula_function_t::func_int)
                    verdict.operands.push_back({cell, Need::Number});
                else if (function == formula_function_t::func_if && frames.back().argument > 0)
                    ; // IF gives the branch's value as it is, whatever it holds
                else if (function != formula_function_t::func_sum && function != formula_function_t::func_counta)
                    verdict.operands.push_back({cell, Need::NumberOrEmpty});
            }
            if (op == fopcode_t::fop_range_ref) {
                const ixion::range_t range = token.get_range_ref();
                // A range only as a whole argument of a function, as in SUM(A1:B3).
                if (frames.empty() || !frames.back().function || !takesRanges(frames.back().name)
                    || (previous != fopcode_t::fop_open && previous != fopcode_t::fop_sep)
                    || (nextOp() != fopcode_t::fop_sep && nextOp() != fopcode_t::fop_close))
                    return {};
                if (range.all_columns() || range.all_rows())
                    return {};
                const ixion::abs_range_t absolute = range.to_abs(position);
                if (!insideSheet(absolute.first, sheets) || !insideSheet(absolute.last, sheets)
                    || absolute.first.sheet != absolute.last.sheet)
                    return {};
            }
            if (op == fopcode_t::fop_value && !std::isfinite(token.get_value()))
                return {};
            expectOperand = false;
            continue;
        }
        switch (op) {
        case fopcode_t::fop_function:
            if (!expectOperand || nextOp() != fopcode_t::fop_open
                || !isTrusted(static_cast<formula_function_t>(token.get_uint32())))
                return {};
            frames.push_back({true, static_cast<formula_function_t>(token.get_uint32()), 0, true});
            ++i; // its "("
            break;
        case fopcode_t::fop_open:
            if (!expectOperand)
                return {};
            frames.push_back({});
            break;
        case fopcode_t::fop_close: {
            if (frames.empty())
                return {};
            const Frame frame = frames.back();
            frames.pop_back();
            if (expectOperand && !(frame.function && frame.empty))
                return {};
            const int arguments = frame.empty ? 0 : frame.argument + 1;
            if (frame.function && (arguments == 0 || (frame.name == formula_function_t::func_if && arguments != 3)))
                return {};
            expectOperand = false;
            break;
        }
        case fopcode_t::fop_sep:
            if (expectOperand || frames.empty() || !frames.back().function)
                return {};
            ++frames.back().argument;
            expectOperand = true;
            break;
        case fopcode_t::fop_plus:
        case fopcode_t::fop_minus:
            expectOperand = true; // binary, or a sign where an operand is expected
            break;
        case fopcode_t::fop_multiply:
        case fopcode_t::fop_divide:
        case fopcode_t::fop_exponent:
        case fopcode_t::fop_concat:
            if (expectOperand)
                return {};
            expectOperand = true;
            break;
        default:
            if (!isComparison(op) || expectOperand)
                return {};
            // The engine compares an empty cell with "" as unequal, and gives 1 or 0
            // where the spreadsheet programs give TRUE or FALSE; both are only safe where
            // the result is the formula's own value or the condition of an IF.
            if (previous == fopcode_t::fop_string || nextOp() == fopcode_t::fop_string)
                return {};
            if (frames.empty())
                verdict.booleanResult = true;
            else if (!(frames.back().function && frames.back().name == formula_function_t::func_if
                       && frames.back().argument == 0))
                return {};
            expectOperand = true;
            break;
        }
    }
    if (expectOperand || !frames.empty())
        return {};
    verdict.trusted = true;
    return verdict;
}

bool withinLimits(std::string_view formula)
{
    if (formula.empty() || formula.size() > FormulaEngine::kMaxFormulaBytes)
        return false;
    int depth = 0;
    char quote = 0;
    for (const char c : formula) {
        if (quote) {
            if (c == quote)
                quote = 0; // a doubled quote closes and reopens: the same for counting
            continue;
        }
        if (c == '"' || c == '\'')
            quote = c;
        else if (c == '(' && ++depth > FormulaEngine::kMaxNesting)
            return false;
        else if (c == ')')
            --depth;
    }
    return true;
}

ixion::abs_address_t address(int sheet, CellPosition cell)
{
    return ixion::abs_address_t(sheet, cell.row - 1, cell.column - 1);
}

bool before(const CellPosition &a, const CellPosition &b)
{
    return a.row != b.row ? a.row < b.row : a.column < b.column;
}


} // namespace

// The engine's own dependency tracker costs some 30 microseconds for each formula that
// reads a range (0.9 s for a roster of 10,000 rows with three such formulas a row), so
// the dependencies are followed here: a formula is put into the engine only to be
// computed, in an order that computes what it reads first. A formula whose stored
// result stands is a plain value to the engine (the engine also reads a range over
// formulas it has not computed itself as an error).
struct FormulaEngine::Impl
{
    struct Formula
    {
        int sheet = 0;
        CellPosition cell;
        bool live = true; // false once the cell was given something else
        bool trusted = false;
        bool booleanResult = false;
        bool computed = false; // holds a result, stored or computed
        bool parsed = false; // the engine has read the text (only when it computes it)
        // It reads a sheet the engine does not hold, another workbook, or a name.
        bool readsOutside = false;
        std::vector<Operand> operands;
        std::vector<SheetRange> reads; // the cells of the engine's sheets it reads
        std::string text;
        ixion::formula_tokens_store_ptr_t tokens;
    };

    // Past this many dependency steps in one calculation a hostile sheet is not followed:
    // everything that might depend on the change is then not computable.
    static constexpr std::size_t kMaxSteps = 50'000'000;

    std::vector<std::string> sheetNames;
    ixion::model_context context{{kMaxRows, kMaxColumns}};
    std::unique_ptr<ixion::formula_name_resolver> resolver;
    std::vector<Formula> formulas;
    std::unordered_map<uint64_t, uint32_t> byCell;
    // Built on first need after a change of formulas.
    bool indexed = false;
    std::unordered_map<uint64_t, std::vector<uint32_t>> readersOfCell;
    std::vector<RangeIndex> readersOfRange; // by sheet

    explicit Impl(const std::vector<std::string> &names)
    {
        for (const std::string &name : names) {
            // A damaged file may name two sheets alike; the second one cannot be
            // named in a formula then, and gets a name no formula spells.
            std::string used = name.empty() ? "Sheet" + std::to_string(sheetNames.size() + 1) : name;
            try {
                context.append_sheet(used);
            } catch (const std::exception &) {
                used = "\x01" + std::to_string(sheetNames.size());
                context.append_sheet(used);
            }
            sheetNames.push_back(used);
        }
        resolver = ixion::formula_name_resolver::get(ixion::formula_name_resolver_t::excel_a1, &context);
    }

    int sheetCount() const { return static_cast<int>(sheetNames.size()); }
    bool holdsSheet(int sheet) const { return sheet >= 0 && sheet < sheetCount(); }

    // The sheet a reference's prefix names, spelled exactly as the engine knows it.
    std::optional<int> sheetNamed(const std::string &name) const
    {
        for (int i = 0; i < sheetCount(); ++i) {
            if (sheetNames[static_cast<std::size_t>(i)] == name)
                return i;
        }
        return std::nullopt;
    }

    static uint64_t key(int sheet, CellPosition cell)
    {
        return (static_cast<uint64_t>(sheet) << 40) | (static_cast<uint64_t>(cell.row) << 16)
            | static_cast<uint64_t>(cell.column);
    }

    Formula *find(int sheet, CellPosition cell)
    {
        const auto it = byCell.find(key(sheet, cell));
        return it == byCell.end() ? nullptr : &formulas[it->second];
    }

    // Does the cell hold what the formula reading it needs?
    bool holds(const Operand &operand) const
    {
        ixion::celltype_t type = context.get_celltype(operand.cell);
        bool text = type == ixion::celltype_t::string;
        bool number = type == ixion::celltype_t::numeric || type == ixion::celltype_t::boolean;
        if (type == ixion::celltype_t::formula) {
            const ixion::formula_cell *fc = context.get_formula_cell(operand.cell);
            if (!fc)
                return false;
            const auto r = fc->get_result_cache(ixion::formula_result_wait_policy_t::throw_exception);
            text = r.get_type() == ixion::formula_result::result_type::string;
            number = r.get_type() == ixion::formula_result::result_type::value;
        }
        const bool empty = type == ixion::celltype_t::empty || type == ixion::celltype_t::unknown;
        switch (operand.need) {
        case Need::NumberOrEmpty:
            return number || empty;
        case Need::Number:
            return number;
        case Need::TextOrEmpty:
            return text || empty;
        }
        return false;
    }

    std::optional<ixion::formula_tokens_t> parse(std::string_view formula, int sheet, CellPosition cell)
    {
        if (!withinLimits(formula))
            return std::nullopt;
        try {
            return ixion::parse_formula_string(context, address(sheet, cell), *resolver, formula);
        } catch (const std::exception &) {
            return std::nullopt;
        }
    }

    void clear(int sheet, CellPosition cell)
    {
        const auto it = byCell.find(key(sheet, cell));
        if (it == byCell.end())
            return;
        Formula &f = formulas[it->second];
        f.live = false;
        f.reads.clear();
        f.operands.clear();
        f.tokens.reset();
        byCell.erase(it);
        indexed = false;
    }

    // A formula the engine must not compute stands in as a function the engine does not
    // know, so that every formula using its value becomes an error (not computable)
    // while a branch of an IF that is not taken still does not matter. What it reads is
    // followed here, from its text.
    ixion::formula_tokens_t standIn(int sheet, CellPosition cell)
    {
        return ixion::parse_formula_string(context, address(sheet, cell), *resolver, "QUVELA.UNAVAILABLE()");
    }

    void buildIndex()
    {
        if (indexed)
            return;
        readersOfCell.clear();
        readersOfRange.assign(sheetNames.size(), RangeIndex());
        for (uint32_t i = 0; i < formulas.size(); ++i) {
            for (const SheetRange &r : formulas[i].reads) {
                if (r.range.first == r.range.last)
                    readersOfCell[key(r.sheet, r.range.first)].push_back(i);
                else
                    readersOfRange[static_cast<std::size_t>(r.sheet)].add(r.range, i);
            }
        }
        for (RangeIndex &index : readersOfRange)
            index.build();
        indexed = true;
    }

    // sheet and column -> the rows of the members there
    using MemberRows = std::map<std::pair<int, int>, std::vector<int>>;

    // The live formulas among the members that the formula reads.
    template <typename Visit>
    void dependencies(const Formula &f, const MemberRows &memberRows, Visit &&visit)
    {
        for (const SheetRange &r : f.reads) {
            for (auto col = memberRows.lower_bound({r.sheet, r.range.first.column});
                 col != memberRows.end() && col->first.first == r.sheet && col->first.second <= r.range.last.column;
                 ++col) {
                const std::vector<int> &rows = col->second;
                for (auto row = std::lower_bound(rows.begin(), rows.end(), r.range.first.row);
                     row != rows.end() && *row <= r.range.last.row; ++row)
                    visit(r.sheet, CellPosition{*row, col->first.second});
            }
        }
    }

    // Installs and computes the members (formula indices), each after the members it
    // reads; members in a cycle come out as errors. Returns false past the step bound.
    bool computeInOrder(const std::vector<uint32_t> &members)
    {
        MemberRows memberRows;
        std::vector<uint8_t> state(formulas.size(), 0); // 1 on the path, 2 done, 3 not a member
        for (uint8_t &s : state)
            s = 3;
        for (uint32_t i : members) {
            memberRows[{formulas[i].sheet, formulas[i].cell.column}].push_back(formulas[i].cell.row);
            state[i] = 0;
        }
        for (auto &[column, rows] : memberRows)
            std::sort(rows.begin(), rows.end());
        std::vector<uint32_t> order;
        order.reserve(members.size());
        std::vector<uint32_t> cyclic;
        std::size_t steps = 0;
        struct Frame
        {
            uint32_t formula;
            std::size_t first; // its dependencies: pending[first, end)
            std::size_t next;
            std::size_t end;
        };
        std::vector<uint32_t> pending;
        for (uint32_t start : members) {
            if (state[start] != 0)
                continue;
            std::vector<Frame> stack;
            auto push = [&](uint32_t i) {
                state[i] = 1;
                const std::size_t first = pending.size();
                dependencies(formulas[i], memberRows, [&](int sheet, CellPosition cell) {
                    ++steps;
                    const auto it = byCell.find(key(sheet, cell));
                    if (it != byCell.end() && state[it->second] != 3)
                        pending.push_back(it->second);
                });
                stack.push_back({i, first, first, pending.size()});
            };
            push(start);
            while (!stack.empty()) {
                if (steps > kMaxSteps)
                    return false;
                Frame &top = stack.back();
                if (top.next < top.end) {
                    const uint32_t dep = pending[top.next++];
                    const uint8_t s = state[dep];
                    if (s == 0) {
                        push(dep); // may move the stack: top is not used after this
                    } else if (s == 1) {
                        cyclic.push_back(top.formula); // reads itself, directly or not
                    }
                    continue;
                }
                state[top.formula] = 2;
                order.push_back(top.formula);
                pending.resize(top.first);
                stack.pop_back();
            }
        }
        std::sort(cyclic.begin(), cyclic.end());
        for (uint32_t i : order)
            computeOne(formulas[i], std::binary_search(cyclic.begin(), cyclic.end(), i));
        return true;
    }

    // The engine reads a formula only when it is to compute it: most formulas of a
    // roster keep their stored results through a write.
    void prepare(Formula &f)
    {
        if (f.parsed)
            return;
        f.parsed = true;
        const ixion::abs_address_t at = address(f.sheet, f.cell);
        std::optional<ixion::formula_tokens_t> tokens;
        if (!f.readsOutside)
            tokens = parse(f.text, f.sheet, f.cell);
        if (tokens) {
            Verdict verdict = judge(*tokens, at, sheetCount());
            f.trusted = verdict.trusted;
            f.booleanResult = verdict.booleanResult;
            f.operands = std::move(verdict.operands);
        }
        if (!f.trusted)
            tokens = standIn(f.sheet, f.cell);
        f.tokens = ixion::formula_tokens_store::create();
        f.tokens->get() = std::move(*tokens);
        std::string().swap(f.text);
    }

    void computeOne(Formula &f, bool cyclic)
    {
        prepare(f);
        const ixion::abs_address_t at = address(f.sheet, f.cell);
        f.computed = true;
        ixion::formula_cell *fc = nullptr;
        try {
            fc = context.set_formula_cell(at, f.tokens);
            if (!fc)
                return;
            if (cyclic) {
                fc->set_result_cache(ixion::formula_result(ixion::formula_error_t::ref_result_not_available));
                return;
            }
            fc->interpret(context, at);
        } catch (const std::exception &) {
            if (fc)
                fc->set_result_cache(ixion::formula_result(ixion::formula_error_t::general_error));
        }
    }

    // Formulas read without a stored result are computed before anything uses them.
    void computeMissing()
    {
        std::vector<uint32_t> missing;
        for (uint32_t i = 0; i < formulas.size(); ++i) {
            if (formulas[i].live && !formulas[i].computed)
                missing.push_back(i);
        }
        if (!missing.empty() && !computeInOrder(missing))
            untrustAll(missing);
    }

    void untrustAll(const std::vector<uint32_t> &members)
    {
        for (uint32_t i : members) {
            formulas[i].parsed = true;
            formulas[i].trusted = false;
            formulas[i].computed = true;
        }
    }

    std::vector<uint32_t> allLive() const
    {
        std::vector<uint32_t> live;
        for (uint32_t i = 0; i < formulas.size(); ++i) {
            if (formulas[i].live)
                live.push_back(i);
        }
        return live;
    }

    // The live formulas that read one of the cells, directly or through each other;
    // nullopt past the step bound.
    std::optional<std::vector<uint32_t>> readersOf(const std::vector<SheetCell> &changed)
    {
        buildIndex();
        std::vector<uint8_t> dirty(formulas.size(), 0);
        std::vector<uint32_t> found;
        std::vector<SheetCell> work;
        for (const SheetCell &c : changed) {
            if (!holdsSheet(c.sheet))
                continue;
            work.push_back(c);
            if (Formula *f = find(c.sheet, c.cell); f && !dirty[static_cast<std::size_t>(f - formulas.data())]) {
                dirty[static_cast<std::size_t>(f - formulas.data())] = 1;
                found.push_back(static_cast<uint32_t>(f - formulas.data()));
            }
        }
        std::size_t steps = 0;
        auto mark = [&](uint32_t i) {
            if (++steps > kMaxSteps)
                return false;
            if (!dirty[i] && formulas[i].live) {
                dirty[i] = 1;
                found.push_back(i);
                work.push_back({formulas[i].sheet, formulas[i].cell});
            }
            return true;
        };
        while (!work.empty()) {
            const SheetCell c = work.back();
            work.pop_back();
            if (const auto it = readersOfCell.find(key(c.sheet, c.cell)); it != readersOfCell.end()) {
                for (uint32_t i : it->second) {
                    if (!mark(i))
                        return std::nullopt;
                }
            }
            if (!readersOfRange[static_cast<std::size_t>(c.sheet)].find(c.cell, mark))
                return std::nullopt;
        }
        return found;
    }

    std::optional<CellValue> result(const Formula &formula) const
    {
        if (!formula.trusted)
            return std::nullopt;
        try {
            for (const Operand &operand : formula.operands) {
                if (!holds(operand))
                    return std::nullopt;
            }
            const ixion::formula_cell *fc = context.get_formula_cell(address(formula.sheet, formula.cell));
            if (!fc)
                return std::nullopt;
            const ixion::formula_result r = fc->get_result_cache(ixion::formula_result_wait_policy_t::throw_exception);
            CellValue value;
            switch (r.get_type()) {
            case ixion::formula_result::result_type::value:
                if (!std::isfinite(r.get_value()))
                    return std::nullopt;
                value.type = formula.booleanResult ? CellValue::Type::Boolean : CellValue::Type::Number;
                value.number = formula.booleanResult ? (r.get_value() != 0 ? 1 : 0) : r.get_value();
                return value;
            case ixion::formula_result::result_type::string:
                value.type = CellValue::Type::Text;
                value.text = r.get_string();
                return value;
            default:
                return std::nullopt; // errors: the engine's error is not always the program's
            }
        } catch (const std::exception &) {
            return std::nullopt;
        }
    }

    void putValue(int sheet, CellPosition cell, const CellValue &value)
    {
        const ixion::abs_address_t at = address(sheet, cell);
        switch (value.type) {
        case CellValue::Type::Empty:
            context.empty_cell(at);
            break;
        case CellValue::Type::Number:
            context.set_numeric_cell(at, value.number);
            break;
        case CellValue::Type::Boolean:
            context.set_boolean_cell(at, value.number != 0);
            break;
        case CellValue::Type::Text:
            context.set_string_cell(at, value.text);
            break;
        case CellValue::Type::Error: {
            // An error poisons what reads it, as a formula the engine cannot compute.
            ixion::formula_cell *fc = context.set_formula_cell(at, standIn(sheet, cell));
            if (fc)
                fc->set_result_cache(ixion::formula_result(ixion::formula_error_t::general_error));
            break;
        }
        }
    }

    void addFormula(Formula entry, const std::optional<CellValue> &stored)
    {
        if (stored && stored->type != CellValue::Type::Empty) {
            // Until what it reads changes, the formula is the value it was saved with.
            entry.computed = true;
            putValue(entry.sheet, entry.cell, *stored);
        } else {
            context.empty_cell(address(entry.sheet, entry.cell));
        }
        byCell[key(entry.sheet, entry.cell)] = static_cast<uint32_t>(formulas.size());
        formulas.push_back(std::move(entry));
        indexed = false;
    }

    // Every cell of every sheet the engine holds: what a formula reads when that is not
    // known (a name, a text that cannot be read).
    void readEverything(Formula &f) const
    {
        for (int s = 0; s < sheetCount(); ++s)
            f.reads.push_back({s, {{1, 1}, {kMaxRows, kMaxColumns}}});
    }
};

namespace {
// Cells outside the sheet (only a damaged file names them) are not handed to the engine,
// which ends the program on them.
bool onSheet(CellPosition cell)
{
    return cell.row >= 1 && cell.row <= kMaxRows && cell.column >= 1 && cell.column <= kMaxColumns;
}

std::vector<SheetCell> onFirstSheet(const std::vector<CellPosition> &cells)
{
    std::vector<SheetCell> out;
    out.reserve(cells.size());
    for (const CellPosition &cell : cells)
        out.push_back({0, cell});
    return out;
}

bool resultBefore(const FormulaResult &a, const FormulaResult &b)
{
    return a.sheet != b.sheet ? a.sheet < b.sheet : before(a.cell, b.cell);
}
} // namespace

FormulaEngine::FormulaEngine(std::string_view sheetName)
    : d(std::make_unique<Impl>(std::vector<std::string>{sheetName.empty() ? "Sheet1" : std::string(sheetName)}))
{
}

FormulaEngine::FormulaEngine(const std::vector<std::string> &sheetNames)
    : d(std::make_unique<Impl>(sheetNames.empty() ? std::vector<std::string>{"Sheet1"} : sheetNames))
{
}

FormulaEngine::~FormulaEngine() = default;

int FormulaEngine::sheetCount() const
{
    return d->sheetCount();
}

std::optional<std::string> FormulaEngine::translate(std::string_view formula, CellPosition from,
                                                    CellPosition to)
{
    // The engine prints a formula in its own spelling (no blanks, its own number
    // format, "1E3" misread); a fill keeps the text and moves the references only.
    if (!withinLimits(formula))
        return std::nullopt;
    return FormulaReferences::shifted(formula, to.row - from.row, to.column - from.column);
}

void FormulaEngine::setValue(int sheet, CellPosition cell, const CellValue &value)
{
    if (!onSheet(cell) || !d->holdsSheet(sheet))
        return;
    if (!d->byCell.empty())
        d->clear(sheet, cell);
    d->putValue(sheet, cell, value);
}

void FormulaEngine::setFormula(int sheet, CellPosition cell, std::string_view formula,
                               const std::optional<CellValue> &stored)
{
    if (!onSheet(cell) || !d->holdsSheet(sheet))
        return;
    d->clear(sheet, cell);
    Impl::Formula entry;
    entry.sheet = sheet;
    entry.cell = cell;
    entry.text = std::string(formula);
    // What it reads, from the text alone; the engine reads the text when it computes it.
    for (const FormulaReference &ref :
         FormulaReferences::find(formula, d->sheetNames[static_cast<std::size_t>(sheet)])) {
        if (ref.name) {
            entry.readsOutside = true; // what a name covers is not in the text
            d->readEverything(entry);
        } else if (!ref.otherSheet) {
            entry.reads.push_back({sheet, ref.range});
        } else if (const auto other = ref.external ? std::nullopt : d->sheetNamed(ref.sheet)) {
            entry.reads.push_back({*other, ref.range});
        } else {
            entry.readsOutside = true; // another workbook, or a sheet the engine lacks
        }
    }
    d->addFormula(std::move(entry), stored);
}

void FormulaEngine::setUnknownFormula(int sheet, CellPosition cell, const std::optional<CellValue> &stored)
{
    if (!onSheet(cell) || !d->holdsSheet(sheet))
        return;
    d->clear(sheet, cell);
    Impl::Formula entry;
    entry.sheet = sheet;
    entry.cell = cell;
    entry.readsOutside = true;
    d->readEverything(entry);
    d->addFormula(std::move(entry), stored);
}

std::vector<FormulaResult> FormulaEngine::recalculate(const std::vector<CellPosition> &changed)
{
    return recalculateSheets(onFirstSheet(changed));
}

std::vector<FormulaResult> FormulaEngine::recalculateSheets(const std::vector<SheetCell> &changed)
{
    d->computeMissing();
    std::vector<FormulaResult> results;
    const auto dirty = d->readersOf(changed);
    std::vector<uint32_t> members;
    if (dirty) {
        members = *dirty;
        if (!d->computeInOrder(members))
            d->untrustAll(members);
    } else {
        // Too much to follow: every formula might depend on the change.
        members = d->allLive();
        d->untrustAll(members);
    }
    results.reserve(members.size());
    for (uint32_t i : members)
        results.push_back({d->formulas[i].cell, d->result(d->formulas[i]), d->formulas[i].sheet});
    std::sort(results.begin(), results.end(), resultBefore);
    return results;
}

std::vector<CellRange> FormulaEngine::cellsRead(const std::vector<CellPosition> &changed)
{
    std::vector<CellRange> ranges;
    for (const SheetRange &r : sheetCellsRead(onFirstSheet(changed))) {
        if (r.sheet == 0)
            ranges.push_back(r.range);
    }
    return ranges;
}

std::vector<SheetRange> FormulaEngine::sheetCellsRead(const std::vector<SheetCell> &changed)
{
    std::vector<uint32_t> members;
    for (uint32_t i = 0; i < d->formulas.size(); ++i) {
        if (d->formulas[i].live && !d->formulas[i].computed)
            members.push_back(i);
    }
    if (auto dirty = d->readersOf(changed)) {
        members.insert(members.end(), dirty->begin(), dirty->end());
    } else {
        members = d->allLive();
    }
    std::vector<SheetRange> reads;
    for (uint32_t i : members) {
        // What cannot be computed needs no inputs: a name's whole workbook is not handed over.
        if (!d->formulas[i].readsOutside)
            reads.insert(reads.end(), d->formulas[i].reads.begin(), d->formulas[i].reads.end());
    }
    // Filled-down formulas read the same columns row after row: merged, each cell is
    // given once however many formulas read it.
    std::sort(reads.begin(), reads.end(), [](const SheetRange &a, const SheetRange &b) {
        if (a.sheet != b.sheet)
            return a.sheet < b.sheet;
        if (a.range.first.column != b.range.first.column)
            return a.range.first.column < b.range.first.column;
        if (a.range.last.column != b.range.last.column)
            return a.range.last.column < b.range.last.column;
        return a.range.first.row < b.range.first.row;
    });
    std::vector<SheetRange> merged;
    for (const SheetRange &r : reads) {
        if (!merged.empty() && merged.back().sheet == r.sheet
            && merged.back().range.first.column == r.range.first.column
            && merged.back().range.last.column == r.range.last.column
            && r.range.first.row <= merged.back().range.last.row + 1) {
            merged.back().range.last.row = std::max(merged.back().range.last.row, r.range.last.row);
            continue;
        }
        merged.push_back(r);
    }
    return merged;
}

std::optional<CellValue> FormulaEngine::evaluate(CellPosition cell)
{
    return evaluate(0, cell);
}

std::optional<CellValue> FormulaEngine::evaluate(int sheet, CellPosition cell)
{
    if (!d->find(sheet, cell))
        return std::nullopt;
    d->computeMissing();
    return d->result(*d->find(sheet, cell));
}

} // namespace quvela::spreadsheet
