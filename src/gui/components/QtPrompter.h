#pragma once

#include "components/Prompter.h"

#include <QPointer>
#include <QString>

class QWidget;

namespace probex {

/// The desktop program's prompter: message boxes for the four kinds of message and the
/// standard file dialogs. Used on the GUI thread only.
class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : m_parent(parent) {}

    /// The window the boxes are centred on and modal to.
    void setParent(QWidget* parent) { m_parent = parent; }

    Answer message(Kind kind, const std::string& text, Buttons buttons) override;
    std::optional<std::string> chooseFile(const FileRequest& request) override;

private:
    QPointer<QWidget> m_parent;
};

/// The caption of a message box of the kind ("Warning", "Error", "Information", "Confirm").
QString MessageCaption(Prompter::Kind kind);

/// "Probex files|*.pxw|All files|*" to the dialog's "Probex files (*.pxw);;All files (*)".
/// A text without "|" is taken as a filter of its own.
QString QtFileFilter(const std::string& filter);

} // namespace probex
