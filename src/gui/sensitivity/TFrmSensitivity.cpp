#include "gui/sensitivity/TFrmSensitivity.h"

#include "gui/components/GridCopy.h"
#include "gui/components/Plot.h"
#include "gui/results/ResultFields.h"
#include "gui/sensitivity/SensitivityChart.h"
#include "model/ProjectModel.h"
#include "sensitivity/RunSensitivity.h"
#include "sensitivity/SensitivityText.h"
#include "settings/Settings.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace probex {

namespace {

const char* const Titles[] = {"Input",          "Rank correlation", "Contribution %",
                              "First order",    "First order 95 %", "Mean shift (sd)",
                              "FORM importance"};

const char* const SharedPartNote =
    "With correlated inputs a first-order index includes the part an input shares with the "
    "inputs it is correlated with.";

} // namespace

TFrmSensitivity::TFrmSensitivity(ProjectModel& model, std::size_t index, QWidget* parent)
    : QWidget(parent), m_model(model), m_index(index) {
    setObjectName(QStringLiteral("FrmSensitivity"));
    setWindowTitle(QStringLiteral("Sensitivity"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* top = new QHBoxLayout;
    m_boxVariable = new QComboBox(this);
    m_boxVariable->setObjectName(QStringLiteral("BoxVariable"));
    m_boxMeasure = new QComboBox(this);
    m_boxMeasure->setObjectName(QStringLiteral("BoxMeasure"));
    for (const char* name : SensitivityMeasureNames)
        m_boxMeasure->addItem(QLatin1String(name));
    m_edtCom = new QLineEdit(this);
    m_edtCom->setObjectName(QStringLiteral("EdtCom"));
    top->addWidget(m_boxVariable, 1);
    top->addWidget(m_boxMeasure, 1);
    top->addWidget(m_edtCom, 2);
    layout->addLayout(top);

    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("LblNote"));
    m_note->setWordWrap(true);
    layout->addWidget(m_note);

    auto* split = new QSplitter(Qt::Vertical, this);
    m_grid = new QTableWidget(0, static_cast<int>(std::size(Titles)), split);
    m_grid->setObjectName(QStringLiteral("GrdSensitivity"));
    QStringList titles;
    for (const char* t : Titles)
        titles << QLatin1String(t);
    m_grid->setHorizontalHeaderLabels(titles);
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->horizontalHeaderItem(colForm)->setToolTip(
        QStringLiteral("The importance factor of a FORM analysis of the out equations"));
    m_grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* copy = new QAction(QStringLiteral("&Copy"), m_grid);
    copy->setObjectName(QStringLiteral("ActCopySelection"));
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(copy, &QAction::triggered, this, [this] { CopySelectionAsTabSeparated(*m_grid); });
    auto* copyAll = new QAction(QStringLiteral("Copy &table"), m_grid);
    copyAll->setObjectName(QStringLiteral("ActCopyTable"));
    connect(copyAll, &QAction::triggered, this,
            [this] { QApplication::clipboard()->setText(tableText()); });
    m_grid->addActions({copy, copyAll});

    m_chart = new TPlot(split);
    m_chart->setObjectName(QStringLiteral("ChartSensitivity"));
    m_chart->setPrompter(&m_model.prompter());
    m_chart->installEventFilter(this);
    layout->addWidget(split, 1);
    auto* footnote = new QLabel(QLatin1String(SharedPartNote), this);
    footnote->setWordWrap(true);
    layout->addWidget(footnote);
    resize(560, 440);

    connect(m_boxVariable, &QComboBox::currentIndexChanged, this, [this] { variableChange(); });
    connect(m_boxMeasure, &QComboBox::currentIndexChanged, this, [this] { measureChange(); });
    connect(m_edtCom, &QLineEdit::textEdited, this,
            [this](const QString& text) { desc().identification = Latin1String(text); });
    clearResults();
}

TSensWindowDesc& TFrmSensitivity::desc() {
    return m_model.resultWindows.sensitivity.at(m_index);
}

void TFrmSensitivity::loadDescription() {
    const TSensWindowDesc d = desc();
    refillVariableBox();
    const QSignalBlocker block(m_boxMeasure);
    m_boxMeasure->setCurrentIndex(
        std::clamp<int>(d.measure, 0, static_cast<int>(SensitivityMeasureNames.size()) - 1));
    m_edtCom->setText(Latin1Text(d.identification));
    refresh();
}

void TFrmSensitivity::refillVariableBox() {
    const TSensWindowDesc& d = desc();
    const QSignalBlocker block(m_boxVariable);
    m_boxVariable->clear();
    const TOutputTable& outputs = m_model.outputs();
    for (int row = 1; row <= OutputRows; ++row)
        if (!outputs.cell(row, colVariable).empty() &&
            outputs.cell(row, colActivity) == ActivityWord(Activity::Log))
            m_boxVariable->addItem(Latin1Text(outputs.cell(row, colVariable)));
    if (m_model.outEquations().evalSettings().Mode == OutEvalMode::Probability || d.event)
        m_boxVariable->addItem(QLatin1String(EventOutputName));
    const QString chosen = d.event ? QLatin1String(EventOutputName) : Latin1Text(d.variable);
    if (!chosen.isEmpty() && m_boxVariable->findText(chosen, Qt::MatchFixedString) < 0)
        m_boxVariable->addItem(chosen); // still the window's, though no longer logged
    m_boxVariable->setCurrentIndex(m_boxVariable->findText(chosen, Qt::MatchFixedString));
    setWindowTitle(chosen.isEmpty() ? QStringLiteral("Sensitivity")
                                    : QStringLiteral("Sensitivity ") + chosen);
}

void TFrmSensitivity::variableChange() {
    const QString text = m_boxVariable->currentText();
    TSensWindowDesc& d = desc();
    d.event = text == QLatin1String(EventOutputName);
    d.variable = d.event ? std::string() : Latin1String(text);
    setWindowTitle(QStringLiteral("Sensitivity ") + text);
    emit variableChosen();
    refresh();
}

void TFrmSensitivity::measureChange() {
    desc().measure = m_boxMeasure->currentIndex();
    drawChart();
}

void TFrmSensitivity::refresh() {
    const TSensWindowDesc& d = desc();
    const TOutputTable& outputs = m_model.outputs();
    if (m_model.stepCounter() == 0 || outputs.runTable().count() == 0) {
        clearResults();
        return;
    }
    if (outputs.inputLogs().empty()) {
        clearResults();
        m_note->setText(QStringLiteral("The run did not keep the input values: run it again "
                                       "with this window open."));
        return;
    }
    const std::optional<TSensitivity> s =
        d.event ? EventSensitivity(outputs, m_model.outEquations(), m_model.stepCounter())
                : OutputSensitivity(outputs, d.variable, m_model.stepCounter());
    if (!s) {
        clearResults();
        m_note->setText(d.event ? QStringLiteral("The out equations give no event to analyse "
                                                 "(Probability mode, compiled).")
                                : QStringLiteral("The variable has no log in this run."));
        return;
    }
    show(*s);
}

void TFrmSensitivity::clearResults() {
    m_shown.reset();
    m_grid->setRowCount(0);
    m_note->setText(QStringLiteral("Computed from the steps of a run."));
    drawChart();
}

void TFrmSensitivity::setRunning(bool running) {
    m_boxVariable->setEnabled(!running);
}

void TFrmSensitivity::show(const TSensitivity& s) {
    m_shown = s;
    const char sep = m_model.settings().DecimalSep;
    m_grid->setRowCount(static_cast<int>(s.inputs.size()));
    for (int r = 0; r < static_cast<int>(s.inputs.size()); ++r) {
        const TInputSensitivity& in = s.inputs[static_cast<std::size_t>(r)];
        // The grid shows what the batch table prints, cell by cell.
        const QStringList cells =
            QString::fromStdString(SensitivityLine(s, in, sep)).split(QLatin1Char('\t'));
        for (int c = colInput; c <= colShift; ++c) {
            QString text = c == colShift && !s.event ? QString() : cells.value(c + 1);
            if (c == colInput) text = Latin1Text(in.input);
            auto* item = new QTableWidgetItem(text);
            if (c != colInput) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_grid->setItem(r, c, item);
        }
        m_grid->setItem(r, colForm, new QTableWidgetItem(QStringLiteral("-")));
    }
    m_grid->resizeColumnsToContents();
    std::int64_t holding = 0;
    if (s.event)
        for (const TInputSensitivity& in : s.inputs)
            if (!std::isnan(in.meanShift)) holding = 1;
    m_note->setText(QStringLiteral("%1 steps, %2 sampled inputs%3")
                        .arg(s.steps)
                        .arg(s.inputs.size())
                        .arg(s.event && holding == 0 ? QStringLiteral("; the event did not occur")
                                                     : QString()));
    drawChart();
}

void TFrmSensitivity::drawChart() {
    TPlotScene& scene = m_chart->scene();
    const auto measure = static_cast<SensitivityMeasure>(m_boxMeasure->currentIndex());
    scene.decimalSeparator = QLatin1Char(m_model.settings().DecimalSep);
    const TSensitivity none;
    const TSensitivity& shown = m_shown ? *m_shown : none;
    FillSensitivityChart(scene, shown, measure,
                         SensitivityBarThickness(m_chart->height(), shown.inputs.size()));
    m_chart->resetZoom();
    m_chart->replot();
}

bool TFrmSensitivity::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_chart && event->type() == QEvent::Resize && m_shown) {
        const int thickness = SensitivityBarThickness(m_chart->height(), m_shown->inputs.size());
        for (TPlotSeries& series : m_chart->scene().series)
            if (series.kind == PlotSeriesKind::HorizontalBar) series.width = thickness;
        m_chart->replot();
    }
    return QWidget::eventFilter(watched, event);
}

QString TFrmSensitivity::tableText() const {
    if (!m_shown) return {};
    const char sep = m_model.settings().DecimalSep;
    QString text = QString::fromStdString(SensitivityHeader(m_shown->event)) + QLatin1Char('\n');
    for (const TInputSensitivity& in : m_shown->inputs)
        text += QString::fromStdString(SensitivityLine(*m_shown, in, sep)) + QLatin1Char('\n');
    return text;
}

} // namespace probex
