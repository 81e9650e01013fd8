// Committing the cells the person edits in the input table.

#include "variables/InputTable.h"

#include "components/DialogFolder.h"

#include "components/Prompter.h"
#include "engine/Expression.h"
#include "settings/Settings.h"
#include "variables/Distributions.h"
#include "variables/HistogramBuild.h"

#include <utility>

namespace probex {

namespace {

constexpr int col(InputColumn column) {
    return static_cast<int>(column);
}

std::string TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

struct TypeWord {
    const char* word; ///< what selects the kind, compared ignoring case
    DistKind kind;
    const char* caption; ///< what the cell then shows: the pick list's item
};

constexpr TypeWord TypeWords[] = {
    {"Constant", DistKind::dkConstant, "Constant"},
    {"Exponential", DistKind::dkExponential, "Exponential"},
    {"LogNormal", DistKind::dkLognormal, "Lognormal"},
    {"Normal", DistKind::dkNormal, "Normal"},
    {"Uniform", DistKind::dkUniform, "Uniform"},
    {"Gumbel", DistKind::dkGumbel, "Gumbel"},
    {"GumbelMin", DistKind::dkGumbelMin, "GumbelMin"},
    {"Weibull", DistKind::dkWeibull, "Weibull"},
    {"Gamma", DistKind::dkGamma, "Gamma"},
    {"Beta", DistKind::dkBeta, "Beta"},
    {"Triangular", DistKind::dkTriangular, "Triangular"},
    {"PERT", DistKind::dkPert, "PERT"},
    {"Step number", DistKind::dkStepNumber, "Step number"},
};

/// Holds EditAccepted back for as long as a commit is being handled, a modal box included.
class HandlingEdit {
public:
    explicit HandlingEdit(bool& flag) : m_flag(flag) { m_flag = true; }
    ~HandlingEdit() { m_flag = false; }
    HandlingEdit(const HandlingEdit&) = delete;
    HandlingEdit& operator=(const HandlingEdit&) = delete;

private:
    bool& m_flag;
};

} // namespace

void TInputTable::commitCell(int r, InputColumn column, std::string text) {
    HandlingEdit handling(m_handlingEdit);
    switch (column) {
    case InputColumn::Variable:
        commitName(r, std::move(text));
        break;
    case InputColumn::Type:
        commitType(r, std::move(text));
        break;
    case InputColumn::Parameters:
        break; // a summary of the record, never typed into
    case InputColumn::Comment:
        row(r).record.Comment = text;
        row(r).cells[col(InputColumn::Comment)] = std::move(text);
        break;
    }
}

void TInputTable::noteKeyPress(InputColumn column) {
    if (column != InputColumn::Comment) m_invalidateResults();
}

int TInputTable::otherRowWithName(int r, std::string_view name) const {
    for (int other = 1; other <= RowCount; ++other)
        if (other != r && SameName(cell(other, InputColumn::Variable), name)) return other;
    return 0;
}

bool TInputTable::nameStillRejected(int r) const {
    if (!row(r).nameRejected) return false;
    const std::string& name = cell(r, InputColumn::Variable);
    return !name.empty() && (otherRowWithName(r, name) != 0 || !IsIdentifier(name));
}

bool TInputTable::EditAccepted() const {
    if (m_handlingEdit) return false;
    // Only names this table refused count: a later edit of another cell must not let a run
    // start with two rows of one name.
    for (int r = 1; r <= RowCount; ++r)
        if (nameStillRejected(r)) return false;
    return true;
}

void TInputTable::commitName(int r, std::string text) {
    m_invalidateResults();
    Row& target = row(r);
    std::string& name = target.cells[col(InputColumn::Variable)];
    name = TrimBlanks(text);
    target.nameRejected = false;
    if (name.empty()) return;
    if (otherRowWithName(r, name) != 0) {
        target.nameRejected = true;
        m_prompter.error("Duplicate name!", Prompter::Buttons::Cancel);
        return;
    }
    if (!IsIdentifier(name)) {
        target.nameRejected = true;
        m_prompter.error("Incorrect name!", Prompter::Buttons::Cancel);
        return;
    }
    if (target.cells[col(InputColumn::Type)].empty()) FreeHistogram(target.record);
}

void TInputTable::commitType(int r, std::string text) {
    m_invalidateResults();
    Row& target = row(r);
    FreeHistogram(target.record);
    // An undefined variable shows no parameters of the distribution it had before.
    target.cells[col(InputColumn::Parameters)].clear();
    const std::string word = TrimBlanks(text);
    target.cells[col(InputColumn::Type)] = std::move(text);
    if (word.empty()) return; // the type was cleared: the variable stays undefined

    for (const TypeWord& type : TypeWords) {
        if (!SameName(word, type.word)) continue;
        target.record.Kind = type.kind;
        SetDefaultParameters(target.record);
        target.cells[col(InputColumn::Type)] = type.caption;
        FillParametersCell(r);
        return;
    }
    loadDistributionFile(r);
}

void TInputTable::loadDistributionFile(int r) {
    Prompter::FileRequest request;
    request.filter = "Histogram files (*.dis)|*.dis";
    request.defaultExtension = "dis";
    request.fileName = "*.dis";
    request.initialDirectory =
        DialogStartFolder(m_projectFile ? m_projectFile() : std::string(), m_settings.DistDirPath);
    const std::optional<std::string> path = m_prompter.chooseFile(request);
    if (!path) return;

    const DistributionFileFormat format{m_settings.DecimalSep, m_settings.ListSep};
    if (!ReadDistributionFile(*path, m_lis, format, m_prompter)) return;

    Row& target = row(r);
    TIis& iis = target.record;
    try {
        if (!BuildHistogram(m_lis, iis, m_prompter)) {
            FreeHistogram(iis);
            return;
        }
    } catch (const ELoadError& e) {
        FreeHistogram(iis);
        m_prompter.error(e.what());
        return;
    }
    target.cells[col(InputColumn::Type)] = iis.FileName;
    FillParametersCell(r);
    if (!iis.Comment.empty()) {
        SetCommentCell(r, iis.Comment);
        // Declining the rewrite keeps the person's comment, in the record as in the cell.
        iis.Comment = target.cells[col(InputColumn::Comment)];
    }
}

} // namespace probex
