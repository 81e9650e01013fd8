#pragma once

#include "engine/Extended.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace probex {

/// A number text that does not convert; carries the message the person sees, e.g.
/// "'1,2x' is not a valid floating point value". Each command's top level shows it.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Result values: rounded to 10 significant digits, then exactly 8 digits after the
/// separator; scientific notation when the integer part has more than 10 digits.
std::string FormatResultValue(Extended value, char decimalSeparator);

/// Numbers a file keeps for reading back (parameters, marks, objects): the fixed form of
/// FormatResultValue when it reads back as the value rounded to 10 significant digits,
/// otherwise "d.dddddddddE-XX" with 10 significant digits, so that small values such as
/// 1.2E-8 are not cut to 0.00000001.
std::string FormatStoredValue(Extended value, char decimalSeparator);

/// Values of result files: the fixed form of FormatResultValue, except below 1E-4 in magnitude,
/// where 8 decimals keep fewer than half of the 10 significant digits: there the form of
/// FormatStoredValue, so that 1.5E-12 is not written 0.00000000 while 0.00002 keeps its text.
std::string FormatResultFileValue(Extended value, char decimalSeparator);

/// FormatStoredValue of a double, in a text that reads back as a finite double: the 10-digit
/// rounding of the largest doubles ("1.797693135E+308") lies beyond the double range, so
/// magnitudes from there on are written as 1.797693134E+308.
std::string FormatStoredDouble(double value, char decimalSeparator);

/// The shortest general form with up to 15 significant digits.
std::string FormatShortest(Extended value, char decimalSeparator);

/// C's "%-8.<digits>g" with an exponent of at least three digits.
std::string FormatGeneral(Extended value, char decimalSeparator, int significantDigits);
/// C's "%-8.3g" with an exponent of at least three digits.
std::string FormatGeneral3(Extended value, char decimalSeparator);

std::string FormatInteger(std::int64_t value);

/// Text to extended number: blanks around and a sign allowed, decimal separator as given.
/// Throws ConversionError.
Extended StrToExtended(std::string_view text, char decimalSeparator);
bool TryStrToExtended(std::string_view text, char decimalSeparator, Extended& value);

/// Text to 32-bit integer: decimal, or hexadecimal after "0x" when allowHex.
/// Throws ConversionError.
std::int32_t StrToInt(std::string_view text, bool allowHex = true);
bool TryStrToInt(std::string_view text, std::int32_t& value, bool allowHex = true);

} // namespace probex
