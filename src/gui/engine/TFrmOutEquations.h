#pragma once

#include "gui/components/RefreshGate.h"
#include "simulation/OutEquations.h"

#include <QWidget>

#include <optional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTabWidget;
class QTimer;

namespace probex {

class ColouringEditor;
class TPlot;
class EquErrPrompter;
class ProjectModel;
class TDesignPointView;
class TMethodBox;

/// The out-equations window: the condition and its equations, the evaluation mode and
/// parameter fields, the Evaluate button and the result fields the evaluation fills (the
/// search shows each parameter value as it is tried), the precision of the probability, the
/// CoV stop rule and the convergence graph (estimate and interval against steps).
class TFrmOutEquations : public QWidget, private TOutEvalObserver {
    Q_OBJECT

public:
    TFrmOutEquations(ProjectModel& model, EquErrPrompter& prompter, QWidget* parent = nullptr);
    ~TFrmOutEquations() override;

    ColouringEditor* editor() const { return m_editor; }
    QStatusBar* barError() const { return m_barError; }
    QLineEdit* field(const char* name) const;
    TPlot* convergenceGraph() const { return m_convergence; }
    TMethodBox* methodBox() const { return m_methodBox; }
    TDesignPointView* designPoint() const { return m_designPoint; }

    /// Raises the window, places the caret, writes BarError, shows the popup
    /// "Out equations error".
    void ShowOutEquationError(const TEquError& error);
    void clearStatus();
    /// Text, mode and fields from the model (after New, Open, Merge).
    void refreshFromModel();
    void setCommentSeparator(char separator);

public slots:
    /// Evaluate: the parameter fields must convert; then the model's Evaluate.
    /// The Evaluate button: disabled while a run goes.
    void setEvaluateEnabled(bool enabled);
    bool BtnStartClick();

signals:
    /// A validation asks for an activity change in the output variable window.
    void outputVariablesRequested();
    /// A parameter value of the search is on screen.
    void iterationShown(int iteration);

private:
    void buildFields();
    QWidget* buildPrecision();
    QWidget* buildStopRule();
    void buildConvergenceGraph();
    void showEstimate(const TProbabilityEstimate& estimate);
    void storeStopRule();
    void redrawConvergence();
    /// The estimate and graph of the newest convergence point not yet on screen.
    void showPendingConvergence();
    /// Drops a point waiting to be shown: what follows draws everything.
    void dropPendingConvergence();
    void modeClicked(OutEvalMode mode);
    void applyModeLook();
    void fillParameterFields();
    void storeField(QLineEdit* edit);
    void showCleared();
    void setFieldColour(QLineEdit* edit, const QColor& colour);
    QString number(Extended value) const;

    // TOutEvalObserver
    void onIteration(const TOutIteration& iteration) override;
    void onResult(const TOutResult& result) override;
    void onCleared() override;
    void onConvergence(const TProbabilityEstimate& estimate) override;
    void onBusy(bool busy) override;
    void onError(const TEquError& error, const std::string& message) override;
    void showOutputVariables() override;

    ProjectModel& m_model;
    EquErrPrompter& m_prompter;
    ColouringEditor* m_editor;
    QStatusBar* m_barError;
    QRadioButton* m_rbInactive = nullptr;
    QRadioButton* m_rbProb = nullptr;
    QRadioButton* m_rbParameter = nullptr;
    QLineEdit* m_edtParName = nullptr;
    QLineEdit* m_edtParMin = nullptr;
    QLineEdit* m_edtParMax = nullptr;
    QLineEdit* m_edtTargetProb = nullptr;
    QLineEdit* m_edtMaxIter = nullptr;
    QLineEdit* m_edtMaxDiff = nullptr;
    QPushButton* m_btnStart = nullptr;
    QLineEdit* m_edtResult = nullptr;
    QLineEdit* m_edtProb = nullptr;
    QLineEdit* m_edtIteration = nullptr;
    QLineEdit* m_edtDiff = nullptr;
    QLineEdit* m_edtSteps = nullptr;
    QLineEdit* m_edtCount = nullptr;
    QLineEdit* m_edtInterval = nullptr;
    QLineEdit* m_edtCoV = nullptr;
    QCheckBox* m_chbStopRule = nullptr;
    QLineEdit* m_edtTargetCoV = nullptr;
    QLineEdit* m_edtMinSteps = nullptr;
    TPlot* m_convergence = nullptr;
    QTabWidget* m_graphs = nullptr;
    TMethodBox* m_methodBox = nullptr;
    TDesignPointView* m_designPoint = nullptr;
    int m_seriesEstimate = 0;
    int m_seriesLower = 0;
    int m_seriesUpper = 0;
    bool m_loading = false;
    /// A run adds points faster than anyone reads them: they are drawn at most every 100 ms,
    /// the newest one within 100 ms of its arrival.
    RefreshGate m_convergenceGate{100};
    QTimer* m_convergenceTimer = nullptr;
    std::optional<TProbabilityEstimate> m_pendingEstimate;
};

/// A colour of the settings (0x00BBGGRR) as Qt's colour.
QColor SettingsColour(std::int32_t bgr);

} // namespace probex
