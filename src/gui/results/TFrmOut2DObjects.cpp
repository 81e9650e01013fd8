#include "gui/results/TFrmOut2D.h"

#include "components/Prompter.h"
#include "gui/results/Picture2DCanvas.h"
#include "gui/results/ResultFields.h"
#include "gui/results/TFrm2DObjects.h"
#include "gui/results/TFrm2DTables.h"
#include "model/ProjectModel.h"
#include "results/Objects2D.h"
#include "settings/Settings.h"

#include <algorithm>
#include <memory>

// The overlay objects of a 2D window: drawing them, adding one, editing a table of them.

namespace probex {

namespace {

const char* TooMany(ObjectKind kind) {
    switch (kind) {
    case ObjectKind::Line:
        return "Too many lines!";
    case ObjectKind::Circle:
        return "Too many circles!";
    case ObjectKind::Dot:
        break;
    }
    return "Too many dots!";
}

} // namespace

void TFrmOut2D::DrawLines() {
    drawObjects(ObjectKind::Line);
}

void TFrmOut2D::DrawCircles() {
    drawObjects(ObjectKind::Circle);
}

void TFrmOut2D::DrawDots() {
    drawObjects(ObjectKind::Dot);
}

void TFrmOut2D::drawObjects(ObjectKind kind) {
    const ObjectsRec* set = objects();
    if (!set) return;
    const std::int32_t count = std::clamp(ObjectCount(*set, kind), 0, MaxObjectsOfKind);
    for (std::size_t k = 0; k < static_cast<std::size_t>(count); ++k)
        drawObject(*set, kind, k);
}

void TFrmOut2D::drawObject(const ObjectsRec& set, ObjectKind kind, std::size_t k) {
    if (!m_scale.valid) return;
    switch (kind) {
    case ObjectKind::Line:
        if (const auto line = LineGeometry(set.Lines[k], m_scale))
            m_canvas->addLine(*line, SettingsColor(set.Lines[k].Color));
        break;
    case ObjectKind::Circle:
        if (const auto box = CircleGeometry(set.Circles[k], m_scale))
            m_canvas->addEllipse(*box, SettingsColor(set.Circles[k].Color), false);
        break;
    case ObjectKind::Dot:
        if (const auto box = DotGeometry(set.Dots[k], m_scale))
            m_canvas->addEllipse(*box, SettingsColor(set.Dots[k].Color), true);
        break;
    }
}

void TFrmOut2D::addObject(ObjectKind kind) {
    if (!objects()) return;
    const std::int32_t count = ObjectCount(*objects(), kind);
    if (count >= MaxObjectsOfKind) {
        m_model.prompter().error(TooMany(kind));
        return;
    }
    const TSettings& settings = m_model.settings();
    TFrm2DObjects dialog(m_model.prompter(), settings.DecimalSep, this);
    dialog.prepare(kind, count + 1, settings.Plot2DObjectsColor);
    if (dialog.exec() != QDialog::Accepted) return;
    // Looked up again: the table may have grown while the dialog was open.
    ObjectsRec* set = objects();
    if (!set || ObjectCount(*set, kind) >= MaxObjectsOfKind) return;
    const std::array<double, 4>& v = dialog.values();
    const auto slot = static_cast<std::size_t>(ObjectCount(*set, kind));
    switch (kind) {
    case ObjectKind::Line:
        set->Lines[slot] = {v[0], v[1], v[2], v[3], dialog.color()};
        ++set->LineCount;
        break;
    case ObjectKind::Circle:
        set->Circles[slot] = {v[0], v[1], v[2], dialog.color()};
        ++set->CircleCount;
        break;
    case ObjectKind::Dot:
        set->Dots[slot] = {v[0], v[1], v[2], dialog.color()};
        ++set->DotCount;
        break;
    }
    drawObject(*set, kind, slot);
}

void TFrmOut2D::editObjects(ObjectKind kind) {
    if (!objects()) return;
    const TSettings& settings = m_model.settings();
    Prompter& prompter = m_model.prompter();
    std::unique_ptr<TFrm2DObjectTable> dialog;
    switch (kind) {
    case ObjectKind::Line:
        dialog = std::make_unique<TFrm2DLines>(prompter, settings.DecimalSep,
                                               settings.Plot2DObjectsColor, this);
        break;
    case ObjectKind::Circle:
        dialog = std::make_unique<TFrm2DCircles>(prompter, settings.DecimalSep,
                                                 settings.Plot2DObjectsColor, this);
        break;
    case ObjectKind::Dot:
        dialog = std::make_unique<TFrm2DDots>(prompter, settings.DecimalSep,
                                              settings.Plot2DObjectsColor, this);
        break;
    }
    // The dialog edits a copy, written back once it closes.
    ObjectsRec copy = *objects();
    dialog->load(copy);
    dialog->exec();
    const TFrm2DObjectTable::Outcome outcome = dialog->outcome();
    if (outcome == TFrm2DObjectTable::Outcome::Unchanged || !objects()) return;
    *objects() = copy;
    if (outcome == TFrm2DObjectTable::Outcome::Yes) drawObjects(kind);
    if (outcome == TFrm2DObjectTable::Outcome::All) FormFill();
}

} // namespace probex
