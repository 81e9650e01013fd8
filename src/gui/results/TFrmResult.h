#pragma once

#include "project/ResultWindows.h"

#include <QWidget>

#include <cstddef>
#include <cstdint>

namespace probex {

class ProjectModel;

/// What the main window needs of every result window (statistics, 1D, 2D, probabilities,
/// quantiles). Each window shows the description at `index()` in its kind's list of
/// `ProjectModel::resultWindows`, which is the state the project file keeps; the window
/// writes every change a person makes back into that description at once.
class TFrmResult : public QWidget {
    Q_OBJECT

public:
    TFrmResult(ProjectModel& model, ResultWindowKind kind, std::size_t index,
               QWidget* parent = nullptr)
        : QWidget(parent), m_model(model), m_kind(kind), m_index(index) {}

    ResultWindowKind kind() const { return m_kind; }
    /// The position of this window's description in its kind's list.
    std::size_t index() const { return m_index; }
    /// A window before it in the list closed: the gap closes.
    void setIndex(std::size_t index) { m_index = index; }

    /// The description was written anew (opened again for the same variable, read from a
    /// project file): show it.
    virtual void loadDescription() = 0;
    /// `RefillVariableBoxes(mode)`: the output table or the run table changed. A window whose
    /// variable is gone closes itself.
    virtual void refillVariableBoxes(int mode) = 0;
    /// A refresh during a run at this kind's rate, at `step`.
    virtual void refreshDuringRun(std::int32_t /*step*/) {}
    /// The refresh at the end of a stopped or finished run, and after the out equations.
    virtual void finalRefresh() = 0;
    /// The results were discarded: `FormClear`.
    virtual void clearResults() = 0;
    /// While a run goes the window's inputs are disabled.
    virtual void setRunning(bool running) = 0;
    /// A setting the window shows changed (colours, `PQLines`).
    virtual void settingsChanged() {}
    /// The "Discrete" or "Recalculate" cell of an output row changed (in the output table or
    /// in another window): a window showing that row's variable follows it.
    virtual void outputRowChanged(int /*row*/) {}
    /// The out equations computed a probability; a window coloured by their condition redraws.
    virtual void outEquationsEvaluated() {}

signals:
    /// The window asks to be closed and removed from its list (its variable is gone).
    void closeRequested();
    /// A person chose the variable now in the description: another window of the kind that
    /// shows it closes.
    void variableChosen();
    /// The window changed cells of the output table (an activity raised, a switch).
    void outputTableChanged();

protected:
    /// Resizes the window (its sub-window frame too) to a client area `height` pixels high.
    void setClientHeight(int height);

    ProjectModel& m_model;

private:
    ResultWindowKind m_kind;
    std::size_t m_index;
};

} // namespace probex
