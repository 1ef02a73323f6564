// The only file that knows the engine is libixion; the rest of the program sees
// FormulaEngine alone.
#include "spreadsheet/formula_engine.h"

#include "spreadsheet/formula_references.h"

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

bool insideSheet(const ixion::abs_address_t &a)
{
    return a.sheet == 0 && a.row >= 0 && a.row < kMaxRows && a.column >= 0 && a.column < kMaxColumns;
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
Verdict judge(const ixion::formula_tokens_t &tokens, const ixion::abs_address_t &position)
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
                if (!insideSheet(cell))
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
                if (!insideSheet(absolute.first) || !insideSheet(absolute.last))
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

ixion::abs_address_t address(CellPosition cell)
{
    return ixion::abs_address_t(0, cell.row - 1, cell.column - 1);
}

bool before(const CellPosition &a, const CellPosition &b)
{
    return a.row != b.row ? a.row < b.row : a.column < b.column;
}

struct PositionLess
{
    bool operator()(const CellPosition &a, const CellPosition &b) const { return before(a, b); }
};

} // namespace

struct FormulaEngine::Impl
{
    struct Formula
    {
        bool trusted = false;
        bool booleanResult = false;
        bool computed = false; // holds a result, stored or computed
        std::vector<Operand> operands;
    };

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

    std::string sheetName;
    ixion::model_context context{{kMaxRows, kMaxColumns}};
    std::unique_ptr<ixion::formula_name_resolver> resolver;
    std::map<CellPosition, Formula, PositionLess> formulas;

    explicit Impl(std::string_view name)
        : sheetName(name.empty() ? "Sheet1" : name)
    {
        context.append_sheet(sheetName);
        resolver = ixion::formula_name_resolver::get(ixion::formula_name_resolver_t::excel_a1, &context);
    }

    std::optional<ixion::formula_tokens_t> parse(std::string_view formula, CellPosition cell)
    {
        if (!withinLimits(formula))
            return std::nullopt;
        try {
            return ixion::parse_formula_string(context, address(cell), *resolver, formula);
        } catch (const std::exception &) {
            return std::nullopt;
        }
    }

    void clear(CellPosition cell)
    {
        const auto it = formulas.find(cell);
        if (it != formulas.end()) {
            try {
                ixion::unregister_formula_cell(context, address(cell));
            } catch (const std::exception &) {
                // Never registered, or a range the tracker cannot forget: the cell is
                // overwritten below either way.
            }
            formulas.erase(it);
        }
    }

    // A formula the engine must not compute still takes part in the dependencies: it
    // stands in as a function the engine does not know, over the same cells, so that
    // every formula using its value becomes an error (not computable) while a branch
    // of an IF that is not taken still does not matter.
    ixion::formula_tokens_t standIn(std::string_view formula, CellPosition cell)
    {
        std::string text = "QUVELA.UNAVAILABLE(";
        bool first = true;
        const std::size_t limit = 4096;
        std::size_t count = 0;
        if (formula.size() <= kMaxFormulaBytes) {
            for (const FormulaReference &ref : FormulaReferences::find(formula, sheetName)) {
                if (ref.otherSheet || ++count > limit)
                    continue;
                if (!first)
                    text += ',';
                first = false;
                text += rangeReference(ref.range);
            }
        }
        text += ')';
        try {
            return ixion::parse_formula_string(context, address(cell), *resolver, text);
        } catch (const std::exception &) {
            return ixion::parse_formula_string(context, address(cell), *resolver, "QUVELA.UNAVAILABLE()");
        }
    }

    std::optional<CellValue> result(CellPosition cell, const Formula &formula) const
    {
        if (!formula.trusted)
            return std::nullopt;
        try {
            for (const Operand &operand : formula.operands) {
                if (!holds(operand))
                    return std::nullopt;
            }
            const ixion::formula_cell *fc = context.get_formula_cell(address(cell));
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

    // Computes the given formula cells and everything that depends on the modified
    // cells, in dependency order; returns what was computed.
    std::vector<CellPosition> calculate(const std::vector<CellPosition> &modified,
                                        const std::vector<CellPosition> &dirtyFormulas)
    {
        ixion::abs_range_set_t changed;
        for (const CellPosition &cell : modified)
            changed.insert(ixion::abs_range_t(address(cell)));
        ixion::abs_range_set_t dirty;
        for (const CellPosition &cell : dirtyFormulas)
            dirty.insert(ixion::abs_range_t(address(cell)));
        std::vector<ixion::abs_range_t> order;
        try {
            order = ixion::query_and_sort_dirty_cells(context, changed, &dirty);
        } catch (const std::exception &) {
            // Without an order nothing can be computed; every formula that might
            // depend on the change is then treated as not computable.
            std::vector<CellPosition> all;
            for (auto &[cell, formula] : formulas) {
                formula.trusted = false;
                formula.computed = true;
                all.push_back(cell);
            }
            return all;
        }
        std::vector<CellPosition> computed;
        computed.reserve(order.size());
        for (const ixion::abs_range_t &range : order) {
            for (int row = range.first.row; row <= range.last.row; ++row) {
                for (int column = range.first.column; column <= range.last.column; ++column) {
                    const CellPosition cell{row + 1, column + 1};
                    const auto it = formulas.find(cell);
                    if (it == formulas.end())
                        continue;
                    ixion::formula_cell *fc = context.get_formula_cell(address(cell));
                    if (!fc)
                        continue;
                    try {
                        fc->reset();
                        fc->check_circular(context, address(cell));
                        fc->interpret(context, address(cell));
                    } catch (const std::exception &) {
                        fc->set_result_cache(ixion::formula_result(ixion::formula_error_t::general_error));
                    }
                    it->second.computed = true;
                    computed.push_back(cell);
                }
            }
        }
        return computed;
    }

    // Before anything is used, formulas without a stored result are computed, and so
    // are all the trusted ones: the engine reads a range only over formulas it has
    // computed itself (a stored result there reads as an error). A formula it must not
    // compute keeps its stored result, which stands as long as its inputs do not change.
    void computeMissing()
    {
        std::vector<CellPosition> missing;
        for (const auto &[cell, formula] : formulas) {
            if (!formula.computed || (!primed && formula.trusted))
                missing.push_back(cell);
        }
        primed = true;
        if (!missing.empty())
            calculate({}, missing);
    }
    bool primed = false;
};

FormulaEngine::FormulaEngine(std::string_view sheetName)
    : d(std::make_unique<Impl>(sheetName))
{
}

FormulaEngine::~FormulaEngine() = default;

std::optional<std::string> FormulaEngine::translate(std::string_view formula, CellPosition from,
                                                    CellPosition to)
{
    // The engine prints a formula in its own spelling (no blanks, its own number
    // format, "1E3" misread); a fill keeps the text and moves the references only.
    if (!withinLimits(formula))
        return std::nullopt;
    return FormulaReferences::shifted(formula, to.row - from.row, to.column - from.column);
}

void FormulaEngine::setValue(CellPosition cell, const CellValue &value)
{
    d->clear(cell);
    const ixion::abs_address_t at = address(cell);
    switch (value.type) {
    case CellValue::Type::Empty:
        d->context.empty_cell(at);
        break;
    case CellValue::Type::Number:
        d->context.set_numeric_cell(at, value.number);
        break;
    case CellValue::Type::Boolean:
        d->context.set_boolean_cell(at, value.number != 0);
        break;
    case CellValue::Type::Text:
        d->context.set_string_cell(at, value.text);
        break;
    case CellValue::Type::Error: {
        // An error value poisons what reads it, as a formula the engine cannot compute.
        ixion::formula_cell *fc = d->context.set_formula_cell(at, d->standIn({}, cell));
        if (fc)
            fc->set_result_cache(ixion::formula_result(ixion::formula_error_t::general_error));
        break;
    }
    }
}

void FormulaEngine::setFormula(CellPosition cell, std::string_view formula,
                               const std::optional<CellValue> &stored)
{
    d->clear(cell);
    const ixion::abs_address_t at = address(cell);
    Impl::Formula entry;
    std::optional<ixion::formula_tokens_t> tokens = d->parse(formula, cell);
    if (tokens) {
        const Verdict verdict = judge(*tokens, at);
        entry.trusted = verdict.trusted;
        entry.booleanResult = verdict.booleanResult;
        entry.operands = verdict.operands;
    }
    if (!entry.trusted)
        tokens = d->standIn(formula, cell);
    std::optional<ixion::formula_result> cached;
    if (stored) {
        switch (stored->type) {
        case CellValue::Type::Number:
        case CellValue::Type::Boolean:
            cached = ixion::formula_result(stored->number);
            break;
        case CellValue::Type::Text:
            cached = ixion::formula_result(stored->text);
            break;
        case CellValue::Type::Error:
            cached = ixion::formula_result(ixion::formula_error_t::general_error);
            break;
        case CellValue::Type::Empty:
            break;
        }
    }
    ixion::formula_cell *fc = d->context.set_formula_cell(at, std::move(*tokens));
    if (cached && fc)
        fc->set_result_cache(*cached);
    entry.computed = cached.has_value();
    try {
        ixion::register_formula_cell(d->context, at);
    } catch (const std::exception &) {
        entry.trusted = false;
    }
    d->formulas[cell] = entry;
}

std::vector<FormulaResult> FormulaEngine::recalculate(const std::vector<CellPosition> &changed)
{
    d->computeMissing();
    std::vector<CellPosition> changedFormulas;
    for (const CellPosition &cell : changed) {
        if (d->formulas.count(cell))
            changedFormulas.push_back(cell);
    }
    std::vector<CellPosition> computed = d->calculate(changed, changedFormulas);
    std::sort(computed.begin(), computed.end(), before);
    computed.erase(std::unique(computed.begin(), computed.end()), computed.end());
    std::vector<FormulaResult> results;
    results.reserve(computed.size());
    for (const CellPosition &cell : computed)
        results.push_back({cell, d->result(cell, d->formulas.at(cell))});
    return results;
}

std::optional<CellValue> FormulaEngine::evaluate(CellPosition cell)
{
    const auto it = d->formulas.find(cell);
    if (it == d->formulas.end())
        return std::nullopt;
    d->computeMissing();
    return d->result(cell, it->second);
}

} // namespace quvela::spreadsheet
