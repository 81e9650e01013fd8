#pragma once

#include "engine/Extended.h"
#include "variables/Tiis.h"

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace probex {

class Prompter;

/// A distribution file that cannot be used; the message names the fault, e.g.
/// "Negative frequency. Line 14!".
class ELoadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// A histogram as read from a distribution file.
struct TLis {
    Extended Min = 0;
    Extended Max = 0;
    DistKind Type = DistKind::dkUndefined; ///< dkDiscrete, dkContinuous, or dkUndefined
    HistogramForm Form = HistogramForm::Frequency;
    std::string Identification;
    std::string FileName; ///< without directory
    std::int32_t Bins = 0;
    std::vector<Extended> Data; ///< the numbers of the bins lines in file order
};

/// Separators in force for reading and writing distribution files.
struct DistributionFileFormat {
    char decimalSeparator = '.';
    char listSeparator = ',';
};

/// Parses the text of a distribution file (LF or CR LF lines) named `path` into `lis`.
/// Throws ELoadError with the fault's message; `lis` changes only on success.
void ParseDistributionText(std::string_view text, std::string_view path, TLis& lis,
                           const DistributionFileFormat& format);

/// Reads a distribution file into `lis`. On any failure shows the error box
/// "Distribution not defined!" and returns false; `loadError` (may be null) receives the
/// particular fault.
bool ReadDistributionFile(const std::string& path, TLis& lis, const DistributionFileFormat& format,
                          Prompter& prompter, std::string* loadError = nullptr);

/// The part of a path after the last "\", "/" or ":".
std::string FileNamePart(std::string_view path);

/// Finds the file named by the file-name part of `name` (which may be a path from another
/// system, such as "C:\Data\Beam.DIS") in the distributions directory, ignoring letter case.
/// Returns the full path, or empty when there is no such file.
std::string FindDistributionFile(std::string_view name, const std::string& distDirPath);

/// What a histogram result contributes to a distribution file.
struct DistributionFileContent {
    bool writeVariableName = false;
    std::string variableName;
    std::string identification;
    bool discrete = false;
    Extended min = 0;
    Extended max = 0;
    std::span<const std::int32_t> counts; ///< the occupied bins, first to last
};

/// The file's text, lines ended by CR LF, always in the frequency form.
std::string DistributionFileText(const DistributionFileContent& content,
                                 const DistributionFileFormat& format);

/// Writes the file through a temporary file in the same directory, so a failure leaves an
/// existing file untouched. Returns the system's message on failure, empty on success.
std::string WriteDistributionFile(const std::string& path, const DistributionFileContent& content,
                                  const DistributionFileFormat& format);

} // namespace probex
