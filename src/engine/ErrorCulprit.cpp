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

/// The text the error points at, quoted, for errors that stand at no name: the word or
/// number that covers `pos` ("2x"), else the line from `pos` on ("= 3"), else the end of the line
/// before it ("after "y = 2*""). Long texts are cut to a screenful of characters.
std::string TextAt(const std::string& line, std::int32_t pos) {
    constexpr std::size_t shown = 20;
    const auto quoted = [](std::string text) { return "\"" + text + "\""; };
    if (pos >= 1 && static_cast<std::size_t>(pos) <= line.size()) {
        std::size_t begin = static_cast<std::size_t>(pos) - 1;
        // Numbers and names that break the rules ("1.5.2", "x_1") are shown whole.
        const auto inWord = [](char c) { return IsNameChar(c) || c == '_' || c == '.'; };
        if (inWord(line[begin])) {
            std::size_t end = begin;
            while (begin > 0 && inWord(line[begin - 1]))
                --begin;
            while (end < line.size() && inWord(line[end]))
                ++end;
            return "at " + quoted(line.substr(begin, end - begin));
        }
        std::string rest = line.substr(begin, shown);
        rest.erase(rest.find_last_not_of(' ') + 1);
        if (!rest.empty()) return "at " + quoted(rest + (begin + shown < line.size() ? "..." : ""));
    }
    std::string before = line.substr(0, pos <= 0 ? 0 : std::min<std::size_t>(pos, line.size()));
    before.erase(before.find_last_not_of(' ') + 1);
    if (before.empty()) return {};
    if (before.size() > shown) before = "..." + before.substr(before.size() - shown);
    return "after " + quoted(before);
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
    if (name.empty() && !IsRunTimeError(error.Code)) {
        const std::string text = TextAt(line, error.Pos);
        if (!text.empty()) culprit += " " + text;
    }
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
