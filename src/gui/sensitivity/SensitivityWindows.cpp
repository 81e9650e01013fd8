#include "gui/sensitivity/SensitivityWindows.h"

#include "engine/Expression.h"
#include "gui/sensitivity/TFrmSensitivity.h"
#include "model/ProjectModel.h"

#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace probex {

SensitivityWindows::SensitivityWindows(ProjectModel& model, QMdiArea* area, QObject* parent)
    : QObject(parent), m_model(model), m_area(area) {}

SensitivityWindows::~SensitivityWindows() {
    for (Entry& entry : m_windows)
        if (entry.frame) entry.frame->removeEventFilter(this);
}

TFrmSensitivity* SensitivityWindows::window(std::size_t index) const {
    return index < m_windows.size() ? m_windows[index].window.data() : nullptr;
}

QMdiSubWindow* SensitivityWindows::frame(std::size_t index) const {
    return index < m_windows.size() ? m_windows[index].frame.data() : nullptr;
}

QRect SensitivityWindows::normalGeometry(std::size_t index) const {
    return index < m_windows.size() ? m_windows[index].normal : QRect();
}

void SensitivityWindows::placed(std::size_t index) {
    if (index < m_windows.size() && m_windows[index].frame)
        m_windows[index].normal = m_windows[index].frame->geometry();
}

void SensitivityWindows::openFromView(int currentOutputRow) {
    TOutputTable& outputs = m_model.outputs();
    const auto shown = [this](const std::string& name) {
        for (const TSensWindowDesc& d : m_model.resultWindows.sensitivity)
            if (!d.event && SameName(d.variable, name)) return true;
        return false;
    };
    const auto logged = [&outputs](int row) {
        return outputs.cell(row, colActivity) == ActivityWord(Activity::Log);
    };
    int row = 0;
    if (currentOutputRow >= 1 && currentOutputRow <= OutputRows &&
        !outputs.cell(currentOutputRow, colVariable).empty() &&
        !shown(outputs.cell(currentOutputRow, colVariable)))
        row = currentOutputRow;
    // A logged output first, as it needs no other run; then any output.
    for (const bool needLog : {true, false})
        for (int r = 1; row == 0 && r <= OutputRows; ++r)
            if (!outputs.cell(r, colVariable).empty() && (logged(r) || !needLog) &&
                !shown(outputs.cell(r, colVariable)))
                row = r;
    TSensWindowDesc desc;
    if (row != 0) {
        desc.variable = outputs.cell(row, colVariable);
        if (!logged(row) && !m_model.running()) {
            // A new activity gathers from the next run on, as in the output table.
            outputs.editCell(row, colActivity, ActivityWord(Activity::Log));
            emit outputTableChanged();
        }
    } else {
        desc.event = m_model.outEquations().evalSettings().Mode == OutEvalMode::Probability;
    }
    m_model.resultWindows.open(desc);
}

void SensitivityWindows::opened(std::size_t index, bool raised) {
    if (raised) {
        if (TFrmSensitivity* shown = window(index)) {
            shown->loadDescription();
            raise(frame(index));
        }
        return;
    }
    auto* shown = new TFrmSensitivity(m_model, index);
    QMdiSubWindow* sub = m_area->addSubWindow(shown);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setObjectName(QStringLiteral("FrmSensitivityWindow"));
    sub->installEventFilter(this);
    m_windows.push_back({sub, shown, sub->geometry()});
    connect(shown, &TFrmSensitivity::variableChosen, this,
            [this, shown] { closeOthersShowing(shown); });
    sub->show();
    shown->setRunning(m_model.running());
    shown->loadDescription();
    m_windows.back().normal = sub->geometry();
    raise(sub);
}

void SensitivityWindows::raise(QMdiSubWindow* sub) {
    if (sub == nullptr) return;
    if (sub->isMinimized()) sub->showNormal();
    sub->show();
    m_area->setActiveSubWindow(sub);
    sub->raise();
}

void SensitivityWindows::closeOthersShowing(TFrmSensitivity* chooser) {
    const TSensWindowDesc chosen = m_model.resultWindows.sensitivity.at(chooser->index());
    for (std::size_t i = m_windows.size(); i-- > 0;) {
        if (m_windows[i].window == chooser || !m_windows[i].frame) continue;
        const TSensWindowDesc& other = m_model.resultWindows.sensitivity.at(i);
        if (other.event == chosen.event && SameName(other.variable, chosen.variable))
            m_windows[i].frame->close();
    }
}

void SensitivityWindows::closedAll() {
    std::vector<Entry> closing = std::move(m_windows);
    m_windows.clear();
    for (Entry& entry : closing) {
        if (!entry.frame) continue;
        entry.frame->removeEventFilter(this);
        delete entry.frame;
    }
}

void SensitivityWindows::refreshDuringRun(std::int32_t step) {
    // Each refresh sorts every step again: only when the steps grew by a quarter and a
    // second has passed, so that the refreshes cost a small part of the run.
    if (m_windows.empty() || step < m_computedSteps + m_computedSteps / 4) return;
    if (m_lastRefresh.isValid() && !m_lastRefresh.hasExpired(1000)) return;
    m_computedSteps = step;
    m_lastRefresh.start();
    for (const Entry& entry : m_windows)
        if (entry.window) entry.window->refresh();
}

void SensitivityWindows::finalRefresh() {
    for (const Entry& entry : m_windows)
        if (entry.window) entry.window->refresh();
}

void SensitivityWindows::resultsChanged(bool exist) {
    if (exist) return;
    for (const Entry& entry : m_windows) {
        if (!entry.window) continue;
        entry.window->clearResults();
        entry.window->refillVariableBox();
    }
}

void SensitivityWindows::runningChanged(bool running) {
    m_computedSteps = 0;
    m_lastRefresh.invalidate();
    for (const Entry& entry : m_windows)
        if (entry.window) entry.window->setRunning(running);
}

void SensitivityWindows::outputTableEdited() {
    if (m_model.running()) return;
    for (const Entry& entry : m_windows)
        if (entry.window) entry.window->refillVariableBox();
}

bool SensitivityWindows::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close) {
        for (std::size_t i = 0; i < m_windows.size(); ++i) {
            if (m_windows[i].frame != watched) continue;
            m_windows[i].frame->removeEventFilter(this);
            auto& list = m_model.resultWindows.sensitivity;
            if (i < list.size()) list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
            m_windows.erase(m_windows.begin() + static_cast<std::ptrdiff_t>(i));
            for (std::size_t j = i; j < m_windows.size(); ++j)
                if (m_windows[j].window) m_windows[j].window->setIndex(j);
            break;
        }
    } else if (event->type() == QEvent::Move || event->type() == QEvent::Resize) {
        auto* sub = qobject_cast<QMdiSubWindow*>(watched);
        if (sub != nullptr && !(sub->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)))
            for (Entry& entry : m_windows)
                if (entry.frame == sub) entry.normal = sub->geometry();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace probex
