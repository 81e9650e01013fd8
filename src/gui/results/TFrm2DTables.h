#pragma once

#include "results/ObjectRows.h"

#include <QDialog>

#include <cstdint>

class QComboBox;
class QPushButton;
class QTableWidget;

namespace probex {

class Prompter;

/// A table of the lines, circles or dots of one pair: 16 rows with a grey number column, the
/// number columns and a colour drop-down; Delete, Delete all, Compact table and Close.
class TFrm2DObjectTable : public QDialog {
    Q_OBJECT

public:
    /// What closing asked for: nothing changed, or the answer to "Redraw?".
    enum class Outcome { Unchanged, Yes, No, All };

    TFrm2DObjectTable(ObjectKind kind, Prompter& prompter, char decimalSep,
                      std::int32_t defaultColor, QWidget* parent = nullptr);

    ObjectKind kind() const { return m_kind; }
    /// Shows the set's objects of the kind; the other rows empty.
    void load(ObjectsRec& objects);
    Outcome outcome() const { return m_outcome; }

    QTableWidget* grid() const { return m_grid; }
    QComboBox* colorCell(int row) const;

public slots:
    void BtnDeleteClick();
    void BtnDeleteAllClick();
    void BtnCompactClick();
    /// Writes a changed table back into the set and asks "Redraw?"; a cell that does not
    /// convert keeps the dialog open.
    void BtnCloseClick();
    /// Closing the window any other way is a Close.
    void reject() override;

private:
    ObjectRows rows() const;
    void showRows(const ObjectRows& rows);
    void cellEdited(int row, int column);

    ObjectKind m_kind;
    Prompter& m_prompter;
    char m_decimalSep;
    std::int32_t m_defaultColor;
    ObjectsRec* m_objects = nullptr;
    QTableWidget* m_grid;
    bool m_changed = false;
    bool m_filling = false;
    Outcome m_outcome = Outcome::Unchanged;
};

class TFrm2DLines : public TFrm2DObjectTable {
    Q_OBJECT
public:
    TFrm2DLines(Prompter& prompter, char decimalSep, std::int32_t defaultColor,
                QWidget* parent = nullptr)
        : TFrm2DObjectTable(ObjectKind::Line, prompter, decimalSep, defaultColor, parent) {}
};

class TFrm2DCircles : public TFrm2DObjectTable {
    Q_OBJECT
public:
    TFrm2DCircles(Prompter& prompter, char decimalSep, std::int32_t defaultColor,
                  QWidget* parent = nullptr)
        : TFrm2DObjectTable(ObjectKind::Circle, prompter, decimalSep, defaultColor, parent) {}
};

class TFrm2DDots : public TFrm2DObjectTable {
    Q_OBJECT
public:
    TFrm2DDots(Prompter& prompter, char decimalSep, std::int32_t defaultColor,
               QWidget* parent = nullptr)
        : TFrm2DObjectTable(ObjectKind::Dot, prompter, decimalSep, defaultColor, parent) {}
};

} // namespace probex
