#include "gui/results/TFrmPrint.h"

#include "gui/results/OptionGroup.h"
#include "gui/results/ReportWriter.h"
#include "results/OwnFiles.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace probex {

namespace {

const QString InputSection = QStringLiteral("Input variables");
const QString OutputSection = QStringLiteral("Output variables");
const QString SeparatePages = QStringLiteral("Print on separate pages");

void AddItems(QTreeWidgetItem* parent, const TReportNode& node) {
    auto* item = new QTreeWidgetItem(parent, {node.caption});
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(0, node.checked ? Qt::Checked : Qt::Unchecked);
    for (const TReportNode& child : node.children)
        AddItems(item, child);
}

TReportNode NodeOf(const QTreeWidgetItem* item) {
    TReportNode node{item->text(0), item->checkState(0) == Qt::Checked, {}};
    for (int i = 0; i < item->childCount(); ++i)
        node.children << NodeOf(item->child(i));
    return node;
}

void CheckAll(QTreeWidgetItem* item) {
    item->setCheckState(0, Qt::Checked);
    for (int i = 0; i < item->childCount(); ++i)
        CheckAll(item->child(i));
}

/// A tree node's caption for a box's caption: "&&" stands for "&" in a box's text.
QString NodeCaption(const QString& boxCaption) {
    QString caption = boxCaption;
    return caption.replace(QStringLiteral("&&"), QStringLiteral("&"));
}

} // namespace

TFrmPrint::TFrmPrint(ProjectModel& model, TReportGraphs& graphs, QPrinter& printer, QWidget* parent)
    : QDialog(parent), m_model(model), m_graphs(graphs), m_printer(printer) {
    setWindowTitle(QStringLiteral("Print"));
    m_tree = new QTreeWidget(this);
    m_tree->setHeaderHidden(true);
    m_tree->setMinimumSize(260, 320);

    m_boxRep = CheckBoxGroup(QStringLiteral("Report options"),
                             {QStringLiteral("Print All"), QStringLiteral("Separate pages")});
    const QStringList graphItems = GraphNodeCaptions() + QStringList{SeparatePages};
    m_boxInpVar =
        CheckBoxGroup(QStringLiteral("Input variables options"),
                      QStringList{QStringLiteral("Distribution"), QStringLiteral("Parameters"),
                                  QStringLiteral("Comment")} +
                          graphItems);
    m_boxOutVar =
        CheckBoxGroup(QStringLiteral("Output variables options"),
                      QStringList{QStringLiteral("Parameters"), QStringLiteral("Probs && Quants"),
                                  QStringLiteral("Comment")} +
                          graphItems);

    connect(option(m_boxRep, QStringLiteral("Print All")), &QCheckBox::clicked, this,
            [this](bool checked) {
                if (checked)
                    for (int i = 0; i < m_tree->topLevelItemCount(); ++i)
                        CheckAll(m_tree->topLevelItem(i));
            });
    for (auto [group, section] :
         {std::pair{m_boxInpVar, InputSection}, std::pair{m_boxOutVar, OutputSection}}) {
        for (QCheckBox* box : group->findChildren<QCheckBox*>()) {
            if (box->text() == SeparatePages) continue;
            connect(box, &QCheckBox::clicked, this, [this, section, box](bool checked) {
                setVariableItems(section, NodeCaption(box->text()), checked);
            });
        }
    }
    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { showGroupFor(item); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* setup =
        buttons->addButton(QStringLiteral("&Setup..."), QDialogButtonBox::ActionRole);
    setup->setObjectName(QStringLiteral("ButSetup"));
    QPushButton* previewButton =
        buttons->addButton(QStringLiteral("Pre&view..."), QDialogButtonBox::ActionRole);
    connect(setup, &QPushButton::clicked, this, [this] {
        QPageSetupDialog dialog(&m_printer, this);
        dialog.exec();
    });
    connect(previewButton, &QPushButton::clicked, this, &TFrmPrint::preview);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* groups = new QVBoxLayout;
    groups->addWidget(m_boxRep);
    groups->addWidget(m_boxInpVar);
    groups->addWidget(m_boxOutVar);
    groups->addStretch();
    auto* body = new QHBoxLayout;
    body->addWidget(m_tree, 1);
    body->addLayout(groups);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(buttons);
    FormShow();
}

QCheckBox* TFrmPrint::option(QGroupBox* group, const QString& caption) const {
    return CheckBoxIn(group, caption);
}

void TFrmPrint::FormShow() {
    m_tree->clear();
    const TReportNode root = BuildReportTree(m_model);
    auto* top = new QTreeWidgetItem(m_tree, {root.caption});
    top->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    top->setCheckState(0, Qt::Checked);
    for (const TReportNode& child : root.children)
        AddItems(top, child);
    top->setExpanded(true);
    m_boxInpVar->hide();
    m_boxOutVar->hide();
    m_boxRep->show();
}

void TFrmPrint::showGroupFor(QTreeWidgetItem* item) {
    const QString caption = item ? item->text(0) : QString();
    const bool top = item && !item->parent();
    const bool section = item && item->parent() && !item->parent()->parent();
    m_boxRep->setVisible(top);
    m_boxInpVar->setVisible(section && caption == InputSection);
    m_boxOutVar->setVisible(section && caption == OutputSection);
}

void TFrmPrint::setVariableItems(const QString& section, const QString& caption, bool checked) {
    QTreeWidgetItem* root = m_tree->topLevelItem(0);
    for (int i = 0; root && i < root->childCount(); ++i) {
        QTreeWidgetItem* sectionItem = root->child(i);
        if (sectionItem->text(0) != section) continue;
        for (int v = 0; v < sectionItem->childCount(); ++v) {
            QTreeWidgetItem* variable = sectionItem->child(v);
            for (int c = 0; c < variable->childCount(); ++c)
                if (variable->child(c)->text(0) == caption)
                    variable->child(c)->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
        }
    }
}

TReportNode TFrmPrint::choices() const {
    const QTreeWidgetItem* root = m_tree->topLevelItem(0);
    return root ? NodeOf(root) : TReportNode{};
}

TReportOptions TFrmPrint::options() const {
    TReportOptions options;
    options.separatePages = option(m_boxRep, QStringLiteral("Separate pages"))->isChecked();
    options.inputsSeparate = option(m_boxInpVar, SeparatePages)->isChecked();
    options.outputsSeparate = option(m_boxOutVar, SeparatePages)->isChecked();
    return options;
}

void TFrmPrint::printOn(QPrinter& printer) {
    TReportWriter writer(printer);
    WriteReport(writer, m_model, choices(), options(), m_graphs);
    writer.finish();
}

void TFrmPrint::preview() {
    QPrintPreviewDialog dialog(&m_printer, this);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { printOn(*printer); });
    dialog.exec();
}

void PrintProjectReport(ProjectModel& model, TReportGraphs& graphs, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    // A report printed to a PDF file names Probex as its creator, as the batch mode's does.
    printer.setCreator(
        QString::fromLatin1(ReportCreator.data(), static_cast<qsizetype>(ReportCreator.size())));
    TFrmPrint form(model, graphs, printer, parent);
    if (form.exec() != QDialog::Accepted) return;
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted) return;
    form.printOn(printer);
}

} // namespace probex
