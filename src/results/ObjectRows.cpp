#include "results/ObjectRows.h"

#include "project/ColorNames.h"
#include "settings/NumberText.h"

#include <algorithm>
#include <cmath>

namespace probex {

namespace {

std::array<double, 4> Numbers(const ObjectsRec& objects, ObjectKind kind, std::size_t i) {
    switch (kind) {
    case ObjectKind::Line: {
        const LineRec& l = objects.Lines[i];
        return {l.X1, l.Y1, l.X2, l.Y2};
    }
    case ObjectKind::Circle: {
        const CircleRec& c = objects.Circles[i];
        return {c.X, c.Y, c.R, 0};
    }
    case ObjectKind::Dot:
        break;
    }
    const DotRec& d = objects.Dots[i];
    return {d.X, d.Y, d.R, 0};
}

std::int32_t Color(const ObjectsRec& objects, ObjectKind kind, std::size_t i) {
    switch (kind) {
    case ObjectKind::Line:
        return objects.Lines[i].Color;
    case ObjectKind::Circle:
        return objects.Circles[i].Color;
    case ObjectKind::Dot:
        break;
    }
    return objects.Dots[i].Color;
}

} // namespace

int NumberColumns(ObjectKind kind) {
    return kind == ObjectKind::Line ? 4 : 3;
}

std::int32_t ObjectCount(const ObjectsRec& objects, ObjectKind kind) {
    switch (kind) {
    case ObjectKind::Line:
        return objects.LineCount;
    case ObjectKind::Circle:
        return objects.CircleCount;
    case ObjectKind::Dot:
        break;
    }
    return objects.DotCount;
}

ObjectRows RowsFromObjects(const ObjectsRec& objects, ObjectKind kind, char decimalSep,
                           std::int32_t defaultColor) {
    ObjectRows rows{};
    const std::int32_t count = std::clamp(ObjectCount(objects, kind), 0, MaxObjectsOfKind);
    for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {
        const std::array<double, 4> numbers = Numbers(objects, kind, i);
        for (int c = 0; c < NumberColumns(kind); ++c)
            rows[i].cells[static_cast<std::size_t>(c)] =
                FormatStoredDouble(numbers[static_cast<std::size_t>(c)], decimalSep);
        rows[i].color = ColorToName(Color(objects, kind, i), defaultColor);
    }
    return rows;
}

bool RowIsEmpty(const ObjectRow& row, ObjectKind kind, char decimalSep) {
    for (int c = 0; c < NumberColumns(kind); ++c) {
        Extended value = 0;
        if (TryStrToExtended(row.cells[static_cast<std::size_t>(c)], decimalSep, value) &&
            value != 0)
            return false;
    }
    return true;
}

void CompactRows(ObjectRows& rows, ObjectKind kind, char decimalSep) {
    std::size_t filled = 0;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (RowIsEmpty(rows[r], kind, decimalSep)) continue;
        if (r != filled) rows[filled] = std::move(rows[r]);
        ++filled;
    }
    for (std::size_t r = filled; r < rows.size(); ++r)
        rows[r] = ObjectRow{};
}

std::optional<RowError> WriteRowsBack(ObjectRows& rows, ObjectKind kind, ObjectsRec& objects,
                                      char decimalSep, std::int32_t defaultColor) {
    CompactRows(rows, kind, decimalSep);
    const int columns = NumberColumns(kind);
    std::array<std::array<double, 4>, MaxObjectsOfKind> values{};
    std::size_t count = 0;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        ObjectRow& row = rows[r];
        if (row.color.empty()) continue;
        for (int c = 0; c < columns; ++c) {
            std::string& cell = row.cells[static_cast<std::size_t>(c)];
            if (cell.find_first_not_of(' ') == std::string::npos)
                cell = std::string("0") + decimalSep + "0";
            Extended value = 0;
            try {
                value = StrToExtended(cell, decimalSep);
            } catch (const ConversionError& error) {
                return RowError{static_cast<int>(r), c, error.what()};
            }
            const double stored = static_cast<double>(value);
            if (!std::isfinite(stored))
                return RowError{static_cast<int>(r), c, "'" + cell + "' is out of range"};
            values[count][static_cast<std::size_t>(c)] = stored;
        }
        ++count;
    }
    // Every cell converted: only now is the set changed.
    std::size_t k = 0;
    for (const ObjectRow& row : rows) {
        if (row.color.empty()) continue;
        const std::array<double, 4>& v = values[k];
        const std::int32_t color = NameToColor(row.color, defaultColor);
        switch (kind) {
        case ObjectKind::Line:
            objects.Lines[k] = {v[0], v[1], v[2], v[3], color};
            break;
        case ObjectKind::Circle:
            objects.Circles[k] = {v[0], v[1], v[2], color};
            break;
        case ObjectKind::Dot:
            objects.Dots[k] = {v[0], v[1], v[2], color};
            break;
        }
        ++k;
    }
    const auto n = static_cast<std::int32_t>(count);
    (kind == ObjectKind::Line     ? objects.LineCount
     : kind == ObjectKind::Circle ? objects.CircleCount
                                  : objects.DotCount) = n;
    return std::nullopt;
}

} // namespace probex
