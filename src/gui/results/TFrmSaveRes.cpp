#include "gui/results/TFrmSaveRes.h"

#include "model/ProjectModel.h"
#include "settings/Settings.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace probex {

namespace {

constexpr int RowRole = Qt::UserRole;

/// The output table rows of the open windows of a kind, in window order.
std::vector<int> WindowRows(const TOutputTable& outputs, const std::vector<TPQWindowDesc>& list) {
    std::vector<int> rows;
    for (const TPQWindowDesc& window : list)
        if (!window.variable.empty()) rows.push_back(outputs.FindOutputRow(window.variable));
    return rows;
}

/// Restores the cursor however the writing ends.
class WaitCursor {
public:
    explicit WaitCursor(bool on) : m_on(on) {
        if (m_on) QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~WaitCursor() {
        if (m_on) QApplication::restoreOverrideCursor();
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    bool m_on;
};

} // namespace

TFrmSaveRes::TFrmSaveRes(ProjectModel& model, QWidget* parent) : QDialog(parent), m_model(model) {
    setObjectName(QStringLiteral("FrmSaveRes"));
    setWindowTitle(QStringLiteral("Save results"));
    auto* layout = new QVBoxLayout(this);
    m_saveTree = new QTreeWidget(this);
    m_saveTree->setObjectName(QStringLiteral("SaveTree"));
    m_saveTree->setHeaderHidden(true);
    layout->addWidget(m_saveTree);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_butOK = buttons->button(QDialogButtonBox::Ok);
    m_butOK->setObjectName(QStringLiteral("ButOK"));
    layout->addWidget(buttons);
    connect(m_butOK, &QPushButton::clicked, this, &TFrmSaveRes::ButOKClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(280, 360);
}

int TFrmSaveRes::execute() {
    prepare();
    return exec();
}

void TFrmSaveRes::prepare() {
    m_saveTree->clear();
    const TOutputTable& outputs = m_model.outputs();
    const std::vector<int> probabilityRows =
        WindowRows(outputs, m_model.resultWindows.probabilities);
    const std::vector<int> quantileRows = WindowRows(outputs, m_model.resultWindows.quantiles);
    const std::vector<ResultEntry> entries =
        QualifyingResults(outputs, probabilityRows, quantileRows);
    for (int k = 0; k < ResultKindCount; ++k) {
        const auto kind = static_cast<ResultKind>(k);
        auto* root =
            new QTreeWidgetItem(m_saveTree, {QString::fromLatin1(ResultKindCaption(kind))});
        root->setFlags(root->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsAutoTristate);
        root->setCheckState(0, Qt::Checked);
        for (const ResultEntry& entry : entries) {
            if (entry.kind != kind) continue;
            auto* item = new QTreeWidgetItem(
                root, {QString::fromStdString(outputs.cell(entry.row, colVariable))});
            item->setData(0, RowRole, entry.row);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(0, Qt::Checked);
        }
    }
    m_saveTree->expandAll();
}

std::vector<ResultEntry> TFrmSaveRes::checkedEntries() const {
    std::vector<ResultEntry> entries;
    for (int k = 0; k < m_saveTree->topLevelItemCount(); ++k) {
        const QTreeWidgetItem* root = m_saveTree->topLevelItem(k);
        for (int i = 0; i < root->childCount(); ++i) {
            const QTreeWidgetItem* item = root->child(i);
            if (item->checkState(0) == Qt::Checked)
                entries.push_back({static_cast<ResultKind>(k), item->data(0, RowRole).toInt()});
        }
    }
    return entries;
}

void TFrmSaveRes::ButOKClick() {
    // The worker owns the accumulators while it runs; the menus are disabled meanwhile.
    if (m_model.running()) return;
    SaveResultsOptions options;
    options.projectFile = m_model.currentProjectFile;
    options.stepsDone = m_model.stepCounter();
    const std::vector<ResultEntry> entries = checkedEntries();
    {
        // File dialogs keep the normal cursor.
        const WaitCursor wait(!m_model.settings().ResultsFilenamePrompt);
        m_report = SaveResults(m_model.outputs(), m_model.settings(), m_model.prompter(), entries,
                               options);
    }
    if (m_report.ok) accept();
}

} // namespace probex
