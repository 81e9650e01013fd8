#include "engine/Expression.h"

namespace probex {

const std::array<TConstantRec, 3>& NamedConstants() {
    // "c" is 299776000 exactly, the value the program has always used.
    static const std::array<TConstantRec, 3> table = {{
        {"pi", "Pi (3.141592...)", 3.14159265358979323846264338327950288L},
        {"c", "c (2.99776e8)", 299776000.0L},
        {"e", "e (2.718281...)", 2.71828182845904523536028747135266250L},
    }};
    return table;
}

const TConstantRec* FindNamedConstant(std::string_view text) {
    std::size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) return nullptr;
    std::size_t end = text.find(' ', start);
    std::string_view word = text.substr(start, end == std::string_view::npos ? end : end - start);
    for (const auto& c : NamedConstants())
        if (SameName(word, c.Name)) return &c;
    return nullptr;
}

} // namespace probex
