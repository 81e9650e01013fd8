#include "gui/sensitivity/SensitivityReport.h"

#include "gui/components/PlotRenderer.h"
#include "gui/components/PlotScene.h"
#include "gui/results/ReportWriter.h"
#include "gui/sensitivity/SensitivityChart.h"
#include "model/ProjectModel.h"
#include "sensitivity/RunSensitivity.h"
#include "settings/Settings.h"

namespace probex {

namespace {

QString Caption(const TSensWindowDesc& window) {
    return QStringLiteral("Sensitivity ") +
           QString::fromLatin1(window.event ? EventOutputName : window.variable.c_str());
}

} // namespace

std::optional<TReportNode> SensitivityReportNode(const ProjectModel& model) {
    if (model.resultWindows.sensitivity.empty()) return std::nullopt;
    TReportNode node{QStringLiteral("Sensitivity"), true, {}};
    for (const TSensWindowDesc& window : model.resultWindows.sensitivity)
        node.children << TReportNode{Caption(window), true, {}};
    return node;
}

void WriteSensitivityReport(TReportWriter& writer, ProjectModel& model, const TReportNode& node) {
    const char sep = model.settings().DecimalSep;
    for (const TSensWindowDesc& window : model.resultWindows.sensitivity) {
        const QString caption = Caption(window);
        if (!node.has(caption)) continue;
        writer.heading(caption);
        const std::int32_t steps = model.resultsExist() ? model.stepCounter() : 0;
        const std::optional<TSensitivity> s =
            steps == 0     ? std::nullopt
            : window.event ? EventSensitivity(model.outputs(), model.outEquations(), steps)
                           : OutputSensitivity(model.outputs(), window.variable, steps);
        if (!s) {
            writer.line(QStringLiteral("No sensitivity: the run did not keep the input values."));
            continue;
        }
        const QStringList titles =
            QString::fromStdString(SensitivityHeader(s->event)).split(QLatin1Char('\t')).mid(1);
        QList<QStringList> rows;
        for (const TInputSensitivity& in : s->inputs)
            rows << QString::fromLatin1(SensitivityLine(*s, in, sep).c_str())
                        .split(QLatin1Char('\t'))
                        .mid(1);
        writer.grid(titles, rows);
        const auto measure = static_cast<SensitivityMeasure>(std::clamp<int>(
            window.measure, 0, static_cast<int>(SensitivityMeasureNames.size()) - 1));
        writer.graph({}, 0.5, [&](QPainter& painter, const QRect& target) {
            TPlotScene scene;
            scene.decimalSeparator = QLatin1Char(sep);
            FillSensitivityChart(scene, *s, measure,
                                 SensitivityBarThickness(target.height(), s->inputs.size()));
            RenderPlot(scene, scene.fullRange(), painter, target);
        });
    }
}

} // namespace probex
