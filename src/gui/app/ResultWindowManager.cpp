#include "gui/app/ResultWindowManager.h"

#include "gui/app/SubWindowFit.h"
#include "gui/app/WindowPlacement.h"
#include "gui/results/ResultWindowFactory.h"
#include "gui/results/TFrmResult.h"
#include "gui/sensitivity/SensitivityWindows.h"
#include "model/ProjectModel.h"
#include "model/ResultWindowOpening.h"

#include <QAction>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

namespace probex {

ResultWindowManager::ResultWindowManager(ProjectModel& model, QMdiArea* area, QObject* parent)
    : QObject(parent), m_model(model), m_area(area),
      m_sensitivity(new SensitivityWindows(model, area, this)) {
    connect(m_sensitivity, &SensitivityWindows::outputTableChanged, this,
            &ResultWindowManager::outputTableChanged);
    m_model.resultWindows.setObserver(this);
    TOutputTable::Hooks hooks;
    hooks.refreshWindows = [this](int row, TOutputTable::RefreshReason reason) {
        outputRowChanged(row, reason == TOutputTable::RefreshReason::Discrete);
    };
    hooks.showTable = [this] { emit outputTableWanted(); };
    m_model.outputs().setHooks(std::move(hooks));
}

ResultWindowManager::~ResultWindowManager() {
    m_model.resultWindows.setObserver(nullptr);
    m_model.outputs().setHooks({});
    for (List& entries : m_lists)
        for (Entry& entry : entries)
            if (entry.frame) entry.frame->removeEventFilter(this);
}

TFrmResult* ResultWindowManager::window(ResultWindowKind kind, std::size_t index) const {
    const List& entries = list(kind);
    return index < entries.size() ? entries[index].window.data() : nullptr;
}

QMdiSubWindow* ResultWindowManager::frame(ResultWindowKind kind, std::size_t index) const {
    const List& entries = list(kind);
    return index < entries.size() ? entries[index].frame.data() : nullptr;
}

std::size_t ResultWindowManager::count(ResultWindowKind kind) const {
    return list(kind).size();
}

template <class Action>
void ResultWindowManager::forEach(ResultWindowKind kind, bool backwards, Action action) {
    // A window may close itself meanwhile: only the entries not yet visited can move.
    const std::size_t n = list(kind).size();
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t i = backwards ? n - 1 - k : k;
        if (i >= list(kind).size()) continue;
        if (TFrmResult* shown = list(kind)[i].window) action(shown);
    }
}

void ResultWindowManager::windowOpened(ResultWindowKind kind, std::size_t index) {
    List& entries = list(kind);
    TFrmResult* shown = CreateResultWindow(m_model, kind, index);
    if (shown == nullptr) {
        // Kept, so that the project still writes the window back.
        entries.push_back({});
        return;
    }
    QMdiSubWindow* sub = m_area->addSubWindow(shown);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setObjectName(shown->objectName() + QStringLiteral("Window"));
    sub->installEventFilter(this);
    KeepContentWhole(sub);
    entries.push_back({sub, shown, sub->geometry()});
    connect(shown, &TFrmResult::closeRequested, sub, &QWidget::close);
    connect(shown, &TFrmResult::variableChosen, this, [this, shown] { closeOthersShowing(shown); });
    connect(shown, &TFrmResult::outputTableChanged, this, &ResultWindowManager::outputTableChanged);
    sub->show();
    shown->setRunning(m_model.running());
    shown->loadDescription();
    entries.back().normal = sub->geometry();
    raise(sub);
}

void ResultWindowManager::windowRaised(ResultWindowKind kind, std::size_t index) {
    const List& entries = list(kind);
    if (index >= entries.size() || !entries[index].window) return;
    entries[index].window->loadDescription();
    raise(entries[index].frame);
}

void ResultWindowManager::raise(QMdiSubWindow* sub) {
    if (sub == nullptr) return;
    if (sub->isMinimized()) sub->showNormal();
    sub->show();
    m_area->setActiveSubWindow(sub);
    sub->raise();
}

void ResultWindowManager::sensitivityWindowOpened(std::size_t index, bool raised) {
    m_sensitivity->opened(index, raised);
}

void ResultWindowManager::windowsClosed() {
    // The descriptions are gone already.
    m_sensitivity->closedAll();
    for (List& entries : m_lists) {
        List closing = std::move(entries);
        entries.clear();
        for (Entry& entry : closing) {
            if (!entry.frame) continue;
            entry.frame->removeEventFilter(this);
            delete entry.frame;
        }
    }
}

void ResultWindowManager::detach(QMdiSubWindow* sub) {
    for (const ResultWindowKind kind : AllResultWindowKinds) {
        List& entries = list(kind);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (entries[i].frame != sub) continue;
            sub->removeEventFilter(this);
            m_model.resultWindows.close(kind, i);
            entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(i));
            for (std::size_t j = i; j < entries.size(); ++j)
                if (entries[j].window) entries[j].window->setIndex(j);
            return;
        }
    }
}

void ResultWindowManager::closeOthersShowing(TFrmResult* chooser) {
    const ResultWindowKind kind = chooser->kind();
    const std::string& name = m_model.resultWindows.variable(kind, chooser->index());
    if (name.empty() || kind == ResultWindowKind::TwoD) return;
    for (std::size_t i = list(kind).size(); i-- > 0;) {
        const Entry& entry = list(kind)[i];
        if (entry.window == chooser || !entry.frame) continue;
        if (m_model.resultWindows.variable(kind, i) == name) entry.frame->close();
    }
}

void ResultWindowManager::outputRowCurrent(int row) {
    emit outputRowWanted(row);
}

void ResultWindowManager::pqLineCountChanged(std::int32_t /*lines*/) {
    for (const ResultWindowKind kind : {ResultWindowKind::Probability, ResultWindowKind::Quantile})
        forEach(kind, false, [](TFrmResult* w) { w->settingsChanged(); });
}

void ResultWindowManager::refillVariableBoxes(int mode) {
    for (const ResultWindowKind kind : AllResultWindowKinds)
        forEach(kind, true, [mode](TFrmResult* w) { w->refillVariableBoxes(mode); });
    m_sensitivity->outputTableEdited();
}

void ResultWindowManager::outputTableEdited() {
    if (!m_model.running()) refillVariableBoxes(0);
}

void ResultWindowManager::outputRowChanged(int row, bool discrete) {
    for (const ResultWindowKind kind :
         {ResultWindowKind::OneD, ResultWindowKind::Probability, ResultWindowKind::Quantile}) {
        if (!discrete && kind != ResultWindowKind::OneD) continue;
        forEach(kind, false, [row](TFrmResult* w) { w->outputRowChanged(row); });
    }
    emit outputTableChanged();
}

void ResultWindowManager::openFromView(ResultWindowKind kind, int currentOutputRow) {
    openForVariable(kind, VariableForNewWindow(m_model, kind, currentOutputRow));
}

void ResultWindowManager::openForVariable(ResultWindowKind kind, const std::string& name) {
    const std::size_t before = count(kind);
    OpenResultWindow(m_model, kind, name);
    // A kind this program cannot show yet opens nothing a person could see or close.
    if (count(kind) > before && !list(kind).back().window) {
        m_model.resultWindows.close(kind, count(kind) - 1);
        list(kind).pop_back();
    }
    emit outputTableChanged();
}

void ResultWindowManager::openForOutputRow(ResultWindowKind kind, int row) {
    if (row >= 1 && row <= OutputRows)
        openForVariable(kind, m_model.outputs().cell(row, colVariable));
}

void ResultWindowManager::bringAllToFront(ResultWindowKind kind) {
    for (const Entry& entry : list(kind))
        raise(entry.frame);
}

void ResultWindowManager::closeAll(ResultWindowKind kind) {
    for (std::size_t i = count(kind); i-- > 0;) {
        if (i >= count(kind)) continue;
        if (QMdiSubWindow* sub = list(kind)[i].frame) {
            sub->close();
        } else {
            m_model.resultWindows.close(kind, i);
            list(kind).erase(list(kind).begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
}

void ResultWindowManager::listWindows(QMenu* menu) {
    for (QAction* item : m_listed)
        delete item;
    m_listed.clear();
    for (const ResultWindowKind kind : AllResultWindowKinds)
        for (const Entry& entry : list(kind))
            if (entry.frame) listFrame(menu, entry.frame);
    for (std::size_t i = 0; i < m_sensitivity->count(); ++i)
        if (QMdiSubWindow* sub = m_sensitivity->frame(i)) listFrame(menu, sub);
}

void ResultWindowManager::listFrame(QMenu* menu, QMdiSubWindow* frame) {
    if (m_listed.empty()) m_listed.push_back(menu->addSeparator());
    // A "&" of a title ("2D S & R") is no mnemonic.
    QString title = frame->windowTitle();
    QAction* item = menu->addAction(title.replace(QLatin1Char('&'), QStringLiteral("&&")));
    item->setCheckable(true);
    item->setChecked(m_area->activeSubWindow() == frame);
    QPointer<QMdiSubWindow> sub = frame;
    connect(item, &QAction::triggered, this, [this, sub] { raise(sub); });
    m_listed.push_back(item);
}

bool ResultWindowManager::refreshDue(ResultWindowKind kind) {
    return m_refreshGates[static_cast<std::size_t>(kind)].take();
}

void ResultWindowManager::refreshStatistics(std::int32_t step) {
    if (!refreshDue(ResultWindowKind::Statistics)) return;
    forEach(ResultWindowKind::Statistics, false,
            [step](TFrmResult* w) { w->refreshDuringRun(step); });
}

void ResultWindowManager::refresh1D(std::int32_t step) {
    if (!refreshDue(ResultWindowKind::OneD)) return;
    forEach(ResultWindowKind::OneD, false, [step](TFrmResult* w) { w->refreshDuringRun(step); });
}

void ResultWindowManager::refreshPQ(std::int32_t step) {
    m_sensitivity->refreshDuringRun(step);
    if (!refreshDue(ResultWindowKind::Probability)) return;
    for (const ResultWindowKind kind : {ResultWindowKind::Probability, ResultWindowKind::Quantile})
        forEach(kind, false, [step](TFrmResult* w) { w->refreshDuringRun(step); });
}

void ResultWindowManager::finalRefresh() {
    for (const ResultWindowKind kind : AllResultWindowKinds)
        forEach(kind, false, [](TFrmResult* w) { w->finalRefresh(); });
    m_sensitivity->finalRefresh();
}

void ResultWindowManager::outEquationsEvaluated() {
    forEach(ResultWindowKind::TwoD, false, [](TFrmResult* w) { w->outEquationsEvaluated(); });
    m_sensitivity->finalRefresh(); // the event's steps may have changed
}

void ResultWindowManager::resultsChanged(bool exist) {
    m_sensitivity->resultsChanged(exist);
    if (exist) return;
    for (const ResultWindowKind kind : AllResultWindowKinds)
        forEach(kind, true, [](TFrmResult* w) {
            w->clearResults();
            w->refillVariableBoxes(0);
        });
}

void ResultWindowManager::runningChanged(bool running) {
    // The first refresh of a run shows at once.
    for (RefreshGate& gate : m_refreshGates)
        gate.reopen();
    m_sensitivity->runningChanged(running);
    for (const ResultWindowKind kind : AllResultWindowKinds)
        forEach(kind, false, [running](TFrmResult* w) { w->setRunning(running); });
}

void ResultWindowManager::settingsChanged() {
    for (const ResultWindowKind kind : AllResultWindowKinds)
        forEach(kind, false, [](TFrmResult* w) { w->settingsChanged(); });
}

std::vector<std::optional<TWindowPlacement>>
ResultWindowManager::placements(ResultWindowKind kind) const {
    std::vector<std::optional<TWindowPlacement>> result;
    for (const Entry& entry : list(kind)) {
        if (entry.frame)
            result.push_back(PlacementOf(entry.frame, entry.normal));
        else
            result.emplace_back();
    }
    return result;
}

std::vector<std::optional<TWindowPlacement>> ResultWindowManager::sensitivityPlacements() const {
    std::vector<std::optional<TWindowPlacement>> result;
    for (std::size_t i = 0; i < m_sensitivity->count(); ++i) {
        if (const QMdiSubWindow* sub = m_sensitivity->frame(i))
            result.push_back(PlacementOf(sub, m_sensitivity->normalGeometry(i)));
        else
            result.emplace_back();
    }
    return result;
}

void ResultWindowManager::applyPlacements(const TProjectLayout& layout) {
    for (const ResultWindowKind kind : AllResultWindowKinds) {
        const auto& stored = layout.results[static_cast<std::size_t>(kind)];
        const bool positionOnly =
            kind == ResultWindowKind::Statistics || kind == ResultWindowKind::OneD;
        for (std::size_t i = 0; i < stored.size() && i < count(kind); ++i) {
            QMdiSubWindow* sub = list(kind)[i].frame;
            if (sub == nullptr || !stored[i]) continue;
            // Statistics and 1D windows size themselves to what they show.
            if (positionOnly)
                sub->move(stored[i]->NormPos[0], stored[i]->NormPos[1]);
            else
                ApplyPlacement(sub, *stored[i]);
            list(kind)[i].normal = sub->geometry();
        }
    }
    for (std::size_t i = 0; i < layout.sensitivity.size() && i < m_sensitivity->count(); ++i) {
        QMdiSubWindow* sub = m_sensitivity->frame(i);
        if (sub == nullptr || !layout.sensitivity[i]) continue;
        ApplyPlacement(sub, *layout.sensitivity[i]);
        m_sensitivity->placed(i);
    }
}

bool ResultWindowManager::eventFilter(QObject* watched, QEvent* event) {
    auto* sub = qobject_cast<QMdiSubWindow*>(watched);
    if (sub == nullptr) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::Close) {
        detach(sub);
    } else if (event->type() == QEvent::Move || event->type() == QEvent::Resize) {
        if (!(sub->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)))
            for (List& entries : m_lists)
                for (Entry& entry : entries)
                    if (entry.frame == sub) entry.normal = sub->geometry();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace probex
