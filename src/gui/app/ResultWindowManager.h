#pragma once

#include "gui/components/RefreshGate.h"
#include "project/LayoutFile.h"
#include "project/ResultWindows.h"

#include <QObject>
#include <QPointer>
#include <QRect>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace probex {

class ProjectModel;
class SensitivityWindows;
class TFrmResult;

/// The main window's result windows: one sub-window for every description in the project's
/// result-window lists, built when a description is opened (by a command or a project file)
/// and removed with its description when it closes. Passes the model's run events on to the
/// windows of the kind they concern.
class ResultWindowManager : public QObject, public ResultWindowsObserver {
    Q_OBJECT

public:
    static constexpr qint64 MinimumRefreshInterval = 100;

    ResultWindowManager(ProjectModel& model, QMdiArea* area, QObject* parent = nullptr);
    ~ResultWindowManager() override;

    /// The window at `index` of the kind's list; nullptr when the kind cannot be shown.
    TFrmResult* window(ResultWindowKind kind, std::size_t index) const;
    QMdiSubWindow* frame(ResultWindowKind kind, std::size_t index) const;
    std::size_t count(ResultWindowKind kind) const;
    /// The sensitivity windows, kept beside the five kinds.
    SensitivityWindows* sensitivity() const { return m_sensitivity; }

    // Commands.
    /// A View command: a window of the kind for the current output row's variable, or the
    /// first named row without such a window; nothing when every named row has one.
    void openFromView(ResultWindowKind kind, int currentOutputRow);
    /// A window of the kind for the variable; the one showing it is raised instead.
    void openForVariable(ResultWindowKind kind, const std::string& name);
    /// "View variable": a window of the kind for the variable of an output table row.
    void openForOutputRow(ResultWindowKind kind, int row);
    /// Every window of the kind to the front, in list order.
    void bringAllToFront(ResultWindowKind kind);
    /// Closes every window of the kind, from the last to the first.
    void closeAll(ResultWindowKind kind);
    /// Appends an item per result window, sensitivity windows last, to the menu (replacing
    /// the ones added before).
    void listWindows(QMenu* menu);

    // The model's events.
    void refreshStatistics(std::int32_t step);
    void refresh1D(std::int32_t step);
    void refreshPQ(std::int32_t step);
    /// Whether a refresh of the kind would show its windows now; safe on any thread.
    bool refreshWanted(ResultWindowKind kind) const {
        return m_refreshGates[static_cast<std::size_t>(kind)].open();
    }
    void finalRefresh();
    void outEquationsEvaluated();
    void resultsChanged(bool exist);
    void runningChanged(bool running);
    void settingsChanged();
    /// The output table changed outside a run: `RefillVariableBoxes(0)`.
    void outputTableEdited();

    // Placements for the layout file, window n of a kind at element n-1.
    std::vector<std::optional<TWindowPlacement>> placements(ResultWindowKind kind) const;
    std::vector<std::optional<TWindowPlacement>> sensitivityPlacements() const;
    void applyPlacements(const TProjectLayout& layout);

    // ResultWindowsObserver
    void windowOpened(ResultWindowKind kind, std::size_t index) override;
    void windowRaised(ResultWindowKind kind, std::size_t index) override;
    void windowsClosed() override;
    void outputRowCurrent(int row) override;
    void pqLineCountChanged(std::int32_t lines) override;
    void refillVariableBoxes(int mode) override;
    void sensitivityWindowOpened(std::size_t index, bool raised) override;

signals:
    /// Cells of the output table changed: its window shows them anew.
    void outputTableChanged();
    /// Make the row the current row of the output table's window.
    void outputRowWanted(int row);
    /// Restore and raise the output table's window.
    void outputTableWanted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        QPointer<QMdiSubWindow> frame; ///< null while the kind cannot be shown
        QPointer<TFrmResult> window;
        QRect normal; ///< the frame's last normal geometry
    };
    using List = std::vector<Entry>;

    List& list(ResultWindowKind kind) { return m_lists[static_cast<std::size_t>(kind)]; }
    const List& list(ResultWindowKind kind) const {
        return m_lists[static_cast<std::size_t>(kind)];
    }
    /// Calls `action` for every shown window of the kind, the last first when `backwards`.
    template <class Action> void forEach(ResultWindowKind kind, bool backwards, Action action);
    void raise(QMdiSubWindow* frame);
    /// Appends the Window menu's item for one result window.
    void listFrame(QMenu* menu, QMdiSubWindow* frame);
    /// The window's description leaves its list; later windows move down one place.
    void detach(QMdiSubWindow* frame);
    void closeOthersShowing(TFrmResult* chooser);
    void outputRowChanged(int row, bool discrete);
    /// Whether a refresh during the run shows the windows of the kind: at most one every
    /// `MinimumRefreshInterval` ms, so that a fast run does not wait for drawings nobody can
    /// read. The end of the run always shows everything.
    bool refreshDue(ResultWindowKind kind);

    ProjectModel& m_model;
    QMdiArea* m_area;
    std::array<List, 5> m_lists;
    std::vector<QAction*> m_listed;
    std::array<RefreshGate, 5> m_refreshGates{
        RefreshGate(MinimumRefreshInterval), RefreshGate(MinimumRefreshInterval),
        RefreshGate(MinimumRefreshInterval), RefreshGate(MinimumRefreshInterval),
        RefreshGate(MinimumRefreshInterval)};
    SensitivityWindows* m_sensitivity;
};

} // namespace probex
