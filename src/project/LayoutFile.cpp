#include "project/LayoutFile.h"

#include "settings/IniFile.h"
#include "settings/NumberText.h"

#include <cctype>
#include <charconv>
#include <filesystem>

namespace probex {

namespace {

constexpr std::array<const char*, 5> ResultPrefixes{"OutStat_", "Out1D_", "Out2D_", "OutProb_",
                                                    "OutQuant_"};
constexpr std::string_view SensitivityPrefix = "OutSens_";

struct FixedWindow {
    const char* section;
    std::optional<TWindowPlacement> TProjectLayout::*member;
};

constexpr std::array<FixedWindow, 4> FixedWindows{{
    {"Equations", &TProjectLayout::equations},
    {"OutEquations", &TProjectLayout::outEquations},
    {"Input vars", &TProjectLayout::inputVars},
    {"Var list", &TProjectLayout::varList},
}};

std::string FourIntegers(const std::array<std::int32_t, 4>& values) {
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) text.push_back(',');
        text += std::to_string(values[i]);
    }
    return text;
}

bool ParseFourIntegers(const std::string& text, std::array<std::int32_t, 4>& values) {
    std::array<std::int32_t, 4> parsed{};
    std::size_t start = 0;
    for (std::size_t i = 0; i < parsed.size(); ++i) {
        const std::size_t comma = text.find(',', start);
        if ((comma == std::string::npos) != (i == parsed.size() - 1)) return false;
        const std::string field =
            text.substr(start, comma == std::string::npos ? text.npos : comma - start);
        if (!TryStrToInt(field, parsed[i], false)) return false;
        start = comma + 1;
    }
    values = parsed;
    return true;
}

/// n of the section "<prefix>n" (letter case ignored), 0 for any other section.
std::size_t ResultSectionNumber(std::string_view prefix, std::string_view section) {
    if (section.size() <= prefix.size()) return 0;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(section[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i])))
            return 0;
    std::size_t n = 0;
    const std::string_view digits = section.substr(prefix.size());
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    return error == std::errc() && end == digits.data() + digits.size() ? n : 0;
}

} // namespace

std::string LayoutFileName(std::string_view projectFile) {
    const std::size_t nameStart = projectFile.find_last_of("\\/:");
    const std::size_t dot = projectFile.rfind('.');
    const bool hasExtension =
        dot != std::string_view::npos && (nameStart == std::string_view::npos || dot > nameStart);
    return std::string(hasExtension ? projectFile.substr(0, dot) : projectFile) + ".ini";
}

std::string LayoutSectionName(ResultWindowKind kind, std::size_t n) {
    return ResultPrefixes[static_cast<std::size_t>(kind)] + std::to_string(n);
}

std::optional<TWindowPlacement> ReadPlacement(const IniFile& file, std::string_view section) {
    if (!file.hasSection(section)) return std::nullopt;
    TWindowPlacement placement;
    if (!ParseFourIntegers(file.readString(section, "NormPos", ""), placement.NormPos))
        return std::nullopt;
    ParseFourIntegers(file.readString(section, "MinMaxPos", ""), placement.MinMaxPos);
    placement.Flags = file.readInteger(section, "Flags", placement.Flags);
    placement.ShowCmd = file.readInteger(section, "ShowCmd", placement.ShowCmd);
    placement.PixelsPerInch = file.readInteger(section, "PixelsPerInch", placement.PixelsPerInch);
    return placement;
}

void WritePlacement(IniFile& file, std::string_view section, const TWindowPlacement& placement) {
    file.writeInteger(section, "Flags", placement.Flags);
    file.writeInteger(section, "ShowCmd", placement.ShowCmd);
    file.writeInteger(section, "PixelsPerInch", placement.PixelsPerInch);
    file.writeString(section, "MinMaxPos", FourIntegers(placement.MinMaxPos));
    file.writeString(section, "NormPos", FourIntegers(placement.NormPos));
}

namespace {

void PutNumbered(IniFile& file, std::string_view prefix,
                 const std::vector<std::optional<TWindowPlacement>>& list) {
    // A numbered section without a window of that number would place the next one.
    for (const std::string& section : file.sections()) {
        const std::size_t n = ResultSectionNumber(prefix, section);
        if (n != 0 && (n > list.size() || !list[n - 1])) file.eraseSection(section);
    }
    for (std::size_t n = 1; n <= list.size(); ++n)
        if (list[n - 1])
            WritePlacement(file, std::string(prefix) + std::to_string(n), *list[n - 1]);
}

std::vector<std::optional<TWindowPlacement>>
ReadNumbered(const IniFile& file, std::string_view prefix, std::size_t count) {
    std::vector<std::optional<TWindowPlacement>> list;
    for (std::size_t n = 1; n <= count; ++n)
        list.push_back(ReadPlacement(file, std::string(prefix) + std::to_string(n)));
    return list;
}

} // namespace

void PutLayout(IniFile& file, const TProjectLayout& layout) {
    for (const FixedWindow& window : FixedWindows)
        if (const auto& placement = layout.*window.member)
            WritePlacement(file, window.section, *placement);
    for (const ResultWindowKind kind : AllResultWindowKinds) {
        const auto k = static_cast<std::size_t>(kind);
        PutNumbered(file, ResultPrefixes[k], layout.results[k]);
    }
    PutNumbered(file, SensitivityPrefix, layout.sensitivity);
}

std::string LayoutFileText(const TProjectLayout& layout) {
    IniFile file;
    PutLayout(file, layout);
    return file.text();
}

std::string WriteLayoutFile(const std::string& path, const TProjectLayout& layout) {
    // The file may be shared (a project saved as Probex.pxw beside the program has the
    // settings file as its layout file): only the layout's own sections change.
    IniFile file;
    if (std::string error; !file.load(path, &error) && !error.empty()) return error;
    PutLayout(file, layout);
    return file.save(path);
}

std::optional<TProjectLayout> ReadLayoutFile(const std::string& path,
                                             const std::array<std::size_t, 5>& counts,
                                             std::size_t sensitivityCount) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
    IniFile file;
    file.load(path);
    TProjectLayout layout;
    for (const FixedWindow& window : FixedWindows)
        layout.*window.member = ReadPlacement(file, window.section);
    for (const ResultWindowKind kind : AllResultWindowKinds) {
        const auto k = static_cast<std::size_t>(kind);
        layout.results[k] = ReadNumbered(file, ResultPrefixes[k], counts[k]);
    }
    layout.sensitivity = ReadNumbered(file, SensitivityPrefix, sensitivityCount);
    return layout;
}

} // namespace probex
