#pragma once

#include "project/ResultWindows.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QGroupBox;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace probex {

class ProjectModel;
class TFrmResult;

/// The "Save graphs" dialog: a tree of the graphs of the input and output variables and of
/// the open 1D and 2D windows, every node ticked at first; OK asks for a file name for each
/// ticked graph in turn and writes it as a bitmap, a metafile, a PNG or an SVG drawing.
class TFrmSaveGraph : public QDialog {
    Q_OBJECT

public:
    using WindowLookup = std::function<TFrmResult*(ResultWindowKind, std::size_t)>;

    TFrmSaveGraph(ProjectModel& model, WindowLookup windowAt, QWidget* parent = nullptr);

    QTreeWidget* tree() const { return m_tree; }
    QGroupBox* inputOptions() const { return m_boxInput; }
    QGroupBox* outputOptions() const { return m_boxOutput; }
    QGroupBox* oneDOptions() const { return m_box1D; }
    QCheckBox* graphOption(QGroupBox* group, const QString& caption) const;
    QRadioButton* hardcopyOption() const { return m_hardcopy; }

    /// Saves every ticked graph in order; stops at the first file that cannot be written.
    void saveTicked();

private:
    void buildTree();
    void showOptionsFor(QTreeWidgetItem* item);
    void setGraphNodes(QTreeWidgetItem* section, const QString& caption, bool checked);
    void chooseOneD(bool hardcopy);
    /// Asks for the file and writes it; false when writing failed (the person was told).
    bool saveOne(const QString& proposal, bool picture,
                 const std::function<void(QPainter&, const QRect&)>& draw, QSize size);

    ProjectModel& m_model;
    WindowLookup m_windowAt;
    QTreeWidget* m_tree = nullptr;
    QGroupBox* m_boxInput = nullptr;
    QGroupBox* m_boxOutput = nullptr;
    QGroupBox* m_box1D = nullptr;
    QRadioButton* m_hardcopy = nullptr;
    QRadioButton* m_graph = nullptr;
};

/// The Save graphs command.
void SaveGraphs(ProjectModel& model, TFrmSaveGraph::WindowLookup windowAt, QWidget* parent);

} // namespace probex
