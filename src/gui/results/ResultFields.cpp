#include "gui/results/ResultFields.h"

#include "gui/components/WholeText.h"
#include "settings/NumberText.h"
#include "settings/Settings.h"
#include "simulation/OutputTable.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

namespace probex {

QColor SettingsColor(std::int32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

QLineEdit* MakeValueField(QWidget* parent, const char* name) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setReadOnly(true);
    field->setAlignment(Qt::AlignRight);
    field->setAutoFillBackground(true);
    BlankValue(field);
    return field;
}

void SetFieldColor(QLineEdit* field, const QColor& color) {
    // A new palette restyles the field: the refreshes during a run must not pay for that.
    if (field->palette().color(QPalette::Base) == color) return;
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, color);
    palette.setColor(QPalette::Text, Qt::black);
    field->setPalette(palette);
}

void ShowValue(QLineEdit* field, Extended value, const TSettings& settings) {
    ShowWholeText(field, QString::fromStdString(FormatResultValue(value, settings.DecimalSep)));
    SetFieldColor(field, SettingsColor(settings.ResultsColor));
}

void BlankValue(QLineEdit* field) {
    if (!field->text().isEmpty()) field->clear();
    SetFieldColor(field, BlankFieldColor);
}

QString Latin1Text(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string Latin1String(const QString& text) {
    return text.toLatin1().toStdString();
}

void FillVariableBox(QComboBox* box, const TOutputTable& outputs, int minimumLevel) {
    const QSignalBlocker blocker(box);
    box->clear();
    for (int row = 1; row <= OutputRows; ++row) {
        const std::string& name = outputs.cell(row, colVariable);
        if (name.empty()) continue;
        if (minimumLevel >= 0 && ActivityLevel(outputs.cell(row, colActivity)) < minimumLevel)
            continue;
        box->addItem(Latin1Text(name));
    }
    box->setCurrentIndex(-1);
}

bool RefillVariableBox(QComboBox* box, const TOutputTable& outputs, int minimumLevel) {
    const std::string chosen = Latin1String(box->currentText());
    FillVariableBox(box, outputs, minimumLevel);
    return chosen.empty() || ChooseVariable(box, chosen);
}

bool ChooseVariable(QComboBox* box, const QString& name, Qt::MatchFlags match) {
    const int found = box->findText(name, match);
    if (found < 0) return false;
    const QSignalBlocker blocker(box);
    box->setCurrentIndex(found);
    return true;
}

bool ChooseVariable(QComboBox* box, const std::string& name) {
    return ChooseVariable(box, Latin1Text(name));
}

} // namespace probex
