#include "gui/variables/TFrmCorrelations.h"

#include "components/Prompter.h"
#include "model/ProjectModel.h"
#include "settings/NumberText.h"
#include "settings/Settings.h"
#include "variables/DistributionFunctions.h"
#include "variables/InputTable.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace probex {

TFrmCorrelations::TFrmCorrelations(ProjectModel& model, QWidget* parent)
    : QDialog(parent), m_model(model), m_grid(new QTableWidget(this)) {
    setObjectName(QStringLiteral("TFrmCorrelations"));
    setWindowTitle(QStringLiteral("Correlations"));
    setModal(true);
    m_grid->setObjectName(QStringLiteral("GrdCorrelations"));
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setToolTip(QStringLiteral("Rank correlation (Spearman) of each pair of inputs, "
                                      "strictly between -1 and 1; empty is 0"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("BtnClose"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);
    layout->addWidget(buttons);
    resize(520, 360);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_grid, &QTableWidget::itemChanged, this, &TFrmCorrelations::GrdCorrelationsChanged);
}

void TFrmCorrelations::showCorrelations() {
    fill();
    exec();
}

void TFrmCorrelations::fill() {
    const TInputTable& inputs = m_model.inputs();
    m_names.clear();
    for (int row = 1; row <= TInputTable::RowCount; ++row) {
        const std::string& name = inputs.cell(row, InputColumn::Variable);
        if (!name.empty() && HasDistributionFunction(inputs.kind(row))) m_names.push_back(name);
    }
    m_filling = true;
    const int n = static_cast<int>(m_names.size());
    m_grid->clear();
    m_grid->setRowCount(n);
    m_grid->setColumnCount(n);
    QStringList headers;
    for (const std::string& name : m_names)
        headers << QString::fromLatin1(name.c_str());
    m_grid->setHorizontalHeaderLabels(headers);
    m_grid->setVerticalHeaderLabels(headers);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            auto* item = new QTableWidgetItem;
            if (i == j) {
                item->setText(QStringLiteral("1"));
                item->setFlags(Qt::ItemIsEnabled);
            } else {
                item->setText(cellText(i, j));
            }
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_grid->setItem(i, j, item);
        }
    m_filling = false;
}

QString TFrmCorrelations::cellText(int row, int column) const {
    const Extended value = m_model.correlations.value(m_names[static_cast<std::size_t>(row)],
                                                      m_names[static_cast<std::size_t>(column)]);
    if (value == 0) return {};
    return QString::fromStdString(FormatShortest(value, m_model.settings().DecimalSep));
}

void TFrmCorrelations::setCell(int row, int column, const QString& text) {
    m_filling = true;
    m_grid->item(row, column)->setText(text);
    m_filling = false;
}

void TFrmCorrelations::GrdCorrelationsChanged(QTableWidgetItem* item) {
    if (m_filling) return;
    const int i = item->row(), j = item->column();
    const std::string text = item->text().trimmed().toLatin1().toStdString();
    Extended value = 0;
    Prompter& prompter = m_model.prompter();
    if (!text.empty() && !TryStrToExtended(text, m_model.settings().DecimalSep, value)) {
        prompter.error(text + " is not a valid number!");
        setCell(i, j, cellText(i, j));
        return;
    }
    if (!TCorrelations::InRange(value)) {
        prompter.error("A correlation must lie strictly between -1 and 1: " + text);
        setCell(i, j, cellText(i, j));
        return;
    }
    const std::string& a = m_names[static_cast<std::size_t>(i)];
    const std::string& b = m_names[static_cast<std::size_t>(j)];
    if (value == m_model.correlations.value(a, b)) {
        setCell(i, j, cellText(i, j)); // the same value, perhaps typed another way
        return;
    }
    m_model.correlations.set(a, b, value);
    m_model.InvalidateResults();
    setCell(i, j, cellText(i, j));
    setCell(j, i, cellText(j, i));
}

} // namespace probex
