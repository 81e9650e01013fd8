#pragma once

#include "engine/Extended.h"
#include "project/ObjectsTable.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace probex {

/// The five kinds of result window, in the order their lists are written and numbered.
enum class ResultWindowKind : std::uint8_t { Statistics, OneD, TwoD, Probability, Quantile };

inline constexpr std::array<ResultWindowKind, 5> AllResultWindowKinds{
    ResultWindowKind::Statistics, ResultWindowKind::OneD, ResultWindowKind::TwoD,
    ResultWindowKind::Probability, ResultWindowKind::Quantile};

/// What a statistics window shows that the project keeps.
struct TStatWindowDesc {
    std::string variable;       ///< the chooser's entry, empty when none is chosen
    std::string identification; ///< `EdtCom`

    bool operator==(const TStatWindowDesc&) const = default;
};

/// A 1D window: its switches and four marks.
struct T1DWindowDesc {
    std::string variable;
    std::string identification;
    bool discrete = false;
    bool recalculate = false;
    std::array<bool, 4> markKinds{};      ///< true: the value Q is given (`ChBpq1`..4 checked)
    std::array<Extended, 4> markValues{}; ///< the given value or probability

    bool operator==(const T1DWindowDesc&) const = default;
};

/// A 2D window; its overlay objects are those of the pair in the objects table.
struct T2DWindowDesc {
    std::string variableH;
    std::string variableV;
    std::string identification;
    std::int32_t colouration = 0; ///< 0 "No", 1 "Freq", 2 "Prob"
    bool drawLines = false;
    bool drawCircles = false;
    bool drawDots = false;

    bool operator==(const T2DWindowDesc&) const = default;
};

/// A probability window (input column: values Q) or a quantile window (probabilities P).
struct TPQWindowDesc {
    std::string variable;
    std::string identification;
    bool discrete = false;
    std::vector<Extended> inputs = std::vector<Extended>(256); ///< line i in element i-1

    bool operator==(const TPQWindowDesc&) const = default;
};

/// A sensitivity window: one logged output, or the event of the out equations' condition.
struct TSensWindowDesc {
    std::string variable; ///< empty when the window shows the event
    bool event = false;
    std::string identification;
    std::int32_t measure = 0; ///< the measure its chart shows (SensitivityMeasure)

    bool operator==(const TSensWindowDesc&) const = default;
};

/// What the windows are told when the project changes the open result windows.
class ResultWindowsObserver {
public:
    virtual ~ResultWindowsObserver() = default;
    /// A window was appended to its list at `index` (from 0).
    virtual void windowOpened(ResultWindowKind /*kind*/, std::size_t /*index*/) {}
    /// A window was asked for that already shows its variable: restore it and bring it to
    /// the front; its description was updated.
    virtual void windowRaised(ResultWindowKind /*kind*/, std::size_t /*index*/) {}
    /// Every result window was closed.
    virtual void windowsClosed() {}
    /// Make the row the current row of the output variable table.
    virtual void outputRowCurrent(int /*row*/) {}
    /// `PQLines` changed: every probability and quantile window gets that many lines.
    virtual void pqLineCountChanged(std::int32_t /*lines*/) {}
    /// `RefillVariableBoxes(mode)` of the main window.
    virtual void refillVariableBoxes(int /*mode*/) {}
    /// A sensitivity window was appended at `index`, or the one at `index` was asked for
    /// again (raised, its description updated).
    virtual void sensitivityWindowOpened(std::size_t /*index*/, bool /*raised*/) {}
};

/// The open result windows of a project as five lists in opening order, and the overlay
/// objects of the 2D pairs. The windows themselves follow these descriptions.
class TResultWindows {
public:
    std::vector<TStatWindowDesc> statistics;
    std::vector<T1DWindowDesc> oneD;
    std::vector<T2DWindowDesc> twoD;
    std::vector<TPQWindowDesc> probabilities;
    std::vector<TPQWindowDesc> quantiles;
    /// Kept apart from the five kinds above: projects without one read and write as before.
    std::vector<TSensWindowDesc> sensitivity;
    /// Outlives closeAll: a new project keeps the objects of every pair.
    TObjectsTable objects;

    void setObserver(ResultWindowsObserver* observer);
    ResultWindowsObserver& observer() { return *m_observer; }

    std::size_t count(ResultWindowKind kind) const;
    /// Closes every window of every kind.
    void closeAll();
    /// Removes the description at `index` of the kind's list; later windows move down one
    /// place. The window itself has closed already, so the observer is not told. False for an
    /// index past the list.
    bool close(ResultWindowKind kind, std::size_t index);
    /// The variable of the description at `index` (the horizontal one of a 2D window).
    const std::string& variable(ResultWindowKind kind, std::size_t index) const;

    /// Opens a window of the kind for the variable, or updates and raises the one that
    /// already shows it (one window per variable and kind). Returns its index.
    std::size_t open(const TStatWindowDesc& window);
    std::size_t open(const T1DWindowDesc& window);
    std::size_t openProbability(const TPQWindowDesc& window);
    std::size_t openQuantile(const TPQWindowDesc& window);
    /// 2D windows may show the same pair more than once: always a new window.
    std::size_t open(const T2DWindowDesc& window);
    /// One sensitivity window per output (and one for the event), like the other kinds.
    std::size_t open(const TSensWindowDesc& window);

    bool sameWindows(const TResultWindows& other) const;

private:
    template <class Desc>
    std::size_t openOnce(std::vector<Desc>& list, const Desc& window, ResultWindowKind kind);

    ResultWindowsObserver m_noObserver;
    ResultWindowsObserver* m_observer = &m_noObserver;
};

} // namespace probex
