#include "settings/NumberText.h"

#include "engine/NumberWord.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace probex {

namespace {

// std::to_chars never consults the locale; the separator is put in afterwards.
std::string ToChars(Extended value, std::chars_format format, int precision) {
    char buffer[128];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    return result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string();
}

/// Splits the scientific text "-d.ddde+XX" into sign, digits without the point and exponent.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

Decimal ToDecimal(Extended value, int significantDigits) {
    const std::string text = ToChars(value, std::chars_format::scientific, significantDigits - 1);
    Decimal decimal;
    std::size_t i = 0;
    if (i < text.size() && text[i] == '-') {
        decimal.negative = true;
        ++i;
    }
    for (; i < text.size() && text[i] != 'e'; ++i)
        if (text[i] != '.') decimal.digits.push_back(text[i]);
    if (i < text.size()) decimal.exponent = std::atoi(text.c_str() + i + 1);
    return decimal;
}

bool AllZero(std::string_view text, char decimalSeparator) {
    for (const char c : text)
        if (c != '0' && c != decimalSeparator) return false;
    return true;
}

std::string NonFinite(Extended value) {
    if (std::isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
}

void TrimZeros(std::string& digits) {
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
}

/// "d.ddd" from the digits, the separator left out when only one digit is written.
std::string Mantissa(const std::string& digits, char decimalSeparator) {
    std::string text(1, digits[0]);
    if (digits.size() > 1) {
        text.push_back(decimalSeparator);
        text.append(digits, 1);
    }
    return text;
}

/// Digits laid out in fixed notation with the decimal exponent given; `decimals` < 0 writes
/// just the digits there are.
std::string FixedFromDigits(const std::string& digits, int exponent, int decimals,
                            char decimalSeparator) {
    std::string integerPart;
    std::string fraction;
    if (exponent < 0) {
        integerPart = "0";
        fraction.assign(static_cast<std::size_t>(-exponent - 1), '0');
        fraction += digits;
    } else {
        const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= integerDigits) {
            integerPart = digits + std::string(integerDigits - digits.size(), '0');
        } else {
            integerPart = digits.substr(0, integerDigits);
            fraction = digits.substr(integerDigits);
        }
    }
    if (decimals >= 0) fraction.resize(static_cast<std::size_t>(decimals), '0');
    return fraction.empty() ? integerPart : integerPart + decimalSeparator + fraction;
}

/// "d.dddE+XX": every digit, the exponent's sign always and at least two exponent digits.
std::string Scientific(const Decimal& decimal, char decimalSeparator) {
    std::string text =
        Mantissa(decimal.digits, decimalSeparator) + 'E' + (decimal.exponent < 0 ? '-' : '+');
    const int magnitude = std::abs(decimal.exponent);
    if (magnitude < 10) text.push_back('0');
    return text + std::to_string(magnitude);
}

std::string TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

} // namespace

std::string FormatResultValue(Extended value, char decimalSeparator) {
    if (!std::isfinite(value)) return NonFinite(value);
    std::string text;
    if (std::fabs(value) < 10) {
        // Here the 8th decimal lies at or above the 10th significant digit: one rounding.
        text = ToChars(value, std::chars_format::fixed, 8);
        const auto point = text.find('.');
        if (point != std::string::npos) text[point] = decimalSeparator;
    } else {
        const Decimal decimal = ToDecimal(value, 10);
        if (decimal.exponent >= 10) {
            // More than 10 integer digits: "d.dddddddddE+XX".
            text = Scientific(decimal, decimalSeparator);
        } else {
            text = FixedFromDigits(decimal.digits, decimal.exponent, 8, decimalSeparator);
        }
        if (decimal.negative) text.insert(text.begin(), '-');
    }
    if (text[0] == '-' && AllZero(std::string_view(text).substr(1), decimalSeparator))
        text.erase(0, 1);
    return text;
}

std::string FormatStoredValue(Extended value, char decimalSeparator) {
    const std::string fixed = FormatResultValue(value, decimalSeparator);
    if (!std::isfinite(value) || value == 0) return fixed;
    const Decimal decimal = ToDecimal(value, 10);
    std::string scientific = Scientific(decimal, decimalSeparator);
    if (decimal.negative) scientific.insert(scientific.begin(), '-');
    Extended fromFixed = 0;
    Extended fromScientific = 0;
    TryStrToExtended(fixed, decimalSeparator, fromFixed);
    TryStrToExtended(scientific, decimalSeparator, fromScientific);
    return fromFixed == fromScientific ? fixed : scientific;
}

std::string FormatResultFileValue(Extended value, char decimalSeparator) {
    if (std::isfinite(value) && value != 0 && std::fabs(value) < 1E-4L)
        return FormatStoredValue(value, decimalSeparator);
    return FormatResultValue(value, decimalSeparator);
}

std::string FormatStoredDouble(double value, char decimalSeparator) {
    // The largest 10-digit decimal below the largest double.
    constexpr Extended largest = 1.797693134E+308L;
    Extended stored = value;
    if (std::isfinite(value) && std::fabs(stored) > largest)
        stored = std::copysign(largest, stored);
    return FormatStoredValue(stored, decimalSeparator);
}

std::string FormatShortest(Extended value, char decimalSeparator) {
    if (!std::isfinite(value)) return NonFinite(value);
    if (value == 0) return "0";
    Decimal decimal = ToDecimal(value, 15);
    TrimZeros(decimal.digits);
    std::string text;
    if (decimal.exponent >= -5 && decimal.exponent < 15) {
        text = FixedFromDigits(decimal.digits, decimal.exponent, -1, decimalSeparator);
    } else {
        // "1E20", "1.5E-7": sign only when negative, no leading zeros.
        text = Mantissa(decimal.digits, decimalSeparator) + 'E' + std::to_string(decimal.exponent);
    }
    if (decimal.negative) text.insert(text.begin(), '-');
    return text;
}

std::string FormatGeneral3(Extended value, char decimalSeparator) {
    return FormatGeneral(value, decimalSeparator, 3);
}

std::string FormatGeneral(Extended value, char decimalSeparator, int significantDigits) {
    std::string text;
    if (!std::isfinite(value)) {
        text = NonFinite(value);
    } else if (value == 0) {
        text.assign(1, '0');
    } else {
        Decimal decimal = ToDecimal(value, significantDigits);
        TrimZeros(decimal.digits);
        if (decimal.exponent >= -5 && decimal.exponent < significantDigits) {
            text = FixedFromDigits(decimal.digits, decimal.exponent, -1, decimalSeparator);
        } else {
            // "1.5E+003": the exponent's sign always and at least three digits.
            const int magnitude = std::abs(decimal.exponent);
            std::string exponent = std::to_string(magnitude);
            if (exponent.size() < 3) exponent.insert(0, 3 - exponent.size(), '0');
            text = Mantissa(decimal.digits, decimalSeparator) + 'E' +
                   (decimal.exponent < 0 ? '-' : '+') + exponent;
        }
        if (decimal.negative) text.insert(text.begin(), '-');
    }
    if (text.size() < 8) text.resize(8, ' ');
    return text;
}

std::string FormatInteger(std::int64_t value) {
    return std::to_string(value);
}

bool TryStrToExtended(std::string_view text, char decimalSeparator, Extended& value) {
    const std::string trimmed = TrimBlanks(text);
    std::string_view body = trimmed;
    bool negative = false;
    if (!body.empty() && (body[0] == '+' || body[0] == '-')) {
        negative = body[0] == '-';
        body.remove_prefix(1);
    }
    Extended parsed = 0;
    if (ParseUnsignedNumber(body, decimalSeparator, parsed) != NumberParse::Ok) return false;
    value = negative ? -parsed : parsed;
    return true;
}

Extended StrToExtended(std::string_view text, char decimalSeparator) {
    Extended value = 0;
    if (!TryStrToExtended(text, decimalSeparator, value))
        throw ConversionError("'" + std::string(text) + "' is not a valid floating point value");
    return value;
}

bool TryStrToInt(std::string_view text, std::int32_t& value, bool allowHex) {
    const std::string trimmed = TrimBlanks(text);
    std::string_view body = trimmed;
    if (allowHex && body.size() > 2 && body[0] == '0' && (body[1] == 'x' || body[1] == 'X')) {
        // Hexadecimal names the value itself, up to 0x7FFFFFFF; no sign.
        std::uint32_t parsed = 0;
        const auto digits = body.substr(2);
        const auto result =
            std::from_chars(digits.data(), digits.data() + digits.size(), parsed, 16);
        if (result.ec != std::errc() || result.ptr != digits.data() + digits.size() ||
            parsed > 0x7FFFFFFFu)
            return false;
        value = static_cast<std::int32_t>(parsed);
        return true;
    }
    bool negative = false;
    if (!body.empty() && (body[0] == '+' || body[0] == '-')) {
        negative = body[0] == '-';
        body.remove_prefix(1);
    }
    if (body.empty()) return false;
    std::int64_t magnitude = 0;
    for (const char c : body) {
        if (c < '0' || c > '9') return false;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > 2147483648LL) return false;
    }
    if (negative) magnitude = -magnitude;
    if (magnitude > 2147483647LL) return false;
    value = static_cast<std::int32_t>(magnitude);
    return true;
}

std::int32_t StrToInt(std::string_view text, bool allowHex) {
    std::int32_t value = 0;
    if (!TryStrToInt(text, value, allowHex))
        throw ConversionError("'" + std::string(text) + "' is not a valid integer value");
    return value;
}

} // namespace probex
