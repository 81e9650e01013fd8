#include "gui/engine/TFrmEquations.h"

#include "engine/ErrorCulprit.h"

#include "gui/components/ColouringEditor.h"
#include "gui/engine/ChildWindow.h"
#include "gui/engine/EquErrPopup.h"
#include "model/ProjectModel.h"
#include "settings/Settings.h"

#include <QStatusBar>
#include <QVBoxLayout>

namespace probex {

QString EquationErrorText(const TEquError& error, const std::vector<std::string>& lines) {
    return QString::fromLatin1(ErrorWithCulprit(error, lines));
}

std::function<QRect()> caretLineArea(ColouringEditor* editor) {
    return [editor] {
        // A window just restored takes its size late: the caret must still be in sight.
        editor->ensureCursorVisible();
        return editor->caretLineOnScreen();
    };
}

std::string EquationErrorPopupText(const TEquError& error, const std::vector<std::string>& lines) {
    const std::string culprit = ErrorCulprit(error, lines);
    return culprit.empty() ? ErrorText(error.Code) : ErrorText(error.Code) + ("\n" + culprit);
}

TFrmEquations::TFrmEquations(ProjectModel& model, EquErrPopup& popup, QWidget* parent)
    : QWidget(parent), m_model(model), m_popup(popup), m_equations(new ColouringEditor(this)),
      m_barError(new QStatusBar(this)) {
    setObjectName(QStringLiteral("FrmEquations"));
    setWindowTitle(QStringLiteral("Equations"));
    m_equations->setObjectName(QStringLiteral("Equations"));
    m_equations->setOperatorWords(true);
    m_equations->setCommentSeparator(model.settings().CommentSep);
    m_barError->setObjectName(QStringLiteral("BarError"));
    m_barError->setSizeGripEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_equations, 1);
    layout->addWidget(m_barError);
    resize(420, 300);

    connect(m_equations->document(), &QTextDocument::contentsChange, this,
            [this](int, int removed, int added) { textEdited(removed, added); });
    refreshFromModel();
}

void TFrmEquations::textEdited(int charsRemoved, int charsAdded) {
    // Colouring changes the document's formats too; only text changes count.
    if (m_loading || (charsRemoved == 0 && charsAdded == 0)) return;
    m_model.equations = m_equations->lines();
    m_model.InvalidateResults();
}

void TFrmEquations::refreshFromModel() {
    m_loading = true;
    if (m_equations->lines() != m_model.equations) m_equations->setLines(m_model.equations);
    m_loading = false;
}

void TFrmEquations::setCommentSeparator(char separator) {
    m_equations->setCommentSeparator(separator);
}

void TFrmEquations::clearStatus() {
    m_barError->clearMessage();
}

void TFrmEquations::ShowEquationError(const TEquError& error) {
    BringChildToFront(this);
    m_equations->placeCaret(error.Line, error.Pos);
    m_barError->showMessage(EquationErrorText(error, m_model.equations));
    m_popup.keepClearOf(caretLineArea(m_equations));
    m_popup.showPopup("Equations error", EquationErrorPopupText(error, m_model.equations));
}

} // namespace probex
