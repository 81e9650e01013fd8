#pragma once

#include <QRect>
#include <QWidget>

#include <functional>

class QStatusBar;

namespace probex {

class ColouringEditor;
class EquErrPopup;
class ProjectModel;
struct TEquError;

/// The equations window: the model's equation text, its error line `BarError`, and the
/// caret placed on errors. Every edit goes to the model, which discards the results.
class TFrmEquations : public QWidget {
    Q_OBJECT

public:
    TFrmEquations(ProjectModel& model, EquErrPopup& popup, QWidget* parent = nullptr);

    ColouringEditor* editor() const { return m_equations; }
    QStatusBar* barError() const { return m_barError; }

    /// Raises the window, puts the caret after the failing character, writes the message into
    /// BarError and shows the popup "Equations error".
    void ShowEquationError(const TEquError& error);
    void clearStatus();
    /// Takes the text from the model (after New, Open, Merge) without discarding results.
    void refreshFromModel();
    void setCommentSeparator(char separator);

private:
    void textEdited(int charsRemoved, int charsAdded);

    ProjectModel& m_model;
    EquErrPopup& m_popup;
    ColouringEditor* m_equations;
    QStatusBar* m_barError;
    bool m_loading = false;
};

/// The text of an error as a status bar shows it: the engine's message and its culprit
/// ("Duplicite name: y, line 3").
QString EquationErrorText(const TEquError& error, const std::vector<std::string>& lines);

/// The place of the editor's caret line on the screen, for the popup to keep clear of.
std::function<QRect()> caretLineArea(ColouringEditor* editor);

/// The same for the popup: the message, and the culprit on a second line.
std::string EquationErrorPopupText(const TEquError& error, const std::vector<std::string>& lines);

} // namespace probex
