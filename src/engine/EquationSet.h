#pragma once

#include "engine/Expression.h"

#include <memory>
#include <string>
#include <vector>

namespace probex {

constexpr int MaxEquations = 255;

/// One parsed equation line.
struct tEquRec {
    std::string Name;       ///< trimmed left-hand side; "0" for a condition line
    std::string Expression; ///< right-hand side up to the comment separator, untrimmed
    std::int32_t NamePos = 0;
    std::int32_t ExprPos = 0;
    std::int32_t Line = 0; ///< 0-based line index in the window's text
};

struct tEquRecs {
    std::int32_t Count = 0;
    std::array<tEquRec, MaxEquations + 1> Items; ///< 1-based
};

/// A list of variables of a compiled set with a reference each (an input-table row, or an
/// index of the run table).
struct tVarList {
    std::int32_t Count = 0;
    std::array<std::int32_t, MaxVariables + 1> VarIndex{};
    std::array<std::int32_t, MaxVariables + 1> Ref{};

    void clear() { Count = 0; }
    void add(std::int32_t varIndex, std::int32_t ref) {
        ++Count;
        VarIndex[Count] = varIndex;
        Ref[Count] = ref;
    }
};

/// Relation of a condition line.
enum Relation : std::uint8_t {
    relEqual,
    relLess,
    relGreater,
    relLessEqual,
    relGreaterEqual,
    relNotEqual
};

/// One compiled equation set. Large (255 compiled expressions): keep it on the heap.
struct tDecodedEquations {
    std::int32_t Count = 0;
    std::array<tCompiledEquation, MaxEquations + 1> Equations; ///< 1-based
    tVars Vars;
    std::array<std::int32_t, MaxEquations + 1> ResultVar{};
    tVarList ConstList;
    tVarList RandomList;
    tVarList ParamList;
};

/// Splits a window's lines into equation records; with conditionFirst the first equation
/// line is a condition line and its relation is returned.
void ParseEquationLines(const std::vector<std::string>& lines, bool conditionFirst, tEquRecs& recs,
                        TEquError& error, std::uint8_t& relation, char commentSeparator = ';');

/// Parses one line (not blank) into rec.
void ParseEquationLine(std::string_view text, tEquRec& rec, bool condition, TEquError& error,
                       std::uint8_t& relation, char commentSeparator = ';');

void ClearDecoded(tDecodedEquations& set);

/// Compiles a parsed list into a cleared set, last equation first.
void CompileEquations(const tEquRecs& recs, tDecodedEquations& set, TEquError& error,
                      const tSeparators& separators = {});

/// Evaluates every equation, last first, storing each result in its variable. On failure the
/// code is returned and error.Pos is the equation number.
std::uint8_t EvaluateEquations(tDecodedEquations& set, TEquError& error);

} // namespace probex
