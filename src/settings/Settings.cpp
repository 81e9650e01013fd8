#include "settings/Settings.h"

#include "settings/IniFile.h"
#include "settings/NumberText.h"

#include <algorithm>
#include <cstring>
#include <langinfo.h>
#include <locale.h>
#include <variant>

namespace probex {

namespace {

constexpr const char* kSection = "Settings";

enum class KeyKind {
    ListSeparator,
    DecimalSeparator,
    CommentSeparator,
    Boolean,
    Integer,    ///< out of [min, max] gives the default
    Clamped,    ///< out of [min, max] is clamped, as the dialog's box does
    AtLeastOne, ///< stored 0 or 1; any value of 1 or more is 1
    Optional, ///< as Integer, but written only when not the default: older files stay as they were
    Colouration,
    Files,
    Text,
    MarkKind,  ///< index in `min`
    MarkValue, ///< index in `min`
};

using Member = std::variant<std::monostate, bool TSettings::*, std::int32_t TSettings::*,
                            ResultFileLayout TSettings::*, std::string TSettings::*>;

struct KeyDef {
    const char* key;
    KeyKind kind;
    Member member;
    std::int32_t min = 0;
    std::int32_t max = 0;
};

constexpr std::int32_t kMaxRate = 999999999;
constexpr std::int32_t kMaxColour = 0xFFFFFF;

// Every key in the order of the dialog's tabs; loading and saving both walk this table.
const KeyDef kKeys[] = {
    // General
    {"ListSeparator", KeyKind::ListSeparator, {}},
    {"DecimalSeparator", KeyKind::DecimalSeparator, {}},
    {"CommentSeparator", KeyKind::CommentSeparator, {}},
    {"SaveWinPos", KeyKind::Boolean, &TSettings::SaveWinPos},
    {"RewriteIDs", KeyKind::Boolean, &TSettings::RewriteIDs},
    {"IgnoreUnsupParams", KeyKind::Boolean, &TSettings::IgnoreUnsupParams},
    {"DefInVarsConst", KeyKind::Boolean, &TSettings::DefInVarsConst},
    {"DefOutVars", KeyKind::Integer, &TSettings::DefOutVars, 0, 3},
    // Refresh
    {"RefreshRateStat", KeyKind::Integer, &TSettings::RefreshRateStat, 1, kMaxRate},
    {"RefreshStatStat", KeyKind::Integer, &TSettings::RefreshStatStat, 0, 2},
    {"RefreshRate1D", KeyKind::Integer, &TSettings::RefreshRate1D, 1, kMaxRate},
    {"RefreshGraph", KeyKind::Boolean, &TSettings::RefreshGraph},
    {"RefreshProb", KeyKind::Boolean, &TSettings::RefreshProb},
    {"Refresh1DStat", KeyKind::Integer, &TSettings::Refresh1DStat, 0, 3},
    {"RefreshRate2D", KeyKind::Integer, &TSettings::RefreshRate2D, 1, kMaxRate},
    {"RefreshRatePQ", KeyKind::Integer, &TSettings::RefreshRatePQ, 1, kMaxRate},
    // Display
    {"Graph1DBarWidth", KeyKind::Integer, &TSettings::Graph1DBarWidth, 1, 10},
    {"Graph2DColouration", KeyKind::Colouration, &TSettings::Graph2DColouration},
    {"Graph2DDrawLines", KeyKind::Boolean, &TSettings::Graph2DDrawLines},
    {"Graph2DDrawCircles", KeyKind::Boolean, &TSettings::Graph2DDrawCircles},
    {"Graph2DDrawDots", KeyKind::Boolean, &TSettings::Graph2DDrawDots},
    // Save
    {"StatisticsFiles", KeyKind::Files, &TSettings::StatisticsFiles},
    {"StatisticsHeaders", KeyKind::Boolean, &TSettings::StatisticsHeaders},
    {"StatisticsNames", KeyKind::Boolean, &TSettings::StatisticsNames},
    {"HistogramDisFormat", KeyKind::Boolean, &TSettings::HistogramDisFormat},
    {"HistogramHeaders", KeyKind::Boolean, &TSettings::HistogramHeaders},
    {"HistogramNames", KeyKind::Boolean, &TSettings::HistogramNames},
    {"HistogramStatisticsFiles", KeyKind::Files, &TSettings::HistogramStatisticsFiles},
    {"HistogramStatisticsHeaders", KeyKind::Boolean, &TSettings::HistogramStatisticsHeaders},
    {"HistogramStatisticsNames", KeyKind::Boolean, &TSettings::HistogramStatisticsNames},
    {"LogFiles", KeyKind::Files, &TSettings::LogFiles},
    {"LogHeaders", KeyKind::Boolean, &TSettings::LogHeaders},
    {"LogNames", KeyKind::Boolean, &TSettings::LogNames},
    {"LogRecords", KeyKind::Boolean, &TSettings::LogRecords},
    {"PQFiles", KeyKind::Files, &TSettings::PQFiles},
    {"PQHeaders", KeyKind::Boolean, &TSettings::PQHeaders},
    {"PQNames", KeyKind::Boolean, &TSettings::PQNames},
    {"PQCondensed", KeyKind::Boolean, &TSettings::PQCondensed},
    {"PQTwoColumns", KeyKind::Boolean, &TSettings::PQTwoColumns},
    // Output
    {"PQLines", KeyKind::Clamped, &TSettings::PQLines, 1, 256},
    {"HistogramSize", KeyKind::Clamped, &TSettings::HistogramSize, 2, 65536},
    {"HisStatIn1D", KeyKind::Boolean, &TSettings::HisStatIn1D},
    {"Discrete1D", KeyKind::Boolean, &TSettings::Discrete1D},
    {"Recalc1D", KeyKind::Boolean, &TSettings::Recalc1D},
    {"1PQ", KeyKind::MarkKind, {}, 0},
    {"2PQ", KeyKind::MarkKind, {}, 1},
    {"3PQ", KeyKind::MarkKind, {}, 2},
    {"4PQ", KeyKind::MarkKind, {}, 3},
    {"1PQVal", KeyKind::MarkValue, {}, 0},
    {"2PQVal", KeyKind::MarkValue, {}, 1},
    {"3PQVal", KeyKind::MarkValue, {}, 2},
    {"4PQVal", KeyKind::MarkValue, {}, 3},
    // Colours
    {"PlotDisColor", KeyKind::Integer, &TSettings::PlotDisColor, 0, kMaxColour},
    {"ResultsColor", KeyKind::Integer, &TSettings::ResultsColor, 0, kMaxColour},
    {"Plot1DColor", KeyKind::Integer, &TSettings::Plot1DColor, 0, kMaxColour},
    {"Mark1Color", KeyKind::Integer, &TSettings::Mark1Color, 0, kMaxColour},
    {"Mark2Color", KeyKind::Integer, &TSettings::Mark2Color, 0, kMaxColour},
    {"Mark3Color", KeyKind::Integer, &TSettings::Mark3Color, 0, kMaxColour},
    {"Mark4Color", KeyKind::Integer, &TSettings::Mark4Color, 0, kMaxColour},
    {"Plot2DColor", KeyKind::Integer, &TSettings::Plot2DColor, 0, kMaxColour},
    {"Freq2DStartColor", KeyKind::Integer, &TSettings::Freq2DStartColor, 0, kMaxColour},
    {"Freq2DEndColor", KeyKind::Integer, &TSettings::Freq2DEndColor, 0, kMaxColour},
    {"Prob2DStartColor", KeyKind::Integer, &TSettings::Prob2DStartColor, 0, kMaxColour},
    {"Prob2DEndColor", KeyKind::Integer, &TSettings::Prob2DEndColor, 0, kMaxColour},
    {"Plot2DObjectsColor", KeyKind::Integer, &TSettings::Plot2DObjectsColor, 0, kMaxColour},
    // Directories
    {"InputDir", KeyKind::Text, &TSettings::InputDir},
    {"ResultsDir", KeyKind::Text, &TSettings::ResultsDir},
    {"DistDir", KeyKind::Text, &TSettings::DistDir},
    {"InputOverwritePrompt", KeyKind::Boolean, &TSettings::InputOverwritePrompt},
    {"ResultsOverwritePrompt", KeyKind::Boolean, &TSettings::ResultsOverwritePrompt},
    {"InputFilenamePrompt", KeyKind::Boolean, &TSettings::InputFilenamePrompt},
    {"ResultsFilenamePrompt", KeyKind::Boolean, &TSettings::ResultsFilenamePrompt},
    // Generator
    {"Generator", KeyKind::Integer, &TSettings::Generator, 0, 3},
    {"Seed1", KeyKind::Integer, &TSettings::Seed1, INT32_MIN, INT32_MAX},
    {"Seed2", KeyKind::Integer, &TSettings::Seed2, INT32_MIN, INT32_MAX},
    {"InitialSampling", KeyKind::AtLeastOne, &TSettings::InitialSampling},
    {"Threads", KeyKind::Optional, &TSettings::Threads, 0, MaxThreads},
};

const char* const kColourationNames[] = {"No", "Freq", "Prob"};

bool SameAscii(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) {
                   return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
               };
               return lower(x) == lower(y);
           });
}

/// A control character cannot be typed in the dialog and would break every line it is in.
char SeparatorOr(char read, char fallback) {
    const auto code = static_cast<unsigned char>(read);
    return code < 0x20 || code == 0x7F ? fallback : read;
}

/// The decimal separator must not be a character a number is made of.
char DecimalSeparatorOr(char read, char fallback) {
    if ((read >= '0' && read <= '9') || read == '+' || read == '-' || read == 'e' || read == 'E' ||
        read == ' ')
        return fallback;
    return SeparatorOr(read, fallback);
}

std::string Quoted(char c) {
    return std::string("\"") + c + '"';
}

void LoadKey(const IniFile& ini, const KeyDef& def, TSettings& s, std::string& firstError,
             std::string& warning) {
    switch (def.kind) {
    case KeyKind::ListSeparator:
        s.ListSep =
            SeparatorOr(ini.readChar(kSection, def.key, s.WindowsListSep), s.WindowsListSep);
        break;
    case KeyKind::DecimalSeparator:
        s.DecimalSep = DecimalSeparatorOr(ini.readChar(kSection, def.key, s.WindowsDecimalSep),
                                          s.WindowsDecimalSep);
        // Checked before the mark values, which are read with the decimal separator.
        if (const std::string problem = SeparatorProblem(s.ListSep, s.DecimalSep);
            !problem.empty()) {
            s.ListSep = s.WindowsListSep;
            s.DecimalSep = s.WindowsDecimalSep;
            warning = problem + " The defaults " + Quoted(s.ListSep) + " and " +
                      Quoted(s.DecimalSep) + " are used.";
        }
        break;
    case KeyKind::CommentSeparator:
        s.CommentSep = SeparatorOr(ini.readChar(kSection, def.key, ';'), ';');
        break;
    case KeyKind::Boolean: {
        bool& member = s.*std::get<bool TSettings::*>(def.member);
        member = ini.readBool(kSection, def.key, member);
        break;
    }
    case KeyKind::Integer:
    case KeyKind::Optional:
    case KeyKind::Clamped:
    case KeyKind::AtLeastOne: {
        std::int32_t& member = s.*std::get<std::int32_t TSettings::*>(def.member);
        const std::int32_t read = ini.readInteger(kSection, def.key, member);
        if (def.kind == KeyKind::AtLeastOne)
            member = read >= 1 ? 1 : 0;
        else if (def.kind == KeyKind::Clamped)
            member = std::clamp(read, def.min, def.max);
        else if (read >= def.min && read <= def.max)
            member = read;
        break;
    }
    case KeyKind::Colouration: {
        std::int32_t& member = s.*std::get<std::int32_t TSettings::*>(def.member);
        const auto text = ini.value(kSection, def.key);
        if (!text) break;
        member = ColourNo;
        for (std::int32_t i = 0; i < 3; ++i)
            if (SameAscii(*text, kColourationNames[i])) member = i;
        break;
    }
    case KeyKind::Files: {
        ResultFileLayout& member = s.*std::get<ResultFileLayout TSettings::*>(def.member);
        if (const auto text = ini.value(kSection, def.key))
            member = *text == "Single" ? ResultFileLayout::Single : ResultFileLayout::Multiple;
        break;
    }
    case KeyKind::Text: {
        std::string& member = s.*std::get<std::string TSettings::*>(def.member);
        member = ini.readString(kSection, def.key, member);
        break;
    }
    case KeyKind::MarkKind:
        if (const auto text = ini.value(kSection, def.key))
            s.PQKinds[static_cast<std::size_t>(def.min)] =
                *text == "Quantile" ? PQKind::Q : PQKind::P;
        break;
    case KeyKind::MarkValue:
        if (const auto text = ini.value(kSection, def.key)) {
            Extended value = 0;
            if (TryStrToExtended(*text, s.DecimalSep, value))
                s.PQValues[static_cast<std::size_t>(def.min)] = value;
            else if (firstError.empty())
                firstError = "'" + *text + "' is not a valid floating point value";
        }
        break;
    }
}

void SaveKey(IniFile& ini, const KeyDef& def, const TSettings& s) {
    switch (def.kind) {
    case KeyKind::ListSeparator:
        ini.writeChar(kSection, def.key, s.ListSep);
        break;
    case KeyKind::DecimalSeparator:
        ini.writeChar(kSection, def.key, s.DecimalSep);
        break;
    case KeyKind::CommentSeparator:
        ini.writeChar(kSection, def.key, s.CommentSep);
        break;
    case KeyKind::Boolean:
        ini.writeBool(kSection, def.key, s.*std::get<bool TSettings::*>(def.member));
        break;
    case KeyKind::Integer:
    case KeyKind::Clamped:
    case KeyKind::AtLeastOne:
        ini.writeInteger(kSection, def.key, s.*std::get<std::int32_t TSettings::*>(def.member));
        break;
    case KeyKind::Optional: {
        const auto member = std::get<std::int32_t TSettings::*>(def.member);
        if (s.*member != TSettings{}.*member) ini.writeInteger(kSection, def.key, s.*member);
        break;
    }
    case KeyKind::Colouration: {
        const std::int32_t index = s.*std::get<std::int32_t TSettings::*>(def.member);
        ini.writeString(kSection, def.key, kColourationNames[index >= 0 && index < 3 ? index : 0]);
        break;
    }
    case KeyKind::Files:
        ini.writeString(kSection, def.key,
                        s.*std::get<ResultFileLayout TSettings::*>(def.member) ==
                                ResultFileLayout::Single
                            ? "Single"
                            : "Multiple");
        break;
    case KeyKind::Text:
        ini.writeString(kSection, def.key, s.*std::get<std::string TSettings::*>(def.member));
        break;
    case KeyKind::MarkKind:
        ini.writeString(kSection, def.key,
                        s.PQKinds[static_cast<std::size_t>(def.min)] == PQKind::Q ? "Quantile"
                                                                                  : "Probability");
        break;
    case KeyKind::MarkValue:
        ini.writeString(
            kSection, def.key,
            FormatShortest(s.PQValues[static_cast<std::size_t>(def.min)], s.DecimalSep));
        break;
    }
}

} // namespace

char SystemDecimalSeparator() {
    char separator = '.';
    const locale_t locale = newlocale(LC_NUMERIC_MASK, "", locale_t(0));
    if (locale != locale_t(0)) {
        const char* radix = nl_langinfo_l(RADIXCHAR, locale);
        // A separator of more than one byte cannot be the one character of the setting.
        if (radix != nullptr && radix[0] != '\0' && radix[1] == '\0') separator = radix[0];
        freelocale(locale);
    }
    return separator;
}

char ListSeparatorFor(char decimalSeparator) {
    return decimalSeparator == ',' ? ';' : ',';
}

void TakeSystemSeparators(TSettings& settings) {
    settings.WindowsDecimalSep = SystemDecimalSeparator();
    settings.WindowsListSep = ListSeparatorFor(settings.WindowsDecimalSep);
}

void ResetSettings(TSettings& settings) {
    TSettings defaults;
    defaults.AppDir = settings.AppDir;
    defaults.WindowsDecimalSep = settings.WindowsDecimalSep;
    defaults.WindowsListSep = settings.WindowsListSep;
    defaults.ListSep = defaults.WindowsListSep;
    defaults.DecimalSep = defaults.WindowsDecimalSep;
    defaults.InputDir = defaults.AppDir + "Inputs";
    defaults.ResultsDir = defaults.AppDir + "Results";
    defaults.DistDir = defaults.AppDir + "Distributions";
    DeriveDirectories(defaults);
    settings = std::move(defaults);
}

TSettings MakeDefaultSettings(const std::string& appDir) {
    TSettings settings;
    settings.AppDir = appDir;
    TakeSystemSeparators(settings);
    ResetSettings(settings);
    return settings;
}

std::string DirectoryInForce(const std::string& stored, const std::string& appDir) {
    std::string path;
    if (stored.empty() || stored == ".")
        path = appDir;
    else if (stored.size() >= 2 && stored[0] == '.' && (stored[1] == '\\' || stored[1] == '/'))
        path = appDir + stored.substr(2);
    else if (stored[0] == '.')
        // "..\x" and the like are relative to the program directory, not cut short.
        path = appDir + stored;
    else
        path = stored;
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

void DeriveDirectories(TSettings& settings) {
    settings.InputDirPath = DirectoryInForce(settings.InputDir, settings.AppDir);
    settings.ResultsDirPath = DirectoryInForce(settings.ResultsDir, settings.AppDir);
    settings.DistDirPath = DirectoryInForce(settings.DistDir, settings.AppDir);
}

std::string SeparatorProblem(char listSeparator, char decimalSeparator) {
    if (listSeparator == decimalSeparator)
        return "The list separator " + Quoted(listSeparator) + " and the decimal separator " +
               Quoted(decimalSeparator) + " must be different characters!";
    if (listSeparator == '=' || listSeparator == ' ')
        return "The list separator " + Quoted(listSeparator) + " cannot separate fields!";
    if (decimalSeparator == '=')
        return "The decimal separator " + Quoted(decimalSeparator) + " cannot be used in numbers!";
    return {};
}

std::string LoadSettings(const std::string& path, TSettings& settings, std::string* warning) {
    ResetSettings(settings);
    IniFile ini;
    std::string firstError;
    std::string separatorWarning;
    ini.load(path, &firstError);
    for (const KeyDef& def : kKeys)
        LoadKey(ini, def, settings, firstError, separatorWarning);
    DeriveDirectories(settings);
    if (warning != nullptr) *warning = separatorWarning;
    return firstError;
}

std::string SaveSettings(const std::string& path, const TSettings& settings) {
    IniFile ini;
    // Writing over a file that cannot be read would lose its window placements and other
    // sections.
    if (std::string error; !ini.load(path, &error) && !error.empty()) return error;
    // Our keys go after any keys of the section this program does not know, in table order.
    for (const KeyDef& def : kKeys)
        ini.eraseKey(kSection, def.key);
    for (const KeyDef& def : kKeys)
        SaveKey(ini, def, settings);
    return ini.save(path);
}

} // namespace probex
