#pragma once

#include "engine/Extended.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace probex {

constexpr int MaxVariables = 255; ///< variables of one equation set
constexpr int MaxOperands = 256;  ///< operands of one expression
constexpr int MaxTokens = 512;    ///< tokens of one expression, the end token included

/// The variable table of one equation set. Indices are 1-based and stable while the set lives.
struct tVars {
    enum Role : std::uint8_t { Unused = 0, Computed = 1, Input = 2 };

    std::int32_t Count = 0;
    std::array<std::string, MaxVariables + 1> Names;
    std::array<Extended, MaxVariables + 1> Values{};
    std::array<std::uint8_t, MaxVariables + 1> Roles{};

    void clear();
};

/// Token kinds of a compiled expression.
enum TokenKind : std::uint8_t {
    tkEnd = 0,
    tkOpen = 1,
    tkClose = 2,
    tkFunction = 3, ///< negation (code 1) or a named function (codes 2..18)
    tkBinary = 4,
    tkOperand = 5,
    tkListSep = 6,
    tkBottom = 7, ///< the operator stack's bottom marker; never in a token list
};

/// Binary operator codes (Kind 4).
enum BinaryCode : std::uint8_t { opAdd = 1, opSub, opMul, opDiv, opPow, opIntDiv, opMod };

/// Function codes (Kind 3).
enum FunctionCode : std::uint8_t {
    fnNegate = 1,
    fnSin,
    fnCos,
    fnTan,
    fnCot,
    fnAsin,
    fnAcos,
    fnAtan,
    fnAcot,
    fnLn,
    fnLog,
    fnAbs,
    fnInt,
    fnFrac,
    fnSgn,
    fnPos,
    fnNeg,
    fnZero,
};

struct tToken {
    std::uint8_t Kind = 0;
    std::uint8_t Code = 0;
    std::uint8_t Priority = 0;
};

struct tOperand {
    std::uint32_t VarIndex = 0; ///< 0 for a numeric constant
    Extended Value = 0;
};

/// One step of the evaluation order worked out at compile time (see Schedule.h).
struct tScheduleOp {
    std::uint8_t Op = 0;
    std::uint8_t Code = 0;
    std::uint32_t Arg = 0;
};

/// One compiled expression: tokens in source order, the operand table, and the flat
/// evaluation schedule derived from the tokens.
struct tCompiledEquation {
    /// 1-based, [0] unused; as long as the expression needs, since an equation set holds a
    /// compiled expression for every possible equation.
    std::vector<tOperand> Operands = std::vector<tOperand>(1);
    std::int32_t OperandCount = 0;
    /// 1-based, [0] unused; grown as the expression is read, so that a set of equations and
    /// its copies stay small.
    std::vector<tToken> Tokens;
    std::int32_t TokenCount = 0;
    std::vector<tScheduleOp> Schedule; ///< empty until the expression compiled without error

    void clear();
    /// The next token's place, at TokenCount + 1 (the caller keeps within MaxTokens).
    tToken& addToken();
};

/// The engine's error record: code, 1-based character position, line.
struct TEquError {
    std::uint8_t Code = 0;
    std::int32_t Pos = 0;
    std::int32_t Line = 0;
};

/// Error codes with an input that raises them.
enum EquErrorCode : std::uint8_t {
    ecNone = 0,
    ecError = 1,            ///< "a+"
    ecEmpty = 2,            ///< ""
    ecNoExpression = 3,     ///< "   "
    ecMissingOpen = 5,      ///< ")"
    ecBadNumber = 7,        ///< "1.2.3"
    ecIllegalChar = 8,      ///< "x_1"
    ecMissingOperand = 11,  ///< "()"
    ecMissingOperator = 12, ///< "a b"
    ecTooManyOperands = 13,
    ecTooManyOperators = 14,
    ecDivisionByZero = 15,  ///< "1/0"
    ecOverflow = 16,        ///< "1E60*1E60"
    ecInvalidArgument = 17, ///< "LN 0"
    ecOperandOverflow = 18,
    ecOperandUnderflow = 19,
    ecOperatorOverflow = 20,
    ecOperatorUnderflow = 21,
    ecMissingEquals = 22,    ///< equation line "x 1"
    ecMissingRelation = 23,  ///< condition line "0 a"
    ecTooManyRelations = 24, ///< condition line "0 < > a"
    ecReservedWord = 26,     ///< "sin = 1"
    ecIllegalName = 27,      ///< "2x = 1"
    ecDuplicateName = 28,    ///< "x = x + 1"
    ecTooManyVariables = 30,
    ecTooManyEquations = 31,
};

/// The two separators the compiler reads; both come from the settings in force.
struct tSeparators {
    char Decimal = '.';
    char List = ',';
};

/// Compiles one expression text, registering new input names in vars. The result is in error:
/// Code 0 and Pos 0 on success, otherwise the first error and its 1-based position.
void CompileExpression(std::string_view text, tCompiledEquation& compiled, tVars& vars,
                       TEquError& error, const tSeparators& separators = {});

/// The message of an error code; only the low 7 bits count.
const char* ErrorText(std::uint8_t code);

/// Index 1..Count of a name (ASCII case ignored), 0 when absent.
int FindVar(std::string_view name, const tVars& vars);

/// A letter followed by letters and digits (ASCII only).
bool IsIdentifier(std::string_view name);

/// One of the function words (case ignored) or one of "-", "+", "*", "/", "^".
bool IsReservedWord(std::string_view name);

/// The code (2..18) of a function word, matched ignoring case; 0 for any other word.
std::uint8_t FunctionWordCode(std::string_view word);

/// ASCII case-insensitive equality, the rule for every name of the program.
bool SameName(std::string_view a, std::string_view b);

struct tEvalResult {
    std::uint8_t Code = 0;
    Extended Value = 0;
};

/// Evaluates an expression that compiled with code 0, reading input values from vars.
/// Allocates nothing and throws nothing.
tEvalResult EvaluateExpression(const tCompiledEquation& compiled, const tVars& vars);

/// A named constant accepted where a constant input's value is entered.
struct TConstantRec {
    const char* Name;
    const char* Caption;
    Extended Value;
};

/// "pi", "c" and "e".
const std::array<TConstantRec, 3>& NamedConstants();

/// The named constant whose name equals (case ignored) the first blank-separated word of
/// text, or nullptr.
const TConstantRec* FindNamedConstant(std::string_view text);

} // namespace probex
