#include "variables/InputTable.h"

#include "components/Prompter.h"
#include "engine/Expression.h"
#include "settings/NumberText.h"
#include "settings/Settings.h"
#include "variables/Distributions.h"
#include "variables/HistogramBuild.h"

#include <algorithm>
#include <cassert>
#include <utility>

namespace probex {

namespace {

constexpr int col(InputColumn column) {
    return static_cast<int>(column);
}

} // namespace

TInputTable::TInputTable(const TSettings& settings, Prompter& prompter,
                         std::function<void()> invalidateResults)
    : m_settings(settings), m_prompter(prompter), m_invalidateResults(std::move(invalidateResults)),
      m_rows(RowCount) {}

const std::array<const char*, 14>& TInputTable::typeItems() {
    static const std::array<const char*, 14> items = {
        "Constant",           "Exponential", "Lognormal", "Normal", "Uniform",    "Gumbel",
        "GumbelMin",          "Weibull",     "Gamma",     "Beta",   "Triangular", "PERT",
        "Saved Distribution", "Step number"};
    return items;
}

TInputTable::Row& TInputTable::row(int r) {
    assert(r >= 1 && r <= RowCount);
    return m_rows[static_cast<std::size_t>(r - 1)];
}

const TInputTable::Row& TInputTable::row(int r) const {
    assert(r >= 1 && r <= RowCount);
    return m_rows[static_cast<std::size_t>(r - 1)];
}

const std::string& TInputTable::cell(int r, InputColumn column) const {
    return row(r).cells[col(column)];
}

void TInputTable::setCellText(int r, InputColumn column, std::string text) {
    Row& target = row(r);
    target.cells[col(column)] = std::move(text);
    if (column == InputColumn::Variable) target.nameRejected = false;
}

const TIis& TInputTable::record(int r) const {
    return row(r).record;
}

TIis& TInputTable::record(int r) {
    return row(r).record;
}

bool TInputTable::isBlank(const Row& r) {
    return std::all_of(r.cells.begin(), r.cells.end(),
                       [](const std::string& text) { return text.empty(); });
}

int TInputTable::FindVarRow(std::string_view name) const {
    for (int r = 1; r <= RowCount; ++r)
        if (SameName(cell(r, InputColumn::Variable), name)) return r;
    return 0;
}

int TInputTable::FirstEmptyRow() const {
    for (int r = 1; r <= RowCount; ++r)
        if (isBlank(row(r))) return r;
    return 0;
}

bool TInputTable::AddInputVariable(std::string_view name) {
    const int r = FirstEmptyRow();
    if (r == 0) return false;
    m_invalidateResults();
    Row& target = row(r);
    target.cells[col(InputColumn::Variable)] = std::string(name);
    target.nameRejected = false;
    FreeHistogram(target.record);
    return true;
}

void TInputTable::ClearRow(int r) {
    m_invalidateResults();
    // A fresh record rather than FreeHistogram alone: an emptied row must not carry the
    // parameters, comment or file name of the variable it held into the next one.
    row(r) = Row{};
}

void TInputTable::clearAllRows() {
    m_invalidateResults();
    for (Row& r : m_rows)
        r = Row{};
}

void TInputTable::compact() {
    // Moving rows changes the rows the compiled model refers to, so results go first; but a
    // table that is already compact does not lose them.
    bool changes = false;
    bool gap = false;
    for (const Row& r : m_rows) {
        if (r.cells[col(InputColumn::Variable)].empty()) {
            gap = true;
            if (!isBlank(r) || r.record.Kind != DistKind::dkUndefined) changes = true;
        } else if (gap) {
            changes = true;
        }
    }
    if (!changes) return;
    m_invalidateResults();

    std::size_t kept = 0;
    for (std::size_t read = 0; read < m_rows.size(); ++read) {
        if (m_rows[read].cells[col(InputColumn::Variable)].empty()) continue;
        if (kept != read) m_rows[kept] = std::move(m_rows[read]);
        ++kept;
    }
    for (std::size_t i = kept; i < m_rows.size(); ++i)
        m_rows[i] = Row{};
}

void TInputTable::moveRow(int from, int to) {
    if (from == to || from < 1 || from > RowCount || to < 1 || to > RowCount) return;
    m_invalidateResults();
    const auto first = m_rows.begin() + (from - 1);
    const auto last = m_rows.begin() + (to - 1);
    if (from < to)
        std::rotate(first, first + 1, last + 1);
    else
        std::rotate(last, first, first + 1);
}

void TInputTable::FillParametersCell(int r) {
    Row& target = row(r);
    const TIis& iis = target.record;
    const char sep = m_settings.DecimalSep;
    const auto fixed = [sep](Extended value) { return FormatStoredValue(value, sep); };
    std::string& text = target.cells[col(InputColumn::Parameters)];
    switch (iis.Kind) {
    case DistKind::dkUndefined:
        break;
    case DistKind::dkConstant:
        text =
            "Value=" + (iis.ConstCaption.empty() ? FormatShortest(iis.Loc, sep) : iis.ConstCaption);
        break;
    case DistKind::dkDiscrete:
    case DistKind::dkContinuous:
        text = "Min=" + fixed(iis.Min) + " Max=" + fixed(iis.Max);
        break;
    case DistKind::dkStepNumber:
        text = "No parameter";
        break;
    case DistKind::dkExponential:
    case DistKind::dkLognormal:
    case DistKind::dkNormal:
    case DistKind::dkUniform:
    case DistKind::dkGumbel:
    case DistKind::dkGumbelMin:
    case DistKind::dkWeibull:
    case DistKind::dkGamma:
    case DistKind::dkBeta:
        text = "Min=" + fixed(iis.Min) + " Max=" + fixed(iis.Max) + " Mean=" + fixed(iis.Mean) +
               " StDev=" + fixed(iis.StDev);
        break;
    case DistKind::dkTriangular:
    case DistKind::dkPert:
        text = "Min=" + fixed(iis.Min) + " Max=" + fixed(iis.Max) + " Mode=" + fixed(iis.Mode);
        break;
    }
}

void TInputTable::SetCommentCell(int r, const std::string& text) {
    if (text.empty()) return;
    std::string& comment = row(r).cells[col(InputColumn::Comment)];
    if (comment.empty() || m_settings.RewriteIDs) {
        comment = text;
        return;
    }
    const std::string question =
        "Rewrite comment field for variable " + cell(r, InputColumn::Variable) + " ?";
    if (m_prompter.confirm(question, Prompter::Buttons::OkCancel) == Prompter::Answer::Ok)
        comment = text;
}

void TInputTable::setRowUndefined(int r) {
    m_invalidateResults();
    Row& target = row(r);
    std::string name = std::move(target.cells[col(InputColumn::Variable)]);
    const bool rejected = target.nameRejected;
    target = Row{};
    target.cells[col(InputColumn::Variable)] = std::move(name);
    target.nameRejected = rejected;
}

void TInputTable::setConstantZero(int r) {
    m_invalidateResults();
    Row& target = row(r);
    FreeHistogram(target.record);
    target.record.Kind = DistKind::dkConstant;
    SetDefaultParameters(target.record);
    target.cells[col(InputColumn::Type)] = "Constant";
    FillParametersCell(r);
    const std::string error = CheckParameters(target.record);
    if (!error.empty()) m_prompter.error(error);
}

} // namespace probex
