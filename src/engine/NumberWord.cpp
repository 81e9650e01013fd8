#include "engine/NumberWord.h"

#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace probex {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

locale_t CLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    return locale;
}

} // namespace

NumberParse ParseUnsignedNumber(std::string_view text, char decimalSeparator, Extended& value) {
    // Checked here, converted by the C library in the "C" locale, which rounds correctly.
    std::string normal;
    normal.reserve(text.size());
    std::size_t i = 0;
    int digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++digits)
        normal.push_back(text[i]);
    if (i < text.size() && text[i] == decimalSeparator) {
        normal.push_back('.');
        for (++i; i < text.size() && IsDigit(text[i]); ++i, ++digits)
            normal.push_back(text[i]);
    }
    if (digits == 0) return NumberParse::Syntax;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        normal.push_back('e');
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) normal.push_back(text[i++]);
        int exponentDigits = 0;
        for (; i < text.size() && IsDigit(text[i]); ++i, ++exponentDigits)
            normal.push_back(text[i]);
        if (exponentDigits == 0) return NumberParse::Syntax;
    }
    if (i != text.size()) return NumberParse::Syntax;

    Extended v = strtold_l(normal.c_str(), nullptr, CLocale());
    if (std::isinf(v)) return NumberParse::Range;
    value = v;
    return NumberParse::Ok;
}

} // namespace probex
