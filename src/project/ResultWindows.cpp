#include "project/ResultWindows.h"

#include "engine/Expression.h"

namespace probex {

void TResultWindows::setObserver(ResultWindowsObserver* observer) {
    m_observer = observer ? observer : &m_noObserver;
}

std::size_t TResultWindows::count(ResultWindowKind kind) const {
    switch (kind) {
    case ResultWindowKind::Statistics:
        return statistics.size();
    case ResultWindowKind::OneD:
        return oneD.size();
    case ResultWindowKind::TwoD:
        return twoD.size();
    case ResultWindowKind::Probability:
        return probabilities.size();
    case ResultWindowKind::Quantile:
        return quantiles.size();
    }
    return 0;
}

void TResultWindows::closeAll() {
    statistics.clear();
    oneD.clear();
    twoD.clear();
    probabilities.clear();
    quantiles.clear();
    sensitivity.clear();
    m_observer->windowsClosed();
}

namespace {

template <class Desc> bool EraseAt(std::vector<Desc>& list, std::size_t index) {
    if (index >= list.size()) return false;
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

} // namespace

bool TResultWindows::close(ResultWindowKind kind, std::size_t index) {
    switch (kind) {
    case ResultWindowKind::Statistics:
        return EraseAt(statistics, index);
    case ResultWindowKind::OneD:
        return EraseAt(oneD, index);
    case ResultWindowKind::TwoD:
        return EraseAt(twoD, index);
    case ResultWindowKind::Probability:
        return EraseAt(probabilities, index);
    case ResultWindowKind::Quantile:
        return EraseAt(quantiles, index);
    }
    return false;
}

const std::string& TResultWindows::variable(ResultWindowKind kind, std::size_t index) const {
    static const std::string none;
    if (index >= count(kind)) return none;
    switch (kind) {
    case ResultWindowKind::Statistics:
        return statistics[index].variable;
    case ResultWindowKind::OneD:
        return oneD[index].variable;
    case ResultWindowKind::TwoD:
        return twoD[index].variableH;
    case ResultWindowKind::Probability:
        return probabilities[index].variable;
    case ResultWindowKind::Quantile:
        return quantiles[index].variable;
    }
    return none;
}

template <class Desc>
std::size_t TResultWindows::openOnce(std::vector<Desc>& list, const Desc& window,
                                     ResultWindowKind kind) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (!window.variable.empty() && SameName(list[i].variable, window.variable)) {
            const std::string shown = list[i].variable;
            list[i] = window;
            list[i].variable = shown;
            m_observer->windowRaised(kind, i);
            return i;
        }
    }
    list.push_back(window);
    m_observer->windowOpened(kind, list.size() - 1);
    return list.size() - 1;
}

std::size_t TResultWindows::open(const TStatWindowDesc& window) {
    return openOnce(statistics, window, ResultWindowKind::Statistics);
}

std::size_t TResultWindows::open(const T1DWindowDesc& window) {
    return openOnce(oneD, window, ResultWindowKind::OneD);
}

std::size_t TResultWindows::openProbability(const TPQWindowDesc& window) {
    return openOnce(probabilities, window, ResultWindowKind::Probability);
}

std::size_t TResultWindows::openQuantile(const TPQWindowDesc& window) {
    return openOnce(quantiles, window, ResultWindowKind::Quantile);
}

std::size_t TResultWindows::open(const T2DWindowDesc& window) {
    twoD.push_back(window);
    m_observer->windowOpened(ResultWindowKind::TwoD, twoD.size() - 1);
    return twoD.size() - 1;
}

std::size_t TResultWindows::open(const TSensWindowDesc& window) {
    for (std::size_t i = 0; i < sensitivity.size(); ++i) {
        const TSensWindowDesc& shown = sensitivity[i];
        const bool same = window.event ? shown.event
                                       : !shown.event && !window.variable.empty() &&
                                             SameName(shown.variable, window.variable);
        if (!same) continue;
        const std::string name = shown.variable;
        sensitivity[i] = window;
        sensitivity[i].variable = name;
        m_observer->sensitivityWindowOpened(i, true);
        return i;
    }
    sensitivity.push_back(window);
    m_observer->sensitivityWindowOpened(sensitivity.size() - 1, false);
    return sensitivity.size() - 1;
}

bool TResultWindows::sameWindows(const TResultWindows& other) const {
    return statistics == other.statistics && oneD == other.oneD && twoD == other.twoD &&
           probabilities == other.probabilities && quantiles == other.quantiles &&
           sensitivity == other.sensitivity;
}

} // namespace probex
