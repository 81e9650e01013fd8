#include "gui/results/TFrmOutStat.h"

#include "gui/components/WholeText.h"
#include "gui/results/ResultFields.h"
#include "model/ProjectModel.h"
#include "settings/Settings.h"
#include "simulation/OutStat.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <optional>

namespace probex {

namespace {

const char* const Captions[] = {"Minimum:", "Maximum:",  "Mean:",     "Variance:", "StDeviation:",
                                "CoVar:",   "Skewness:", "Kurtosis:", "Sum:"};
const char* const FieldNames[] = {"EdtMin",   "EdtMax",  "EdtMean", "EdtVariance", "EdtStDev",
                                  "EdtCoVar", "EdtSkew", "EdtKurt", "EdtSum"};

} // namespace

TFrmOutStat::TFrmOutStat(ProjectModel& model, std::size_t index, QWidget* parent)
    : TFrmResult(model, ResultWindowKind::Statistics, index, parent) {
    setObjectName(QStringLiteral("FrmOutStat"));
    setWindowTitle(QStringLiteral("Statistics"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setVerticalSpacing(2);
    m_boxVariable = new QComboBox(this);
    m_boxVariable->setObjectName(QStringLiteral("BoxVariable"));
    grid->addWidget(m_boxVariable, 0, 0, 1, 2);
    m_edtCom = new QLineEdit(this);
    m_edtCom->setObjectName(QStringLiteral("EdtCom"));
    grid->addWidget(m_edtCom, 0, 2, 1, 2);
    for (int f = 0; f < FigureCount; ++f) {
        m_labels[f] = new QLabel(QLatin1String(Captions[f]), this);
        m_fields[f] = MakeValueField(this, FieldNames[f]);
        const int row = 1 + f / 2;
        const int column = (f % 2) * 2;
        grid->addWidget(m_labels[f], row, column);
        grid->addWidget(m_fields[f], row, column + 1);
    }
    grid->addWidget(new QLabel(QStringLiteral("Steps:"), this), 5, 2);
    m_steps = MakeValueField(this, "LSteps");
    grid->addWidget(m_steps, 5, 3);
    grid->setRowStretch(6, 1);
    resize(420, NormalHeight);

    connect(m_boxVariable, &QComboBox::currentIndexChanged, this, [this] { BoxVariableChange(); });
    connect(m_edtCom, &QLineEdit::textEdited, this, &TFrmOutStat::commentEdited);
    FormClear();
}

std::string TFrmOutStat::variable() const {
    return Latin1String(m_boxVariable->currentText());
}

void TFrmOutStat::loadDescription() {
    // The window is in its frame now: size the frame to what the window shows.
    const bool shrunk = m_shrunk.value_or(false);
    m_shrunk.reset();
    setShrunk(shrunk);
    const TStatWindowDesc desc = m_model.resultWindows.statistics.at(index());
    BoxVariableFill(m_model.resultsExist() ? 1 : 0);
    BoxVariableSet(desc.variable);
    m_edtCom->setText(Latin1Text(desc.identification));
}

void TFrmOutStat::BoxVariableFill(int mode) {
    FillVariableBox(m_boxVariable, m_model.outputs(), mode == 1 ? 1 : -1);
}

void TFrmOutStat::BoxVariableRefill(int mode) {
    if (!RefillVariableBox(m_boxVariable, m_model.outputs(), mode == 1 ? 1 : -1))
        emit closeRequested();
}

void TFrmOutStat::BoxVariableSet(const std::string& name) {
    if (ChooseVariable(m_boxVariable, name)) BoxVariableChange();
}

void TFrmOutStat::BoxVariableChange() {
    const std::string name = variable();
    TOutputTable& outputs = m_model.outputs();
    const int row = outputs.FindOutputRow(name);
    if (row == 0) return;
    setWindowTitle(QStringLiteral("Stat ") + Latin1Text(name));
    TStatWindowDesc& desc = m_model.resultWindows.statistics.at(index());
    desc.variable = name;
    desc.identification = outputs.record(row).windowIds[owStatistics];
    emit variableChosen();
    if (m_model.resultsExist()) {
        showComputed(2);
    } else if (ActivityLevel(outputs.cell(row, colActivity)) < 1) {
        outputs.setCell(row, colActivity, ActivityWord(Activity::Statistics));
        emit outputTableChanged();
    }
    // variableChosen may close another window and move this description: read the record.
    m_edtCom->setText(Latin1Text(outputs.record(row).windowIds[owStatistics]));
}

void TFrmOutStat::commentEdited(const QString& text) {
    TStatWindowDesc& desc = m_model.resultWindows.statistics.at(index());
    desc.identification = Latin1String(text);
    if (const int row = m_model.outputs().FindOutputRow(variable()); row != 0)
        m_model.outputs().record(row).windowIds[owStatistics] = desc.identification;
}

void TFrmOutStat::showComputed(int level) {
    TOutputTable& outputs = m_model.outputs();
    const std::int32_t i = outputs.FindActiveIndex(outputs.FindOutputRow(variable()));
    if (i == 0 || !outputs.runTable().item(i).Stat) return;
    TOutStat& stat = *outputs.runTable().item(i).Stat;
    if (stat.level < level) StatCompute(stat, level);
    ShowAll(i);
}

void TFrmOutStat::setShrunk(bool shrunk) {
    if (m_shrunk == shrunk) return;
    m_shrunk = shrunk;
    m_labels[Min]->setText(shrunk ? QStringLiteral("Value:") : QLatin1String(Captions[Min]));
    for (int f = Max; f < FigureCount; ++f) {
        m_labels[f]->setVisible(!shrunk);
        m_fields[f]->setVisible(!shrunk);
    }
    setClientHeight(shrunk ? ValueHeight : NormalHeight);
}

void TFrmOutStat::ShowAll(std::int32_t i) {
    const TSettings& settings = m_model.settings();
    const TOutStat& stat = *m_model.outputs().runTable().item(i).Stat;
    ShowWholeText(m_steps, QString::number(m_model.stepCounter()));
    SetFieldColor(m_steps, SettingsColor(m_model.settings().ResultsColor));
    const bool constant = stat.min == stat.max;
    setShrunk(constant);
    ShowValue(m_fields[Min], stat.min, settings);
    if (constant) return;
    // Each field is written once, so that a refresh does not make it flicker.
    std::array<std::optional<Extended>, FigureCount> values;
    values[Max] = stat.max;
    if (stat.level >= 1) {
        values[Mean] = stat.mean;
        values[Variance] = stat.variance;
        values[StDev] = stat.stdev;
        if (stat.covarValid && stat.mean != 0) values[CoVar] = stat.covar;
    }
    if (stat.level >= 2) {
        values[Skew] = stat.skew;
        values[Kurt] = stat.kurt;
        values[Sum] = stat.s1;
    }
    for (int f = Max; f < FigureCount; ++f) {
        if (values[f])
            ShowValue(m_fields[f], *values[f], settings);
        else
            BlankValue(m_fields[f]);
    }
}

void TFrmOutStat::FormClear() {
    setShrunk(false);
    m_steps->setText(QStringLiteral("0"));
    for (QLineEdit* field : m_fields)
        BlankValue(field);
}

void TFrmOutStat::refillVariableBoxes(int mode) {
    BoxVariableRefill(mode);
}

void TFrmOutStat::refreshDuringRun(std::int32_t /*step*/) {
    TOutputTable& outputs = m_model.outputs();
    const std::int32_t i = outputs.FindActiveIndex(outputs.FindOutputRow(variable()));
    if (i == 0 || !outputs.runTable().item(i).Stat) return;
    StatCompute(*outputs.runTable().item(i).Stat, m_model.settings().RefreshStatStat);
    ShowAll(i);
}

void TFrmOutStat::finalRefresh() {
    showComputed(2);
}

void TFrmOutStat::clearResults() {
    FormClear();
}

void TFrmOutStat::setRunning(bool running) {
    m_boxVariable->setEnabled(!running);
}

} // namespace probex
