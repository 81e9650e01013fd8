#include "gui/app/HelpWindow.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextCursor>
#include <QUrl>
#include <QVBoxLayout>

namespace probex {

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Probex Help"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    resize(760, 620);

    auto* back = new QPushButton(QStringLiteral("&Back"), this);
    auto* forward = new QPushButton(QStringLiteral("&Forward"), this);
    auto* contents = new QPushButton(QStringLiteral("&Contents"), this);
    auto* findLabel = new QLabel(QStringLiteral("F&ind:"), this);
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("EdtHelpSearch"));
    m_search->setPlaceholderText(QStringLiteral("Search the manual"));
    m_search->setClearButtonEnabled(true);
    findLabel->setBuddy(m_search);
    m_searchNote = new QLabel(this);
    auto* external = new QPushButton(QStringLiteral("Open in &browser"), this);

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    // Links within the manual stay here; links to the web go to the browser.
    m_browser->setOpenExternalLinks(true);

    auto* bar = new QHBoxLayout;
    bar->addWidget(back);
    bar->addWidget(forward);
    bar->addWidget(contents);
    bar->addSpacing(12);
    bar->addWidget(findLabel);
    bar->addWidget(m_search, 1);
    bar->addWidget(m_searchNote);
    bar->addWidget(external);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_browser, 1);

    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(contents, &QPushButton::clicked, m_browser, &QTextBrowser::home);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(m_search, &QLineEdit::returnPressed, this, [this] { findNext(m_search->text()); });
    connect(m_search, &QLineEdit::textChanged, m_searchNote, &QLabel::clear);
    connect(external, &QPushButton::clicked, this,
            [this] { QDesktopServices::openUrl(QUrl::fromLocalFile(m_file)); });
}

bool HelpWindow::showManual(const QString& file) {
    if (!QFileInfo(file).isReadable()) return false;
    m_file = file;
    m_browser->setSource(QUrl::fromLocalFile(file));
    return !m_browser->toPlainText().isEmpty();
}

bool HelpWindow::findNext(const QString& text) {
    if (text.isEmpty()) return false;
    if (m_browser->find(text)) {
        m_searchNote->clear();
        return true;
    }
    // From the top again.
    QTextCursor cursor = m_browser->textCursor();
    cursor.movePosition(QTextCursor::Start);
    m_browser->setTextCursor(cursor);
    const bool found = m_browser->find(text);
    m_searchNote->setText(found ? QString() : QStringLiteral("Not found"));
    return found;
}

} // namespace probex
