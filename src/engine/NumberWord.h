#pragma once

#include "engine/Extended.h"

#include <string_view>

namespace probex {

enum class NumberParse {
    Ok,
    Syntax, ///< not digits, one decimal separator and an optional exponent
    Range,  ///< well formed, but beyond the largest extended number
};

/// Strict conversion of an unsigned decimal number text: digits with at most one decimal
/// separator (at least one digit), then optionally "E" or "e", an optional sign and digits.
/// No blanks, signs in front, thousands separators or locale rules. The value is correctly
/// rounded to extended precision; a value too small for the format becomes its nearest
/// subnormal or zero.
NumberParse ParseUnsignedNumber(std::string_view text, char decimalSeparator, Extended& value);

} // namespace probex
