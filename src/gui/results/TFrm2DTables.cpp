#include "gui/results/TFrm2DTables.h"

#include "components/Prompter.h"
#include "gui/results/ResultFields.h"
#include "gui/results/TFrm2DObjects.h"
#include "project/ColorNames.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace probex {

namespace {

QStringList Headers(ObjectKind kind) {
    switch (kind) {
    case ObjectKind::Line:
        return {QStringLiteral("Line"), QStringLiteral("X1"), QStringLiteral("Y1"),
                QStringLiteral("X2"),   QStringLiteral("Y2"), QStringLiteral("Color")};
    case ObjectKind::Circle:
        return {QStringLiteral("Circle"), QStringLiteral("X"), QStringLiteral("Y"),
                QStringLiteral("R"), QStringLiteral("Color")};
    case ObjectKind::Dot:
        break;
    }
    return {QStringLiteral("Dot"), QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("R"),
            QStringLiteral("Color")};
}

const char* Caption(ObjectKind kind) {
    switch (kind) {
    case ObjectKind::Line:
        return "Lines";
    case ObjectKind::Circle:
        return "Circles";
    case ObjectKind::Dot:
        break;
    }
    return "Dots";
}

QPushButton* AddButton(QHBoxLayout* row, QWidget* parent, const char* name, const char* caption) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    row->addWidget(button);
    return button;
}

} // namespace

TFrm2DObjectTable::TFrm2DObjectTable(ObjectKind kind, Prompter& prompter, char decimalSep,
                                     std::int32_t defaultColor, QWidget* parent)
    : QDialog(parent), m_kind(kind), m_prompter(prompter), m_decimalSep(decimalSep),
      m_defaultColor(defaultColor), m_grid(new QTableWidget(MaxObjectsOfKind, 0, this)) {
    setObjectName(QStringLiteral("Frm2D") + QLatin1String(Caption(kind)));
    setWindowTitle(QLatin1String(Caption(kind)));
    setModal(true);
    const QStringList headers = Headers(kind);
    m_grid->setObjectName(QStringLiteral("Grd") + QLatin1String(Caption(kind)));
    m_grid->setColumnCount(static_cast<int>(headers.size()));
    m_grid->setHorizontalHeaderLabels(headers);
    m_grid->verticalHeader()->hide();
    const int colorColumn = NumberColumns(kind) + 1;
    for (int r = 0; r < MaxObjectsOfKind; ++r) {
        auto* number = new QTableWidgetItem(QString::number(r + 1));
        number->setFlags(Qt::ItemIsEnabled);
        number->setBackground(BlankFieldColor);
        m_grid->setItem(r, 0, number);
        for (int c = 1; c < colorColumn; ++c)
            m_grid->setItem(r, c, new QTableWidgetItem);
        auto* color = new QComboBox(m_grid);
        color->addItem(QString());
        FillColorNames(color);
        m_grid->setCellWidget(r, colorColumn, color);
        connect(color, &QComboBox::currentIndexChanged, this, [this] {
            if (!m_filling) m_changed = true;
        });
    }
    connect(m_grid, &QTableWidget::cellChanged, this, &TFrm2DObjectTable::cellEdited);

    auto* buttons = new QHBoxLayout;
    connect(AddButton(buttons, this, "BtnDelete", "Delete"), &QPushButton::clicked, this,
            &TFrm2DObjectTable::BtnDeleteClick);
    connect(AddButton(buttons, this, "BtnDeleteAll", "Delete all"), &QPushButton::clicked, this,
            &TFrm2DObjectTable::BtnDeleteAllClick);
    connect(AddButton(buttons, this, "BtnCompact", "Compact table"), &QPushButton::clicked, this,
            &TFrm2DObjectTable::BtnCompactClick);
    connect(AddButton(buttons, this, "BtnClose", "Close"), &QPushButton::clicked, this,
            &TFrm2DObjectTable::BtnCloseClick);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);
    layout->addLayout(buttons);
    resize(120 + 110 * NumberColumns(kind), 460);
}

QComboBox* TFrm2DObjectTable::colorCell(int row) const {
    return qobject_cast<QComboBox*>(m_grid->cellWidget(row, NumberColumns(m_kind) + 1));
}

void TFrm2DObjectTable::load(ObjectsRec& objects) {
    m_objects = &objects;
    showRows(RowsFromObjects(objects, m_kind, m_decimalSep, m_defaultColor));
    m_changed = false;
    m_outcome = Outcome::Unchanged;
    m_grid->setCurrentCell(0, 1);
}

ObjectRows TFrm2DObjectTable::rows() const {
    ObjectRows rows{};
    for (int r = 0; r < MaxObjectsOfKind; ++r) {
        ObjectRow& row = rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < NumberColumns(m_kind); ++c)
            row.cells[static_cast<std::size_t>(c)] =
                m_grid->item(r, c + 1)->text().toLatin1().toStdString();
        row.color = colorCell(r)->currentText().toStdString();
    }
    return rows;
}

void TFrm2DObjectTable::showRows(const ObjectRows& rows) {
    m_filling = true;
    for (int r = 0; r < MaxObjectsOfKind; ++r) {
        const ObjectRow& row = rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < NumberColumns(m_kind); ++c)
            m_grid->item(r, c + 1)->setText(
                QString::fromLatin1(row.cells[static_cast<std::size_t>(c)]));
        colorCell(r)->setCurrentText(QString::fromStdString(row.color));
    }
    m_filling = false;
}

void TFrm2DObjectTable::cellEdited(int row, int column) {
    if (m_filling || column < 1) return;
    m_changed = true;
    m_filling = true;
    colorCell(row)->setCurrentText(
        QString::fromStdString(ColorToName(m_defaultColor, m_defaultColor)));
    m_filling = false;
}

void TFrm2DObjectTable::BtnDeleteClick() {
    const int current = m_grid->currentRow();
    if (current < 0) return;
    ObjectRows all = rows();
    all[static_cast<std::size_t>(current)] = ObjectRow{};
    CompactRows(all, m_kind, m_decimalSep);
    showRows(all);
    m_changed = true;
}

void TFrm2DObjectTable::BtnDeleteAllClick() {
    showRows(ObjectRows{});
    m_changed = true;
}

void TFrm2DObjectTable::BtnCompactClick() {
    ObjectRows all = rows();
    CompactRows(all, m_kind, m_decimalSep);
    showRows(all);
}

void TFrm2DObjectTable::BtnCloseClick() {
    if (m_changed && m_objects) {
        ObjectRows all = rows();
        if (const auto error =
                WriteRowsBack(all, m_kind, *m_objects, m_decimalSep, m_defaultColor)) {
            showRows(all);
            m_grid->setCurrentCell(error->row, error->column + 1);
            m_prompter.error(error->message);
            return;
        }
        showRows(all);
        switch (m_prompter.confirm("Redraw?", Prompter::Buttons::YesNoAll)) {
        case Prompter::Answer::Yes:
            m_outcome = Outcome::Yes;
            break;
        case Prompter::Answer::All:
            m_outcome = Outcome::All;
            break;
        default:
            m_outcome = Outcome::No;
            break;
        }
        m_changed = false;
    }
    QDialog::accept();
}

void TFrm2DObjectTable::reject() {
    BtnCloseClick();
}

} // namespace probex
