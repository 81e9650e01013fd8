#pragma once

#include "variables/DistributionFile.h"
#include "variables/Tiis.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace probex {

class Prompter;
struct TSettings;

/// The four cells of an input table row, in grid order.
enum class InputColumn { Variable = 0, Type = 1, Parameters = 2, Comment = 3 };

/// The input variable table: 255 rows of four cells, each with its `TIis` record. Rows are
/// numbered 1..255; a row and its record always move together. The cells are the state the
/// grid shows and the project files, the compiler and the run read.
class TInputTable {
public:
    static constexpr int RowCount = 255;
    static constexpr int ColumnCount = 4;

    TInputTable(const TSettings& settings, Prompter& prompter,
                std::function<void()> invalidateResults);

    /// The open project's file, whose folder the distribution file dialog starts in.
    void setProjectFile(std::function<std::string()> projectFile) {
        m_projectFile = std::move(projectFile);
    }

    /// The pick list of the "Type" column, in display order.
    static const std::array<const char*, 14>& typeItems();

    const std::string& cell(int row, InputColumn column) const;
    /// Writes a cell as it stands: no check, no message, no discarding of results. For readers
    /// that apply their own rules and for the grid while a cell is being typed in.
    void setCellText(int row, InputColumn column, std::string text);

    const TIis& record(int row) const;
    TIis& record(int row);
    DistKind kind(int row) const { return record(row).Kind; }

    /// The first row whose name equals `name` ignoring case, 0 if none. An empty name finds
    /// the first row with an empty name cell.
    int FindVarRow(std::string_view name) const;
    /// The first row whose four cells are all empty, 0 if none.
    int FirstEmptyRow() const;
    /// Puts the name into the first empty row, undefined. False (and no change) when full.
    bool AddInputVariable(std::string_view name);

    /// Empties the row's cells and makes its record undefined.
    void ClearRow(int row);
    /// "Delete all variables".
    void clearAllRows();
    /// Removes every row without a name; the rows below move up, records with them.
    void compact();
    /// Moves a row (cells and record) to another position, the rows between shifting by one.
    void moveRow(int from, int to);

    /// Rewrites the "Parameters" cell from the record; an undefined row keeps its text.
    void FillParametersCell(int row);
    /// Puts a distribution's identification or a read comment into the "Comment" cell: asks
    /// before overwriting a non-empty cell unless the settings say to rewrite.
    void SetCommentCell(int row, const std::string& text);

    /// A name that became an output variable: type, parameters and comment emptied, the
    /// record undefined, the name kept.
    void setRowUndefined(int row);
    /// An undefined input made a constant 0 ("Constant", "Value=0"); a failed parameter
    /// check is shown as an error.
    void setConstantZero(int row);

    /// Handles the text the person committed in a cell, with the messages each column gives.
    void commitCell(int row, InputColumn column, std::string text);
    /// A key typed in a cell: anything but a comment edit changes the model.
    void noteKeyPress(InputColumn column);

    /// False while a commit is being handled, and while a name this table rejected still
    /// stands (duplicate or not an identifier): a run must not start then.
    bool EditAccepted() const;

    /// The histogram of the last distribution file read for this table.
    const TLis& lastDistribution() const { return m_lis; }

private:
    struct Row {
        std::array<std::string, ColumnCount> cells;
        TIis record;
        bool nameRejected = false; ///< moves with the row, like everything else in it
    };

    Row& row(int r);
    const Row& row(int r) const;
    static bool isBlank(const Row& r);
    bool nameStillRejected(int r) const;
    int otherRowWithName(int r, std::string_view name) const;

    void commitName(int r, std::string text);
    void commitType(int r, std::string text);
    void loadDistributionFile(int r);

    const TSettings& m_settings;
    Prompter& m_prompter;
    std::function<void()> m_invalidateResults;
    std::function<std::string()> m_projectFile;
    std::vector<Row> m_rows; ///< index r-1 holds row r
    TLis m_lis;
    bool m_handlingEdit = false;
};

} // namespace probex
