#include "variables/DistributionFile.h"

#include "components/Prompter.h"
#include "settings/FileAccess.h"
#include "settings/NumberText.h"
#include "settings/TextLines.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <new>

namespace probex {

namespace {

enum class Section { None, Description, Parameters, Bins };

bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view trimLeft(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    return s;
}

std::string_view trim(std::string_view s) {
    s = trimLeft(s);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string lowerCase(std::string_view s) {
    std::string result(s);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return result;
}

std::string lineMessage(const char* what, std::size_t line) {
    return std::string(what) + " Line " + std::to_string(line) + "!";
}

// Infinite and undefined values are no numbers for a histogram either.
bool toNumber(std::string_view text, char decimalSeparator, Extended& value) {
    return TryStrToExtended(text, decimalSeparator, value) && std::isfinite(value);
}

Extended parameterValue(std::string_view text, char decimalSeparator) {
    Extended value = 0;
    if (!toNumber(text, decimalSeparator, value))
        throw ELoadError("'" + std::string(text) + "' is not a valid floating point value");
    return value;
}

bool isBinsData(std::string_view trimmed) {
    return !trimmed.empty() && trimmed.front() != ';' && trimmed.front() != '[';
}

// Reads the bins list that starts at `first`; returns the index of the line after it.
std::size_t readBins(const std::vector<std::string_view>& lines, std::size_t first, TLis& lis,
                     char decimalSeparator) {
    std::size_t end = first;
    std::size_t count = 0;
    for (; end < lines.size(); ++end) {
        const std::string_view line = trimLeft(lines[end]);
        if (!line.empty() && line.front() == '[') break;
        if (isBinsData(line)) ++count;
    }
    if (count < 2) throw ELoadError("Not enough data!");
    if (count > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw ELoadError("No memory!");
    try {
        lis.Data.assign(count, 0);
    } catch (const std::bad_alloc&) {
        throw ELoadError("No memory!");
    }
    lis.Bins = static_cast<std::int32_t>(count);

    std::size_t bin = 0;
    Extended previous = 0;
    for (std::size_t i = first; i < end; ++i) {
        const std::string_view line = trimLeft(lines[i]);
        if (!isBinsData(line)) continue;
        Extended value = 0;
        if (!toNumber(line, decimalSeparator, value))
            throw ELoadError(lineMessage("Error reading file.", i));
        if (lis.Form == HistogramForm::Frequency && value < 0)
            throw ELoadError(lineMessage("Negative frequency.", i));
        if (lis.Form == HistogramForm::Cumulative && value < previous)
            throw ELoadError(lineMessage("Wrong frequency.", i));
        previous = value;
        lis.Data[bin++] = value;
    }
    return end;
}

std::string systemMessage(int error) {
    return std::strerror(error);
}

} // namespace

void ParseDistributionText(std::string_view text, std::string_view path, TLis& lis,
                           const DistributionFileFormat& format) {
    TLis read;
    bool formGiven = false;
    bool minGiven = false;
    bool maxGiven = false;
    bool binsRead = false;
    Section section = Section::None;

    const std::vector<std::string_view> lines = SplitTextLines(text);
    std::size_t i = 0;
    while (i < lines.size()) {
        const std::string_view line = trimLeft(lines[i]);
        if (line.empty()) {
            ++i;
            continue;
        }
        if (line.front() == '[') {
            if (line.find("Description]") != std::string_view::npos)
                section = Section::Description;
            else if (line.find("Parameters]") != std::string_view::npos)
                section = Section::Parameters;
            else if (line.find("Bins]") != std::string_view::npos)
                section = Section::Bins;
            else
                section = Section::None;
            ++i;
            continue;
        }
        if (section == Section::Bins) {
            // A second bins list is not part of the format: the first one counts.
            if (binsRead) {
                ++i;
                continue;
            }
            if (!formGiven || read.Type == DistKind::dkUndefined)
                throw ELoadError("Histogram type not valid!");
            i = readBins(lines, i, read, format.decimalSeparator);
            binsRead = true;
            continue;
        }
        if (section == Section::Description || section == Section::Parameters) {
            std::string_view item = line.substr(0, line.find(format.listSeparator));
            const std::size_t equals = item.find('=');
            if (equals != std::string_view::npos) {
                const std::string key = lowerCase(trim(item.substr(0, equals)));
                std::string_view value = item.substr(equals + 1);
                value = trim(value.substr(0, value.find('=')));
                if (section == Section::Description) {
                    const std::string word = lowerCase(value);
                    if (key == "identification") {
                        // Free text: list separators and "=" are part of it.
                        read.Identification = std::string(trim(line.substr(equals + 1)));
                    } else if (key == "type") {
                        if (word == "continuous") read.Type = DistKind::dkContinuous;
                        if (word == "discrete") read.Type = DistKind::dkDiscrete;
                    } else if (key == "form") {
                        if (word == "frequency") read.Form = HistogramForm::Frequency;
                        if (word == "cumulative") read.Form = HistogramForm::Cumulative;
                        if (word == "frequency" || word == "cumulative") formGiven = true;
                    }
                } else if (key == "min") {
                    read.Min = parameterValue(value, format.decimalSeparator);
                    minGiven = true;
                } else if (key == "max") {
                    read.Max = parameterValue(value, format.decimalSeparator);
                    maxGiven = true;
                }
            }
        }
        ++i;
    }

    if (!minGiven) throw ELoadError("Minimum not defined!");
    if (!maxGiven) throw ELoadError("Maximum not defined!");
    if (read.Max < read.Min) throw ELoadError("Maximum<Minimum!");
    if (!formGiven || read.Type == DistKind::dkUndefined)
        throw ELoadError("Unknown distribution type!");
    if (read.Bins < 2) throw ELoadError("Not enough data!");
    read.FileName = FileNamePart(path);
    lis = std::move(read);
}

bool ReadDistributionFile(const std::string& path, TLis& lis, const DistributionFileFormat& format,
                          Prompter& prompter, std::string* loadError) {
    std::string failure;
    try {
        std::string text;
        if (std::string error = ReadWholeFile(path, text); !error.empty()) {
            // The file itself failed, not its contents: say why before what it means.
            prompter.error(error);
            throw ELoadError(error);
        }
        ParseDistributionText(text, path, lis, format);
        return true;
    } catch (const std::bad_alloc&) {
        failure = "No memory!";
    } catch (const std::exception& e) {
        failure = e.what();
    }
    if (loadError != nullptr) *loadError = failure;
    prompter.error("Distribution not defined!", Prompter::Buttons::Cancel);
    return false;
}

std::string FileNamePart(std::string_view path) {
    const std::size_t cut = path.find_last_of("\\/:");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string FindDistributionFile(std::string_view name, const std::string& distDirPath) {
    namespace fs = std::filesystem;
    const std::string wanted = FileNamePart(name);
    if (wanted.empty()) return {};
    const std::string wantedLower = lowerCase(wanted);
    std::error_code error;
    fs::directory_iterator it(fs::path(distDirPath), error);
    std::string found;
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        const std::string candidate = it->path().filename().string();
        if (candidate == wanted) return it->path().string();
        // Several names that differ only in case: the exact one above wins, else the first
        // in name order, so the choice does not depend on the directory's order.
        if (lowerCase(candidate) == wantedLower && (found.empty() || it->path().string() < found))
            found = it->path().string();
    }
    return found;
}

std::string DistributionFileText(const DistributionFileContent& content,
                                 const DistributionFileFormat& format) {
    std::string text = "[Description]\r\n";
    if (content.writeVariableName) text += "Variable=" + content.variableName + "\r\n";
    text += "Identification=" + content.identification + "\r\n";
    text += content.discrete ? "Type=Discrete\r\n" : "Type=Continuous\r\n";
    text += "Form=Frequency\r\n\r\n[Parameters]\r\n";
    // Ten digits, so that the file read back as an input keeps the histogram's range.
    text += "Min=" + FormatGeneral(content.min, format.decimalSeparator, 10) + "\r\n";
    text += "Max=" + FormatGeneral(content.max, format.decimalSeparator, 10) + "\r\n";
    std::int64_t total = 0;
    for (std::int32_t count : content.counts)
        total += count;
    text += "Bins=" + std::to_string(content.counts.size()) + "\r\n";
    text += "Total=" + std::to_string(total) + "\r\n\r\n[Bins]\r\n";
    for (std::int32_t count : content.counts)
        text += std::to_string(count) + "\r\n";
    text += "\r\n";
    return text;
}

std::string WriteDistributionFile(const std::string& path, const DistributionFileContent& content,
                                  const DistributionFileFormat& format) {
    std::string text;
    try {
        text = DistributionFileText(content, format);
    } catch (const std::bad_alloc&) {
        return systemMessage(ENOMEM);
    }
    return WriteFileAtomically(path, text);
}

} // namespace probex
