#include "gui/reliability/TDesignPointView.h"

#include "components/Prompter.h"
#include "gui/components/GridCopy.h"
#include "gui/components/Plot.h"
#include "reliability/ReliabilityResult.h"
#include "settings/FileAccess.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMenu>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

namespace probex {

TDesignPointView::TDesignPointView(Prompter& prompter, QWidget* parent)
    : QWidget(parent), m_prompter(prompter), m_table(new QTableWidget(this)),
      m_chart(new TPlot(this)) {
    setObjectName(QStringLiteral("DesignPoint"));
    m_table->setObjectName(QStringLiteral("GrdDesignPoint"));
    m_table->setColumnCount(5);
    m_table->setHorizontalHeaderLabels({QStringLiteral("Variable"), QStringLiteral("Value"),
                                        QStringLiteral("u"), QStringLiteral("Alpha"),
                                        QStringLiteral("Importance")});
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* copy = new QAction(QStringLiteral("&Copy"), m_table);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    connect(copy, &QAction::triggered, this, [this] {
        // Without a selection the whole table goes, heading included.
        if (!CopySelectionAsTabSeparated(*m_table))
            QApplication::clipboard()->setText(QString::fromLatin1(m_text));
    });
    auto* save = new QAction(QStringLiteral("&Export..."), m_table);
    connect(save, &QAction::triggered, this, [this] { exportTable(); });
    m_table->addAction(copy);
    m_table->addAction(save);

    m_chart->setObjectName(QStringLiteral("PxImportance"));
    m_chart->setPrompter(&prompter);
    m_chart->scene().x.title = QStringLiteral("Input (row of the table)");
    m_chart->scene().y.title = QStringLiteral("Importance");
    m_chart->setToolTip(QStringLiteral("Importance factor alpha squared, up for a load "
                                       "(alpha > 0), down for a resistance (alpha < 0)"));
    m_bars = m_chart->addSeries(PlotSeriesKind::Bar, QColor(70, 110, 190), 16,
                                QStringLiteral("Importance"));

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(m_table);
    split->addWidget(m_chart);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(split);
}

void TDesignPointView::showResult(const TReliabilityResult& result, char decimalSeparator) {
    if (!result.HasDesignPoint) {
        clear();
        return;
    }
    m_text = DesignPointText(result, decimalSeparator);
    // The table shows the text's cells, so that the copy and the file say what is seen.
    const QStringList lines =
        QString::fromLatin1(m_text).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    m_table->setRowCount(static_cast<int>(lines.size()) - 1);
    QVector<QPointF> bars;
    for (int r = 1; r < lines.size(); ++r) {
        const QStringList cells = lines[r].split(QLatin1Char('\t'));
        for (int c = 0; c < cells.size() && c < 5; ++c)
            m_table->setItem(r - 1, c, new QTableWidgetItem(cells[c]));
        const long double alpha = result.DesignPoint[static_cast<std::size_t>(r - 1)].alpha;
        bars.append({static_cast<double>(r), static_cast<double>(alpha * std::fabs(alpha))});
    }
    m_table->resizeColumnsToContents();
    m_chart->series(m_bars).points = bars;
    // Whole bars at both ends, and the same scale for every result.
    m_chart->setXRange(0.5, static_cast<double>(bars.size()) + 0.5);
    m_chart->setYRange(-1, 1);
    m_chart->scene().decimalSeparator = QLatin1Char(decimalSeparator);
    m_chart->replot();
}

void TDesignPointView::clear() {
    m_text.clear();
    m_table->setRowCount(0);
    m_chart->series(m_bars).points.clear();
    m_chart->replot();
}

bool TDesignPointView::exportTable() {
    if (m_text.empty()) return false;
    Prompter::FileRequest request;
    request.save = true;
    request.title = "Export design point";
    request.filter = "Text files (*.txt)|*.txt|All files (*.*)|*.*";
    request.defaultExtension = "txt";
    request.fileName = "designpoint.txt";
    const std::optional<std::string> path = m_prompter.chooseFile(request);
    if (!path) return false;
    if (const std::string error = WriteFileAtomically(*path, m_text); !error.empty()) {
        m_prompter.error(error);
        return false;
    }
    return true;
}

} // namespace probex
