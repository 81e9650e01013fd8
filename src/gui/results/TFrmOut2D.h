#pragma once

#include "gui/results/TFrmResult.h"
#include "results/ObjectRows.h"
#include "results/Picture2D.h"

#include <QTimer>

#include <optional>
#include <string>
#include <vector>

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;

namespace probex {

class Picture2DCanvas;
class TOutLog;
struct ObjectsRec;
struct T2DWindowDesc;

/// A 2D window: two logged output variables against each other, every step a point of a
/// 256 x 256 picture coloured by frequency or by the share of steps that miss the
/// out-equation condition, with the pair's lines, circles and dots laid over it.
class TFrmOut2D : public TFrmResult {
    Q_OBJECT

public:
    /// Shows the description once loadDescription is called.
    TFrmOut2D(ProjectModel& model, std::size_t index, QWidget* parent = nullptr);
    ~TFrmOut2D() override;

    // TFrmResult
    void loadDescription() override;
    void refillVariableBoxes(int mode) override;
    /// Redraws the window (the end of a run, the out equations evaluated).
    void finalRefresh() override;
    void clearResults() override;
    void setRunning(bool running) override;
    void settingsChanged() override;
    void outEquationsEvaluated() override;

    /// Lists every named output row (mode 0) or only the logged ones (mode 1) in both boxes.
    void BoxVariablesFill(int mode);
    /// Fills again and selects both names again; a window whose variable is gone asks to be
    /// closed.
    void BoxVariablesRefill(int mode);
    /// A choice in a box; `byUser` also marks the variable "Log" for the next run.
    void selectVariable(bool horizontal, const std::string& name, bool byUser);

    /// The picture, then the objects whose boxes are ticked.
    void FormFill();
    /// Starts building the picture; it grows in slices while the window stays usable.
    void DrawGraph();
    void DrawLines();
    void DrawCircles();
    void DrawDots();
    void drawObjects(ObjectKind kind);
    /// Object k of the kind over the picture, where the points it marks are.
    void drawObject(const ObjectsRec& set, ObjectKind kind, std::size_t k);
    /// "Add line", "Add circle", "Add dot".
    void addObject(ObjectKind kind);
    /// "Lines...", "Circles...", "Dots...".
    void editObjects(ObjectKind kind);

    bool building() const { return m_build.active; }
    /// Runs the build to its end at once (the slices one after another).
    void finishBuilding();

    /// The index of the pair's objects in the objects table; -1 or 0 when there are none.
    int objectsIndex() const { return m_objectsIndex; }
    const Scale2D& scale() const { return m_scale; }
    const PictureGrid& grid() const { return m_grid; }
    Picture2DCanvas* canvas() const { return m_canvas; }
    QMenu* popupMenu() const { return m_popup; }
    /// The picture with its objects, 258 x 258 pixels.
    QImage picture() const;

private:
    struct Build {
        bool active = false;
        std::int32_t next = 0;
        std::int32_t total = 0;
        std::int32_t colouration = 0;
        const TOutLog* logX = nullptr;
        const TOutLog* logY = nullptr;
    };

    T2DWindowDesc& desc();
    void buildWidgets();
    void buildPopup();
    void updateCaption();
    void setColouration(int colouration, bool byUser);
    /// The logs of both variables from the run table, or null.
    const TOutLog* logOf(const std::string& name) const;
    void buildSlice();
    void stopBuilding();
    void renderGrid();
    void showHover(std::optional<QPoint> pixel);
    ObjectsRec* objects();

    QComboBox* m_boxH = nullptr;
    QComboBox* m_boxV = nullptr;
    Picture2DCanvas* m_canvas = nullptr;
    QLabel* m_lxMin = nullptr;
    QLabel* m_lxMax = nullptr;
    QLabel* m_lyMin = nullptr;
    QLabel* m_lyMax = nullptr;
    QLabel* m_lSteps = nullptr;
    QLabel* m_hover = nullptr;
    QButtonGroup* m_colouration = nullptr;
    QCheckBox* m_chbLines = nullptr;
    QCheckBox* m_chbDots = nullptr;
    QCheckBox* m_chbCircles = nullptr;
    QLineEdit* m_edtCom = nullptr;
    QMenu* m_popup = nullptr;

    int m_objectsIndex = -1;
    Scale2D m_scale;
    PictureGrid m_grid;
    std::vector<std::uint32_t> m_pixels;
    Palette2D m_palette{};
    std::int32_t m_shownColouration = 0; ///< the colouration the grid was built for
    Build m_build;
    std::uint64_t m_generation = 0; ///< counts the builds started
    bool m_deferRedraw = false;     ///< both boxes are being set: one picture afterwards
    bool m_redrawDeferred = false;
    QTimer m_slices;
};

} // namespace probex
