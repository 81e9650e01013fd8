#include "engine/ErrorCulprit.h"

#include <algorithm>
#include <cctype>

namespace probex {

namespace {

bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

/// The left-hand side of an equation line, trimmed; empty without "=".
std::string LeftName(const std::string& line) {
    const auto equals = line.find('=');
    return equals == std::string::npos ? std::string() : Trimmed(line.substr(0, equals));
}

/// The name that covers the 1-based character `pos` of the line; empty when a number, an
/// operator or nothing stands there.
std::string NameAt(const std::string& line, std::int32_t pos) {
    if (pos < 1 || static_cast<std::size_t>(pos) > line.size()) return {};
    std::size_t begin = static_cast<std::size_t>(pos) - 1;
    if (!IsNameChar(line[begin])) return {};
    std::size_t end = begin;
    while (begin > 0 && IsNameChar(line[begin - 1]))
        --begin;
    while (end < line.size() && IsNameChar(line[end]))
        ++end;
    if (std::isalpha(static_cast<unsigned char>(line[begin])) == 0) return {};
    return line.substr(begin, end - begin);
}

bool IsRunTimeError(std::uint8_t code) {
    return code >= ecDivisionByZero && code <= ecOperatorUnderflow;
}

} // namespace

std::string ErrorCulprit(const TEquError& error, const std::vector<std::string>& lines) {
    if (error.Code == ecNone || error.Line < 0 ||
        static_cast<std::size_t>(error.Line) >= lines.size())
        return {};
    const std::string& line = lines[static_cast<std::size_t>(error.Line)];
    std::string name = NameAt(line, error.Pos);
    // A run-time error stands before its expression: the equation's own name tells which.
    if (name.empty() && IsRunTimeError(error.Code)) name = LeftName(line);
    std::string culprit =
        (name.empty() ? "" : name + ", ") + "line " + std::to_string(error.Line + 1);
    if (error.Code != ecDuplicateName || name.empty()) return culprit;
    const std::string lower = Lower(name);
    for (std::size_t below = static_cast<std::size_t>(error.Line) + 1; below < lines.size();
         ++below)
        if (Lower(LeftName(lines[below])) == lower) return culprit + " (computed twice)";
    return culprit + " (used in or below this line; equations are read from the bottom up)";
}

std::string ErrorWithCulprit(const TEquError& error, const std::vector<std::string>& lines) {
    const std::string culprit = ErrorCulprit(error, lines);
    const std::string message = ErrorText(error.Code);
    return culprit.empty() ? message : message + ": " + culprit;
}

} // namespace probex
