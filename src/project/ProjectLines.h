#pragma once

#include <string>
#include <string_view>

namespace probex {

/// The n-th field (from 1) of `text`, fields separated by any single character of
/// `delimiters`; empty when n < 1 or the text has fewer than n-1 delimiters. Two adjacent
/// delimiters give an empty field. Example: ExtractField("1;2;;4", ";", 3) is "".
std::string ExtractField(std::string_view text, std::string_view delimiters, int n);

/// The text from the n-th field (from 1) to the end of `text`, delimiters included: the last
/// field of a table line is free text and may hold the list separator. Empty where
/// ExtractField is. Example: FieldsFrom("x;a;b", ";", 2) is "a;b".
std::string FieldsFrom(std::string_view text, std::string_view delimiters, int n);

/// The text with every CR and LF replaced by a blank: no text may start a line of its own.
std::string OneLine(std::string_view text);

/// Removes spaces (only spaces: tabs stay) at both ends.
std::string TrimBlanks(std::string_view text);
/// Removes leading spaces only.
std::string TrimLeadingBlanks(std::string_view text);
/// ASCII letters lowered; bytes above 127 stay as they are.
std::string LowerAscii(std::string_view text);

/// A key-value line of the project file, cut at the first list separator: the key before
/// the first "=" (trimmed, lowered) and the value between the first and second "=" (trimmed).
/// "  STEPS = 100 " gives "steps" and "100"; "Identification=a=b" gives the value "a".
struct KeyValue {
    std::string key;
    std::string value;
};
KeyValue ParseKeyValue(std::string_view line, char listSeparator);

/// The value of a key-value line that holds free text (an identification): everything after
/// the first "=", trimmed, list separators and "=" included. "Identification=a=b;c" gives
/// "a=b;c".
std::string FreeTextValue(std::string_view line, char listSeparator);

} // namespace probex
