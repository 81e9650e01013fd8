#include "engine/Expression.h"

#include <algorithm>

namespace probex {

namespace {

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr const char* ReservedSymbols[] = {"-", "+", "*", "/", "^"};

} // namespace

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Upper(x) == Upper(y); });
}

int FindVar(std::string_view name, const tVars& vars) {
    for (int i = 1; i <= vars.Count; ++i)
        if (SameName(vars.Names[i], name)) return i;
    return 0;
}

bool IsIdentifier(std::string_view name) {
    if (name.empty() || !IsLetter(name[0])) return false;
    return std::all_of(name.begin() + 1, name.end(),
                       [](char c) { return IsLetter(c) || IsDigit(c); });
}

bool IsReservedWord(std::string_view name) {
    for (const char* s : ReservedSymbols)
        if (name == s) return true;
    return FunctionWordCode(name) != 0;
}

std::uint8_t FunctionWordCode(std::string_view word) {
    static constexpr const char* Words[] = {"SIN",  "COS",  "TAN", "COT", "ASIN", "ACOS",
                                            "ATAN", "ACOT", "LN",  "LOG", "ABS",  "INT",
                                            "FRAC", "SGN",  "POS", "NEG", "ZERO"};
    for (std::uint8_t i = 0; i < std::size(Words); ++i)
        if (SameName(word, Words[i])) return static_cast<std::uint8_t>(fnSin + i);
    return 0;
}

void tVars::clear() {
    for (int i = 1; i <= Count; ++i)
        Names[i].clear();
    Count = 0;
    Values.fill(0);
    Roles.fill(Unused);
}

void tCompiledEquation::clear() {
    Operands.resize(1);
    OperandCount = 0;
    TokenCount = 0;
    Tokens.clear();
    Schedule.clear();
}

tToken& tCompiledEquation::addToken() {
    Tokens.resize(static_cast<std::size_t>(++TokenCount) + 1);
    return Tokens.back();
}

} // namespace probex
