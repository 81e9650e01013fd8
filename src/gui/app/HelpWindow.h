#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QTextBrowser;

namespace probex {

/// The manual in a window of the program itself, so that help works without a browser: the
/// page with its links, Back, Forward and Contents, a search box that finds the next
/// occurrence (from the top again after the last), and "Open in browser" as an extra.
class HelpWindow : public QDialog {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);

    /// Shows the page (a local HTML file); false when it cannot be read.
    bool showManual(const QString& file);
    /// Finds the next occurrence of the text; false (and a note beside the box) when none.
    bool findNext(const QString& text);

    QTextBrowser* browser() const { return m_browser; }
    QLineEdit* searchBox() const { return m_search; }

private:
    QTextBrowser* m_browser = nullptr;
    QLineEdit* m_search = nullptr;
    QLabel* m_searchNote = nullptr;
    QString m_file;
};

} // namespace probex
