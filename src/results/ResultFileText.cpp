#include "results/ResultFileText.h"

#include "settings/NumberText.h"
#include "simulation/OutHis.h"
#include "simulation/OutLog.h"
#include "simulation/OutStat.h"
#include "variables/DistributionFile.h"

#include <algorithm>
#include <cstddef>

namespace probex {

namespace {

constexpr std::string_view LineEnd = "\r\n";

/// Builds a file line by line: an optional label, then columns joined by the list separator.
class Lines {
public:
    explicit Lines(const ResultTextOptions& options) : m_options(options) {}

    void label(std::string_view text) {
        if (m_options.headers) m_text.append(text);
    }
    void separator() { m_text.push_back(m_options.listSeparator); }
    void value(Extended value) {
        m_text += FormatResultFileValue(value, m_options.decimalSeparator);
    }
    void raw(std::string_view text) { m_text.append(text); }
    void end() { m_text.append(LineEnd); }

    template <typename Column, typename Get>
    void row(std::string_view rowLabel, std::span<const Column> columns, Get get) {
        label(rowLabel);
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (i > 0) separator();
            value(get(columns[i]));
        }
        end();
    }

    template <typename Column> void nameLine(std::span<const Column> columns) {
        if (!m_options.names) return;
        label("Variable:");
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (i > 0) separator();
            raw(columns[i].name);
        }
        end();
    }

    std::string take() { return std::move(m_text); }

private:
    const ResultTextOptions& m_options;
    std::string m_text;
};

std::span<const std::int32_t> OccupiedBins(const TOutHis& his) {
    if (his.counts.empty()) return {};
    const auto first = static_cast<std::size_t>(std::clamp(his.firstBin, 0, his.binCount - 1));
    const auto last = static_cast<std::size_t>(std::clamp(his.lastBin, 0, his.binCount - 1));
    if (last < first) return {};
    return std::span<const std::int32_t>(his.counts).subspan(first, last - first + 1);
}

std::string PQFileText(std::string_view name, std::span<const Extended> inputs,
                       std::string_view inputLabel, std::span<const Extended> results,
                       std::string_view resultLabel, const PQTextOptions& options) {
    Lines lines(options);
    if (options.names) {
        lines.label("Variable:");
        lines.raw(name);
        lines.end();
    }
    const std::size_t count = std::min(inputs.size(), results.size());
    for (std::size_t i = 0; i < count; ++i) {
        if (!options.condensed) {
            lines.label(inputLabel);
            lines.value(inputs[i]);
            if (options.twoColumns)
                lines.separator();
            else
                lines.end();
        }
        lines.label(resultLabel);
        lines.value(results[i]);
        lines.end();
    }
    return lines.take();
}

} // namespace

std::string StatisticsFileText(std::span<const StatColumn> columns,
                               const ResultTextOptions& options) {
    Lines lines(options);
    lines.nameLine(columns);
    lines.row("Min:", columns, [](const StatColumn& c) { return c.stat->min; });
    lines.row("Max:", columns, [](const StatColumn& c) { return c.stat->max; });
    lines.row("Mean:", columns, [](const StatColumn& c) { return c.stat->mean; });
    lines.row("StDev:", columns, [](const StatColumn& c) { return c.stat->stdev; });
    lines.row("Vari:", columns, [](const StatColumn& c) { return c.stat->variance; });
    lines.row("CoVar:", columns, [](const StatColumn& c) { return c.stat->covar; });
    lines.row("Skew:", columns, [](const StatColumn& c) { return c.stat->skew; });
    lines.row("Kurt:", columns, [](const StatColumn& c) { return c.stat->kurt; });
    return lines.take();
}

std::string HistogramFileText(std::string_view name, const TOutHis& his,
                              const ResultTextOptions& options) {
    Lines lines(options);
    if (options.names) {
        lines.label("Variable:");
        lines.raw(name);
        lines.end();
    }
    lines.label("Min:");
    lines.raw(FormatGeneral3(his.histMin, options.decimalSeparator));
    lines.end();
    lines.label("Max:");
    lines.raw(FormatGeneral3(his.histMax, options.decimalSeparator));
    lines.end();
    std::int64_t number = 0;
    for (const std::int32_t count : OccupiedBins(his)) {
        ++number;
        if (options.headers) lines.raw(FormatInteger(number) + ":");
        lines.raw(FormatInteger(count));
        lines.end();
    }
    return lines.take();
}

std::string HistogramDisFileText(std::string_view name, std::string_view identification,
                                 const TOutHis& his, const ResultTextOptions& options) {
    DistributionFileContent content;
    content.writeVariableName = options.names;
    content.variableName = std::string(name);
    content.identification = std::string(identification);
    content.discrete = his.discrete;
    content.min = his.histMin;
    content.max = his.histMax;
    content.counts = OccupiedBins(his);
    return DistributionFileText(content, {options.decimalSeparator, options.listSeparator});
}

std::string HistogramStatisticsFileText(std::span<const HisColumn> columns,
                                        const ResultTextOptions& options, bool withMarks) {
    Lines lines(options);
    lines.nameLine(columns);
    lines.row("Min:", columns, [](const HisColumn& c) { return c.his->histMin; });
    lines.row("Max:", columns, [](const HisColumn& c) { return c.his->histMax; });
    lines.row("Mean:", columns, [](const HisColumn& c) { return c.his->mean; });
    lines.row("StDev:", columns, [](const HisColumn& c) { return c.his->stdev; });
    lines.row("Vari:", columns, [](const HisColumn& c) { return c.his->variance; });
    lines.row("CoVar:", columns, [](const HisColumn& c) { return c.his->covar; });
    lines.row("Skew:", columns, [](const HisColumn& c) { return c.his->skew; });
    lines.row("Kurt:", columns, [](const HisColumn& c) { return c.his->kurt; });
    lines.row("Med:", columns, [](const HisColumn& c) { return c.his->median; });
    if (!withMarks) return lines.take();
    for (std::size_t k = 0; k < 4; ++k) {
        // A Q mark gives a value and asks its probability; a P mark the other way round.
        const auto probability = [k](const HisColumn& c) {
            return c.his->markKinds[k] ? c.his->markResults[k] : c.his->markValues[k];
        };
        const auto quantile = [k](const HisColumn& c) {
            return c.his->markKinds[k] ? c.his->markValues[k] : c.his->markResults[k];
        };
        lines.row("P:", columns, probability);
        lines.row("Q:", columns, quantile);
    }
    return lines.take();
}

std::string LogFileText(std::span<const LogColumn> columns, std::int32_t steps, bool records,
                        const ResultTextOptions& options) {
    Lines lines(options);
    lines.nameLine(columns);
    std::int32_t rows = std::max(steps, 0);
    for (const LogColumn& column : columns)
        rows = std::min(rows, column.log->size());
    if (records) {
        lines.label("Records:");
        lines.raw(FormatInteger(rows));
        lines.end();
    }
    for (std::int32_t slot = 0; slot < rows; ++slot) {
        if (options.headers) lines.raw(FormatInteger(slot + 1) + ":");
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (i > 0) lines.separator();
            lines.value((*columns[i].log)[slot]);
        }
        lines.end();
    }
    return lines.take();
}

std::string ProbabilityFileText(std::string_view name, std::span<const Extended> values,
                                std::span<const Extended> probabilities,
                                const PQTextOptions& options) {
    return PQFileText(name, values, "Q:", probabilities, "P:", options);
}

std::string QuantileFileText(std::string_view name, std::span<const Extended> probabilities,
                             std::span<const Extended> quantiles, const PQTextOptions& options) {
    return PQFileText(name, probabilities, "P:", quantiles, "Q:", options);
}

} // namespace probex
