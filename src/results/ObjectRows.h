#pragma once

#include "project/ObjectsTable.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace probex {

enum class ObjectKind : std::uint8_t { Line, Circle, Dot };

/// 4 number columns for a line (X1, Y1, X2, Y2), 3 for a circle or dot (X, Y, R).
int NumberColumns(ObjectKind kind);
/// How many objects of the kind the set holds (0..16).
std::int32_t ObjectCount(const ObjectsRec& objects, ObjectKind kind);

/// One row of an object table as a person edits it: number texts and a colour name, all
/// empty in an unused row.
struct ObjectRow {
    std::array<std::string, 4> cells;
    std::string color;

    bool operator==(const ObjectRow&) const = default;
};
using ObjectRows = std::array<ObjectRow, MaxObjectsOfKind>;

/// The objects of the kind as table rows: numbers as the project file keeps them (the fixed
/// form with 8 decimals where that holds the value), so that writing back changes nothing.
ObjectRows RowsFromObjects(const ObjectsRec& objects, ObjectKind kind, char decimalSep,
                           std::int32_t defaultColor);

/// True when none of the row's number cells holds a number other than 0.
bool RowIsEmpty(const ObjectRow& row, ObjectKind kind, char decimalSep);

/// Moves the filled rows up over the empty ones, keeping their order; empty rows are cleared.
void CompactRows(ObjectRows& rows, ObjectKind kind, char decimalSep);

/// A cell that does not convert, with the message to show.
struct RowError {
    int row = 0;
    int column = 0; ///< 0-based number column
    std::string message;
};

/// Compacts the rows and writes them back as the set's objects of the kind: every row with a
/// colour is an object, an empty number cell becomes "0.0" and reads as 0. Nothing is
/// written when a cell does not convert or does not fit a double.
std::optional<RowError> WriteRowsBack(ObjectRows& rows, ObjectKind kind, ObjectsRec& objects,
                                      char decimalSep, std::int32_t defaultColor);

} // namespace probex
