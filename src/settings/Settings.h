#pragma once

#include "engine/Extended.h"

#include <array>
#include <cstdint>
#include <string>

namespace probex {

/// Layout of a kind of result file: one file for all variables, or one per variable.
enum class ResultFileLayout : std::uint8_t { Single, Multiple };

/// Kind of a default 1D mark: P reports the quantile of a probability, Q the probability of a
/// variable value.
enum class PQKind : std::uint8_t { P, Q };

/// Colouration of 2D windows, stored as "No", "Freq" or "Prob".
enum Graph2DColourationKind : std::int32_t { ColourNo = 0, ColourFreq = 1, ColourProb = 2 };

/// The most threads the setting `Threads` and `--threads` accept.
inline constexpr std::int32_t MaxThreads = 1024;

/// The settings in force: every key of section "Settings" of Probex.ini, with the values
/// derived from them. Members carry the key names; the three separator keys are held as
/// `ListSep`, `DecimalSep` and `CommentSep`. Colours are 0x00BBGGRR.
struct TSettings {
    // Environment, taken before the file is read.
    std::string AppDir;           ///< directory the directory settings are relative to, ends "/"
    char WindowsDecimalSep = '.'; ///< decimal point of the environment's numeric locale
    char WindowsListSep = ',';    ///< ";" when that decimal point is ",", else ","

    // General
    char ListSep = ',';    ///< key ListSeparator
    char DecimalSep = '.'; ///< key DecimalSeparator: the decimal separator of all number texts
    char CommentSep = ';'; ///< key CommentSeparator
    bool SaveWinPos = true;
    bool RewriteIDs = true;
    bool IgnoreUnsupParams = false;
    bool DefInVarsConst = false;
    std::int32_t DefOutVars = 0; ///< 0 Inactive, 1 Statistics, 2 Histogram, 3 Log

    // Refresh
    std::int32_t RefreshRateStat = 1000;
    std::int32_t RefreshStatStat = 2; ///< 0 "Min,Max", 1 "Min,Max,Mean,StDev", 2 "All"
    std::int32_t RefreshRate1D = 1000;
    bool RefreshGraph = true;
    bool RefreshProb = false;
    std::int32_t Refresh1DStat = 3; ///< 0 "None", 1 "Min,Max", 2 "Min,Max,Mean,StDev", 3 "All"
    std::int32_t RefreshRate2D = 10000;
    std::int32_t RefreshRatePQ = 10000;

    // Display
    std::int32_t Graph1DBarWidth = 5;
    std::int32_t Graph2DColouration = ColourNo;
    bool Graph2DDrawLines = false;
    bool Graph2DDrawCircles = false;
    bool Graph2DDrawDots = false;

    // Save
    ResultFileLayout StatisticsFiles = ResultFileLayout::Single;
    bool StatisticsHeaders = false;
    bool StatisticsNames = false;
    bool HistogramDisFormat = false;
    bool HistogramHeaders = false;
    bool HistogramNames = false;
    ResultFileLayout HistogramStatisticsFiles = ResultFileLayout::Single;
    bool HistogramStatisticsHeaders = false;
    bool HistogramStatisticsNames = false;
    ResultFileLayout LogFiles = ResultFileLayout::Single;
    bool LogHeaders = false;
    bool LogNames = false;
    bool LogRecords = false;
    ResultFileLayout PQFiles = ResultFileLayout::Single;
    bool PQHeaders = false;
    bool PQNames = false;
    bool PQCondensed = false;
    bool PQTwoColumns = false;

    // Output
    std::int32_t PQLines = 16;
    std::int32_t HistogramSize = 1024;
    bool HisStatIn1D = false;
    bool Discrete1D = false;
    bool Recalc1D = false;
    /// Keys "1PQ" to "4PQ": index 0 is mark 1.
    std::array<PQKind, 4> PQKinds{PQKind::Q, PQKind::Q, PQKind::Q, PQKind::Q};
    /// Keys "1PQVal" to "4PQVal": index 0 is mark 1.
    std::array<Extended, 4> PQValues{0.9L, 0.8L, 0.7L, 0.6L};

    // Colours
    std::int32_t PlotDisColor = 32768;
    std::int32_t ResultsColor = 65535;
    std::int32_t Plot1DColor = 255;
    std::int32_t Mark1Color = 16711680;
    std::int32_t Mark2Color = 16711935;
    std::int32_t Mark3Color = 32768;
    std::int32_t Mark4Color = 8388608;
    std::int32_t Plot2DColor = 8388608;
    std::int32_t Freq2DStartColor = 8388608;
    std::int32_t Freq2DEndColor = 255;
    std::int32_t Prob2DStartColor = 8388608;
    std::int32_t Prob2DEndColor = 255;
    std::int32_t Plot2DObjectsColor = 65280;

    // Directories, as entered ("\" and drive letters kept)
    std::string InputDir;   ///< default AppDir + "Inputs"
    std::string ResultsDir; ///< default AppDir + "Results"
    std::string DistDir;    ///< default AppDir + "Distributions"
    bool InputOverwritePrompt = false;
    bool ResultsOverwritePrompt = false;
    bool InputFilenamePrompt = false;
    bool ResultsFilenamePrompt = false;

    // Generator
    std::int32_t Generator = 0; ///< 0 "Simple", 1 "Shuffled", 2 "Shuffled custom", 3 "Parallel"
    std::int32_t Seed1 = 0;
    std::int32_t Seed2 = 0;
    std::int32_t InitialSampling = 0; ///< 0 or 1
    /// Threads of a run with the "Parallel" generator; 0 is every core of the machine. The
    /// results are the same for any number.
    std::int32_t Threads = 0;

    // Derived from the directory settings (DeriveDirectories); "/" separated
    std::string InputDirPath;
    std::string ResultsDirPath;
    std::string DistDirPath;

    bool operator==(const TSettings&) const = default;
};

/// The decimal point of the environment's numeric locale (LC_NUMERIC / LANG), "." when it
/// cannot be found. Reads the environment only; the process's locale is not changed.
char SystemDecimalSeparator();

/// ";" when the decimal separator is ",", else ",".
char ListSeparatorFor(char decimalSeparator);

/// Sets `WindowsDecimalSep` and `WindowsListSep` from the environment.
void TakeSystemSeparators(TSettings& settings);

/// Every key to its default for the `AppDir` and Windows separators already in `settings`,
/// and the directories in force derived.
void ResetSettings(TSettings& settings);

/// A settings object for a program directory: system separators taken, all defaults.
TSettings MakeDefaultSettings(const std::string& appDir);

/// The directory in force for a stored directory setting: empty gives `appDir`; ".\x" or
/// "./x" gives `appDir` + "x"; anything else stands as it is. "\" becomes "/".
std::string DirectoryInForce(const std::string& stored, const std::string& appDir);

/// Derives `InputDirPath`, `ResultsDirPath` and `DistDirPath`.
void DeriveDirectories(TSettings& settings);

/// Why files written with these separators could not be read back, empty when they can: the
/// two are the same character ("1,5" would be two fields), or one is "=" (the key-value
/// lines), or the list separator is a blank (the parameter cells hold blanks).
std::string SeparatorProblem(char listSeparator, char decimalSeparator);

/// Reads section "Settings" of the file at `path` into `settings`; `AppDir` and the Windows
/// separators must be set first. A missing or unreadable file reads as all keys missing.
/// Returns the conversion message of the first mark value ("1PQVal".."4PQVal") that is not a
/// number (that mark keeps its default and every other key is still read), empty when all
/// converted. Separators with a SeparatorProblem both fall back to the Windows ones; `warning`
/// then receives the message.
std::string LoadSettings(const std::string& path, TSettings& settings,
                         std::string* warning = nullptr);

/// Writes every key to section "Settings" of the file at `path`, in table order, keeping
/// every other section and key of the file. The file is replaced atomically. Returns the
/// error text (with the system's message) or empty on success; on failure the old file is
/// unchanged.
std::string SaveSettings(const std::string& path, const TSettings& settings);

} // namespace probex
