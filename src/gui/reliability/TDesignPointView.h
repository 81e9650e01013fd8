#pragma once

#include <QWidget>

class QTableWidget;

namespace probex {

class Prompter;
class TPlot;
struct TReliabilityResult;

/// The design point of FORM, SORM or importance sampling: a table of each input's value,
/// standard normal coordinate, α and importance α², and a bar chart of the signed importance
/// (α·|α|: loads up, resistances down). The table copies (Ctrl+C, pop-up menu) and exports as
/// tab-separated text.
class TDesignPointView : public QWidget {
    Q_OBJECT

public:
    TDesignPointView(Prompter& prompter, QWidget* parent = nullptr);

    void showResult(const TReliabilityResult& result, char decimalSeparator);
    void clear();

    QTableWidget* table() const { return m_table; }
    TPlot* chart() const { return m_chart; }
    /// The whole table as tab-separated text with its heading line.
    const std::string& text() const { return m_text; }
    /// Asks for a file name and writes the table there; false when cancelled or failed.
    bool exportTable();

private:
    Prompter& m_prompter;
    QTableWidget* m_table;
    TPlot* m_chart;
    int m_bars = 0;
    std::string m_text;
};

} // namespace probex
