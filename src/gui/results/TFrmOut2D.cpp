#include "gui/results/TFrmOut2D.h"

#include "gui/results/Picture2DArea.h"
#include "gui/results/Picture2DCanvas.h"
#include "gui/results/ResultFields.h"
#include "model/ProjectModel.h"
#include "settings/NumberText.h"
#include "settings/Settings.h"
#include "simulation/HisCompute.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace probex {

namespace {

/// A slice of the picture's build runs this long before the window gets the event loop back.
constexpr int SliceMilliseconds = 30;
constexpr std::uint32_t Background = 0xFFFFFFFF;

QLabel* MakeLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

} // namespace

TFrmOut2D::TFrmOut2D(ProjectModel& model, std::size_t index, QWidget* parent)
    : TFrmResult(model, ResultWindowKind::TwoD, index, parent),
      m_pixels(PictureSide * PictureSide, Background) {
    setObjectName(QStringLiteral("FrmOut2D"));
    setWindowTitle(QStringLiteral("2D"));
    m_slices.setSingleShot(true);
    m_slices.setInterval(0);
    connect(&m_slices, &QTimer::timeout, this, &TFrmOut2D::buildSlice);
    buildWidgets();
    buildPopup();
}

TFrmOut2D::~TFrmOut2D() = default;

T2DWindowDesc& TFrmOut2D::desc() {
    return m_model.resultWindows.twoD.at(index());
}

ObjectsRec* TFrmOut2D::objects() {
    TObjectsTable& table = m_model.resultWindows.objects;
    if (m_objectsIndex < 1 || m_objectsIndex > table.count()) return nullptr;
    return &table.record(m_objectsIndex);
}

void TFrmOut2D::buildWidgets() {
    m_boxH = new QComboBox(this);
    m_boxH->setObjectName(QStringLiteral("BoxVariableH"));
    m_boxV = new QComboBox(this);
    m_boxV->setObjectName(QStringLiteral("BoxVariableV"));
    for (QComboBox* box : {m_boxH, m_boxV}) {
        box->setMinimumContentsLength(10);
        connect(box, &QComboBox::activated, this, [this, box](int item) {
            selectVariable(box == m_boxH, Latin1String(box->itemText(item)), true);
        });
    }
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(new QLabel(QStringLiteral("Horizontal axis:"), this));
    boxes->addWidget(m_boxH, 1);
    boxes->addWidget(new QLabel(QStringLiteral("Vertical axis:"), this));
    boxes->addWidget(m_boxV, 1);

    m_canvas = new Picture2DCanvas(this);
    m_canvas->setObjectName(QStringLiteral("Img2D"));
    connect(m_canvas, &Picture2DCanvas::hovered, this, &TFrmOut2D::showHover);
    connect(m_canvas, &Picture2DCanvas::popupRequested, this,
            [this](QPoint at) { m_popup->popup(at); });
    m_lxMin = MakeLabel(this, "LXMin");
    m_lxMax = MakeLabel(this, "LXMax");
    m_lyMin = MakeLabel(this, "LYMin");
    m_lyMax = MakeLabel(this, "LYMax");
    auto* picture = new Picture2DArea(m_canvas, m_lxMin, m_lxMax, m_lyMin, m_lyMax, this);
    picture->setObjectName(QStringLiteral("PnlPicture"));

    auto* group = new QGroupBox(QStringLiteral("Colouration"), this);
    group->setObjectName(QStringLiteral("RGColouration"));
    m_colouration = new QButtonGroup(this);
    auto* groupLayout = new QVBoxLayout(group);
    const char* const captions[] = {"No", "Freq", "Prob"};
    for (int k = 0; k < 3; ++k) {
        auto* button = new QRadioButton(QLatin1String(captions[k]), group);
        button->setObjectName(QStringLiteral("RBColouration") + QLatin1String(captions[k]));
        m_colouration->addButton(button, k);
        groupLayout->addWidget(button);
    }
    connect(m_colouration, &QButtonGroup::idClicked, this,
            [this](int id) { setColouration(id, true); });
    m_chbLines = new QCheckBox(QStringLiteral("Draw lines"), this);
    m_chbLines->setObjectName(QStringLiteral("ChBLines"));
    m_chbDots = new QCheckBox(QStringLiteral("Draw dots"), this);
    m_chbDots->setObjectName(QStringLiteral("ChBDots"));
    m_chbCircles = new QCheckBox(QStringLiteral("Draw circles"), this);
    m_chbCircles->setObjectName(QStringLiteral("ChBCircles"));
    connect(m_chbLines, &QCheckBox::clicked, this, [this](bool on) { desc().drawLines = on; });
    connect(m_chbDots, &QCheckBox::clicked, this, [this](bool on) { desc().drawDots = on; });
    connect(m_chbCircles, &QCheckBox::clicked, this, [this](bool on) { desc().drawCircles = on; });
    m_lSteps = MakeLabel(this, "LSteps");
    auto* steps = new QHBoxLayout;
    steps->addWidget(new QLabel(QStringLiteral("Steps:"), this));
    steps->addWidget(m_lSteps, 1);
    auto* side = new QVBoxLayout;
    side->addWidget(group);
    side->addWidget(m_chbLines);
    side->addWidget(m_chbDots);
    side->addWidget(m_chbCircles);
    side->addLayout(steps);
    side->addStretch(1);

    m_edtCom = new QLineEdit(this);
    m_edtCom->setObjectName(QStringLiteral("EdtCom"));
    connect(m_edtCom, &QLineEdit::textEdited, this,
            [this](const QString& text) { desc().identification = Latin1String(text); });
    auto* comment = new QHBoxLayout;
    comment->addWidget(new QLabel(QStringLiteral("Comment line"), this));
    comment->addWidget(m_edtCom, 1);
    m_hover = MakeLabel(this, "LHover");
    // The text follows the mouse: it must not widen the window.
    m_hover->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto* middle = new QHBoxLayout;
    middle->addWidget(picture, 1);
    middle->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(boxes);
    layout->addLayout(middle, 1);
    layout->addLayout(comment);
    layout->addWidget(m_hover);
}

void TFrmOut2D::buildPopup() {
    m_popup = new QMenu(this);
    const auto item = [this](const char* caption, auto&& slot) {
        QAction* action = m_popup->addAction(QLatin1String(caption));
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    item("Redraw", [this] { FormFill(); });
    m_popup->addSeparator();
    item("Draw all", [this] {
        DrawGraph();
        DrawLines();
        DrawCircles();
        DrawDots();
    });
    item("Draw all objects", [this] {
        DrawLines();
        DrawCircles();
        DrawDots();
    });
    item("Draw graph", [this] { DrawGraph(); });
    item("Draw lines", [this] { DrawLines(); });
    item("Draw circles", [this] { DrawCircles(); });
    item("Draw dots", [this] { DrawDots(); });
    m_popup->addSeparator();
    QAction* addLine = item("Add line", [this] { addObject(ObjectKind::Line); });
    QAction* addCircle = item("Add circle", [this] { addObject(ObjectKind::Circle); });
    QAction* addDot = item("Add dot", [this] { addObject(ObjectKind::Dot); });
    m_popup->addSeparator();
    QAction* lines = item("Lines...", [this] { editObjects(ObjectKind::Line); });
    QAction* circles = item("Circles...", [this] { editObjects(ObjectKind::Circle); });
    QAction* dots = item("Dots...", [this] { editObjects(ObjectKind::Dot); });
    // Objects belong to a pair of two different variables.
    connect(m_popup, &QMenu::aboutToShow, this, [=, this] {
        for (QAction* action : {addLine, addCircle, addDot, lines, circles, dots})
            action->setEnabled(m_objectsIndex >= 1);
    });
}

void TFrmOut2D::loadDescription() {
    stopBuilding();
    const T2DWindowDesc window = desc();
    BoxVariablesFill(m_model.resultsExist() ? 1 : 0);
    if (QAbstractButton* button = m_colouration->button(std::clamp(window.colouration, 0, 2)))
        button->setChecked(true);
    m_chbLines->setChecked(window.drawLines);
    m_chbCircles->setChecked(window.drawCircles);
    m_chbDots->setChecked(window.drawDots);
    m_edtCom->setText(Latin1Text(window.identification));
    // Both names first, then one picture.
    m_deferRedraw = true;
    selectVariable(true, window.variableH, false);
    selectVariable(false, window.variableV, false);
    m_deferRedraw = false;
    if (m_redrawDeferred)
        FormFill();
    else
        clearResults();
}

void TFrmOut2D::BoxVariablesFill(int mode) {
    const int minimumLevel = mode == 1 ? static_cast<int>(Activity::Log) : -1;
    for (QComboBox* box : {m_boxH, m_boxV})
        FillVariableBox(box, m_model.outputs(), minimumLevel);
}

void TFrmOut2D::BoxVariablesRefill(int mode) {
    const std::string horizontal = desc().variableH;
    const std::string vertical = desc().variableV;
    BoxVariablesFill(mode);
    // An empty box has lost nothing: only a window whose variable is gone closes.
    for (const std::string* name : {&horizontal, &vertical}) {
        if (!name->empty() && m_boxH->findText(Latin1Text(*name), Qt::MatchFixedString) < 0) {
            stopBuilding();
            emit closeRequested();
            return;
        }
    }
    m_deferRedraw = true;
    selectVariable(true, horizontal, false);
    selectVariable(false, vertical, false);
    m_deferRedraw = false;
    if (m_redrawDeferred) FormFill();
}

void TFrmOut2D::refillVariableBoxes(int mode) {
    BoxVariablesRefill(mode);
}

void TFrmOut2D::selectVariable(bool horizontal, const std::string& name, bool byUser) {
    if (!m_deferRedraw) m_redrawDeferred = false;
    QComboBox* box = horizontal ? m_boxH : m_boxV;
    const int item = name.empty() ? -1 : box->findText(Latin1Text(name), Qt::MatchFixedString);
    {
        const QSignalBlocker blocker(box);
        box->setCurrentIndex(item);
    }
    const std::string shown = item >= 0 ? Latin1String(box->itemText(item)) : name;
    T2DWindowDesc& window = desc();
    (horizontal ? window.variableH : window.variableV) = shown;
    updateCaption();
    m_objectsIndex =
        m_model.resultWindows.objects.ObtainObjectsRec(window.variableH, window.variableV);

    TOutputTable& outputs = m_model.outputs();
    const int row = shown.empty() ? 0 : outputs.FindOutputRow(shown);
    const std::int32_t active = row != 0 ? outputs.FindActiveIndex(row) : 0;
    if (active != 0 && m_model.resultsExist()) {
        TOutVar& out = outputs.runTable().item(active);
        if (out.His && out.His->level != 3) HisCompute(*out.His, 3, true);
        if (m_deferRedraw)
            m_redrawDeferred = true;
        else
            FormFill();
    }
    // So that the next run logs what the person chose.
    if (byUser && row != 0 && !m_model.resultsExist() && outputs.cell(row, colActivity) != "Log") {
        outputs.setCell(row, colActivity, "Log");
        emit outputTableChanged();
    }
}

void TFrmOut2D::updateCaption() {
    const T2DWindowDesc& window = m_model.resultWindows.twoD.at(index());
    setWindowTitle(QStringLiteral("2D ") + Latin1Text(window.variableH) + QStringLiteral(" & ") +
                   Latin1Text(window.variableV));
}

void TFrmOut2D::setColouration(int colouration, bool byUser) {
    if (colouration == ColourProb &&
        m_model.outEquations().evalSettings().Mode != OutEvalMode::Probability)
        colouration = ColourNo;
    if (QAbstractButton* button = m_colouration->button(colouration)) button->setChecked(true);
    desc().colouration = colouration;
    if (byUser) FormFill();
}

void TFrmOut2D::FormFill() {
    DrawGraph();
    if (m_chbLines->isChecked()) DrawLines();
    if (m_chbCircles->isChecked()) DrawCircles();
    if (m_chbDots->isChecked()) DrawDots();
}

const TOutLog* TFrmOut2D::logOf(const std::string& name) const {
    const TOutputTable& outputs = m_model.outputs();
    const int row = name.empty() ? 0 : outputs.FindOutputRow(name);
    const std::int32_t active = row != 0 ? outputs.FindActiveIndex(row) : 0;
    return active != 0 ? outputs.runTable().item(active).Log.get() : nullptr;
}

void TFrmOut2D::DrawGraph() {
    // The worker writes the logs and statistics while a run goes.
    if (m_model.running()) return;
    stopBuilding();
    m_canvas->clear();
    m_scale = {};
    m_grid.clear();
    m_lSteps->setText(QString::number(m_model.stepCounter()));
    const TSettings& settings = m_model.settings();
    const T2DWindowDesc& window = desc();
    TOutputTable& outputs = m_model.outputs();
    const auto statOf = [&outputs](const std::string& name) -> const TOutStat* {
        const int row = name.empty() ? 0 : outputs.FindOutputRow(name);
        const std::int32_t active = row != 0 ? outputs.FindActiveIndex(row) : 0;
        return active != 0 ? outputs.runTable().item(active).Stat.get() : nullptr;
    };
    const TOutStat* statX = statOf(window.variableH);
    const TOutStat* statY = statOf(window.variableV);
    const auto range = [&settings](const TOutStat* stat, QLabel* low, QLabel* high) {
        low->setText(stat ? Latin1Text(FormatResultValue(stat->min, settings.DecimalSep))
                          : QString());
        high->setText(stat ? Latin1Text(FormatResultValue(stat->max, settings.DecimalSep))
                           : QString());
    };
    range(statX, m_lxMin, m_lxMax);
    range(statY, m_lyMin, m_lyMax);
    if (!statX || !statY || statX->max == statX->min || statY->max == statY->min) return;
    m_scale = Scale2D::FromRanges(statX->min, statX->max, statY->min, statY->max);
    if (!m_scale.valid) return;

    const std::int32_t colouration = window.colouration;
    m_shownColouration = colouration;
    m_palette = MakePalette(colouration, settings);
    if (colouration == ColourProb) {
        TOutEquations& out = m_model.outEquations();
        if (out.evalSettings().Mode != OutEvalMode::Probability ||
            !out.CompileForSteps(m_model.outEquationLines))
            return;
    }
    const TOutLog* logX = logOf(window.variableH);
    const TOutLog* logY = logOf(window.variableV);
    if (!logX || !logY) return;
    m_build.total = std::max(0, std::min({m_model.stepCounter(), logX->size(), logY->size()}));
    m_build.next = 0;
    m_build.colouration = colouration;
    m_build.logX = logX;
    m_build.logY = logY;
    m_build.active = true;
    ++m_generation;
    m_canvas->setCursor(Qt::BusyCursor);
    m_slices.start();
}

void TFrmOut2D::buildSlice() {
    if (!m_build.active) return;
    const T2DWindowDesc& window = desc();
    TOutEquations& out = m_model.outEquations();
    const bool prob = m_build.colouration == ColourProb;
    // The logs may have gone (results discarded, a new run) since the last slice.
    if (m_model.running() || logOf(window.variableH) != m_build.logX ||
        logOf(window.variableV) != m_build.logY || (prob && !out.compiled())) {
        stopBuilding();
        return;
    }
    const std::int32_t rate = std::max<std::int32_t>(1, m_model.settings().RefreshRate2D);
    const TOutLog& xs = *m_build.logX;
    const TOutLog& ys = *m_build.logY;
    const std::uint64_t generation = m_generation;
    QElapsedTimer clock;
    clock.start();
    while (m_build.next < m_build.total) {
        const std::int32_t end = RefreshStretchEnd(m_build.next, rate, m_build.total);
        if (!prob) {
            BinPoints(xs, ys, m_build.next, end, m_scale, m_grid);
        } else if (!BinPointsWithCondition(
                       xs, ys, m_build.next, end, m_scale, m_grid,
                       [&out](std::int32_t k) { return out.ConditionAtStep(k); })) {
            // The error box ran the event loop: stop only the build it interrupted.
            if (generation == m_generation) stopBuilding();
            return;
        }
        m_build.next = end;
        if (clock.elapsed() >= SliceMilliseconds) break;
    }
    renderGrid();
    if (m_build.next >= m_build.total)
        stopBuilding();
    else
        m_slices.start();
}

void TFrmOut2D::renderGrid() {
    RenderPicture(m_grid, m_shownColouration, m_palette, Background, m_pixels.data());
    m_canvas->setPixels(m_pixels.data());
}

void TFrmOut2D::stopBuilding() {
    m_slices.stop();
    if (!m_build.active) return;
    m_build.active = false;
    m_canvas->unsetCursor();
}

void TFrmOut2D::finishBuilding() {
    while (m_build.active)
        buildSlice();
}

void TFrmOut2D::finalRefresh() {
    FormFill();
}

void TFrmOut2D::clearResults() {
    stopBuilding();
    m_canvas->clear();
    m_grid.clear();
    m_scale = {};
    m_lSteps->setText(QStringLiteral("0"));
    for (QLabel* label : {m_lxMin, m_lxMax, m_lyMin, m_lyMax})
        label->clear();
    m_hover->clear();
}

void TFrmOut2D::setRunning(bool running) {
    if (running) stopBuilding();
    m_boxH->setEnabled(!running);
    m_boxV->setEnabled(!running);
}

void TFrmOut2D::settingsChanged() {
    if (!m_scale.valid || m_build.active) return;
    m_palette = MakePalette(m_shownColouration, m_model.settings());
    renderGrid();
}

void TFrmOut2D::outEquationsEvaluated() {
    if (desc().colouration == ColourProb) FormFill();
}

QImage TFrmOut2D::picture() const {
    return m_canvas->render(1);
}

void TFrmOut2D::showHover(std::optional<QPoint> pixel) {
    if (!pixel || !m_scale.valid) {
        m_hover->clear();
        return;
    }
    const char sep = m_model.settings().DecimalSep;
    const auto number = [sep](double value) {
        return QString::number(value, 'g', 6).replace(QLatin1Char('.'), QLatin1Char(sep));
    };
    const int column = pixel->x();
    const int lift = PictureSide - 1 - pixel->y();
    QString text = QStringLiteral("X: ") + number(m_scale.xAt(column)) + QStringLiteral("  Y: ") +
                   number(m_scale.yAt(lift));
    const std::int32_t count = m_grid.count(column, lift);
    if (m_shownColouration == ColourFreq) text += QStringLiteral("  Count: %1").arg(count);
    if (m_shownColouration == ColourProb && count > 0)
        text += QStringLiteral("  Share: ") +
                number(static_cast<double>(m_grid.miss(column, lift)) / count);
    m_hover->setText(text);
}

} // namespace probex
