#include "engine/Expression.h"

#include "engine/Arithmetic.h"
#include "engine/NumberWord.h"
#include "engine/Schedule.h"

namespace probex {

namespace {

// Token classes of the scanner, the rows of the syntax table.
enum Class : int { clOpen = 1, clClose, clMinus, clBinary, clFunction, clOperand, clListSep };

// Syntax states: 0 start, 1 after "(", 2 after ")", 3 after unary minus, 4 after a binary
// operator, 5 after a function word, 6 after an operand, 7 after a list separator.
// Negative entries are error codes.
constexpr int M = -ecMissingOperator;
constexpr int O = -ecMissingOperand;
constexpr int P = -ecMissingOpen;
constexpr int E = -ecError;
constexpr int SyntaxTable[8][8] = {
    {},                       // (classes are 1-based)
    {1, 1, M, 1, 1, 1, M, 1}, // "("
    {P, O, 2, O, O, O, 2, O}, // ")"
    {3, 3, 4, E, E, E, 4, 3}, // "-"
    {O, O, 4, E, E, E, 4, O}, // binary operator
    {5, 5, M, 5, 5, 5, M, 5}, // function
    {6, 6, M, 6, 6, 6, M, 6}, // operand
    {O, O, 7, O, O, O, 7, O}, // list separator
};

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

/// One scanned token before the syntax check.
struct Scanned {
    int cls = 0;
    std::uint8_t code = 0;
    Extended value = 0;    // numeric constant
    std::uint32_t var = 0; // variable index, 0 for a constant
    std::int32_t pos = 0;  // 1-based; a word's last character
};

class Compiler {
public:
    Compiler(std::string_view text, tCompiledEquation& compiled, tVars& vars,
             const tSeparators& separators)
        : m_text(text), m_compiled(compiled), m_vars(vars), m_seps(separators) {}

    /// Returns the error code and sets pos; 0 on success.
    std::uint8_t run(std::int32_t& pos);

private:
    std::uint8_t scanWord(std::size_t& i, Scanned& token);
    std::uint8_t append(int state, const Scanned& token);
    bool isWordChar(char c) const { return IsLetter(c) || IsDigit(c) || c == m_seps.Decimal; }

    std::string_view m_text;
    tCompiledEquation& m_compiled;
    tVars& m_vars;
    const tSeparators& m_seps;
};

std::uint8_t Compiler::scanWord(std::size_t& i, Scanned& token) {
    const std::size_t start = i;
    std::size_t end = i;
    while (end < m_text.size() && isWordChar(m_text[end]))
        ++end;
    // "1.5E-3": a sign after a trailing exponent letter belongs to the number. It is taken
    // only with a digit behind it, so "1E+x" stays the name "1E" plus "x".
    if (IsDigit(m_text[start]) && (m_text[end - 1] == 'E' || m_text[end - 1] == 'e') &&
        end + 1 < m_text.size() && (m_text[end] == '+' || m_text[end] == '-') &&
        IsDigit(m_text[end + 1])) {
        end += 1;
        while (end < m_text.size() && IsDigit(m_text[end]))
            ++end;
    }
    std::string_view word = m_text.substr(start, end - start);
    i = end;
    token.pos = static_cast<std::int32_t>(end);

    if (SameName(word, "DIV") || SameName(word, "MOD")) {
        token.cls = clBinary;
        token.code = SameName(word, "DIV") ? opIntDiv : opMod;
        return ecNone;
    }
    if (std::uint8_t f = FunctionWordCode(word)) {
        token.cls = clFunction;
        token.code = f;
        return ecNone;
    }
    token.cls = clOperand;
    switch (ParseUnsignedNumber(word, m_seps.Decimal, token.value)) {
    case NumberParse::Ok:
        return ecNone;
    case NumberParse::Range:
        return ecBadNumber; // "1E5000": a number beyond the format, not a name
    case NumberParse::Syntax:
        break;
    }
    if (int index = FindVar(word, m_vars)) {
        token.var = static_cast<std::uint32_t>(index);
        return ecNone;
    }
    if (word.find(m_seps.Decimal) != std::string_view::npos) return ecBadNumber;
    if (m_vars.Count >= MaxVariables) return ecTooManyVariables;
    ++m_vars.Count;
    m_vars.Names[m_vars.Count] = std::string(word);
    m_vars.Values[m_vars.Count] = 0;
    m_vars.Roles[m_vars.Count] = tVars::Input;
    token.var = static_cast<std::uint32_t>(m_vars.Count);
    return ecNone;
}

std::uint8_t Compiler::append(int state, const Scanned& token) {
    tCompiledEquation& c = m_compiled;
    if (state == 6) {
        if (c.OperandCount >= MaxOperands) return ecTooManyOperands;
        c.Operands.resize(static_cast<std::size_t>(++c.OperandCount) + 1);
        tOperand& operand = c.Operands[static_cast<std::size_t>(c.OperandCount)];
        operand.VarIndex = token.var;
        operand.Value = token.var == 0 ? token.value : 0;
        if (c.TokenCount >= MaxTokens) return ecTooManyOperands;
        c.addToken() = {tkOperand, 255, 0};
        return ecNone;
    }
    if (c.TokenCount >= MaxTokens) return ecTooManyOperators;
    tToken& t = c.addToken();
    switch (state) {
    case 1:
        t = {tkOpen, 0, 0};
        break;
    case 2:
        t = {tkClose, 0, 0};
        break;
    case 3:
        t = {tkFunction, fnNegate, 0};
        break;
    case 4:
        if (token.cls == clMinus)
            t = {tkBinary, opSub, BinaryPriority[opSub]};
        else
            t = {tkBinary, token.code, BinaryPriority[token.code]};
        break;
    case 5:
        t = {tkFunction, token.code, 0};
        break;
    default: // 7
        t = {tkListSep, 0, 0};
        break;
    }
    return ecNone;
}

std::uint8_t Compiler::run(std::int32_t& pos) {
    int state = 0;
    std::size_t i = 0;
    while (i < m_text.size()) {
        const char ch = m_text[i];
        Scanned token;
        token.pos = static_cast<std::int32_t>(i + 1);
        // The list separator is tested first, so it wins over any symbol it equals.
        if (ch == m_seps.List) {
            token.cls = clListSep;
            ++i;
        } else if (ch == ' ') {
            ++i;
            continue;
        } else if (ch == '+' || ch == '*' || ch == '/' || ch == '^') {
            token.cls = clBinary;
            token.code = ch == '+' ? opAdd : ch == '*' ? opMul : ch == '/' ? opDiv : opPow;
            ++i;
        } else if (ch == '-') {
            token.cls = clMinus;
            ++i;
        } else if (ch == '(' || ch == ')') {
            token.cls = ch == '(' ? clOpen : clClose;
            ++i;
        } else if (isWordChar(ch)) {
            if (std::uint8_t code = scanWord(i, token)) {
                pos = token.pos;
                return code;
            }
        } else {
            pos = token.pos;
            return ecIllegalChar;
        }

        const int next = SyntaxTable[token.cls][state];
        if (next < 0) {
            pos = token.pos;
            return static_cast<std::uint8_t>(-next);
        }
        if (std::uint8_t code = append(next, token)) {
            pos = token.pos;
            return code;
        }
        state = next;
    }

    const auto endPos = static_cast<std::int32_t>(m_text.size() + 1);
    if (m_compiled.TokenCount >= MaxTokens) {
        pos = endPos;
        return ecTooManyOperators;
    }
    m_compiled.addToken() = {tkEnd, 0, 0};
    if (state == 2 || state == 6) return ecNone;
    pos = endPos;
    return state == 0 ? ecNoExpression : ecError;
}

} // namespace

void CompileExpression(std::string_view text, tCompiledEquation& compiled, tVars& vars,
                       TEquError& error, const tSeparators& separators) {
    compiled.clear();
    error.Code = ecNone;
    error.Pos = 0;
    if (text.empty()) {
        error.Code = ecEmpty;
        return;
    }
    std::int32_t pos = 0;
    Compiler compiler(text, compiled, vars, separators);
    error.Code = compiler.run(pos);
    if (error.Code != ecNone) {
        error.Pos = pos;
        return;
    }
    BuildSchedule(compiled);
}

} // namespace probex
