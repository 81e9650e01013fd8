#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QRect>

#include <cstddef>
#include <cstdint>
#include <vector>

class QMdiArea;
class QMdiSubWindow;

namespace probex {

class ProjectModel;
class TFrmSensitivity;

/// The open sensitivity windows: one sub-window per description in the project's list,
/// built when a description is opened and removed with it when it closes; the run's events
/// reach them here.
class SensitivityWindows : public QObject {
    Q_OBJECT

public:
    SensitivityWindows(ProjectModel& model, QMdiArea* area, QObject* parent = nullptr);
    ~SensitivityWindows() override;

    std::size_t count() const { return m_windows.size(); }
    TFrmSensitivity* window(std::size_t index) const;
    QMdiSubWindow* frame(std::size_t index) const;
    /// The frame's last normal geometry, which a layout keeps while it is minimised or
    /// maximised.
    QRect normalGeometry(std::size_t index) const;
    /// The frame at `index` was placed from a layout: its geometry now is the one to keep.
    void placed(std::size_t index);

    /// The View command: the current output row's variable, else the first logged output
    /// without a window, else the first output without one, else the out equations' event. The
    /// variable gets the activity "Log", as its sensitivity needs its value at every step.
    void openFromView(int currentOutputRow);

    // From the project's window lists.
    void opened(std::size_t index, bool raised);
    void closedAll();

    // The run's events.
    void refreshDuringRun(std::int32_t step);
    void finalRefresh();
    void resultsChanged(bool exist);
    void runningChanged(bool running);
    void outputTableEdited();

signals:
    void outputTableChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        QPointer<QMdiSubWindow> frame;
        QPointer<TFrmSensitivity> window;
        QRect normal;
    };
    void raise(QMdiSubWindow* frame);
    void closeOthersShowing(TFrmSensitivity* chooser);

    ProjectModel& m_model;
    QMdiArea* m_area;
    std::vector<Entry> m_windows;
    std::int32_t m_computedSteps = 0; ///< the steps of the last refresh during a run
    QElapsedTimer m_lastRefresh;
};

} // namespace probex
