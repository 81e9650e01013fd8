#include "results/SaveResults.h"

#include "results/ResultFileText.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "simulation/HisCompute.h"
#include "simulation/OutputTable.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <system_error>

namespace probex {

namespace {

struct KindText {
    const char* caption;
    const char* extension;
    const char* title;
    const char* filter;
};

constexpr std::array<KindText, ResultKindCount> KindTexts{{
    {"Statistics", "sta", "Save output statistics", "Statistics file|*.sta"},
    {"Histograms", "his", "Save output histogram", "Histogram file|*.his"},
    {"Histogram statistics", "hsta", "Save histogram statistics",
     "Histogram statistics file|*.hsta"},
    {"Logs", "log", "Save output log", "Log file|*.log"},
    {"Probabilities", "prob", "Save output probabilities", "Probabilities file|*.prob"},
    {"Quantiles", "quan", "Save output quantiles", "Quantiles file|*.quan"},
}};

const KindText& TextsOf(ResultKind kind) {
    return KindTexts[static_cast<std::size_t>(kind)];
}

bool HasAccumulatorFor(ResultKind kind, const TOutVar& var) {
    switch (kind) {
    case ResultKind::Statistics:
        return var.Stat != nullptr;
    case ResultKind::Logs:
        return var.Log != nullptr;
    default:
        return var.His != nullptr && !var.His->counts.empty();
    }
}

/// Writes one save command's files; stops at the first file that cannot be written.
class ResultsSaver {
public:
    ResultsSaver(TOutputTable& outputs, const TSettings& settings, Prompter& prompter,
                 const SaveResultsOptions& options)
        : m_outputs(outputs), m_settings(settings), m_prompter(prompter), m_options(options) {
        m_directory = options.directory.empty() ? settings.ResultsDirPath : options.directory;
        if (!m_directory.empty() && m_directory.back() != '/') m_directory.push_back('/');
    }

    bool save(ResultKind kind, const std::vector<int>& rows) {
        std::vector<TOutVar*> vars;
        for (const int row : rows) {
            TOutVar* var = usable(kind, row);
            if (var != nullptr && std::find(vars.begin(), vars.end(), var) == vars.end())
                vars.push_back(var);
        }
        if (vars.empty()) return true;
        switch (kind) {
        case ResultKind::Statistics:
            return saveStatistics(vars);
        case ResultKind::Histograms:
            return saveHistograms(vars);
        case ResultKind::HistogramStatistics:
            return saveHistogramStatistics(vars);
        case ResultKind::Logs:
            return saveLogs(vars);
        case ResultKind::Probabilities:
        case ResultKind::Quantiles:
            return savePQ(kind, vars);
        }
        return true;
    }

    SaveResultsReport takeReport() { return std::move(m_report); }

private:
    TOutVar* usable(ResultKind kind, int row) {
        if (row < 1 || row > OutputRows || name(row).empty()) return nullptr;
        const int index = m_outputs.FindActiveIndex(row);
        if (index == 0) return nullptr;
        TOutVar& var = m_outputs.runTable().item(index);
        return HasAccumulatorFor(kind, var) ? &var : nullptr;
    }

    const std::string& name(int row) const { return m_outputs.cell(row, colVariable); }

    ResultTextOptions textOptions(bool names, bool headers) const {
        return {m_settings.ListSep, m_settings.DecimalSep, names, headers};
    }

    std::string singleName(ResultKind kind) const {
        return ResultFileBaseName(m_options.projectFile) + "." + ResultExtension(kind, m_settings);
    }

    std::string variableName(ResultKind kind, const TOutVar& var) const {
        return name(var.Row) + "." + ResultExtension(kind, m_settings);
    }

    bool saveStatistics(const std::vector<TOutVar*>& vars) {
        const ResultTextOptions options =
            textOptions(m_settings.StatisticsNames, m_settings.StatisticsHeaders);
        std::vector<StatColumn> columns;
        for (TOutVar* var : vars) {
            StatCompute(*var->Stat, 2);
            columns.push_back({name(var->Row), var->Stat.get()});
        }
        if (ResultSingleFile(ResultKind::Statistics, m_settings))
            return writeFile(ResultKind::Statistics, singleName(ResultKind::Statistics),
                             [&] { return StatisticsFileText(columns, options); });
        for (std::size_t i = 0; i < vars.size(); ++i) {
            if (!writeFile(ResultKind::Statistics, variableName(ResultKind::Statistics, *vars[i]),
                           [&] {
                               return StatisticsFileText({&columns[i], 1}, options);
                           }))
                return false;
        }
        return true;
    }

    bool saveHistograms(const std::vector<TOutVar*>& vars) {
        const ResultTextOptions options =
            textOptions(m_settings.HistogramNames, m_settings.HistogramHeaders);
        for (TOutVar* var : vars) {
            HisCompute(*var->His, 3, true);
            const auto text = [&] {
                if (m_settings.HistogramDisFormat)
                    return HistogramDisFileText(
                        name(var->Row), m_outputs.cell(var->Row, colComment), *var->His, options);
                return HistogramFileText(name(var->Row), *var->His, options);
            };
            if (!writeFile(ResultKind::Histograms, variableName(ResultKind::Histograms, *var),
                           text))
                return false;
        }
        return true;
    }

    bool saveHistogramStatistics(const std::vector<TOutVar*>& vars) {
        constexpr ResultKind kind = ResultKind::HistogramStatistics;
        const ResultTextOptions options =
            textOptions(m_settings.HistogramStatisticsNames, m_settings.HistogramStatisticsHeaders);
        std::vector<HisColumn> columns;
        for (TOutVar* var : vars) {
            HisCompute(*var->His, 3, true);
            columns.push_back({name(var->Row), var->His.get()});
        }
        if (ResultSingleFile(kind, m_settings))
            return writeFile(kind, singleName(kind),
                             [&] { return HistogramStatisticsFileText(columns, options, false); });
        for (std::size_t i = 0; i < vars.size(); ++i) {
            if (!writeFile(kind, variableName(kind, *vars[i]), [&] {
                    return HistogramStatisticsFileText({&columns[i], 1}, options, true);
                }))
                return false;
        }
        return true;
    }

    bool saveLogs(const std::vector<TOutVar*>& vars) {
        constexpr ResultKind kind = ResultKind::Logs;
        const ResultTextOptions options = textOptions(m_settings.LogNames, m_settings.LogHeaders);
        const bool records = m_settings.LogRecords;
        const std::int32_t steps = m_options.stepsDone;
        std::vector<LogColumn> columns;
        for (TOutVar* var : vars)
            columns.push_back({name(var->Row), var->Log.get()});
        if (ResultSingleFile(kind, m_settings))
            return writeFile(kind, singleName(kind),
                             [&] { return LogFileText(columns, steps, records, options); });
        for (std::size_t i = 0; i < vars.size(); ++i) {
            if (!writeFile(kind, variableName(kind, *vars[i]), [&] {
                    return LogFileText({&columns[i], 1}, steps, records, options);
                }))
                return false;
        }
        return true;
    }

    bool savePQ(ResultKind kind, const std::vector<TOutVar*>& vars) {
        PQTextOptions options;
        static_cast<ResultTextOptions&>(options) =
            textOptions(m_settings.PQNames, m_settings.PQHeaders);
        options.condensed = m_settings.PQCondensed;
        options.twoColumns = m_settings.PQTwoColumns && !m_settings.PQCondensed;
        const auto lines = static_cast<std::size_t>(std::clamp(m_settings.PQLines, 1, PQLineSlots));
        const bool probabilities = kind == ResultKind::Probabilities;
        for (TOutVar* var : vars) {
            TOutHis& his = *var->His;
            TGrdOVarSup& record = m_outputs.record(var->Row);
            // The window's table may predate the last steps: recompute it as the window would.
            HisCompute(his, 3, true);
            for (std::size_t i = 0; i < lines; ++i) {
                if (probabilities)
                    record.probResults[i] = HisProbability(his, record.probValues[i]);
                else
                    record.quantResults[i] = HisQuantile(his, record.quantProbs[i]);
            }
            const auto text = [&] {
                if (probabilities)
                    return ProbabilityFileText(name(var->Row),
                                               std::span(record.probValues).first(lines),
                                               std::span(record.probResults).first(lines), options);
                return QuantileFileText(name(var->Row), std::span(record.quantProbs).first(lines),
                                        std::span(record.quantResults).first(lines), options);
            };
            if (!writeFile(kind, variableName(kind, *var), text)) return false;
        }
        return true;
    }

    /// The path to write `fileName` to; nullopt when the person cancelled.
    std::optional<std::string> choosePath(ResultKind kind, const std::string& fileName) {
        if (!m_options.prompts || !m_settings.ResultsFilenamePrompt) {
            if (!m_directoryMade && !m_directory.empty()) {
                std::error_code ignored; // a failure shows when the file is written
                std::filesystem::create_directories(m_directory, ignored);
                m_directoryMade = true;
            }
            return m_directory + fileName;
        }
        Prompter::FileRequest request = ResultFileRequest(kind, m_settings, fileName);
        for (;;) {
            std::optional<std::string> chosen = m_prompter.chooseFile(request);
            if (!chosen || chosen->empty()) return std::nullopt;
            std::error_code ignored;
            if (!m_settings.ResultsOverwritePrompt || !std::filesystem::exists(*chosen, ignored))
                return chosen;
            // As a save dialog does: "No" goes back to the dialog.
            if (m_prompter.confirm(*chosen + " already exists.\nDo you want to replace it?",
                                   Prompter::Buttons::YesNo) == Prompter::Answer::Yes)
                return chosen;
            request.fileName = *chosen;
        }
    }

    bool writeFile(ResultKind kind, const std::string& fileName,
                   const std::function<std::string()>& text) {
        if (m_options.interrupted && m_options.interrupted()) {
            m_report.ok = false;
            m_report.interrupted = true;
            return false;
        }
        const std::optional<std::string> path = choosePath(kind, fileName);
        if (!path) return true;
        const std::string error = WriteFileAtomically(*path, text());
        if (!error.empty()) {
            m_prompter.error(error);
            m_report.ok = false;
            return false;
        }
        m_report.files.push_back(*path);
        return true;
    }

    TOutputTable& m_outputs;
    const TSettings& m_settings;
    Prompter& m_prompter;
    const SaveResultsOptions& m_options;
    std::string m_directory;
    bool m_directoryMade = false;
    SaveResultsReport m_report;
};

} // namespace

const char* ResultKindCaption(ResultKind kind) {
    return TextsOf(kind).caption;
}

std::string ResultExtension(ResultKind kind, const TSettings& settings) {
    if (kind == ResultKind::Histograms && settings.HistogramDisFormat) return "dis";
    return TextsOf(kind).extension;
}

bool ResultSingleFile(ResultKind kind, const TSettings& settings) {
    switch (kind) {
    case ResultKind::Statistics:
        return settings.StatisticsFiles == ResultFileLayout::Single;
    case ResultKind::HistogramStatistics:
        return settings.HistogramStatisticsFiles == ResultFileLayout::Single;
    case ResultKind::Logs:
        return settings.LogFiles == ResultFileLayout::Single;
    default:
        return false; // histograms, probabilities and quantiles: always one file per variable
    }
}

Prompter::FileRequest ResultFileRequest(ResultKind kind, const TSettings& settings,
                                        const std::string& fileName) {
    Prompter::FileRequest request;
    request.save = true;
    request.title = TextsOf(kind).title;
    request.filter = TextsOf(kind).filter;
    if (kind == ResultKind::Histograms && settings.HistogramDisFormat)
        request.filter = "Distribution file|*.dis";
    request.defaultExtension = ResultExtension(kind, settings);
    request.initialDirectory = settings.ResultsDirPath;
    request.fileName = fileName;
    return request;
}

std::string ResultFileBaseName(const std::string& projectFile) {
    const auto slash = projectFile.find_last_of("/\\:");
    std::string base = slash == std::string::npos ? projectFile : projectFile.substr(slash + 1);
    const auto dot = base.rfind('.');
    if (dot != std::string::npos && dot > 0) base.erase(dot);
    return base.empty() ? "Untitled" : base;
}

std::vector<ResultEntry> QualifyingResults(const TOutputTable& outputs,
                                           std::span<const int> probabilityWindowRows,
                                           std::span<const int> quantileWindowRows) {
    std::vector<ResultEntry> entries;
    const TOutVarSet& run = outputs.runTable();
    const auto qualifies = [&](ResultKind kind, int row) {
        if (row < 1 || row > OutputRows || outputs.cell(row, colVariable).empty()) return false;
        const int index = run.FindActiveIndex(row);
        return index != 0 && HasAccumulatorFor(kind, run.item(index));
    };
    for (int k = 0; k <= static_cast<int>(ResultKind::Logs); ++k) {
        const auto kind = static_cast<ResultKind>(k);
        for (std::int32_t i = 1; i <= run.count(); ++i)
            if (qualifies(kind, run.item(i).Row)) entries.push_back({kind, run.item(i).Row});
    }
    const auto windows = [&](ResultKind kind, std::span<const int> rows) {
        const auto first = entries.size();
        for (const int row : rows) {
            const ResultEntry entry{kind, row};
            if (qualifies(kind, row) && std::find(entries.begin() + static_cast<long>(first),
                                                  entries.end(), entry) == entries.end())
                entries.push_back(entry);
        }
    };
    windows(ResultKind::Probabilities, probabilityWindowRows);
    windows(ResultKind::Quantiles, quantileWindowRows);
    return entries;
}

SaveResultsReport SaveResults(TOutputTable& outputs, const TSettings& settings, Prompter& prompter,
                              std::span<const ResultEntry> entries,
                              const SaveResultsOptions& options) {
    ResultsSaver saver(outputs, settings, prompter, options);
    for (int k = 0; k < ResultKindCount; ++k) {
        const auto kind = static_cast<ResultKind>(k);
        std::vector<int> rows;
        for (const ResultEntry& entry : entries)
            if (entry.kind == kind) rows.push_back(entry.row);
        if (!saver.save(kind, rows)) break;
    }
    return saver.takeReport();
}

} // namespace probex
