#include "gui/app/UnsavedChangesGuard.h"

#include "project/ProjectCommands.h"

#include <QFile>
#include <QTimer>
#include <QWidget>

namespace probex {

UnsavedChangesGuard::UnsavedChangesGuard(QWidget* window, ProjectCommands& commands,
                                         std::function<bool()> busy)
    : QObject(window), m_window(window), m_commands(commands), m_busy(std::move(busy)),
      m_timer(new QTimer(this)) {
    // Every kind of change (texts, tables, result windows) shows through the project's text,
    // so the title looks at that instead of at each window's edits.
    m_timer->setInterval(500);
    connect(m_timer, &QTimer::timeout, this, [this] {
        if (!m_busy()) updateTitle();
    });
    m_timer->start();
}

void UnsavedChangesGuard::updateTitle() {
    QString title = QFile::decodeName(m_commands.title().c_str());
    if (m_commands.Modified()) title += QLatin1Char('*');
    if (m_window->windowTitle() != title) m_window->setWindowTitle(title);
}

bool UnsavedChangesGuard::confirm() {
    const bool goOn = m_commands.ConfirmDiscardChanges();
    updateTitle();
    return goOn;
}

} // namespace probex
