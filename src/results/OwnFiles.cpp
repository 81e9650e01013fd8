#include "results/OwnFiles.h"

#include <array>
#include <cctype>
#include <fstream>

namespace probex {

namespace {

constexpr std::array<std::string_view, 7> ResultExtensions = {".sta", ".his",  ".dis", ".hsta",
                                                              ".log", ".prob", ".quan"};

/// A line after the first: a number ("-1.5", "1E-5"), a label before one ("Min:", "12:"),
/// a key of a distribution file ("Bins=3"), a section ("[Bins]") or nothing.
bool IsResultLine(std::string_view line) {
    if (line.empty() || line[0] == '[') return true;
    const unsigned char first = static_cast<unsigned char>(line[0]);
    if (std::isdigit(first) || line[0] == '-') return true;
    std::size_t word = 0;
    while (word < line.size() && std::isalpha(static_cast<unsigned char>(line[word])))
        ++word;
    return word > 0 && word < line.size() && (line[word] == ':' || line[word] == '=');
}

} // namespace

bool IsReportPdf(std::string_view start) {
    if (!start.starts_with("%PDF-")) return false;
    constexpr std::string_view key = "/Creator (";
    const std::size_t at = start.find(key);
    if (at == std::string_view::npos) return false;
    std::string_view value = start.substr(at + key.size());
    value = value.substr(0, value.find(')'));
    // A text string is either plain or UTF-16 after a byte-order mark.
    if (!value.starts_with("\xFE\xFF")) return value == ReportCreator;
    std::string plain;
    for (std::size_t i = 2; i + 1 < value.size(); i += 2) {
        if (value[i] != '\0') return false;
        plain += value[i + 1];
    }
    return plain == ReportCreator;
}

bool IsResultFileText(const std::string& fileName, std::string_view start) {
    bool known = false;
    for (const std::string_view extension : ResultExtensions)
        known = known || fileName.ends_with(extension);
    if (!known) return false;
    bool firstLine = true;
    // The last line of `start` may be cut short: only whole lines are looked at.
    for (std::size_t end = start.find('\n'); end != std::string_view::npos;
         end = start.find('\n')) {
        if (end == 0 || start[end - 1] != '\r') return false;
        const std::string_view line = start.substr(0, end - 1);
        if (line.find('\0') != std::string_view::npos) return false;
        if (!firstLine && !IsResultLine(line)) return false;
        firstLine = false;
        start.remove_prefix(end + 1);
    }
    return !firstLine || start.empty();
}

std::string FileStart(const std::string& path, std::size_t limit) {
    std::ifstream in(path, std::ios::binary);
    std::string start(limit, '\0');
    in.read(start.data(), static_cast<std::streamsize>(limit));
    start.resize(static_cast<std::size_t>(in.gcount()));
    return start;
}

} // namespace probex
