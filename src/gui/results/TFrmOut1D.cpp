#include "gui/results/TFrmOut1D.h"

#include "gui/results/HistogramScene.h"

#include "components/Prompter.h"
#include "gui/components/Plot.h"
#include "gui/components/WholeText.h"
#include "gui/results/ResultFields.h"
#include "model/ProjectModel.h"
#include "model/ResultWindowOpening.h"
#include "settings/NumberText.h"
#include "settings/Settings.h"
#include "simulation/HisCompute.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <optional>

namespace probex {

namespace {

const char* const Captions[] = {"Minimum:", "Maximum:",  "Mean:",     "Variance:", "StDeviation:",
                                "CoVar:",   "Skewness:", "Kurtosis:", "Median:"};
const char* const FieldNames[] = {"EdtMin",   "EdtMax",  "EdtMean", "EdtVariance", "EdtStDev",
                                  "EdtCoVar", "EdtSkew", "EdtKurt", "EdtMedian"};
const char* const GraphCaptions[] = {"&Probability function", "&Distribution function",
                                     "&Quantile function"};

/// The statistics level the 1D refresh level asks for.
int StatLevelFor(int refresh1DStat) {
    return refresh1DStat <= 1 ? 0 : refresh1DStat - 1;
}

} // namespace

TFrmOut1D::TFrmOut1D(ProjectModel& model, std::size_t index, QWidget* parent)
    : TFrmResult(model, ResultWindowKind::OneD, index, parent) {
    setObjectName(QStringLiteral("FrmOut1D"));
    setWindowTitle(QStringLiteral("1D"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->setSpacing(2);
    auto* top = new QHBoxLayout;
    m_boxVariable = new QComboBox(this);
    m_boxVariable->setObjectName(QStringLiteral("BoxVariable"));
    m_edtCom = new QLineEdit(this);
    m_edtCom->setObjectName(QStringLiteral("EdtCom"));
    top->addWidget(m_boxVariable, 1);
    top->addWidget(m_edtCom, 2);
    outer->addLayout(top);

    m_constantPanel = new QWidget(this);
    auto* constantRow = new QHBoxLayout(m_constantPanel);
    constantRow->setContentsMargins(0, 0, 0, 0);
    m_constantLabel = new QLabel(QStringLiteral("Constant value: "), m_constantPanel);
    m_constant = MakeValueField(m_constantPanel, "EdtConstant");
    constantRow->addWidget(m_constantLabel);
    constantRow->addWidget(m_constant, 1);
    outer->addWidget(m_constantPanel);

    auto* body = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    m_figuresPanel = new QWidget(this);
    auto* figures = new QGridLayout(m_figuresPanel);
    figures->setContentsMargins(0, 0, 0, 0);
    figures->setVerticalSpacing(1);
    for (int f = 0; f < FigureCount; ++f) {
        figures->addWidget(new QLabel(QLatin1String(Captions[f]), m_figuresPanel), f, 0);
        m_fields[f] = MakeValueField(m_figuresPanel, FieldNames[f]);
        figures->addWidget(m_fields[f], f, 1);
    }
    figures->addWidget(new QLabel(QStringLiteral("Steps:"), m_figuresPanel), FigureCount, 0);
    m_steps = MakeValueField(m_figuresPanel, "LSteps");
    figures->addWidget(m_steps, FigureCount, 1);
    left->addWidget(m_figuresPanel);

    m_switchesPanel = new QWidget(this);
    auto* switches = new QHBoxLayout(m_switchesPanel);
    switches->setContentsMargins(0, 0, 0, 0);
    m_chbDisc = new QCheckBox(QStringLiteral("Discrete"), m_switchesPanel);
    m_chbDisc->setObjectName(QStringLiteral("ChBDisc"));
    m_chbRecalc = new QCheckBox(QStringLiteral("Recalculate"), m_switchesPanel);
    m_chbRecalc->setObjectName(QStringLiteral("ChBRecalc"));
    switches->addWidget(m_chbDisc);
    switches->addWidget(m_chbRecalc);
    left->addWidget(m_switchesPanel);
    left->addStretch(1);
    body->addLayout(left);

    auto* right = new QVBoxLayout;
    m_plot = new TPlot(this);
    m_plot->setObjectName(QStringLiteral("PxRes"));
    m_plot->addSeries(PlotSeriesKind::Bar, Qt::red);
    for (int k = 0; k < MarkCount; ++k)
        m_plot->marker(m_plot->addMarker(Qt::Vertical, 0, Qt::blue)).visible = false;
    right->addWidget(m_plot, 1);
    m_marksPanel = new QWidget(this);
    buildMarks(m_marksPanel);
    right->addWidget(m_marksPanel);
    body->addLayout(right, 1);
    outer->addLayout(body, 1);

    m_popGraph = new QMenu(this);
    m_popGraph->setObjectName(QStringLiteral("PopGraph"));
    auto* group = new QActionGroup(this);
    for (int g = 0; g < 3; ++g) {
        QAction* item = m_popGraph->addAction(QLatin1String(GraphCaptions[g]));
        item->setObjectName(QStringLiteral("ItmGr%1").arg(g + 1));
        item->setCheckable(true);
        group->addAction(item);
        connect(item, &QAction::triggered, this, [this, g] { setGraphKind(GraphKind(g)); });
        m_graphItems[static_cast<std::size_t>(g)] = item;
    }
    m_graphItems[0]->setChecked(true);
    m_popGraph->addSeparator();
    m_plot->addPictureCommands(m_popGraph);
    m_plot->setPrompter(&m_model.prompter());
    m_plot->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_plot, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_popGraph->popup(m_plot->mapToGlobal(at)); });

    connect(m_boxVariable, &QComboBox::currentIndexChanged, this, [this] { BoxVariableChange(); });
    connect(m_edtCom, &QLineEdit::textEdited, this, &TFrmOut1D::commentEdited);
    connect(m_chbDisc, &QCheckBox::toggled, this, &TFrmOut1D::discreteToggled);
    connect(m_chbRecalc, &QCheckBox::toggled, this, &TFrmOut1D::recalculateToggled);
    resize(560, NormalHeight);
    applyColours();
    FormClear();
}

void TFrmOut1D::buildMarks(QWidget* panel) {
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(1);
    grid->addWidget(new QLabel(QStringLiteral("Probability"), panel), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Value"), panel), 0, 2);
    for (int k = 0; k < MarkCount; ++k) {
        Mark& mark = m_marks[static_cast<std::size_t>(k)];
        mark.kind = new QCheckBox(QStringLiteral("Q%1").arg(k + 1), panel);
        mark.kind->setObjectName(QStringLiteral("ChBpq%1").arg(k + 1));
        mark.prob = new QLineEdit(panel);
        mark.prob->setObjectName(QStringLiteral("EdtProb%1").arg(k + 1));
        mark.quant = new QLineEdit(panel);
        mark.quant->setObjectName(QStringLiteral("EdtQuant%1").arg(k + 1));
        for (QLineEdit* edit : {mark.prob, mark.quant}) {
            edit->setAlignment(Qt::AlignRight);
            edit->setAutoFillBackground(true);
        }
        grid->addWidget(mark.kind, k + 1, 0);
        grid->addWidget(mark.prob, k + 1, 1);
        grid->addWidget(mark.quant, k + 1, 2);
        connect(mark.kind, &QCheckBox::toggled, this,
                [this, k](bool checked) { markKindToggled(k, checked); });
        connect(mark.prob, &QLineEdit::editingFinished, this, [this, k] { markEdited(k, true); });
        connect(mark.quant, &QLineEdit::editingFinished, this, [this, k] { markEdited(k, false); });
    }
}

std::string TFrmOut1D::variable() const {
    return Latin1String(m_boxVariable->currentText());
}

int TFrmOut1D::row() const {
    const std::string name = variable();
    return name.empty() ? 0 : m_model.outputs().FindOutputRow(name);
}

TOutVar* TFrmOut1D::histogramEntry(std::int32_t* index) const {
    TOutputTable& outputs = m_model.outputs();
    const int r = row();
    const std::int32_t i = r != 0 ? outputs.FindActiveIndex(r) : 0;
    if (index != nullptr) *index = i;
    if (i == 0 || !outputs.runTable().item(i).His) return nullptr;
    return &outputs.runTable().item(i);
}

T1DWindowDesc& TFrmOut1D::desc() {
    return m_model.resultWindows.oneD.at(index());
}

void TFrmOut1D::storeDescription() {
    const int r = row();
    if (r == 0) return;
    const TOutputTable& outputs = m_model.outputs();
    const TGrdOVarSup& record = outputs.record(r);
    T1DWindowDesc& d = desc();
    d.variable = outputs.cell(r, colVariable);
    d.identification = record.windowIds[ow1D];
    d.discrete = outputs.cell(r, colDiscrete) == "Yes";
    d.recalculate = outputs.cell(r, colRecalculate) == "Yes";
    d.markKinds = record.markKinds;
    d.markValues = record.markValues;
}

QLineEdit* TFrmOut1D::inputEdit(int k) const {
    const Mark& mark = m_marks[static_cast<std::size_t>(k)];
    return mark.kind->isChecked() ? mark.quant : mark.prob;
}

QLineEdit* TFrmOut1D::resultEdit(int k) const {
    const Mark& mark = m_marks[static_cast<std::size_t>(k)];
    return mark.kind->isChecked() ? mark.prob : mark.quant;
}

void TFrmOut1D::loadDescription() {
    // The window is in its frame now: size the frame to what the window shows.
    const bool shrunk = m_shrunk.value_or(false);
    m_shrunk.reset();
    setShrunk(shrunk);
    const T1DWindowDesc d = desc();
    BoxVariableFill(m_model.resultsExist() ? 1 : 0);
    BoxVariableSet(d.variable);
    m_edtCom->setText(Latin1Text(d.identification));
}

void TFrmOut1D::BoxVariableFill(int mode) {
    FillVariableBox(m_boxVariable, m_model.outputs(), mode == 1 ? 2 : -1);
}

void TFrmOut1D::BoxVariableRefill(int mode) {
    if (!RefillVariableBox(m_boxVariable, m_model.outputs(), mode == 1 ? 2 : -1))
        emit closeRequested();
}

void TFrmOut1D::BoxVariableSet(const std::string& name) {
    if (ChooseVariable(m_boxVariable, name)) BoxVariableChange();
}

void TFrmOut1D::BoxVariableChange() {
    const int r = row();
    if (r == 0) return;
    TOutputTable& outputs = m_model.outputs();
    setWindowTitle(QStringLiteral("1D ") + m_boxVariable->currentText());
    desc().variable = outputs.cell(r, colVariable);
    emit variableChosen();
    if (m_model.resultsExist()) {
        std::int32_t i = 0;
        if (TOutVar* entry = histogramEntry(&i)) {
            TOutHis& his = *entry->His;
            if (RecalculateWanted(outputs, r) && entry->Log && entry->Stat)
                outputs.HisRecalculate(i, m_model.stepCounter());
            else if (his.rangeSet && his.level != 3)
                HisCompute(his, 3, true);
            ShowAll(i, true, true);
        }
    } else {
        if (ActivityLevel(outputs.cell(r, colActivity)) < static_cast<int>(Activity::Histogram)) {
            outputs.setCell(r, colActivity, ActivityWord(Activity::Histogram));
            emit outputTableChanged();
        }
        showSwitches(r);
        showMarkInputs(r);
    }
    m_edtCom->setText(Latin1Text(outputs.record(r).windowIds[ow1D]));
    storeDescription();
}

void TFrmOut1D::commentEdited(const QString& text) {
    desc().identification = Latin1String(text);
    if (const int r = row(); r != 0)
        m_model.outputs().record(r).windowIds[ow1D] = desc().identification;
}

void TFrmOut1D::showSwitches(int r) {
    const TOutputTable& outputs = m_model.outputs();
    const QSignalBlocker discBlock(m_chbDisc);
    const QSignalBlocker recalcBlock(m_chbRecalc);
    m_chbDisc->setChecked(outputs.cell(r, colDiscrete) == "Yes");
    m_chbRecalc->setChecked(outputs.cell(r, colRecalculate) == "Yes");
    updateEnabled();
}

void TFrmOut1D::updateEnabled() {
    const int r = row();
    const bool log = r != 0 && m_model.outputs().cell(r, colActivity) == "Log";
    m_boxVariable->setEnabled(!m_running);
    m_chbDisc->setEnabled(!m_running);
    m_chbRecalc->setEnabled(!m_running && log);
    for (int k = 0; k < MarkCount; ++k) {
        const Mark& mark = m_marks[static_cast<std::size_t>(k)];
        mark.kind->setEnabled(!m_running);
        inputEdit(k)->setEnabled(!m_running);
        inputEdit(k)->setReadOnly(false);
        resultEdit(k)->setEnabled(true);
        resultEdit(k)->setReadOnly(true);
    }
}

void TFrmOut1D::showMarkInputs(int r) {
    const TGrdOVarSup& record = m_model.outputs().record(r);
    const char sep = m_model.settings().DecimalSep;
    for (int k = 0; k < MarkCount; ++k) {
        const auto K = static_cast<std::size_t>(k);
        {
            const QSignalBlocker block(m_marks[K].kind);
            m_marks[K].kind->setChecked(record.markKinds[K]);
        }
        ShowWholeText(inputEdit(k),
                      QString::fromStdString(FormatResultValue(record.markValues[K], sep)));
        SetFieldColor(inputEdit(k), Qt::white);
        BlankValue(resultEdit(k));
        m_plot->marker(k).visible = false;
    }
    updateEnabled();
}

void TFrmOut1D::showMarkResult(int k, Extended value, Extended result) {
    const TSettings& settings = m_model.settings();
    ShowWholeText(inputEdit(k),
                  QString::fromStdString(FormatResultValue(value, settings.DecimalSep)));
    SetFieldColor(inputEdit(k), Qt::white);
    ShowValue(resultEdit(k), result, settings);
    TPlotMarker& marker = m_plot->marker(k);
    marker.value = static_cast<double>(
        m_marks[static_cast<std::size_t>(k)].kind->isChecked() ? value : result);
    marker.visible = true;
}

void TFrmOut1D::setShrunk(bool shrunk) {
    if (m_shrunk == shrunk) return;
    m_shrunk = shrunk;
    m_constantPanel->setVisible(shrunk);
    for (QWidget* part : {static_cast<QWidget*>(m_figuresPanel), m_switchesPanel, m_marksPanel,
                          static_cast<QWidget*>(m_plot)})
        part->setVisible(!shrunk);
    setClientHeight(shrunk ? ConstantHeight : NormalHeight);
}

void TFrmOut1D::ShowAll(std::int32_t i, bool withPlot, bool withMarks) {
    TOutVar& entry = m_model.outputs().runTable().item(i);
    if (!entry.His) return;
    TOutHis& his = *entry.His;
    const TSettings& settings = m_model.settings();
    if (!his.rangeSet) {
        setShrunk(true);
        if (his.total > 0 || (!his.counts.empty() && his.counts[0] > 0))
            ShowValue(m_constant, his.rangeMin, settings);
        else
            BlankValue(m_constant);
        return;
    }
    setShrunk(false);
    ShowWholeText(m_steps, QString::number(m_model.stepCounter()));
    SetFieldColor(m_steps, SettingsColor(m_model.settings().ResultsColor));
    // Each field is written once, so that a refresh does not make it flicker.
    std::array<std::optional<Extended>, FigureCount> values;
    const auto moments = [&values](const auto& source, bool spread, bool shape) {
        if (spread) {
            values[Mean] = source.mean;
            values[Variance] = source.variance;
            values[StDev] = source.stdev;
            if (source.covarValid && source.mean != 0) values[CoVar] = source.covar;
        }
        if (shape) {
            values[Skew] = source.skew;
            values[Kurt] = source.kurt;
        }
    };
    if (settings.HisStatIn1D || !entry.Stat) {
        if (his.level >= 1) {
            values[Min] = his.histMin;
            values[Max] = his.histMax;
        }
        moments(his, his.level >= 2, his.level >= 3);
    } else {
        const TOutStat& stat = *entry.Stat;
        values[Min] = stat.min;
        values[Max] = stat.max;
        moments(stat, stat.level >= 1, stat.level >= 2);
    }
    // The median is computed with the marks only.
    if (withMarks && his.level >= 3) values[Median] = his.median;
    for (int f = 0; f < FigureCount; ++f) {
        if (values[f])
            ShowValue(m_fields[f], *values[f], settings);
        else
            BlankValue(m_fields[f]);
    }
    showSwitches(m_model.outputs().runTable().item(i).Row);

    if (withMarks) {
        for (int k = 0; k < MarkCount; ++k) {
            const auto K = static_cast<std::size_t>(k);
            {
                const QSignalBlocker block(m_marks[K].kind);
                m_marks[K].kind->setChecked(his.markKinds[K]);
            }
            showMarkResult(k, his.markValues[K], his.markResults[K]);
        }
        updateEnabled();
    }
    if (withPlot) {
        drawPlot(i);
    } else if (withMarks) {
        m_plot->replot();
    }
}

void TFrmOut1D::drawPlot(std::int32_t i) {
    DrawHistogramCurve(m_plot->scene(), *m_model.outputs().runTable().item(i).His,
                       static_cast<HistogramGraph>(m_graphKind), m_model.settings());
    m_plot->replot();
}

void TFrmOut1D::setGraphKind(GraphKind kind) {
    m_graphKind = kind;
    m_graphItems[static_cast<std::size_t>(kind)]->setChecked(true);
    for (int k = 0; k < MarkCount; ++k)
        m_plot->marker(k).orientation = kind == QuantileFunction ? Qt::Horizontal : Qt::Vertical;
    // During a run the worker owns the histogram: the next refresh draws the new graph.
    std::int32_t i = 0;
    if (m_model.resultsExist() && !m_running)
        if (TOutVar* entry = histogramEntry(&i); entry != nullptr && entry->His->rangeSet)
            drawPlot(i);
}

void TFrmOut1D::markKindToggled(int k, bool checked) {
    const auto K = static_cast<std::size_t>(k);
    const TSettings& settings = m_model.settings();
    const int r = row();
    if (r == 0) {
        const bool defaultKind = checked == (settings.PQKinds[K] == PQKind::Q);
        ShowWholeText(inputEdit(k),
                      QString::fromStdString(
                          defaultKind ? FormatResultValue(settings.PQValues[K], settings.DecimalSep)
                                      : "0.0"));
        SetFieldColor(inputEdit(k), Qt::white);
        BlankValue(resultEdit(k));
        updateEnabled();
        return;
    }
    TGrdOVarSup& record = m_model.outputs().record(r);
    Extended value = 0;
    const std::string text = Latin1String(inputEdit(k)->text());
    if (!text.empty() && !TryStrToExtended(text, settings.DecimalSep, value)) {
        try {
            StrToExtended(text, settings.DecimalSep);
        } catch (const ConversionError& error) {
            m_model.prompter().error(error.what());
        }
        value = record.markValues[K];
    }
    record.markKinds[K] = checked;
    record.markValues[K] = value;
    updateEnabled();
    std::int32_t i = 0;
    if (TOutVar* entry = histogramEntry(&i); entry != nullptr && m_model.resultsExist()) {
        TOutHis& his = *entry->His;
        his.markKinds[K] = checked;
        his.markValues[K] = value;
        his.markResults[K] = checked ? HisProbability(his, value) : HisQuantile(his, value);
        showMarkResult(k, value, his.markResults[K]);
        m_plot->replot();
    } else {
        ShowWholeText(inputEdit(k),
                      QString::fromStdString(FormatResultValue(value, settings.DecimalSep)));
        SetFieldColor(inputEdit(k), Qt::white);
        BlankValue(resultEdit(k));
    }
    storeDescription();
}

void TFrmOut1D::markEdited(int k, bool probability) {
    const auto K = static_cast<std::size_t>(k);
    const Mark& mark = m_marks[K];
    // Only the input edit of the mark takes a number.
    if (mark.kind->isChecked() == probability) return;
    const int r = row();
    if (r == 0) return;
    const TSettings& settings = m_model.settings();
    TGrdOVarSup& record = m_model.outputs().record(r);
    Extended value = 0;
    try {
        value = StrToExtended(Latin1String(inputEdit(k)->text()), settings.DecimalSep);
    } catch (const ConversionError& error) {
        m_model.prompter().error(error.what());
        ShowWholeText(inputEdit(k), QString::fromStdString(FormatResultValue(record.markValues[K],
                                                                             settings.DecimalSep)));
        return;
    }
    record.markValues[K] = value;
    record.markKinds[K] = mark.kind->isChecked();
    std::int32_t i = 0;
    if (TOutVar* entry = histogramEntry(&i); entry != nullptr && m_model.resultsExist()) {
        TOutHis& his = *entry->His;
        his.markKinds[K] = record.markKinds[K];
        his.markValues[K] = value;
        his.markResults[K] =
            record.markKinds[K] ? HisProbability(his, value) : HisQuantile(his, value);
        showMarkResult(k, value, his.markResults[K]);
        m_plot->replot();
    }
    storeDescription();
}

void TFrmOut1D::discreteToggled(bool checked) {
    if (const int r = row(); r != 0)
        m_model.outputs().editCell(r, colDiscrete, checked ? "Yes" : "No");
}

void TFrmOut1D::recalculateToggled(bool checked) {
    if (const int r = row(); r != 0)
        m_model.outputs().editCell(r, colRecalculate, checked ? "Yes" : "No");
}

void TFrmOut1D::outputRowChanged(int changed) {
    const int r = row();
    if (r == 0 || r != changed) return;
    showSwitches(r);
    storeDescription();
    std::int32_t i = 0;
    TOutVar* entry = histogramEntry(&i);
    if (entry == nullptr || !m_model.resultsExist() || m_running) return;
    TOutputTable& outputs = m_model.outputs();
    if (RecalculateWanted(outputs, r) && entry->Log && entry->Stat && !entry->His->recalculated)
        outputs.HisRecalculate(i, m_model.stepCounter());
    else
        HisCompute(*entry->His, 3, true);
    ShowAll(i, true, true);
}

void TFrmOut1D::FormClear() {
    setShrunk(false);
    for (QLineEdit* field : m_fields)
        BlankValue(field);
    BlankValue(m_steps);
    BlankValue(m_constant);
    const TSettings& settings = m_model.settings();
    for (int k = 0; k < MarkCount; ++k) {
        const auto K = static_cast<std::size_t>(k);
        ShowWholeText(inputEdit(k), QString::fromStdString(FormatResultValue(settings.PQValues[K],
                                                                             settings.DecimalSep)));
        SetFieldColor(inputEdit(k), Qt::white);
        BlankValue(resultEdit(k));
        m_plot->marker(k).visible = false;
    }
    m_plot->series(0).points.clear();
    m_plot->replot();
    updateEnabled();
}

void TFrmOut1D::refillVariableBoxes(int mode) {
    BoxVariableRefill(mode);
}

void TFrmOut1D::refreshDuringRun(std::int32_t /*step*/) {
    std::int32_t i = 0;
    TOutVar* entry = histogramEntry(&i);
    if (entry == nullptr) return;
    const TSettings& settings = m_model.settings();
    if (!settings.HisStatIn1D && entry->Stat)
        StatCompute(*entry->Stat, StatLevelFor(settings.Refresh1DStat));
    HisCompute(*entry->His, settings.Refresh1DStat, settings.RefreshProb);
    ShowAll(i, settings.RefreshGraph, settings.RefreshProb);
}

void TFrmOut1D::finalRefresh() {
    std::int32_t i = 0;
    TOutVar* entry = histogramEntry(&i);
    if (entry == nullptr) return;
    if (!m_model.settings().HisStatIn1D && entry->Stat && entry->Stat->level < 2)
        StatCompute(*entry->Stat, 2);
    FinalOneDHistogram(m_model.outputs(), row(), m_model.stepCounter());
    ShowAll(i, true, true);
}

void TFrmOut1D::clearResults() {
    FormClear();
}

void TFrmOut1D::setRunning(bool running) {
    m_running = running;
    updateEnabled();
}

void TFrmOut1D::applyColours() {
    const TSettings& settings = m_model.settings();
    m_plot->series(0).color = SettingsColor(settings.Plot1DColor);
    const std::int32_t marks[] = {settings.Mark1Color, settings.Mark2Color, settings.Mark3Color,
                                  settings.Mark4Color};
    for (int k = 0; k < MarkCount; ++k) {
        const QColor colour = SettingsColor(marks[k]);
        m_plot->marker(k).color = colour;
        QCheckBox* box = m_marks[static_cast<std::size_t>(k)].kind;
        QPalette palette = box->palette();
        palette.setColor(QPalette::WindowText, colour);
        box->setPalette(palette);
    }
}

void TFrmOut1D::settingsChanged() {
    applyColours();
    std::int32_t i = 0;
    if (m_model.resultsExist())
        if (TOutVar* entry = histogramEntry(&i); entry != nullptr && entry->His->rangeSet) {
            drawPlot(i);
            return;
        }
    m_plot->replot();
}

} // namespace probex
