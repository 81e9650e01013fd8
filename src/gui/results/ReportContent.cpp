#include "gui/results/ReportContent.h"

#include "gui/results/OptionGroup.h"
#include "gui/results/ReportWriter.h"
#include "gui/sensitivity/SensitivityReport.h"
#include "model/ProjectModel.h"
#include "settings/NumberText.h"
#include "settings/Settings.h"
#include "simulation/HisCompute.h"
#include "simulation/OutStat.h"

#include <QDateTime>
#include <QLocale>

#include <algorithm>
#include <functional>
#include <optional>

namespace probex {

namespace {

const QString Report = QStringLiteral("Report");
const QString ProjectReport = QStringLiteral("Project report");
const QString InputVariables = QStringLiteral("Input variables");
const QString OutputVariables = QStringLiteral("Output variables");
const QString Parameters = QStringLiteral("Parameters");
const QString ProbsAndQuants = QStringLiteral("Probs & Quants");
const QString Comment = QStringLiteral("Comment");
const QString ResultNode = QStringLiteral("Result");
const QStringList GraphCaptions = {QStringLiteral("Histogram"),
                                   QStringLiteral("Distribution function"),
                                   QStringLiteral("Quantile function")};
constexpr double GraphAspect = 0.5;
constexpr int PQReportLines = 16;

/// The sections of windows, in report order, with the kind each lists.
const std::array<std::pair<const char*, ResultWindowKind>, 4> WindowSections{{
    {"1D", ResultWindowKind::OneD},
    {"2D", ResultWindowKind::TwoD},
    {"Probabilities", ResultWindowKind::Probability},
    {"Quantiles", ResultWindowKind::Quantile},
}};

QString Q(const std::string& text) {
    return QString::fromLatin1(text.c_str());
}

TReportNode Leaf(const QString& caption) {
    return {caption, true, {}};
}

TReportNode Node(const QString& caption, const QStringList& children) {
    TReportNode node{caption, true, {}};
    for (const QString& child : children)
        node.children << Leaf(child);
    return node;
}

/// Writes the report in order, every value in the program's fixed form.
class ReportBuilder {
public:
    ReportBuilder(TReportWriter& writer, ProjectModel& model, const TReportOptions& options,
                  TReportGraphs& graphs)
        : m_writer(writer), m_model(model), m_options(options), m_graphs(graphs),
          m_separator(model.settings().DecimalSep) {}

    void write(const TReportNode& tree) {
        if (!tree.checked) return;
        const std::array<std::pair<QString, void (ReportBuilder::*)(const TReportNode&)>, 3>
            sections{{{ProjectReport, &ReportBuilder::projectReport},
                      {InputVariables, &ReportBuilder::inputVariables},
                      {OutputVariables, &ReportBuilder::outputVariables}}};
        for (const auto& [caption, write] : sections) {
            const TReportNode* node = tree.child(caption);
            if (!node || !node->checked) continue;
            (this->*write)(*node);
            sectionEnd();
        }
        for (const auto& [caption, kind] : WindowSections) {
            const TReportNode* node = tree.child(QString::fromLatin1(caption));
            if (!node || !node->checked) continue;
            windows(*node, kind);
            if (kind != ResultWindowKind::Quantile) sectionEnd();
        }
        if (const TReportNode* node = tree.child(QStringLiteral("Sensitivity"));
            node && node->checked) {
            sectionEnd();
            WriteSensitivityReport(m_writer, m_model, *node);
        }
    }

private:
    void sectionEnd() {
        if (m_options.separatePages) m_writer.newPage();
    }

    QString value(Extended v) const { return Q(FormatResultValue(v, m_separator)); }

    void projectReport(const TReportNode& node) {
        const QLocale locale;
        const QDateTime now = QDateTime::currentDateTime();
        if (node.has(QStringLiteral("Date & Time")))
            m_writer.line(QStringLiteral("Date: ") +
                          locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
                          locale.toString(now.time(), QLocale::LongFormat));
        if (node.has(QStringLiteral("File")))
            m_writer.line(QStringLiteral("Project: ") + Q(m_model.currentProjectFile));
        if (node.has(QStringLiteral("Identification")))
            m_writer.line(QStringLiteral("Identification: ") + Q(m_model.identification));
        if (node.has(QStringLiteral("Steps")))
            m_writer.line(QStringLiteral("Steps: ") +
                          QString::number(m_model.resultsExist() ? m_model.stepCounter() : 0));
        m_writer.line({});
        if (node.has(QStringLiteral("Equations"))) {
            m_writer.section(QStringLiteral("Equations"));
            for (const std::string& line : m_model.equations)
                m_writer.line(Q(line));
            m_writer.line({});
        }
        if (node.has(QStringLiteral("Out equations"))) {
            m_writer.section(QStringLiteral("Out Equations"));
            for (const std::string& line : m_model.outEquationLines)
                m_writer.line(Q(line));
        }
        if (node.has(ResultNode)) outResult();
    }

    /// What the out equations found, with the precision of its probability.
    void outResult() {
        const TOutEquations& out = m_model.outEquations();
        if (!out.hasResult() || out.evalSettings().Mode == OutEvalMode::Inactive) return;
        const TProbabilityEstimate& estimate = out.result().Estimate;
        m_writer.line({});
        if (out.evalSettings().Mode == OutEvalMode::Parameter) {
            m_writer.line(QStringLiteral("Parameter: ") + Q(out.result().Text));
            m_writer.line(QStringLiteral("Probability: ") + value(estimate.Probability));
        } else {
            m_writer.line(QStringLiteral("Probability: ") + Q(out.result().Text));
        }
        // A method other than Monte Carlo gives its own precision lines, as the batch prints.
        if (out.usesReliability()) {
            for (const std::string& line : ReliabilityLines(out.reliabilityResult(), m_separator))
                m_writer.line(Q(line));
        } else {
            m_writer.line(Q(EstimateLine(estimate, m_separator)));
        }
    }

    void inputVariables(const TReportNode& node) {
        const TInputTable& inputs = m_model.inputs();
        for (int row = 1; row <= TInputTable::RowCount; ++row) {
            const QString name = Q(inputs.cell(row, InputColumn::Variable));
            const TReportNode* variable = node.child(name);
            if (name.isEmpty() || !variable || !variable->checked) continue;
            m_writer.heading(QStringLiteral("Input variable ") + name);
            const TIis& iis = inputs.record(row);
            if (variable->has(QStringLiteral("Distribution")))
                m_writer.line(QStringLiteral("Type: ") + Q(inputs.cell(row, InputColumn::Type)));
            if (variable->has(Parameters)) {
                if (iis.Kind == DistKind::dkConstant)
                    m_writer.line(QStringLiteral("Value: ") + value(iis.Loc));
                else
                    m_writer.columns(nineValues(iis));
            }
            if (variable->has(Comment))
                m_writer.line(QStringLiteral("Comment: ") +
                              Q(inputs.cell(row, InputColumn::Comment)));
            if (iis.Kind != DistKind::dkConstant && iis.Kind != DistKind::dkStepNumber)
                variableGraphs(*variable, [&](int kind, QPainter& painter, const QRect& target) {
                    m_graphs.inputGraph(row, kind, painter, target);
                });
            if (m_options.inputsSeparate) m_writer.newPage();
        }
        correlations();
    }

    /// The rank correlations of the pairs of inputs, when the project has any.
    void correlations() {
        if (m_model.correlations.empty()) return;
        m_writer.heading(QStringLiteral("Correlations (rank, Spearman)"));
        for (const TCorrelation& pair : m_model.correlations.pairs())
            m_writer.line(Q(pair.name1) + QStringLiteral(", ") + Q(pair.name2) +
                          QStringLiteral(": ") + Q(FormatShortest(pair.value, m_separator)));
        m_writer.line({});
    }

    /// The variable's ticked graphs, each under its caption.
    void variableGraphs(const TReportNode& variable,
                        const std::function<void(int, QPainter&, const QRect&)>& draw) {
        for (int kind = 0; kind < 3; ++kind) {
            if (!variable.has(GraphNodeCaptions()[kind])) continue;
            m_writer.graph(
                GraphCaptions[kind], GraphAspect,
                [&](QPainter& painter, const QRect& target) { draw(kind, painter, target); });
        }
    }

    QStringList nineValues(const TIis& iis) const {
        const TStatShown& shown = iis.StatShown;
        const auto shownValue = [this](bool show, Extended v) {
            return show ? value(v) : QString();
        };
        return {QStringLiteral("Minimum: ") + value(iis.Min),
                QStringLiteral("Median: ") + shownValue(shown.Median, iis.Median),
                QStringLiteral("Maximum: ") + value(iis.Max),
                QStringLiteral("Mean: ") + shownValue(shown.Mean, iis.Mean),
                QStringLiteral("Variance: ") + shownValue(shown.Variance, iis.Variance),
                QStringLiteral("StDeviation: ") + shownValue(shown.StDev, iis.StDev),
                QStringLiteral("CoVar: ") + shownValue(shown.CoVar, iis.CoVar),
                QStringLiteral("Skewnes: ") + shownValue(shown.Skew, iis.Skew),
                QStringLiteral("Kurtosis: ") + shownValue(shown.Kurt, iis.Kurt)};
    }

    QStringList nineValues(const TOutHis& his) const {
        const QString covar = his.covarValid ? value(his.covar) : QString();
        return {QStringLiteral("Minimum: ") + value(his.histMin),
                QStringLiteral("Median: ") + value(his.median),
                QStringLiteral("Maximum: ") + value(his.histMax),
                QStringLiteral("Mean: ") + value(his.mean),
                QStringLiteral("Variance: ") + value(his.variance),
                QStringLiteral("StDeviation: ") + value(his.stdev),
                QStringLiteral("CoVar: ") + covar,
                QStringLiteral("Skewnes: ") + value(his.skew),
                QStringLiteral("Kurtosis: ") + value(his.kurt)};
    }

    /// The run-table entry of a row's variable while results exist, else nullptr.
    TOutVar* runEntry(int row) {
        if (!m_model.resultsExist()) return nullptr;
        const int index = m_model.outputs().FindActiveIndex(row);
        return index > 0 ? &m_model.outputs().runTable().item(index) : nullptr;
    }

    TOutHis* histogram(int row) {
        TOutVar* var = runEntry(row);
        if (!var || !var->His) return nullptr;
        HisCompute(*var->His, 3, true);
        return var->His.get();
    }

    void marksTable(int row) {
        const TGrdOVarSup& record = m_model.outputs().record(row);
        const TOutHis* his = histogram(row);
        QList<std::pair<QString, QString>> rows;
        for (int k = 0; k < 4; ++k) {
            const QString given = value(record.markValues[k]);
            const QString found = his && his->rangeSet ? value(his->markResults[k]) : QString();
            // A mark gives either the value (its probability is looked for) or the probability.
            if (record.markKinds[k])
                rows.append({found, given});
            else
                rows.append({given, found});
        }
        m_writer.table(QStringLiteral("Probabilities"), QStringLiteral("Quantiles"), rows);
    }

    void outputVariables(const TReportNode& node) {
        TOutputTable& outputs = m_model.outputs();
        for (int row = 1; row <= OutputRows; ++row) {
            const QString name = Q(outputs.cell(row, colVariable));
            const TReportNode* variable = node.child(name);
            if (name.isEmpty() || !variable || !variable->checked) continue;
            m_writer.heading(QStringLiteral("Output variable ") + name);
            const int level = ActivityLevel(outputs.cell(row, colActivity));
            const bool histogramKept = level >= static_cast<int>(Activity::Histogram);
            m_writer.line(QStringLiteral("Activity: ") + Q(outputs.cell(row, colActivity)));
            if (variable->has(Parameters) && level > static_cast<int>(Activity::Inactive)) {
                m_writer.section(QStringLiteral("Variable statistics"));
                m_writer.columns(statistics(row));
                if (histogramKept) {
                    m_writer.section(QStringLiteral("Histogram statistics"));
                    const TOutHis* his = histogram(row);
                    m_writer.columns(his ? nineValues(*his) : emptyNine());
                    m_writer.line(QStringLiteral("Discrete: ") +
                                  (outputs.cell(row, colDiscrete) == "Yes"
                                       ? QStringLiteral("ON")
                                       : QStringLiteral("OFF")));
                }
            }
            if (variable->has(ProbsAndQuants) && histogramKept) marksTable(row);
            if (variable->has(Comment))
                m_writer.line(QStringLiteral("Comment: ") + Q(outputs.cell(row, colComment)));
            if (histogramKept)
                variableGraphs(*variable, [&](int kind, QPainter& painter, const QRect& target) {
                    m_graphs.outputGraph(row, kind, painter, target);
                });
            if (m_options.outputsSeparate) m_writer.newPage();
        }
    }

    static QStringList emptyNine() {
        return {QStringLiteral("Minimum: "),  QStringLiteral("Median: "),
                QStringLiteral("Maximum: "),  QStringLiteral("Mean: "),
                QStringLiteral("Variance: "), QStringLiteral("StDeviation: "),
                QStringLiteral("CoVar: "),    QStringLiteral("Skewnes: "),
                QStringLiteral("Kurtosis: ")};
    }

    QStringList statistics(int row) {
        TOutVar* var = runEntry(row);
        QStringList labels = {QStringLiteral("Minimum: "), QStringLiteral("Maximum: "),
                              QStringLiteral("Mean: "),    QStringLiteral("StDeviation: "),
                              QStringLiteral("CoVar: "),   QStringLiteral("Variance: "),
                              QStringLiteral("Skewnes: "), QStringLiteral("Kurtosis: ")};
        if (!var || !var->Stat) return labels;
        TOutStat& stat = *var->Stat;
        StatCompute(stat, 2);
        const QStringList values = {value(stat.min),
                                    value(stat.max),
                                    value(stat.mean),
                                    value(stat.stdev),
                                    stat.covarValid ? value(stat.covar) : QString(),
                                    value(stat.variance),
                                    value(stat.skew),
                                    value(stat.kurt)};
        for (int i = 0; i < labels.size(); ++i)
            labels[i] += values[i];
        return labels;
    }

    void windows(const TReportNode& node, ResultWindowKind kind) {
        const TResultWindows& windows = m_model.resultWindows;
        for (std::size_t index = 0; index < windows.count(kind); ++index) {
            const QString caption = ResultWindowCaption(m_model, kind, index);
            const TReportNode* window = node.child(caption);
            if (!window || !window->checked) continue;
            m_writer.heading(caption);
            switch (kind) {
            case ResultWindowKind::OneD:
                oneD(index);
                break;
            case ResultWindowKind::TwoD:
                twoD(index);
                break;
            case ResultWindowKind::Probability:
            case ResultWindowKind::Quantile:
                pq(kind, index);
                break;
            case ResultWindowKind::Statistics:
                break;
            }
        }
    }

    void oneD(std::size_t index) {
        const int row = m_model.outputs().FindOutputRow(m_model.resultWindows.oneD[index].variable);
        if (row > 0 && ActivityLevel(m_model.outputs().cell(row, colActivity)) >=
                           static_cast<int>(Activity::Histogram)) {
            const TOutHis* his = histogram(row);
            m_writer.columns(his ? nineValues(*his) : emptyNine());
            marksTable(row);
        }
        const int kind = std::clamp(m_graphs.oneDGraphKind(index), 0, 2);
        m_writer.graph(GraphCaptions[kind], GraphAspect, [&](QPainter& painter, const QRect& r) {
            m_graphs.oneDGraph(index, painter, r);
        });
    }

    void twoD(std::size_t index) {
        const T2DWindowDesc& window = m_model.resultWindows.twoD[index];
        const auto axis = [this](const QString& title, const std::string& name) {
            m_writer.line(title + Q(name));
            const int row = m_model.outputs().FindOutputRow(name);
            TOutVar* var = row > 0 ? runEntry(row) : nullptr;
            const bool known = var && var->Stat && var->Stat->started;
            m_writer.columns({QStringLiteral("Minimum: ") + (known ? value(var->Stat->min) : ""),
                              QStringLiteral("Maximum: ") + (known ? value(var->Stat->max) : "")});
        };
        axis(QStringLiteral("Horizontal axis: "), window.variableH);
        axis(QStringLiteral("Vertical axis: "), window.variableV);
        m_writer.graph({}, 1.0, [&](QPainter& painter, const QRect& r) {
            m_graphs.twoDPicture(index, painter, r);
        });
    }

    void pq(ResultWindowKind kind, std::size_t index) {
        const bool probabilities = kind == ResultWindowKind::Probability;
        const TPQWindowDesc& window = probabilities ? m_model.resultWindows.probabilities[index]
                                                    : m_model.resultWindows.quantiles[index];
        const int row = m_model.outputs().FindOutputRow(window.variable);
        if (row <= 0) return;
        TGrdOVarSup& record = m_model.outputs().record(row);
        TOutHis* his = histogram(row);
        const int lines =
            std::min(PQReportLines, std::clamp(m_model.settings().PQLines, 1, PQLineSlots));
        QList<std::pair<QString, QString>> rows;
        for (int i = 0; i < lines; ++i) {
            const Extended given = probabilities ? record.probValues[i] : record.quantProbs[i];
            QString found;
            if (his && his->rangeSet)
                found =
                    value(probabilities ? HisProbability(*his, given) : HisQuantile(*his, given));
            rows.append({value(given), found});
        }
        if (probabilities)
            m_writer.table(QStringLiteral("Quantiles"), QStringLiteral("Probabilities"), rows);
        else
            m_writer.table(QStringLiteral("Probabilities"), QStringLiteral("Quantiles"), rows);
    }

    TReportWriter& m_writer;
    ProjectModel& m_model;
    const TReportOptions& m_options;
    TReportGraphs& m_graphs;
    char m_separator;
};

} // namespace

const TReportNode* TReportNode::child(const QString& name) const {
    for (const TReportNode& node : children)
        if (node.caption == name) return &node;
    return nullptr;
}

TReportNode* TReportNode::child(const QString& name) {
    for (TReportNode& node : children)
        if (node.caption == name) return &node;
    return nullptr;
}

bool TReportNode::has(const QString& name) const {
    const TReportNode* node = child(name);
    return node && node->checked;
}

QString ResultWindowCaption(const ProjectModel& model, ResultWindowKind kind, std::size_t index) {
    const TResultWindows& windows = model.resultWindows;
    const auto named = [](const char* caption, const std::string& variable, const char* prefix) {
        return variable.empty() ? QString::fromLatin1(caption)
                                : QString::fromLatin1(prefix) + Q(variable);
    };
    switch (kind) {
    case ResultWindowKind::Statistics:
        return named("Statistics", windows.statistics[index].variable, "Stat ");
    case ResultWindowKind::OneD:
        return named("1D", windows.oneD[index].variable, "1D ");
    case ResultWindowKind::TwoD: {
        const T2DWindowDesc& window = windows.twoD[index];
        if (window.variableH.empty() && window.variableV.empty()) return QStringLiteral("2D");
        return QStringLiteral("2D ") + Q(window.variableH) + QStringLiteral(" & ") +
               Q(window.variableV);
    }
    case ResultWindowKind::Probability:
        return named("Probabilities", windows.probabilities[index].variable, "Probabilities ");
    case ResultWindowKind::Quantile:
        return named("Quantiles", windows.quantiles[index].variable, "Quantiles ");
    }
    return {};
}

TReportNode BuildReportTree(ProjectModel& model) {
    TReportNode root{Report, true, {}};
    root.children << Node(ProjectReport, {QStringLiteral("Date & Time"), QStringLiteral("File"),
                                          QStringLiteral("Identification"), QStringLiteral("Steps"),
                                          QStringLiteral("Generator"), QStringLiteral("Equations"),
                                          QStringLiteral("Out equations"), ResultNode});
    TReportNode inputs{InputVariables, true, {}};
    for (int row = 1; row <= TInputTable::RowCount; ++row) {
        const QString name = Q(model.inputs().cell(row, InputColumn::Variable));
        if (!name.isEmpty())
            inputs.children << Node(
                name, QStringList{QStringLiteral("Distribution"), Parameters, Comment} +
                          GraphNodeCaptions());
    }
    root.children << inputs;
    TReportNode outputs{OutputVariables, true, {}};
    for (int row = 1; row <= OutputRows; ++row) {
        const QString name = Q(model.outputs().cell(row, colVariable));
        if (!name.isEmpty())
            outputs.children << Node(name, QStringList{Parameters, ProbsAndQuants, Comment} +
                                               GraphNodeCaptions());
    }
    root.children << outputs;
    for (const auto& [caption, kind] : WindowSections) {
        const std::size_t count = model.resultWindows.count(kind);
        if (count == 0) continue;
        TReportNode section{QString::fromLatin1(caption), true, {}};
        for (std::size_t index = 0; index < count; ++index)
            section.children << Leaf(ResultWindowCaption(model, kind, index));
        root.children << section;
    }
    if (std::optional<TReportNode> sensitivity = SensitivityReportNode(model))
        root.children << *sensitivity;
    return root;
}

void WriteReport(TReportWriter& writer, ProjectModel& model, const TReportNode& tree,
                 const TReportOptions& options, TReportGraphs& graphs) {
    ReportBuilder(writer, model, options, graphs).write(tree);
}

} // namespace probex
