#include "gui/variables/TFrmDisInsp.h"

#include "components/Prompter.h"
#include "engine/Expression.h"
#include "gui/components/Plot.h"
#include "model/ProjectModel.h"
#include "settings/NumberText.h"
#include "settings/Settings.h"
#include "variables/Distributions.h"
#include "variables/InputTable.h"
#include "variables/InversionKinds.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include <array>

namespace probex {

namespace {

/// The fields the dialog edits.
bool ParametersDiffer(const TIis& a, const TIis& b) {
    return a.Min != b.Min || a.Max != b.Max || a.Loc != b.Loc || a.Mean != b.Mean ||
           a.StDev != b.StDev || a.Mode != b.Mode || a.ConstCaption != b.ConstCaption;
}

const std::array<const char*, 3> ModeNames = {"Probability function", "Distribution function",
                                              "Quantile function"};

QString text(const std::string& s) {
    return QString::fromLocal8Bit(s.data(), qsizetype(s.size()));
}
std::string text(const QString& s) {
    return s.toLocal8Bit().toStdString();
}

/// Settings hold colours as 0x00BBGGRR.
QColor colorFromSetting(std::int32_t value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

bool isHistogram(DistKind kind) {
    return kind == DistKind::dkDiscrete || kind == DistKind::dkContinuous;
}

bool isParametric(DistKind kind) {
    return kind == DistKind::dkExponential || kind == DistKind::dkLognormal ||
           kind == DistKind::dkNormal || kind == DistKind::dkUniform || IsInversionKind(kind);
}

QLineEdit* makeEdit(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

} // namespace

TFrmDisInsp::TFrmDisInsp(ProjectModel& model, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_model(model), m_prompter(prompter) {
    setObjectName(QStringLiteral("TFrmDisInsp"));
    setWindowTitle(QStringLiteral("Distribution Inspector"));
    setModal(true);
    buildControls();
    applyLayout(Layout::None);
}

void TFrmDisInsp::buildControls() {
    auto* main = new QVBoxLayout(this);

    m_boxVariable = new QComboBox(this);
    m_boxVariable->setObjectName(QStringLiteral("BoxVariable"));
    m_boxVariable->installEventFilter(this);
    connect(m_boxVariable, &QComboBox::currentIndexChanged, this, &TFrmDisInsp::variableChosen);
    main->addWidget(m_boxVariable);

    m_edtCom = makeEdit("EdtCom", this);
    m_edtCom->setToolTip(QStringLiteral("Comment line"));
    main->addWidget(m_edtCom);

    m_lDis = new QLabel(this);
    m_lDis->setObjectName(QStringLiteral("LDis"));
    main->addWidget(m_lDis);

    m_singlePanel = new QWidget(this);
    auto* single = new QFormLayout(m_singlePanel);
    single->setContentsMargins(0, 0, 0, 0);
    m_cbVal = new QComboBox(m_singlePanel);
    m_cbVal->setObjectName(QStringLiteral("CBVal"));
    m_cbVal->setEditable(true);
    m_cbVal->setInsertPolicy(QComboBox::NoInsert);
    for (const TConstantRec& c : NamedConstants())
        m_cbVal->addItem(QString::fromLatin1(c.Caption));
    single->addRow(QStringLiteral("Value:"), m_cbVal);
    main->addWidget(m_singlePanel);

    m_fullPanel = buildParameterPanel();
    main->addWidget(m_fullPanel, 1);

    auto* buttons = new QHBoxLayout;
    m_btnOk = new QPushButton(QStringLiteral("O&K"), this);
    m_btnOk->setObjectName(QStringLiteral("BtnOK"));
    m_btnOk->setDefault(true);
    m_btnReset = new QPushButton(QStringLiteral("&Reset"), this);
    m_btnReset->setObjectName(QStringLiteral("BtnReset"));
    m_btnReset->setAutoDefault(false);
    m_btnSet = new QPushButton(QStringLiteral("&Set"), this);
    m_btnSet->setObjectName(QStringLiteral("BtnSet"));
    m_btnSet->setAutoDefault(false);
    connect(m_btnOk, &QPushButton::clicked, this, &TFrmDisInsp::accept);
    connect(m_btnReset, &QPushButton::clicked, this, &TFrmDisInsp::reset);
    connect(m_btnSet, &QPushButton::clicked, this, &TFrmDisInsp::set);
    buttons->addStretch(1);
    buttons->addWidget(m_btnOk);
    buttons->addWidget(m_btnReset);
    buttons->addWidget(m_btnSet);
    main->addLayout(buttons);

    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("StatusBar"));
    m_statusBar->setSizeGripEnabled(false);
    main->addWidget(m_statusBar);
}

QWidget* TFrmDisInsp::buildParameterPanel() {
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);

    m_filePanel = new QWidget(panel);
    auto* file = new QHBoxLayout(m_filePanel);
    file->setContentsMargins(0, 0, 0, 0);
    m_edtFileName = makeEdit("EdtFileName", m_filePanel);
    m_edtFileName->setReadOnly(true);
    m_lClasses = new QLabel(m_filePanel);
    m_lClasses->setObjectName(QStringLiteral("LClasses"));
    m_lClasses->setToolTip(QStringLiteral("Number of histogram bins."));
    auto* binsLabel = new QLabel(QStringLiteral("Bins:"), m_filePanel);
    binsLabel->setToolTip(m_lClasses->toolTip());
    file->addWidget(new QLabel(QStringLiteral("File:"), m_filePanel));
    file->addWidget(m_edtFileName, 1);
    file->addWidget(binsLabel);
    file->addWidget(m_lClasses);
    layout->addWidget(m_filePanel);

    // Entered values on the left, derived statistics on the right.
    auto* fields = new QGridLayout;
    const auto addField = [&](QLineEdit*& edit, const char* name, const char* label, int row,
                              int column) {
        edit = makeEdit(name, panel);
        auto* caption = new QLabel(QString::fromLatin1(label), panel);
        caption->setBuddy(edit);
        fields->addWidget(caption, row, column * 2);
        fields->addWidget(edit, row, column * 2 + 1);
    };
    addField(m_edtMin, "EdtMin", "Minimum:", 0, 0);
    addField(m_edtMax, "EdtMax", "Maximum:", 1, 0);
    addField(m_edtMean, "EdtMean", "Mean:", 2, 0);
    addField(m_edtStDev, "EdtStDev", "StDeviation:", 3, 0);
    addField(m_edtMode, "EdtMode", "Mode:", 4, 0);
    addField(m_edtMed, "EdtMed", "Median:", 0, 1);
    addField(m_edtVari, "EdtVari", "Variance:", 1, 1);
    addField(m_edtCoVar, "EdtCoVar", "CoVar:", 2, 1);
    addField(m_edtSkew, "EdtSkew", "Skew:", 3, 1);
    addField(m_edtKurt, "EdtKurt", "Kurt:", 4, 1);
    for (QLineEdit* derived : {m_edtMed, m_edtVari, m_edtCoVar, m_edtSkew, m_edtKurt})
        derived->setReadOnly(true);
    layout->addLayout(fields);

    m_graph = new TPlot(panel);
    m_graph->setObjectName(QStringLiteral("PxGraph"));
    m_graph->setMinimumHeight(180);
    const QColor colour = colorFromSetting(m_model.settings().PlotDisColor);
    m_resHis = m_graph->addSeries(PlotSeriesKind::Bar, colour, 3, QStringLiteral("PxResHis"));
    m_resCum = m_graph->addSeries(PlotSeriesKind::Line, colour, 1, QStringLiteral("PxResCum"));
    m_resQua = m_graph->addSeries(PlotSeriesKind::Line, colour, 1, QStringLiteral("PxResQua"));
    layout->addWidget(m_graph, 1);
    buildGraphMenu();
    return panel;
}

void TFrmDisInsp::buildGraphMenu() {
    static const std::array<std::pair<const char*, const char*>, 3> items = {{
        {"&Probability function", "Probability (density) function"},
        {"&Distribution function", "Distribution (cumulative) function"},
        {"&Quantile function", "Quantile function"},
    }};
    m_modeActions = new QActionGroup(this);
    m_modeActions->setExclusive(true);
    for (int i = 0; i < int(items.size()); ++i) {
        auto* action = new QAction(QString::fromLatin1(items[i].first), m_graph);
        action->setCheckable(true);
        action->setChecked(i == 0);
        action->setStatusTip(QString::fromLatin1(items[i].second));
        action->setToolTip(action->statusTip());
        m_modeActions->addAction(action);
        m_graph->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, i] { setGraphMode(static_cast<DistGraphMode>(i)); });
    }
    m_graph->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void TFrmDisInsp::inspect(int row) {
    prepare(row);
    open();
    m_btnOk->setFocus();
}

int TFrmDisInsp::inspectModal(int row) {
    prepare(row);
    m_btnOk->setFocus();
    return exec();
}

void TFrmDisInsp::prepare(int row) {
    fillVariableBox();
    const TInputTable& table = m_model.inputs();
    const QString name = row >= 1 && row <= TInputTable::RowCount
                             ? text(table.cell(row, InputColumn::Variable))
                             : QString();
    const int index = name.isEmpty() ? -1 : m_boxVariable->findText(name);
    m_filling = true;
    m_boxVariable->setCurrentIndex(index);
    m_filling = false;
    showVariable(index >= 0 ? name : QString());
}

bool TFrmDisInsp::selectVariable(const QString& name) {
    const int index = m_boxVariable->findText(name, Qt::MatchFixedString);
    if (index < 0) return false;
    m_filling = true;
    m_boxVariable->setCurrentIndex(index);
    m_filling = false;
    showVariable(m_boxVariable->itemText(index));
    return true;
}

void TFrmDisInsp::fillVariableBox() {
    m_filling = true;
    m_boxVariable->clear();
    const TInputTable& table = m_model.inputs();
    for (int r = 1; r <= TInputTable::RowCount; ++r) {
        const std::string& name = table.cell(r, InputColumn::Variable);
        if (!name.empty()) m_boxVariable->addItem(text(name));
    }
    m_filling = false;
}

void TFrmDisInsp::variableChosen(int index) {
    if (m_filling || index < 0) return;
    showVariable(m_boxVariable->itemText(index));
}

void TFrmDisInsp::showVariable(const QString& name) {
    m_row = name.isEmpty() ? 0 : m_model.inputs().FindVarRow(text(name));
    setWindowTitle(name.isEmpty() ? QStringLiteral("Distribution Inspector") : name);
    formFill();
}

void TFrmDisInsp::formFill() {
    if (m_row == 0) {
        m_edtCom->clear();
        m_lDis->clear();
        m_data = {};
        applyLayout(Layout::Unknown);
        return;
    }
    const TIis& iis = m_model.inputs().record(m_row);
    m_edtCom->setText(text(iis.Comment));
    const char sep = m_model.settings().DecimalSep;
    const bool histogram = isHistogram(iis.Kind);
    m_data = {};
    switch (iis.Kind) {
    case DistKind::dkUndefined:
        m_lDis->setText(QStringLiteral("Variable not defined"));
        applyLayout(Layout::None);
        return;
    case DistKind::dkStepNumber:
        m_lDis->setText(QStringLiteral("Step number"));
        applyLayout(Layout::None);
        return;
    case DistKind::dkConstant:
        m_lDis->setText(QStringLiteral("Constant"));
        m_cbVal->setEditText(iis.ConstCaption.empty() ? text(FormatShortest(iis.Loc, sep))
                                                      : text(iis.ConstCaption));
        applyLayout(Layout::Single);
        return;
    case DistKind::dkDiscrete:
        m_lDis->setText(QStringLiteral("Discrete distribution"));
        break;
    case DistKind::dkContinuous:
        m_lDis->setText(QStringLiteral("Continuous distribution"));
        break;
    case DistKind::dkExponential:
        m_lDis->setText(QStringLiteral("Exponential distribution"));
        break;
    case DistKind::dkLognormal:
        m_lDis->setText(QStringLiteral("Lognormal distribution"));
        break;
    case DistKind::dkNormal:
        m_lDis->setText(QStringLiteral("Normal distribution"));
        break;
    case DistKind::dkUniform:
        m_lDis->setText(QStringLiteral("Uniform distribution"));
        break;
    case DistKind::dkGumbel:
        m_lDis->setText(QStringLiteral("Gumbel distribution of largest values"));
        break;
    case DistKind::dkGumbelMin:
        m_lDis->setText(QStringLiteral("Gumbel distribution of smallest values"));
        break;
    case DistKind::dkWeibull:
        m_lDis->setText(QStringLiteral("Weibull distribution"));
        break;
    case DistKind::dkGamma:
        m_lDis->setText(QStringLiteral("Gamma distribution"));
        break;
    case DistKind::dkBeta:
        m_lDis->setText(QStringLiteral("Beta distribution"));
        break;
    case DistKind::dkTriangular:
        m_lDis->setText(QStringLiteral("Triangular distribution"));
        break;
    case DistKind::dkPert:
        m_lDis->setText(QStringLiteral("PERT distribution"));
        break;
    default:
        m_lDis->clear();
        applyLayout(Layout::Unknown);
        return;
    }

    m_filePanel->setVisible(histogram);
    if (histogram) {
        m_edtFileName->setText(text(iis.FileName));
        m_lClasses->setText(QString::number(iis.Bins));
    }
    const bool mode = EntersMode(iis.Kind);
    const bool meanEditable = isParametric(iis.Kind) && iis.Kind != DistKind::dkUniform && !mode;
    m_edtMin->setReadOnly(histogram);
    m_edtMax->setReadOnly(histogram);
    m_edtMean->setReadOnly(!meanEditable);
    m_edtStDev->setReadOnly(!meanEditable);
    // Histograms show no statistics: hide the seven fields with their captions. Only the
    // kinds entered by their mode show its field.
    for (QLabel* caption : m_fullPanel->findChildren<QLabel*>()) {
        QWidget* field = caption->buddy();
        if (field == nullptr || field == m_edtMin || field == m_edtMax) continue;
        const bool shown = field == m_edtMode ? mode : !histogram;
        caption->setVisible(shown);
        field->setVisible(shown);
    }
    applyLayout(Layout::Full);
    // Resetting a histogram would clear the range read from its file, with no way back.
    m_btnReset->setEnabled(!histogram);
    statFill();
    m_data = GraphDataFor(iis);
    drawGraph();
}

void TFrmDisInsp::applyLayout(Layout layout) {
    m_singlePanel->setVisible(layout == Layout::Single);
    m_fullPanel->setVisible(layout == Layout::Full);
    const bool buttons = layout == Layout::Single || layout == Layout::Full;
    m_btnSet->setVisible(buttons);
    m_btnReset->setVisible(buttons);
    m_btnReset->setEnabled(true);
    if (layout != Layout::Full) m_statusBar->clearMessage();
    if (layout == Layout::Full)
        resize(qMax(width(), 480), qMax(height(), 460));
    else
        resize(qMax(width(), 360), minimumSizeHint().height());
}

void TFrmDisInsp::statFill() {
    if (m_row == 0) return;
    const TIis& iis = m_model.inputs().record(m_row);
    const char sep = m_model.settings().DecimalSep;
    const auto put = [sep](QLineEdit* edit, Extended value, bool shown) {
        edit->setText(shown ? text(FormatShortest(value, sep)) : QString());
    };
    put(m_edtMin, iis.Min, true);
    put(m_edtMax, iis.Max, true);
    put(m_edtMean, iis.Mean, iis.StatShown.Mean);
    put(m_edtStDev, iis.StDev, iis.StatShown.StDev);
    put(m_edtMode, iis.Mode, EntersMode(iis.Kind));
    put(m_edtVari, iis.Variance, iis.StatShown.Variance);
    put(m_edtCoVar, iis.CoVar, iis.StatShown.CoVar);
    put(m_edtMed, iis.Median, iis.StatShown.Median);
    put(m_edtSkew, iis.Skew, iis.StatShown.Skew);
    put(m_edtKurt, iis.Kurt, iis.StatShown.Kurt);
}

void TFrmDisInsp::readBack(TIis& iis) {
    const char sep = m_model.settings().DecimalSep;
    // Fields go into the record one by one, so a bad one leaves the ones before it stored.
    const auto number = [sep](const QLineEdit* edit) {
        return StrToExtended(text(edit->text()), sep);
    };
    switch (iis.Kind) {
    case DistKind::dkConstant: {
        const std::string value = text(m_cbVal->currentText());
        if (const TConstantRec* c = FindNamedConstant(value)) {
            iis.Loc = c->Value;
            iis.ConstCaption = c->Caption;
        } else {
            iis.Loc = StrToExtended(value, sep);
            iis.ConstCaption.clear();
        }
        break;
    }
    case DistKind::dkDiscrete:
    case DistKind::dkContinuous:
    case DistKind::dkUniform:
        iis.Min = number(m_edtMin);
        iis.Max = number(m_edtMax);
        break;
    case DistKind::dkTriangular:
    case DistKind::dkPert:
        iis.Min = number(m_edtMin);
        iis.Max = number(m_edtMax);
        iis.Mode = number(m_edtMode);
        break;
    case DistKind::dkExponential:
    case DistKind::dkLognormal:
    case DistKind::dkNormal:
    case DistKind::dkGumbel:
    case DistKind::dkGumbelMin:
    case DistKind::dkWeibull:
    case DistKind::dkGamma:
    case DistKind::dkBeta:
        iis.Min = number(m_edtMin);
        iis.Max = number(m_edtMax);
        iis.Mean = number(m_edtMean);
        iis.StDev = number(m_edtStDev);
        break;
    default:
        break;
    }
}

bool TFrmDisInsp::checkAndApply(bool closing) {
    if (m_row == 0) return true;
    TIis& iis = m_model.inputs().record(m_row);
    TIis edited = iis;
    std::string conversionError;
    try {
        readBack(edited);
    } catch (const ConversionError& error) {
        conversionError = error.what();
    }
    // Looking at a distribution keeps the results; a change of its parameters discards them
    // before the record changes.
    if (ParametersDiffer(edited, iis)) {
        m_model.InvalidateResults();
        iis = std::move(edited);
    }
    if (!conversionError.empty()) {
        m_prompter.error(conversionError);
        return false;
    }
    const std::string failure = CheckParameters(iis);
    if (!failure.empty()) {
        m_prompter.error(failure);
        emit rowChanged(m_row);
        return false;
    }
    const std::string warning = CheckWarnings(iis);
    if (!warning.empty()) m_prompter.warning(warning);
    statFill();
    m_model.inputs().FillParametersCell(m_row);
    if (!closing && m_fullPanel->isVisible()) {
        m_data = GraphDataFor(iis);
        drawGraph();
    }
    emit rowChanged(m_row);
    return true;
}

void TFrmDisInsp::set() {
    checkAndApply(false);
}

void TFrmDisInsp::reset() {
    if (m_row == 0) return;
    if (m_prompter.confirm("Reset all parameters?", Prompter::Buttons::YesNoCancel) !=
        Prompter::Answer::Yes)
        return;
    m_model.InvalidateResults();
    TIis& iis = m_model.inputs().record(m_row);
    SetDefaultParameters(iis);
    (void)CheckParameters(iis);
    statFill();
    if (iis.Kind == DistKind::dkConstant)
        m_cbVal->setEditText(text(FormatShortest(iis.Loc, m_model.settings().DecimalSep)));
    m_model.inputs().FillParametersCell(m_row);
    if (m_fullPanel->isVisible()) {
        m_data = GraphDataFor(iis);
        drawGraph();
    }
    emit rowChanged(m_row);
}

void TFrmDisInsp::accept() {
    if (checkAndApply(true)) QDialog::accept();
}

void TFrmDisInsp::reject() {
    // The close box and Escape close with the same checks as OK.
    if (checkAndApply(true)) QDialog::reject();
}

void TFrmDisInsp::setGraphMode(DistGraphMode mode) {
    m_mode = mode;
    const auto actions = m_modeActions->actions();
    const int index = static_cast<int>(mode);
    if (index >= 0 && index < actions.size()) actions[index]->setChecked(true);
    drawGraph();
}

void TFrmDisInsp::drawGraph() {
    const TDistGraph graph = BuildDistGraph(m_data, m_mode);
    const int target = m_mode == DistGraphMode::Probability    ? m_resHis
                       : m_mode == DistGraphMode::Distribution ? m_resCum
                                                               : m_resQua;
    for (int s : {m_resHis, m_resCum, m_resQua}) {
        TPlotSeries& series = m_graph->series(s);
        series.visible = false;
        if (s != target) continue;
        series.points.clear();
        series.points.reserve(qsizetype(graph.points.size()));
        for (const TDistGraphPoint& p : graph.points)
            series.points.append({p.x, p.y});
    }
    m_graph->series(target).visible = m_data.count > 0;
    m_graph->scene().decimalSeparator = QLatin1Char(m_model.settings().DecimalSep);
    m_graph->setXRange(graph.xMin, graph.xMax);
    m_graph->setYRange(graph.yMin, graph.yMax);
    m_graph->resetZoom();
    m_graph->replot();
    m_statusBar->showMessage(QString::fromLatin1(ModeNames[static_cast<int>(m_mode)]));
}

bool TFrmDisInsp::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_boxVariable && event->type() == QEvent::FocusIn) {
        // Only a person moving to the list sets the shown variable, not the window opening.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (m_row != 0 && (reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason ||
                           reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason))
            set();
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace probex
