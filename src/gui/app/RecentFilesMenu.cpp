#include "gui/app/RecentFilesMenu.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenu>

namespace probex {

RecentFilesMenu::RecentFilesMenu(QMenu* fileMenu, QAction* before, std::string settingsFile)
    : QObject(fileMenu), m_settingsFile(std::move(settingsFile)) {
    m_openExample = new QAction(QStringLiteral("Open e&xample..."), fileMenu);
    m_openExample->setObjectName(QStringLiteral("ItmOpenExample"));
    m_openExample->setStatusTip(QStringLiteral("Open one of the example projects"));
    m_menu = new QMenu(QStringLiteral("Open rece&nt"), fileMenu);
    m_menu->setObjectName(QStringLiteral("BarRecent"));
    fileMenu->insertAction(before, m_openExample);
    fileMenu->insertMenu(before, m_menu);
    fileMenu->insertSeparator(before);
    connect(m_openExample, &QAction::triggered, this, &RecentFilesMenu::openExampleRequested);
    m_recent.load(m_settingsFile);
    rebuild();
}

void RecentFilesMenu::add(const std::string& file) {
    m_recent.add(file);
    // A settings file that cannot be written costs only the list.
    m_recent.save(m_settingsFile);
    rebuild();
}

void RecentFilesMenu::remove(const std::string& file) {
    m_recent.remove(file);
    m_recent.save(m_settingsFile);
    rebuild();
}

void RecentFilesMenu::rebuild() {
    m_menu->clear();
    int number = 0;
    for (const std::string& file : m_recent.files()) {
        const QString path = QFile::decodeName(file.c_str());
        QString name = QFileInfo(path).fileName();
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* item = m_menu->addAction(QStringLiteral("&%1 %2").arg(++number).arg(name));
        item->setStatusTip(path);
        item->setToolTip(path);
        connect(item, &QAction::triggered, this, [this, file] { emit openRequested(file); });
    }
    m_menu->setEnabled(!m_recent.files().empty());
}

} // namespace probex
