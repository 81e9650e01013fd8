#pragma once

#include "settings/RecentFiles.h"

#include <QObject>
#include <QString>

#include <string>

class QAction;
class QMenu;

namespace probex {

/// The File menu's "Open recent" list (the last eight projects, kept in the settings file)
/// and its "Open example..." item, put in before the item `before`.
class RecentFilesMenu : public QObject {
    Q_OBJECT

public:
    RecentFilesMenu(QMenu* fileMenu, QAction* before, std::string settingsFile);

    /// Puts the file first in the list and in the settings file.
    void add(const std::string& file);
    void remove(const std::string& file);
    const std::vector<std::string>& files() const { return m_recent.files(); }

    QMenu* menu() const { return m_menu; }
    QAction* openExampleAction() const { return m_openExample; }

signals:
    void openRequested(const std::string& file);
    void openExampleRequested();

private:
    void rebuild();

    std::string m_settingsFile;
    RecentFiles m_recent;
    QMenu* m_menu = nullptr;
    QAction* m_openExample = nullptr;
};

} // namespace probex
