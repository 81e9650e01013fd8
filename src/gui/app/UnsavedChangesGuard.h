#pragma once

#include <QObject>

#include <functional>

class QTimer;
class QWidget;

namespace probex {

class ProjectCommands;

/// Shows unsaved work in the window title (a "*" after the name) and asks before it is
/// discarded. The title follows every change within half a second, except while `busy`.
class UnsavedChangesGuard : public QObject {
    Q_OBJECT

public:
    UnsavedChangesGuard(QWidget* window, ProjectCommands& commands, std::function<bool()> busy);

    /// The project's title, with "*" when it is modified.
    void updateTitle();
    /// "Save changes to ...?" when the project is modified; true when the command may go on.
    bool confirm();

private:
    QWidget* m_window;
    ProjectCommands& m_commands;
    std::function<bool()> m_busy;
    QTimer* m_timer;
};

} // namespace probex
