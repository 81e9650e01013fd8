#include "project/ResultWindowSections.h"

#include "components/Prompter.h"
#include "project/ColorNames.h"
#include "project/ProjectDocument.h"
#include "project/ProjectLines.h"
#include "settings/NumberText.h"
#include "settings/Settings.h"
#include "simulation/OutputTable.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace probex {

namespace {

bool YesNoOr(const std::string& value, bool fallback) {
    const std::string lower = LowerAscii(value);
    if (lower == "yes") return true;
    if (lower == "no") return false;
    return fallback;
}

/// "yes" and "no" set a draw flag; anything else leaves it.
void SetDrawFlag(const std::string& value, bool& flag) {
    const std::string lower = LowerAscii(value);
    if (lower == "yes") flag = true;
    if (lower == "no") flag = false;
}

const char* YesNo(bool flag) {
    return flag ? "Yes" : "No";
}

/// Field n of the whole line, trimmed.
std::string TrimmedField(std::string_view line, char listSep, int n) {
    return TrimBlanks(ExtractField(line, std::string_view(&listSep, 1), n));
}

/// The coordinates of an object line as the doubles the objects keep; nullopt, after the
/// message, when one lies beyond the double range: saved as "INF" it could not be read back.
template <std::size_t N>
std::optional<std::array<double, N>> Coordinates(ProjectDocument& model,
                                                 const std::array<std::string, N>& texts) {
    std::array<double, N> values{};
    for (std::size_t i = 0; i < N; ++i) {
        values[i] = static_cast<double>(StrToExtended(texts[i], model.settings().DecimalSep));
        if (!std::isfinite(values[i])) {
            model.prompter().error("Coordinate " + texts[i] + " is out of range in 2D graph!");
            return std::nullopt;
        }
    }
    return values;
}

std::int32_t ColorField(std::string_view line, char listSep, int n, std::int32_t fallback) {
    const std::string field = TrimBlanks(ExtractField(line, std::string_view(&listSep, 1), n));
    return NameToColor(LowerAscii(field), fallback);
}

/// A PQ line index of a "q"/"p" key, or 0 when it is outside 1..256. Raises `PQLines`.
int PQIndex(ProjectDocument& model, const std::string& key) {
    const std::int32_t i = StrToInt(std::string_view(key).substr(1));
    if (i < 1 || i > PQLineSlots) return 0;
    TSettings& settings = model.settings();
    if (i > settings.PQLines) {
        settings.PQLines = i;
        model.resultWindows.observer().pqLineCountChanged(i);
    }
    return i;
}

void ReadObjectLine(ProjectDocument& model, const std::string& key, const std::string& value,
                    std::string_view line, PendingWindow& pending) {
    const TSettings& settings = model.settings();
    const char listSep = settings.ListSep;
    const std::int32_t fallback = settings.Plot2DObjectsColor;
    ObjectsRec& objects = pending.objects;
    if (key == "line") {
        if (objects.LineCount >= MaxObjectsOfKind) {
            model.prompter().error("Too many lines in 2D graph!");
            return;
        }
        const auto v =
            Coordinates<4>(model, {value, TrimmedField(line, listSep, 2),
                                   TrimmedField(line, listSep, 3), TrimmedField(line, listSep, 4)});
        if (!v) return;
        objects.Lines[static_cast<std::size_t>(objects.LineCount++)] = {
            (*v)[0], (*v)[1], (*v)[2], (*v)[3], ColorField(line, listSep, 5, fallback)};
        return;
    }
    const bool circle = key == "circle";
    std::int32_t& count = circle ? objects.CircleCount : objects.DotCount;
    if (count >= MaxObjectsOfKind) {
        model.prompter().error(circle ? "Too many circles in 2D graph!"
                                      : "Too many dots in 2D graph!");
        return;
    }
    const auto v = Coordinates<3>(
        model, {value, TrimmedField(line, listSep, 2), TrimmedField(line, listSep, 3)});
    if (!v) return;
    const std::int32_t color = ColorField(line, listSep, 4, fallback);
    if (circle)
        objects.Circles[static_cast<std::size_t>(count++)] = {(*v)[0], (*v)[1], (*v)[2], color};
    else
        objects.Dots[static_cast<std::size_t>(count++)] = {(*v)[0], (*v)[1], (*v)[2], color};
}

/// Steps 1 and 2 of finishing: the row of the variable, added when missing; 0 after a
/// message.
int ResolveRow(ProjectDocument& model, const std::string& name) {
    TOutputTable& outputs = model.outputs();
    // An empty name would find the first empty row.
    if (!name.empty() && outputs.FindOutputRow(name) == 0 &&
        outputs.AddOutputVariable(name, true) == 0) {
        model.prompter().error("Unable to add variable " + name + "!");
        return 0;
    }
    const int row = name.empty() ? 0 : outputs.FindOutputRow(name);
    if (row == 0) model.prompter().error("Unable to find variable " + name + "!");
    return row;
}

/// The activity cell raised to `level` unless it is already at or above it.
void RaiseActivity(TOutputTable& outputs, int row, Activity level) {
    const int current = ActivityLevel(outputs.cell(row, colActivity));
    if (current < static_cast<int>(level)) outputs.setCell(row, colActivity, ActivityWord(level));
}

bool FinishPQ(ProjectDocument& model, bool quantiles, PendingWindow& pending, int row) {
    TOutputTable& outputs = model.outputs();
    RaiseActivity(outputs, row, Activity::Histogram);
    outputs.setCell(row, colDiscrete, YesNo(pending.discrete));
    model.resultWindows.observer().outputRowCurrent(row);
    TGrdOVarSup& record = outputs.record(row);
    const int lines = std::clamp<std::int32_t>(model.settings().PQLines, 0, PQLineSlots);
    for (std::size_t i = 0; i < static_cast<std::size_t>(lines); ++i) {
        if (!quantiles) {
            record.probValues[i] = pending.probValues[i];
            continue;
        }
        const Extended p = pending.quantProbs[i];
        record.quantProbs[i] = p >= 0 && p <= 1 ? p : 0;
    }
    TPQWindowDesc window;
    window.variable = outputs.cell(row, colVariable);
    window.identification = pending.identification;
    window.discrete = pending.discrete;
    const auto& inputs = quantiles ? record.quantProbs : record.probValues;
    window.inputs.assign(inputs.begin(), inputs.end());
    record.windowIds[quantiles ? owQuantile : owProbability] = pending.identification;
    if (quantiles)
        model.resultWindows.openQuantile(window);
    else
        model.resultWindows.openProbability(window);
    return true;
}

bool Finish2D(ProjectDocument& model, PendingWindow& pending) {
    TOutputTable& outputs = model.outputs();
    const int rowH = ResolveRow(model, pending.variableH);
    if (rowH == 0) return false;
    outputs.setCell(rowH, colActivity, "Log");
    model.resultWindows.observer().outputRowCurrent(rowH);
    const int rowV = ResolveRow(model, pending.variableV);
    if (rowV == 0) return false;
    outputs.setCell(rowV, colActivity, "Log");
    model.resultWindows.observer().outputRowCurrent(rowV);

    T2DWindowDesc window;
    window.variableH = outputs.cell(rowH, colVariable);
    window.variableV = outputs.cell(rowV, colVariable);
    TObjectsTable& table = model.resultWindows.objects;
    const int index = table.ObtainObjectsRec(window.variableH, window.variableV);
    if (index > 0) {
        ObjectsRec& objects = table.record(index);
        objects.LineCount = pending.objects.LineCount;
        objects.CircleCount = pending.objects.CircleCount;
        objects.DotCount = pending.objects.DotCount;
        objects.Lines = pending.objects.Lines;
        objects.Circles = pending.objects.Circles;
        objects.Dots = pending.objects.Dots;
    }
    window.identification = pending.identification;
    window.colouration = pending.colouration;
    window.drawLines = pending.drawLines;
    window.drawCircles = pending.drawCircles;
    window.drawDots = pending.drawDots;
    model.resultWindows.open(window);
    return true;
}

bool FinishOne(ProjectDocument& model, ResultWindowKind kind, PendingWindow& pending) {
    if (kind == ResultWindowKind::TwoD) return Finish2D(model, pending);
    const int row = ResolveRow(model, pending.variable);
    if (row == 0) return false;
    if (kind == ResultWindowKind::Probability || kind == ResultWindowKind::Quantile)
        return FinishPQ(model, kind == ResultWindowKind::Quantile, pending, row);

    TOutputTable& outputs = model.outputs();
    TGrdOVarSup& record = outputs.record(row);
    const std::string name = outputs.cell(row, colVariable);
    if (kind == ResultWindowKind::Statistics) {
        // A statistics window has no discrete choice: the cell keeps what the table says.
        RaiseActivity(outputs, row, Activity::Statistics);
        model.resultWindows.observer().outputRowCurrent(row);
        record.windowIds[owStatistics] = pending.identification;
        model.resultWindows.open(TStatWindowDesc{name, pending.identification});
        return true;
    }
    RaiseActivity(outputs, row, Activity::Histogram);
    outputs.setCell(row, colDiscrete, YesNo(pending.discrete));
    outputs.setCell(row, colRecalculate, YesNo(pending.recalculate));
    model.resultWindows.observer().outputRowCurrent(row);
    record.markKinds = pending.markKinds;
    record.markValues = pending.markValues;
    record.windowIds[ow1D] = pending.identification;
    model.resultWindows.open(T1DWindowDesc{name, pending.identification, pending.discrete,
                                           pending.recalculate, pending.markKinds,
                                           pending.markValues});
    return true;
}

const char* ColourationCaption(std::int32_t colouration) {
    switch (colouration) {
    case 1:
        return "Freq";
    case 2:
        return "Prob";
    default:
        return "No";
    }
}

} // namespace

void ResetPendingWindow(PendingWindow& pending, const TSettings& settings) {
    pending = PendingWindow{};
    pending.discrete = settings.Discrete1D;
    pending.recalculate = settings.Recalc1D;
    pending.colouration = settings.Graph2DColouration;
    for (std::size_t k = 0; k < 4; ++k) {
        pending.markKinds[k] = settings.PQKinds[k] == PQKind::Q;
        pending.markValues[k] = settings.PQValues[k];
    }
    pending.drawLines = settings.Graph2DDrawLines;
    pending.drawCircles = settings.Graph2DDrawCircles;
    pending.drawDots = settings.Graph2DDrawDots;
}

void ReadWindowSectionLine(ProjectDocument& model, ResultWindowKind kind, PendingWindow& pending,
                           std::string_view line) {
    const TSettings& settings = model.settings();
    const KeyValue entry = ParseKeyValue(line, settings.ListSep);
    const std::string& key = entry.key;
    const std::string& value = entry.value;
    if (key == "identification") {
        pending.identification = FreeTextValue(line, settings.ListSep);
        return;
    }
    switch (kind) {
    case ResultWindowKind::Statistics:
        if (key == "variable") pending.variable = value;
        return;
    case ResultWindowKind::OneD:
        if (key == "variable") {
            pending.variable = value;
        } else if (key == "discrete") {
            pending.discrete = YesNoOr(value, settings.Discrete1D);
        } else if (key == "recalculate") {
            pending.recalculate = YesNoOr(value, settings.Recalc1D);
        } else if (!key.empty() && (key[0] == 'p' || key[0] == 'q')) {
            const std::int32_t n = StrToInt(std::string_view(key).substr(1));
            if (n < 1 || n > 4) return;
            const auto k = static_cast<std::size_t>(n - 1);
            pending.markKinds[k] = key[0] == 'q';
            pending.markValues[k] = StrToExtended(value, settings.DecimalSep);
        }
        return;
    case ResultWindowKind::TwoD:
        if (key == "variableh") {
            pending.variableH = value;
        } else if (key == "variablev") {
            pending.variableV = value;
        } else if (key == "colouration") {
            const std::string lower = LowerAscii(value);
            pending.colouration = lower == "freq" ? 1 : lower == "prob" ? 2 : 0;
        } else if (key == "drawlines") {
            SetDrawFlag(value, pending.drawLines);
        } else if (key == "drawcircles") {
            SetDrawFlag(value, pending.drawCircles);
        } else if (key == "drawdots") {
            SetDrawFlag(value, pending.drawDots);
        } else if (key == "line" || key == "circle" || key == "dot") {
            ReadObjectLine(model, key, value, line, pending);
        }
        return;
    case ResultWindowKind::Probability:
    case ResultWindowKind::Quantile: {
        if (key == "variable") {
            pending.variable = value;
            return;
        }
        if (key == "discrete") {
            pending.discrete = YesNoOr(value, settings.Discrete1D);
            return;
        }
        const char wanted = kind == ResultWindowKind::Probability ? 'q' : 'p';
        if (key.empty() || key[0] != wanted) return;
        const int i = PQIndex(model, key);
        if (i == 0) return;
        auto& slots =
            kind == ResultWindowKind::Probability ? pending.probValues : pending.quantProbs;
        slots[static_cast<std::size_t>(i - 1)] = StrToExtended(value, settings.DecimalSep);
        return;
    }
    }
}

bool FinishWindowSection(ProjectDocument& model, ResultWindowKind kind, PendingWindow& pending) {
    const bool opened = FinishOne(model, kind, pending);
    ResetPendingWindow(pending, model.settings());
    return opened;
}

std::string ResultWindowSectionsText(ProjectDocument& model) {
    const TSettings& settings = model.settings();
    const char sep = settings.DecimalSep;
    const std::string L(1, settings.ListSep);
    const auto fixed = [sep](Extended value) { return FormatStoredValue(value, sep); };
    const auto coordinate = [sep](double value) { return FormatStoredDouble(value, sep); };
    std::string text;
    const auto put = [&text](const std::string& line) { text += OneLine(line) + "\r\n"; };
    const auto identification = [&put](const std::string& id) {
        if (!id.empty()) put("Identification=" + id);
    };
    const TResultWindows& windows = model.resultWindows;

    for (const TStatWindowDesc& window : windows.statistics) {
        put("[Out.Statistics]");
        identification(window.identification);
        put("Variable=" + window.variable);
        put("");
    }
    for (const T1DWindowDesc& window : windows.oneD) {
        put("[Out.1D]");
        identification(window.identification);
        put("Variable=" + window.variable);
        put(std::string("Discrete=") + YesNo(window.discrete));
        put(std::string("Recalculate=") + YesNo(window.recalculate));
        for (std::size_t k = 0; k < 4; ++k)
            put((window.markKinds[k] ? "Q" : "P") + std::to_string(k + 1) + "=" +
                fixed(window.markValues[k]));
        put("");
    }
    const std::int32_t fallback = settings.Plot2DObjectsColor;
    for (const T2DWindowDesc& window : windows.twoD) {
        put("[Out.2D]");
        identification(window.identification);
        put("VariableH=" + window.variableH);
        put("VariableV=" + window.variableV);
        put(std::string("Colouration=") + ColourationCaption(window.colouration));
        put(std::string("DrawLines=") + YesNo(window.drawLines));
        const int index = windows.objects.FindObjectsRec(window.variableH, window.variableV);
        // A pair without objects still writes its circle and dot boxes, or a reading would
        // put the settings' defaults in their place.
        static const ObjectsRec none;
        const ObjectsRec& objects = index > 0 ? windows.objects.record(index) : none;
        for (std::int32_t i = 0; i < std::min(objects.LineCount, MaxObjectsOfKind); ++i) {
            const LineRec& l = objects.Lines[static_cast<std::size_t>(i)];
            put("Line=" + coordinate(l.X1) + L + coordinate(l.Y1) + L + coordinate(l.X2) + L +
                coordinate(l.Y2) + L + ColorToName(l.Color, fallback));
        }
        put(std::string("DrawCircles=") + YesNo(window.drawCircles));
        for (std::int32_t i = 0; i < std::min(objects.CircleCount, MaxObjectsOfKind); ++i) {
            const CircleRec& c = objects.Circles[static_cast<std::size_t>(i)];
            put("Circle=" + coordinate(c.X) + L + coordinate(c.Y) + L + coordinate(c.R) + L +
                ColorToName(c.Color, fallback));
        }
        put(std::string("DrawDots=") + YesNo(window.drawDots));
        for (std::int32_t i = 0; i < std::min(objects.DotCount, MaxObjectsOfKind); ++i) {
            const DotRec& d = objects.Dots[static_cast<std::size_t>(i)];
            put("Dot=" + coordinate(d.X) + L + coordinate(d.Y) + L + coordinate(d.R) + L +
                ColorToName(d.Color, fallback));
        }
        put("");
    }
    const std::size_t lines = static_cast<std::size_t>(std::clamp(settings.PQLines, 0, 256));
    const auto pqSections = [&](const std::vector<TPQWindowDesc>& list, const char* header,
                                const char* prefix) {
        for (const TPQWindowDesc& window : list) {
            put(header);
            identification(window.identification);
            put("Variable=" + window.variable);
            put(std::string("Discrete=") + YesNo(window.discrete));
            for (std::size_t i = 0; i < lines; ++i) {
                const Extended value = i < window.inputs.size() ? window.inputs[i] : 0;
                put(prefix + std::to_string(i + 1) + "=" + fixed(value));
            }
            put("");
        }
    };
    pqSections(windows.probabilities, "[Out.Probabilities]", "Q");
    pqSections(windows.quantiles, "[Out.Quantiles]", "P");
    return text;
}

} // namespace probex
