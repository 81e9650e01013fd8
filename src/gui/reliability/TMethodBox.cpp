#include "gui/reliability/TMethodBox.h"

#include "settings/NumberText.h"

#include <QComboBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>

namespace probex {

namespace {

constexpr ReliabilityMethod Methods[] = {
    ReliabilityMethod::MonteCarlo, ReliabilityMethod::Form, ReliabilityMethod::Sorm,
    ReliabilityMethod::ImportanceSampling, ReliabilityMethod::SubsetSimulation};

QLineEdit* WholeNumberEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setValidator(new QIntValidator(1, 999999999, edit));
    return edit;
}

} // namespace

TMethodBox::TMethodBox(TReliabilitySettings& settings, QWidget* parent)
    : QGroupBox(QStringLiteral("Method"), parent), m_settings(settings),
      m_method(new QComboBox(this)), m_formIterations(WholeNumberEdit(this, "EdtFormIterations")),
      m_formStarts(WholeNumberEdit(this, "EdtFormStarts")),
      m_isSamples(WholeNumberEdit(this, "EdtISSamples")),
      m_subsetSamples(WholeNumberEdit(this, "EdtSubsetSamples")),
      m_subsetLevels(WholeNumberEdit(this, "EdtSubsetLevels")) {
    setObjectName(QStringLiteral("GBMethod"));
    m_method->setObjectName(QStringLiteral("CBMethod"));
    for (const ReliabilityMethod m : Methods)
        m_method->addItem(QString::fromLatin1(MethodCaption(m)));
    m_method->setToolTip(QStringLiteral(
        "Monte Carlo counts over the run's logged steps; the other methods evaluate the model "
        "at points of their own and need no run"));
    m_formStarts->setValidator(new QIntValidator(0, 1000, m_formStarts));
    auto* form = new QFormLayout(this);
    form->addRow(m_method);
    form->addRow(QStringLiteral("FORM iterations:"), m_formIterations);
    form->addRow(QStringLiteral("Other start points:"), m_formStarts);
    form->addRow(QStringLiteral("IS samples:"), m_isSamples);
    form->addRow(QStringLiteral("Samples per level:"), m_subsetSamples);
    form->addRow(QStringLiteral("Max. levels:"), m_subsetLevels);
    connect(m_method, &QComboBox::currentIndexChanged, this, [this] {
        if (m_loading) return;
        store();
        emit methodChanged();
    });
    for (QLineEdit* edit :
         {m_formIterations, m_formStarts, m_isSamples, m_subsetSamples, m_subsetLevels})
        connect(edit, &QLineEdit::textEdited, this, [this] { store(); });
    refresh();
}

void TMethodBox::refresh() {
    m_loading = true;
    for (int i = 0; i < static_cast<int>(std::size(Methods)); ++i)
        if (Methods[i] == m_settings.Method) m_method->setCurrentIndex(i);
    m_formIterations->setText(QString::number(m_settings.FormMaxIter));
    m_formStarts->setText(QString::number(m_settings.FormStarts));
    m_isSamples->setText(QString::number(m_settings.IsSamples));
    m_subsetSamples->setText(QString::number(m_settings.SubsetSamples));
    m_subsetLevels->setText(QString::number(m_settings.SubsetMaxLevels));
    m_loading = false;
    enableFields();
}

void TMethodBox::store() {
    const int index = m_method->currentIndex();
    if (index >= 0 && index < static_cast<int>(std::size(Methods)))
        m_settings.Method = Methods[index];
    // A text that does not convert (yet) keeps the stored value.
    const auto take = [](QLineEdit* edit, std::int32_t& value) {
        std::int32_t number = 0;
        if (TryStrToInt(edit->text().toLatin1().toStdString(), number, false) && number >= 0)
            value = number;
    };
    take(m_formIterations, m_settings.FormMaxIter);
    take(m_formStarts, m_settings.FormStarts);
    take(m_isSamples, m_settings.IsSamples);
    take(m_subsetSamples, m_settings.SubsetSamples);
    take(m_subsetLevels, m_settings.SubsetMaxLevels);
    enableFields();
}

void TMethodBox::enableFields() {
    const ReliabilityMethod m = m_settings.Method;
    const bool form = m == ReliabilityMethod::Form || m == ReliabilityMethod::Sorm ||
                      m == ReliabilityMethod::ImportanceSampling;
    m_formIterations->setEnabled(form);
    m_formStarts->setEnabled(form);
    m_isSamples->setEnabled(m == ReliabilityMethod::ImportanceSampling);
    m_subsetSamples->setEnabled(m == ReliabilityMethod::SubsetSimulation);
    m_subsetLevels->setEnabled(m == ReliabilityMethod::SubsetSimulation);
}

} // namespace probex
