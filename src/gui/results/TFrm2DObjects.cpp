#include "gui/results/TFrm2DObjects.h"

#include "components/Prompter.h"
#include "project/ColorNames.h"
#include "settings/NumberText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <cmath>

namespace probex {

void FillColorNames(QComboBox* box) {
    for (const TColorRec& entry : ColorTable())
        box->addItem(QString::fromLatin1(entry.Name));
}

TFrm2DObjects::TFrm2DObjects(Prompter& prompter, char decimalSep, QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_decimalSep(decimalSep),
      m_colorBox(new QComboBox(this)) {
    setObjectName(QStringLiteral("Frm2DObjects"));
    setModal(true);
    auto* form = new QFormLayout;
    for (std::size_t k = 0; k < m_edits.size(); ++k) {
        m_labels[k] = new QLabel(this);
        m_edits[k] = new QLineEdit(this);
        m_edits[k]->setObjectName(QStringLiteral("Edt%1").arg(k + 1));
        form->addRow(m_labels[k], m_edits[k]);
    }
    m_colorBox->setObjectName(QStringLiteral("CBColor"));
    FillColorNames(m_colorBox);
    form->addRow(QStringLiteral("Color:"), m_colorBox);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TFrm2DObjects::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TFrm2DObjects::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void TFrm2DObjects::prepare(ObjectKind kind, int number, std::int32_t color) {
    m_kind = kind;
    static const char* const lineFields[] = {"X1:", "Y1:", "X2:", "Y2:"};
    static const char* const pointFields[] = {"X:", "Y:", "R:", ""};
    const char* const* names = kind == ObjectKind::Line ? lineFields : pointFields;
    const char* caption = kind == ObjectKind::Line     ? "Line "
                          : kind == ObjectKind::Circle ? "Circle"
                                                       : "Dot";
    setWindowTitle(QString::fromLatin1(caption) + QString::number(number));
    for (std::size_t k = 0; k < m_edits.size(); ++k) {
        const bool used = static_cast<int>(k) < NumberColumns(kind);
        m_labels[k]->setText(QString::fromLatin1(names[k]));
        m_labels[k]->setVisible(used);
        m_edits[k]->setVisible(used);
        m_edits[k]->clear();
    }
    m_colorBox->setCurrentText(QString::fromStdString(ColorToName(color, color)));
    m_values = {};
    m_edits[0]->setFocus();
}

std::int32_t TFrm2DObjects::color() const {
    return NameToColor(m_colorBox->currentText().toStdString(), 0);
}

void TFrm2DObjects::accept() {
    std::array<double, 4> values{};
    for (int k = 0; k < NumberColumns(m_kind); ++k) {
        QLineEdit* edit = m_edits[static_cast<std::size_t>(k)];
        const std::string text = edit->text().trimmed().toStdString();
        try {
            const double value =
                text.empty() ? 0.0 : static_cast<double>(StrToExtended(text, m_decimalSep));
            if (!std::isfinite(value)) throw ConversionError("'" + text + "' is out of range");
            values[static_cast<std::size_t>(k)] = value;
        } catch (const ConversionError& error) {
            m_prompter.error(error.what());
            edit->setFocus();
            edit->selectAll();
            return;
        }
    }
    m_values = values;
    QDialog::accept();
}

} // namespace probex
