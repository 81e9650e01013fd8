#include "engine/EquationSet.h"

#include <algorithm>

namespace probex {

namespace {

/// A line is blank when everything before the comment separator is a space or unprintable.
bool IsBlankLine(std::string_view line, char commentSeparator) {
    for (char ch : line) {
        if (ch == commentSeparator) break;
        auto c = static_cast<unsigned char>(ch);
        if (c > 32 && c <= 126) return false;
    }
    return true;
}

void SetError(TEquError& error, std::uint8_t code, std::int32_t pos) {
    error.Code = code;
    error.Pos = pos;
}

std::int32_t Position(std::size_t index) {
    return static_cast<std::int32_t>(index + 1);
}

/// Finds the relation of a condition line; sets start (0-based) and length.
bool FindRelation(std::string_view text, TEquError& error, std::uint8_t& relation,
                  std::size_t& start, std::size_t& length) {
    const std::size_t eq = text.find('=');
    const std::size_t lt = text.find('<');
    const std::size_t gt = text.find('>');
    const int present = (eq != text.npos) + (lt != text.npos) + (gt != text.npos);
    const auto lineLength = static_cast<std::int32_t>(text.size());
    if (present == 0) {
        SetError(error, ecMissingRelation, lineLength);
        return false;
    }
    if (present == 3) {
        SetError(error, ecTooManyRelations, lineLength);
        return false;
    }
    if (present == 1) {
        start = std::min({eq, lt, gt});
        length = 1;
        relation = start == eq ? relEqual : start == lt ? relLess : relGreater;
        return true;
    }
    const std::size_t first = std::min({eq, lt, gt});
    std::size_t second = 0;
    for (std::size_t p : {eq, lt, gt})
        if (p != text.npos && p != first) second = p;
    if (second != first + 1) {
        SetError(error, ecTooManyRelations, Position(second));
        return false;
    }
    start = first;
    length = 2;
    if (lt != text.npos && gt != text.npos)
        relation = relNotEqual;
    else if (lt != text.npos)
        relation = relLessEqual;
    else
        relation = relGreaterEqual;
    return true;
}

} // namespace

void ParseEquationLine(std::string_view text, tEquRec& rec, bool condition, TEquError& error,
                       std::uint8_t& relation, char commentSeparator) {
    SetError(error, ecNone, 0);
    if (text.empty()) {
        SetError(error, ecEmpty, 0);
        return;
    }
    std::size_t start = 0, length = 1;
    if (condition) {
        if (!FindRelation(text, error, relation, start, length)) return;
    } else {
        start = text.find('=');
        if (start == text.npos) {
            SetError(error, ecMissingEquals, static_cast<std::int32_t>(text.size()));
            return;
        }
    }

    std::string_view left = text.substr(0, start);
    if (left.empty()) {
        SetError(error, ecEmpty, 0);
        return;
    }
    const std::size_t first = left.find_first_not_of(' ');
    rec.NamePos = Position(first == left.npos ? left.size() : first);
    if (first == left.npos) {
        SetError(error, ecEmpty, rec.NamePos);
        return;
    }
    std::string_view name = left.substr(first, left.find_last_not_of(' ') - first + 1);
    const std::int32_t namePos = rec.NamePos + static_cast<std::int32_t>(name.size()) - 1;
    if (condition) {
        if (name != "0") {
            SetError(error, ecIllegalName, namePos);
            return;
        }
    } else if (!IsIdentifier(name)) {
        SetError(error, ecIllegalName, namePos);
        return;
    } else if (IsReservedWord(name)) {
        SetError(error, ecReservedWord, namePos);
        return;
    }
    rec.Name = std::string(name);
    rec.ExprPos = Position(start + length);
    std::string_view expression = text.substr(start + length);
    rec.Expression = std::string(expression.substr(0, expression.find(commentSeparator)));
}

void ParseEquationLines(const std::vector<std::string>& lines, bool conditionFirst, tEquRecs& recs,
                        TEquError& error, std::uint8_t& relation, char commentSeparator) {
    SetError(error, ecNone, 0);
    recs.Count = 0;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const std::string& line = lines[index];
        if (IsBlankLine(line, commentSeparator)) continue;
        error.Line = static_cast<std::int32_t>(index);
        if (recs.Count >= MaxEquations) {
            SetError(error, ecTooManyEquations, 1);
            return;
        }
        tEquRec& rec = recs.Items[++recs.Count];
        rec = tEquRec{};
        ParseEquationLine(line, rec, conditionFirst && recs.Count == 1, error, relation,
                          commentSeparator);
        rec.Line = static_cast<std::int32_t>(index);
        if (error.Code != ecNone) return;
    }
    if (recs.Count == 0) {
        SetError(error, ecNoExpression, 1);
        error.Line = 1;
    }
}

void ClearDecoded(tDecodedEquations& set) {
    for (int k = 1; k <= set.Count; ++k)
        set.Equations[k].clear();
    set.Count = 0;
    set.Vars.clear();
    set.ResultVar.fill(0);
    set.ConstList.clear();
    set.RandomList.clear();
    set.ParamList.clear();
}

void CompileEquations(const tEquRecs& recs, tDecodedEquations& set, TEquError& error,
                      const tSeparators& separators) {
    SetError(error, ecNone, 0);
    // Last line first: an equation may use what the lines below it compute.
    for (int k = recs.Count; k >= 1; --k) {
        const tEquRec& rec = recs.Items[k];
        // Equations compiled so far count, so a failed set can be cleared completely.
        set.Count = std::max(set.Count, k);
        CompileExpression(rec.Expression, set.Equations[k], set.Vars, error, separators);
        if (error.Code != ecNone) {
            error.Line = rec.Line;
            error.Pos = rec.ExprPos - 1 + error.Pos;
            return;
        }
        error.Line = rec.Line;
        if (FindVar(rec.Name, set.Vars) != 0) {
            SetError(error, ecDuplicateName, rec.NamePos);
            return;
        }
        if (set.Vars.Count >= MaxVariables) {
            SetError(error, ecTooManyVariables, rec.NamePos);
            return;
        }
        const int index = ++set.Vars.Count;
        set.Vars.Names[index] = rec.Name;
        set.Vars.Values[index] = 0;
        set.Vars.Roles[index] = tVars::Computed;
        set.ResultVar[k] = index;
    }
    set.Count = recs.Count;
    SetError(error, ecNone, 0);
    error.Line = 0;
}

std::uint8_t EvaluateEquations(tDecodedEquations& set, TEquError& error) {
    for (int k = set.Count; k >= 1; --k) {
        const tEvalResult r = EvaluateExpression(set.Equations[k], set.Vars);
        if (r.Code != ecNone) {
            error.Code = r.Code;
            error.Pos = k;
            return r.Code;
        }
        set.Vars.Values[set.ResultVar[k]] = r.Value;
    }
    return ecNone;
}

} // namespace probex
