#include "project/ProjectLines.h"

namespace probex {

namespace {

/// Where the n-th field begins; npos when n < 1 or there are fewer than n-1 delimiters.
std::size_t FieldStart(std::string_view text, std::string_view delimiters, int n) {
    if (n < 1) return std::string_view::npos;
    std::size_t start = 0;
    for (int field = 1; field < n; ++field) {
        const std::size_t next = text.find_first_of(delimiters, start);
        if (next == std::string_view::npos) return next;
        start = next + 1;
    }
    return start;
}

} // namespace

std::string ExtractField(std::string_view text, std::string_view delimiters, int n) {
    const std::size_t start = FieldStart(text, delimiters, n);
    if (start == std::string_view::npos) return {};
    const std::size_t end = text.find_first_of(delimiters, start);
    return std::string(text.substr(start, end == std::string_view::npos ? text.npos : end - start));
}

std::string FieldsFrom(std::string_view text, std::string_view delimiters, int n) {
    const std::size_t start = FieldStart(text, delimiters, n);
    return start == std::string_view::npos ? std::string() : std::string(text.substr(start));
}

std::string OneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line)
        if (c == '\r' || c == '\n') c = ' ';
    return line;
}

std::string TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

std::string TrimLeadingBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

KeyValue ParseKeyValue(std::string_view line, char listSeparator) {
    const std::string_view part = line.substr(0, line.find(listSeparator));
    const std::size_t equal = part.find('=');
    if (equal == std::string_view::npos) return {LowerAscii(TrimBlanks(part)), {}};
    const std::string_view rest = part.substr(equal + 1);
    return {LowerAscii(TrimBlanks(part.substr(0, equal))),
            TrimBlanks(rest.substr(0, rest.find('=')))};
}

std::string FreeTextValue(std::string_view line, char listSeparator) {
    // An "=" after the list separator is not this key's (ParseKeyValue gives no value then).
    const std::size_t equal = line.find('=');
    if (equal == std::string_view::npos || equal > line.find(listSeparator)) return {};
    return TrimBlanks(line.substr(equal + 1));
}

} // namespace probex
