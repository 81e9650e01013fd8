#include "gui/engine/TFrmOutEquations.h"

#include "gui/engine/TFrmEquations.h"

#include "gui/components/ColouringEditor.h"
#include "gui/components/Plot.h"
#include "gui/components/WholeText.h"
#include "gui/engine/ChildWindow.h"
#include "gui/engine/EquErrPrompter.h"
#include "gui/reliability/TDesignPointView.h"
#include "gui/reliability/TMethodBox.h"
#include "model/ProjectModel.h"
#include "settings/NumberText.h"
#include "settings/Settings.h"

#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace probex {

namespace {

const char* const OutEquationsError = "Out equations error";

QLineEdit* MakeEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QLineEdit* MakeResultField(QWidget* parent, const char* name) {
    QLineEdit* edit = MakeEdit(parent, name);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::ClickFocus);
    return edit;
}

} // namespace

QColor SettingsColour(std::int32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

TFrmOutEquations::TFrmOutEquations(ProjectModel& model, EquErrPrompter& prompter, QWidget* parent)
    : QWidget(parent), m_model(model), m_prompter(prompter), m_editor(new ColouringEditor(this)),
      m_barError(new QStatusBar(this)) {
    setObjectName(QStringLiteral("FrmOutEquations"));
    setWindowTitle(QStringLiteral("Out Equations"));
    m_editor->setObjectName(QStringLiteral("OutEquations"));
    m_editor->setCommentSeparator(model.settings().CommentSep);
    m_barError->setObjectName(QStringLiteral("BarError"));
    m_barError->setSizeGripEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* top = new QSplitter(Qt::Horizontal, this);
    top->addWidget(m_editor);
    buildConvergenceGraph();
    m_convergenceTimer = new QTimer(this);
    m_convergenceTimer->setSingleShot(true);
    m_convergenceTimer->setInterval(100);
    connect(m_convergenceTimer, &QTimer::timeout, this, [this] { showPendingConvergence(); });
    // The design point of the methods that find one stands beside the convergence graph.
    m_graphs = new QTabWidget(this);
    m_graphs->setObjectName(QStringLiteral("TabGraphs"));
    m_designPoint = new TDesignPointView(prompter, m_graphs);
    m_graphs->addTab(m_convergence, QStringLiteral("Convergence"));
    m_graphs->addTab(m_designPoint, QStringLiteral("Design point"));
    top->addWidget(m_graphs);
    top->setStretchFactor(0, 1);
    top->setStretchFactor(1, 1);
    layout->addWidget(top, 1);
    buildFields();
    layout->addWidget(m_barError);
    resize(760, 460);

    connect(m_editor->document(), &QTextDocument::contentsChange, this,
            [this](int, int removed, int added) {
                if (m_loading || (removed == 0 && added == 0)) return;
                m_model.outEquationLines = m_editor->lines();
                m_model.outEquations().ClearOutResults();
            });
    m_model.outEquations().setObserver(this);
    refreshFromModel();
}

TFrmOutEquations::~TFrmOutEquations() {
    m_model.outEquations().setObserver(nullptr);
}

void TFrmOutEquations::buildFields() {
    auto* row = new QHBoxLayout;
    row->setContentsMargins(4, 0, 4, 0);

    auto* modes = new QGroupBox(QStringLiteral("Mode"), this);
    m_rbInactive = new QRadioButton(QStringLiteral("Inactive"), modes);
    m_rbProb = new QRadioButton(QStringLiteral("Probability"), modes);
    m_rbParameter = new QRadioButton(QStringLiteral("Parameter"), modes);
    m_rbInactive->setObjectName(QStringLiteral("RBInactive"));
    m_rbProb->setObjectName(QStringLiteral("RBProb"));
    m_rbParameter->setObjectName(QStringLiteral("RBParameter"));
    auto* modeLayout = new QVBoxLayout(modes);
    for (QRadioButton* rb : {m_rbInactive, m_rbProb, m_rbParameter})
        modeLayout->addWidget(rb);
    connect(m_rbInactive, &QRadioButton::clicked, this,
            [this] { modeClicked(OutEvalMode::Inactive); });
    connect(m_rbProb, &QRadioButton::clicked, this,
            [this] { modeClicked(OutEvalMode::Probability); });
    connect(m_rbParameter, &QRadioButton::clicked, this,
            [this] { modeClicked(OutEvalMode::Parameter); });
    row->addWidget(modes);

    auto* parameters = new QGroupBox(QStringLiteral("Parameter"), this);
    auto* form = new QFormLayout(parameters);
    m_edtParName = MakeEdit(parameters, "EdtParName");
    m_edtParMin = MakeEdit(parameters, "EdtParMin");
    m_edtParMax = MakeEdit(parameters, "EdtParMax");
    m_edtTargetProb = MakeEdit(parameters, "EdtTargetProb");
    m_edtMaxIter = MakeEdit(parameters, "EdtMaxIter");
    m_edtMaxDiff = MakeEdit(parameters, "EdtMaxDiff");
    form->addRow(QStringLiteral("Name:"), m_edtParName);
    form->addRow(QStringLiteral("Min:"), m_edtParMin);
    form->addRow(QStringLiteral("Max:"), m_edtParMax);
    form->addRow(QStringLiteral("Target probability:"), m_edtTargetProb);
    form->addRow(QStringLiteral("Max iterations:"), m_edtMaxIter);
    form->addRow(QStringLiteral("Max difference:"), m_edtMaxDiff);
    for (QLineEdit* edit :
         {m_edtParName, m_edtParMin, m_edtParMax, m_edtTargetProb, m_edtMaxIter, m_edtMaxDiff})
        connect(edit, &QLineEdit::textEdited, this, [this, edit] { storeField(edit); });
    row->addWidget(parameters, 1);

    auto* results = new QVBoxLayout;
    m_btnStart = new QPushButton(QStringLiteral("Evaluate"), this);
    m_btnStart->setObjectName(QStringLiteral("BtnStart"));
    connect(m_btnStart, &QPushButton::clicked, this, [this] { BtnStartClick(); });
    results->addWidget(m_btnStart);
    auto* resultForm = new QFormLayout;
    m_edtResult = MakeResultField(this, "EdtResult");
    resultForm->addRow(QStringLiteral("Result:"), m_edtResult);
    results->addLayout(resultForm);
    auto* current = new QGroupBox(QStringLiteral("Current"), this);
    auto* currentForm = new QFormLayout(current);
    m_edtProb = MakeResultField(current, "EdtProb");
    m_edtIteration = MakeResultField(current, "EdtIteration");
    m_edtDiff = MakeResultField(current, "EdtDiff");
    currentForm->addRow(QStringLiteral("Probability:"), m_edtProb);
    currentForm->addRow(QStringLiteral("Iteration:"), m_edtIteration);
    currentForm->addRow(QStringLiteral("Difference:"), m_edtDiff);
    results->addWidget(current);
    // The method sits under the search's fields, so that the window stays low enough to leave
    // room for the model windows.
    m_methodBox = new TMethodBox(m_model.outEquations().evalSettings().Reliability, this);
    connect(m_methodBox, &TMethodBox::methodChanged, this,
            [this] { m_model.outEquations().ClearOutResults(); });
    results->addWidget(m_methodBox);
    results->addStretch(1);
    row->addLayout(results, 1);

    auto* probability = new QVBoxLayout;
    probability->addWidget(buildPrecision());
    probability->addWidget(buildStopRule());
    probability->addStretch(1);
    row->addLayout(probability, 1);

    // Room for what the fields usually hold, so that the window opens large enough; longer
    // texts widen their field when they come.
    const std::pair<QLineEdit*, const char*> samples[] = {{m_edtParName, "0000000000"},
                                                          {m_edtParMin, "-0.0000000000"},
                                                          {m_edtParMax, "-0.0000000000"},
                                                          {m_edtTargetProb, "-0.0000000000"},
                                                          {m_edtMaxIter, "00000"},
                                                          {m_edtMaxDiff, "-0.0000000000"},
                                                          {m_edtResult, "-0.00000000000000"},
                                                          {m_edtProb, "-0.00000000000000"},
                                                          {m_edtIteration, "00000"},
                                                          {m_edtDiff, "-0.00000000000000"}};
    for (const auto& [edit, sample] : samples)
        ReserveFieldWidth(edit, QLatin1String(sample));
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
}

QWidget* TFrmOutEquations::buildPrecision() {
    auto* box = new QGroupBox(QStringLiteral("Precision"), this);
    auto* form = new QFormLayout(box);
    m_edtSteps = MakeResultField(box, "EdtSteps");
    m_edtCount = MakeResultField(box, "EdtCount");
    m_edtInterval = MakeResultField(box, "EdtInterval");
    m_edtCoV = MakeResultField(box, "EdtCoV");
    m_edtInterval->setToolTip(QStringLiteral("95 % Wilson score interval of the probability"));
    m_edtCoV->setToolTip(
        QStringLiteral("Coefficient of variation of the probability, sqrt((1 - p)/(n p))"));
    form->addRow(QStringLiteral("Steps:"), m_edtSteps);
    form->addRow(QStringLiteral("Count:"), m_edtCount);
    form->addRow(QStringLiteral("95 % interval:"), m_edtInterval);
    form->addRow(QStringLiteral("CoV:"), m_edtCoV);
    ReserveFieldWidth(m_edtSteps, QStringLiteral("0000000000"));
    ReserveFieldWidth(m_edtCount, QStringLiteral("0000000000"));
    ReserveFieldWidth(m_edtInterval, QStringLiteral("0.00000 0.00000"));
    ReserveFieldWidth(m_edtCoV, QStringLiteral("000.0 %"));
    return box;
}

QWidget* TFrmOutEquations::buildStopRule() {
    auto* box = new QGroupBox(QStringLiteral("Stop rule"), this);
    auto* form = new QFormLayout(box);
    m_chbStopRule = new QCheckBox(QStringLiteral("Stop the run at the target CoV"), box);
    m_chbStopRule->setObjectName(QStringLiteral("ChBStopRule"));
    m_edtTargetCoV = MakeEdit(box, "EdtTargetCoV");
    m_edtMinSteps = MakeEdit(box, "EdtMinSteps");
    form->addRow(m_chbStopRule);
    form->addRow(QStringLiteral("Target CoV (%):"), m_edtTargetCoV);
    form->addRow(QStringLiteral("Min. steps:"), m_edtMinSteps);
    ReserveFieldWidth(m_edtTargetCoV, QStringLiteral("00.0"));
    ReserveFieldWidth(m_edtMinSteps, QStringLiteral("00000000"));
    connect(m_chbStopRule, &QCheckBox::toggled, this, [this] { storeStopRule(); });
    for (QLineEdit* edit : {m_edtTargetCoV, m_edtMinSteps})
        connect(edit, &QLineEdit::textEdited, this, [this] { storeStopRule(); });
    return box;
}

void TFrmOutEquations::buildConvergenceGraph() {
    m_convergence = new TPlot(this);
    m_convergence->setObjectName(QStringLiteral("PxConvergence"));
    TPlotScene& scene = m_convergence->scene();
    scene.x.logarithmic = true;
    scene.x.title = QStringLiteral("Steps");
    scene.y.title = QStringLiteral("Probability");
    const QColor bound(128, 128, 128);
    m_seriesLower =
        m_convergence->addSeries(PlotSeriesKind::Line, bound, 1, QStringLiteral("Lower"));
    m_seriesUpper =
        m_convergence->addSeries(PlotSeriesKind::Line, bound, 1, QStringLiteral("Upper"));
    m_seriesEstimate = m_convergence->addSeries(PlotSeriesKind::Line,
                                                SettingsColour(m_model.settings().Plot1DColor), 2,
                                                QStringLiteral("Estimate"));
}

QLineEdit* TFrmOutEquations::field(const char* name) const {
    return findChild<QLineEdit*>(QLatin1String(name));
}

QString TFrmOutEquations::number(Extended value) const {
    return QString::fromStdString(FormatShortest(value, m_model.settings().DecimalSep));
}

void TFrmOutEquations::refreshFromModel() {
    m_loading = true;
    if (m_editor->lines() != m_model.outEquationLines) m_editor->setLines(m_model.outEquationLines);
    switch (m_model.outEquations().evalSettings().Mode) {
    case OutEvalMode::Inactive:
        m_rbInactive->setChecked(true);
        break;
    case OutEvalMode::Probability:
        m_rbProb->setChecked(true);
        break;
    case OutEvalMode::Parameter:
        m_rbParameter->setChecked(true);
        break;
    }
    m_loading = false;
    applyModeLook();
    fillParameterFields();
    m_methodBox->refresh();
    if (!m_model.outEquations().hasResult()) showCleared();
    dropPendingConvergence();
    redrawConvergence();
}

void TFrmOutEquations::setCommentSeparator(char separator) {
    m_editor->setCommentSeparator(separator);
}

void TFrmOutEquations::modeClicked(OutEvalMode mode) {
    m_model.outEquations().setMode(mode);
    applyModeLook();
    if (mode == OutEvalMode::Parameter) fillParameterFields();
}

void TFrmOutEquations::applyModeLook() {
    const OutEvalMode mode = m_model.outEquations().evalSettings().Mode;
    QPalette palette = m_editor->palette();
    palette.setColor(QPalette::Base, mode == OutEvalMode::Inactive
                                         ? QColor(Qt::lightGray)
                                         : QApplication::palette().color(QPalette::Base));
    m_editor->setPalette(palette);
    for (QLineEdit* edit :
         {m_edtParName, m_edtParMin, m_edtParMax, m_edtTargetProb, m_edtMaxIter, m_edtMaxDiff})
        edit->setEnabled(mode == OutEvalMode::Parameter);
    // The rule follows the probability counted during a run, which only this mode does.
    for (QWidget* w : std::initializer_list<QWidget*>{m_chbStopRule, m_edtTargetCoV, m_edtMinSteps})
        w->setEnabled(mode == OutEvalMode::Probability);
    m_methodBox->setEnabled(mode != OutEvalMode::Inactive);
}

void TFrmOutEquations::fillParameterFields() {
    const TOutEvalSettings& eval = m_model.outEquations().evalSettings();
    ShowWholeText(m_edtParName, QString::fromLatin1(eval.ParName));
    ShowWholeText(m_edtParMin, number(eval.ParMin));
    ShowWholeText(m_edtParMax, number(eval.ParMax));
    ShowWholeText(m_edtTargetProb, number(eval.Target));
    ShowWholeText(m_edtMaxIter, QString::number(eval.MaxIter));
    ShowWholeText(m_edtMaxDiff, number(eval.MaxDiff));
    const bool loading = m_loading;
    m_loading = true;
    m_chbStopRule->setChecked(eval.StopRule);
    m_loading = loading;
    ShowWholeText(m_edtTargetCoV, number(eval.TargetCoV));
    ShowWholeText(m_edtMinSteps, QString::number(eval.MinSteps));
}

void TFrmOutEquations::storeStopRule() {
    if (m_loading) return;
    // A text that does not convert (yet) keeps the stored value.
    TOutEvalSettings& eval = m_model.outEquations().evalSettings();
    eval.StopRule = m_chbStopRule->isChecked();
    Extended target = 0;
    if (TryStrToExtended(m_edtTargetCoV->text().toLatin1().toStdString(),
                         m_model.settings().DecimalSep, target))
        eval.TargetCoV = target;
    std::int32_t steps = 0;
    if (TryStrToInt(m_edtMinSteps->text().toLatin1().toStdString(), steps, false))
        eval.MinSteps = steps;
}

void TFrmOutEquations::storeField(QLineEdit* edit) {
    // A text that does not convert (yet) keeps the stored value; Evaluate reports it.
    TOutEvalSettings& eval = m_model.outEquations().evalSettings();
    const std::string text = edit->text().toLatin1().toStdString();
    const char separator = m_model.settings().DecimalSep;
    Extended value = 0;
    if (edit == m_edtParName) {
        eval.ParName = edit->text().trimmed().toLatin1().toStdString();
    } else if (edit == m_edtMaxIter) {
        std::int32_t iterations = 0;
        if (TryStrToInt(text, iterations, false)) eval.MaxIter = iterations;
    } else if (TryStrToExtended(text, separator, value)) {
        if (edit == m_edtParMin) eval.ParMin = value;
        if (edit == m_edtParMax) eval.ParMax = value;
        if (edit == m_edtTargetProb) eval.Target = value;
        if (edit == m_edtMaxDiff) eval.MaxDiff = value;
    }
}

bool TFrmOutEquations::BtnStartClick() {
    TOutEvalSettings& eval = m_model.outEquations().evalSettings();
    try {
        if (eval.Mode == OutEvalMode::Parameter) {
            const char separator = m_model.settings().DecimalSep;
            const auto text = [](QLineEdit* e) { return e->text().toLatin1().toStdString(); };
            eval.ParMin = StrToExtended(text(m_edtParMin), separator);
            eval.ParMax = StrToExtended(text(m_edtParMax), separator);
            eval.Target = StrToExtended(text(m_edtTargetProb), separator);
            eval.MaxIter = StrToInt(text(m_edtMaxIter), false);
            eval.MaxDiff = StrToExtended(text(m_edtMaxDiff), separator);
        }
        return m_model.Evaluate();
    } catch (const ConversionError& error) {
        m_prompter.error(error.what());
        return false;
    }
}

void TFrmOutEquations::setFieldColour(QLineEdit* edit, const QColor& colour) {
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, colour);
    edit->setPalette(palette);
}

void TFrmOutEquations::showCleared() {
    for (QLineEdit* edit : {m_edtResult, m_edtProb, m_edtIteration, m_edtDiff, m_edtSteps,
                            m_edtCount, m_edtInterval, m_edtCoV}) {
        edit->clear();
        setFieldColour(edit, Qt::lightGray);
    }
}

void TFrmOutEquations::showEstimate(const TProbabilityEstimate& estimate) {
    const char sep = m_model.settings().DecimalSep;
    const Extended width = estimate.Upper - estimate.Lower;
    ShowWholeText(m_edtSteps, QString::number(estimate.Steps));
    // The methods other than Monte Carlo count nothing.
    ShowWholeText(m_edtCount, m_model.outEquations().usesReliability()
                                  ? QStringLiteral("-")
                                  : QString::number(estimate.Count));
    // FORM and SORM give a probability without an interval.
    const bool pointOnly = m_model.outEquations().usesReliability() && width == 0;
    ShowWholeText(m_edtInterval,
                  pointOnly
                      ? QString()
                      : QString::fromLatin1(FormatIntervalBound(estimate.Lower, width, sep) + " " +
                                            FormatIntervalBound(estimate.Upper, width, sep)));
    const std::string cov = FormatCoVPercent(estimate, sep);
    ShowWholeText(m_edtCoV, cov.empty() ? QString() : QString::fromLatin1(cov + " %"));
    const QColor window = QApplication::palette().color(QPalette::Base);
    for (QLineEdit* edit : {m_edtSteps, m_edtCount, m_edtInterval, m_edtCoV})
        setFieldColour(edit, window);
}

void TFrmOutEquations::redrawConvergence() {
    // The other methods reach probabilities far below the first points: a logarithmic axis.
    const bool reliability = m_model.outEquations().usesReliability();
    QVector<QPointF> estimate, lower, upper;
    for (const TProbabilityEstimate& e : m_model.outEquations().convergence()) {
        if (reliability && !(e.Lower > 0)) continue;
        const double steps = static_cast<double>(e.Steps);
        estimate.append({steps, static_cast<double>(e.Probability)});
        lower.append({steps, static_cast<double>(e.Lower)});
        upper.append({steps, static_cast<double>(e.Upper)});
    }
    m_convergence->series(m_seriesEstimate).points = estimate;
    m_convergence->series(m_seriesLower).points = lower;
    m_convergence->series(m_seriesUpper).points = upper;
    m_convergence->scene().x.title =
        reliability ? QStringLiteral("Model evaluations") : QStringLiteral("Steps");
    m_convergence->scene().y.logarithmic = reliability;
    m_convergence->scene().decimalSeparator = QLatin1Char(m_model.settings().DecimalSep);
    m_convergence->replot();
}

void TFrmOutEquations::onConvergence(const TProbabilityEstimate& estimate) {
    m_pendingEstimate = estimate;
    if (m_convergenceGate.take())
        showPendingConvergence();
    else if (!m_convergenceTimer->isActive())
        m_convergenceTimer->start();
}

void TFrmOutEquations::dropPendingConvergence() {
    m_convergenceTimer->stop();
    m_pendingEstimate.reset();
    m_convergenceGate.reopen();
}

void TFrmOutEquations::showPendingConvergence() {
    if (!m_pendingEstimate) return;
    const TProbabilityEstimate estimate = *m_pendingEstimate;
    dropPendingConvergence();
    m_convergenceGate.take();
    // During a run the estimate so far stands in the result field in the plain colour.
    ShowWholeText(m_edtResult, QString::fromLatin1(FormatResultValue(
                                   estimate.Probability, m_model.settings().DecimalSep)));
    setFieldColour(m_edtResult, QApplication::palette().color(QPalette::Base));
    showEstimate(estimate);
    redrawConvergence();
}

void TFrmOutEquations::onIteration(const TOutIteration& iteration) {
    const QColor window = QApplication::palette().color(QPalette::Base);
    ShowWholeText(m_edtResult, number(iteration.Parameter));
    ShowWholeText(m_edtIteration, QString::number(iteration.Iteration));
    ShowWholeText(m_edtProb, number(iteration.Probability));
    ShowWholeText(m_edtDiff, number(iteration.Difference));
    for (QLineEdit* edit : {m_edtProb, m_edtIteration, m_edtDiff})
        setFieldColour(edit, window);
    showEstimate(iteration.Estimate);
    // A search on this thread (Monte Carlo) is seen only at its end unless painted now.
    for (QLineEdit* edit : {m_edtResult, m_edtProb, m_edtIteration, m_edtDiff})
        edit->repaint();
    emit iterationShown(iteration.Iteration);
}

void TFrmOutEquations::onResult(const TOutResult& result) {
    // The result replaces the estimate so far; the graph gets the points not yet drawn.
    if (m_pendingEstimate) {
        dropPendingConvergence();
        redrawConvergence();
    }
    ShowWholeText(m_edtResult, QString::fromLatin1(result.Text));
    m_edtResult->setEnabled(true);
    showEstimate(result.Estimate);
    setFieldColour(m_edtResult, SettingsColour(m_model.settings().ResultsColor));
    const TOutEquations& out = m_model.outEquations();
    if (!out.usesReliability()) {
        m_designPoint->clear();
        return;
    }
    const TReliabilityResult& method = out.reliabilityResult();
    m_designPoint->showResult(method, m_model.settings().DecimalSep);
    // Probability mode has no search: "Iteration" tells FORM's iterations or the levels of
    // subset simulation.
    if (out.evalSettings().Mode == OutEvalMode::Probability) {
        m_edtIteration->setText(QString::number(method.Method == ReliabilityMethod::SubsetSimulation
                                                    ? method.Levels
                                                    : method.Iterations));
        setFieldColour(m_edtIteration, QApplication::palette().color(QPalette::Base));
    }
}

void TFrmOutEquations::onCleared() {
    dropPendingConvergence();
    showCleared();
    m_designPoint->clear();
    redrawConvergence();
}

void TFrmOutEquations::onBusy(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TFrmOutEquations::onError(const TEquError& error, const std::string& message) {
    BringChildToFront(this);
    if (error.Code != 0) {
        m_editor->placeCaret(error.Line, error.Pos);
        m_prompter.keepClearOf(caretLineArea(m_editor));
    }
    // A compile error of the text gets its culprit; other messages say it themselves.
    const bool located = error.Code != 0 && message == ErrorText(error.Code);
    const std::vector<std::string>& lines = m_model.outEquationLines;
    m_barError->showMessage(located ? EquationErrorText(error, lines)
                                    : QString::fromLatin1(message));
    // The core shows the message next; it becomes this window's popup.
    m_prompter.expectPopup(OutEquationsError, message,
                           located ? EquationErrorPopupText(error, lines) : std::string());
}

void TFrmOutEquations::showOutputVariables() {
    emit outputVariablesRequested();
}

void TFrmOutEquations::ShowOutEquationError(const TEquError& error) {
    BringChildToFront(this);
    m_editor->placeCaret(error.Line, error.Pos);
    m_barError->showMessage(EquationErrorText(error, m_model.outEquationLines));
    m_prompter.keepClearOf(caretLineArea(m_editor));
    m_prompter.showPopup(OutEquationsError,
                         EquationErrorPopupText(error, m_model.outEquationLines));
}

void TFrmOutEquations::setEvaluateEnabled(bool enabled) {
    m_btnStart->setEnabled(enabled);
}

void TFrmOutEquations::clearStatus() {
    m_barError->clearMessage();
}

} // namespace probex
