#include "gui/results/TFrmSaveGraph.h"

#include "components/Prompter.h"
#include "gui/components/Plot.h"
#include "gui/components/PlotRenderer.h"
#include "gui/components/WmfPaintDevice.h"
#include "gui/results/OptionGroup.h"
#include "gui/results/ReportContent.h"
#include "gui/results/ReportGraphs.h"
#include "gui/results/TFrmOut1D.h"
#include "gui/results/TFrmResult.h"
#include "model/ProjectModel.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"

#include <QBuffer>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QPainter>
#include <QRadioButton>
#include <QSvgGenerator>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace probex {

namespace {

const QString InputSection = QStringLiteral("Input variables");
const QString OutputSection = QStringLiteral("Output variables");
const QString OneDSection = QStringLiteral("1D");
const QString TwoDSection = QStringLiteral("2D");
const QString Hardcopy = QStringLiteral("Hardcopy");
const QString Graph = QStringLiteral("Graph");
const char* const Suffixes[] = {"_HIS", "_DIS", "_QUA"};
/// A graph saved without a window to take its size from.
constexpr QSize GraphSize(400, 240);

QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const QString& caption) {
    auto* item = new QTreeWidgetItem(parent, {caption});
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(0, Qt::Checked);
    return item;
}

QTreeWidgetItem* AddTopNode(QTreeWidget* tree, const QString& caption) {
    auto* item = new QTreeWidgetItem(tree, {caption});
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(0, Qt::Checked);
    return item;
}

bool Ticked(const QTreeWidgetItem* item) {
    return item->checkState(0) == Qt::Checked;
}

QByteArray ImageBytes(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

/// The drawing in the format the file name's extension names (bitmap without one).
QByteArray Drawing(const QString& path, QSize size,
                   const std::function<void(QPainter&, const QRect&)>& draw) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    const QRect target(QPoint(0, 0), size);
    if (suffix == QLatin1String("wmf")) {
        TWmfPaintDevice device(size);
        {
            QPainter painter(&device);
            draw(painter, target);
        }
        const std::vector<std::uint8_t> data = device.bytes();
        return QByteArray(reinterpret_cast<const char*>(data.data()),
                          static_cast<qsizetype>(data.size()));
    }
    if (suffix == QLatin1String("svg")) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(target);
        {
            QPainter painter(&svg);
            draw(painter, target);
        }
        return bytes;
    }
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        draw(painter, target);
    }
    return ImageBytes(image, suffix == QLatin1String("png") ? "PNG" : "BMP");
}

} // namespace

TFrmSaveGraph::TFrmSaveGraph(ProjectModel& model, WindowLookup windowAt, QWidget* parent)
    : QDialog(parent), m_model(model), m_windowAt(std::move(windowAt)) {
    setWindowTitle(QStringLiteral("Save graphs"));
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("SaveTree"));
    m_tree->setHeaderHidden(true);
    m_tree->setMinimumSize(260, 300);

    m_boxInput = CheckBoxGroup(QStringLiteral("Input variables options"), GraphNodeCaptions());
    m_boxOutput = CheckBoxGroup(QStringLiteral("Output variables options"), GraphNodeCaptions());
    m_box1D = new QGroupBox(QStringLiteral("1D options"));
    m_hardcopy = new QRadioButton(Hardcopy, m_box1D);
    m_graph = new QRadioButton(Graph, m_box1D);
    m_graph->setChecked(true);
    auto* oneDLayout = new QVBoxLayout(m_box1D);
    oneDLayout->addWidget(m_hardcopy);
    oneDLayout->addWidget(m_graph);
    connect(m_hardcopy, &QRadioButton::clicked, this, [this] { chooseOneD(true); });
    connect(m_graph, &QRadioButton::clicked, this, [this] { chooseOneD(false); });
    for (auto [group, section] :
         {std::pair{m_boxInput, InputSection}, std::pair{m_boxOutput, OutputSection}})
        for (QCheckBox* box : group->findChildren<QCheckBox*>())
            connect(box, &QCheckBox::clicked, this, [this, section, box](bool checked) {
                for (int i = 0; i < m_tree->topLevelItemCount(); ++i)
                    if (m_tree->topLevelItem(i)->text(0) == section)
                        setGraphNodes(m_tree->topLevelItem(i), box->text(), checked);
            });
    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { showOptionsFor(item); });
    // The two choices of a 1D window exclude each other.
    connect(m_tree, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item) {
        QTreeWidgetItem* window = item->parent();
        if (!window || !window->parent() || window->parent()->text(0) != OneDSection) return;
        if (!Ticked(item)) return;
        for (int c = 0; c < window->childCount(); ++c)
            if (window->child(c) != item) window->child(c)->setCheckState(0, Qt::Unchecked);
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        accept();
        saveTicked();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* options = new QVBoxLayout;
    options->addWidget(m_boxInput);
    options->addWidget(m_boxOutput);
    options->addWidget(m_box1D);
    options->addStretch();
    auto* body = new QHBoxLayout;
    body->addWidget(m_tree, 1);
    body->addLayout(options);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(buttons);
    buildTree();
    showOptionsFor(nullptr);
}

QCheckBox* TFrmSaveGraph::graphOption(QGroupBox* group, const QString& caption) const {
    return CheckBoxIn(group, caption);
}

void TFrmSaveGraph::buildTree() {
    const TInputTable& inputs = m_model.inputs();
    QTreeWidgetItem* section = AddTopNode(m_tree, InputSection);
    for (int row = 1; row <= TInputTable::RowCount; ++row) {
        const std::string& name = inputs.cell(row, InputColumn::Variable);
        const DistKind kind = inputs.record(row).Kind;
        if (name.empty() || kind == DistKind::dkConstant || kind == DistKind::dkStepNumber)
            continue;
        QTreeWidgetItem* variable = AddNode(section, QString::fromLatin1(name.c_str()));
        for (const QString& graph : GraphNodeCaptions())
            AddNode(variable, graph);
    }
    const TOutputTable& outputs = m_model.outputs();
    section = AddTopNode(m_tree, OutputSection);
    for (int row = 1; row <= OutputRows; ++row) {
        const std::string& name = outputs.cell(row, colVariable);
        if (name.empty() ||
            ActivityLevel(outputs.cell(row, colActivity)) < static_cast<int>(Activity::Histogram))
            continue;
        QTreeWidgetItem* variable = AddNode(section, QString::fromLatin1(name.c_str()));
        for (const QString& graph : GraphNodeCaptions())
            AddNode(variable, graph);
    }
    const TResultWindows& windows = m_model.resultWindows;
    if (!windows.oneD.empty()) {
        section = AddTopNode(m_tree, OneDSection);
        for (std::size_t i = 0; i < windows.oneD.size(); ++i) {
            QTreeWidgetItem* window =
                AddNode(section, ResultWindowCaption(m_model, ResultWindowKind::OneD, i));
            AddNode(window, Hardcopy)->setCheckState(0, Qt::Unchecked);
            AddNode(window, Graph);
        }
    }
    if (!windows.twoD.empty()) {
        section = AddTopNode(m_tree, TwoDSection);
        for (std::size_t i = 0; i < windows.twoD.size(); ++i)
            AddNode(section, ResultWindowCaption(m_model, ResultWindowKind::TwoD, i));
    }
    m_tree->expandToDepth(0);
}

void TFrmSaveGraph::showOptionsFor(QTreeWidgetItem* item) {
    const QString top = item && !item->parent() ? item->text(0) : QString();
    m_boxInput->setVisible(top == InputSection);
    m_boxOutput->setVisible(top == OutputSection);
    m_box1D->setVisible(top == OneDSection);
}

void TFrmSaveGraph::setGraphNodes(QTreeWidgetItem* section, const QString& caption, bool checked) {
    for (int v = 0; v < section->childCount(); ++v)
        for (int c = 0; c < section->child(v)->childCount(); ++c)
            if (section->child(v)->child(c)->text(0) == caption)
                section->child(v)->child(c)->setCheckState(0,
                                                           checked ? Qt::Checked : Qt::Unchecked);
}

void TFrmSaveGraph::chooseOneD(bool hardcopy) {
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* section = m_tree->topLevelItem(i);
        if (section->text(0) == OneDSection)
            setGraphNodes(section, hardcopy ? Hardcopy : Graph, true);
    }
}

bool TFrmSaveGraph::saveOne(const QString& proposal, bool picture,
                            const std::function<void(QPainter&, const QRect&)>& draw, QSize size) {
    Prompter::FileRequest request;
    request.save = true;
    request.title = picture ? "Save Image" : "Save Graph";
    request.filter = picture ? "Bitmap|*.bmp"
                             : "Bitmap|*.bmp|Metafile|*.wmf|PNG picture|*.png|SVG drawing|*.svg";
    request.defaultExtension = "bmp";
    request.initialDirectory = m_model.settings().ResultsDirPath;
    request.fileName = proposal.toLatin1().toStdString();
    const std::optional<std::string> chosen = m_model.prompter().chooseFile(request);
    if (!chosen) return true; // a cancelled dialog skips this one file
    QString path = QString::fromLatin1(chosen->c_str());
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".bmp");
    if (picture)
        path = QFileInfo(path).path() + QLatin1Char('/') + QFileInfo(path).completeBaseName() +
               QStringLiteral(".bmp");
    const QByteArray bytes = Drawing(path, size.isEmpty() ? GraphSize : size, draw);
    const std::string failure = WriteFileAtomically(
        path.toLatin1().toStdString(), std::string_view(bytes.constData(), bytes.size()));
    if (failure.empty()) return true;
    m_model.prompter().error(failure);
    return false;
}

void TFrmSaveGraph::saveTicked() {
    const auto plotDrawer = [](TPlotScene scene) {
        return [scene = std::move(scene)](QPainter& painter, const QRect& target) {
            painter.fillRect(target, scene.background);
            RenderPlot(scene, scene.fullRange(), painter, target);
        };
    };
    for (int s = 0; s < m_tree->topLevelItemCount(); ++s) {
        QTreeWidgetItem* section = m_tree->topLevelItem(s);
        if (!Ticked(section)) continue;
        const QString caption = section->text(0);
        for (int v = 0; v < section->childCount(); ++v) {
            QTreeWidgetItem* node = section->child(v);
            if (!Ticked(node)) continue;
            const std::string name = node->text(0).toLatin1().toStdString();
            if (caption == InputSection || caption == OutputSection) {
                const bool input = caption == InputSection;
                const int row = input ? m_model.inputs().FindVarRow(name)
                                      : m_model.outputs().FindOutputRow(name);
                for (int kind = 0; kind < 3 && row > 0; ++kind) {
                    if (!Ticked(node->child(kind))) continue;
                    const TPlotScene scene = input ? InputGraphScene(m_model, row, kind)
                                                   : OutputGraphScene(m_model, row, kind);
                    if (!saveOne(node->text(0) + QLatin1String(Suffixes[kind]), false,
                                 plotDrawer(scene), GraphSize))
                        return;
                }
                continue;
            }
            const bool oneD = caption == OneDSection;
            TFrmResult* window =
                m_windowAt ? m_windowAt(oneD ? ResultWindowKind::OneD : ResultWindowKind::TwoD,
                                        static_cast<std::size_t>(v))
                           : nullptr;
            const bool picture = !oneD || Ticked(node->child(0));
            // A 1D window with neither choice ticked has nothing to save.
            if (!picture && !Ticked(node->child(1))) continue;
            if (picture) {
                const QImage image = window ? window->grab().toImage() : QImage();
                if (!saveOne(
                        node->text(0), true,
                        [image](QPainter& painter, const QRect& target) {
                            if (!image.isNull()) painter.drawImage(target, image);
                        },
                        image.isNull() ? GraphSize : image.size()))
                    return;
            } else if (auto* oneDWindow = dynamic_cast<TFrmOut1D*>(window)) {
                TPlot* plot = oneDWindow->plot();
                if (!saveOne(
                        node->text(0), false,
                        [plot](QPainter& painter, const QRect& target) {
                            painter.fillRect(target, plot->scene().background);
                            plot->render(painter, target);
                        },
                        plot->size()))
                    return;
            }
        }
    }
}

void SaveGraphs(ProjectModel& model, TFrmSaveGraph::WindowLookup windowAt, QWidget* parent) {
    TFrmSaveGraph dialog(model, std::move(windowAt), parent);
    dialog.exec();
}

} // namespace probex
