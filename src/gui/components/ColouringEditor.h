#pragma once

#include <QPlainTextEdit>

#include <string>
#include <vector>

namespace probex {

class EquationHighlighter;

/// The text editor of the equation windows: function words (and, where the language allows
/// them, DIV and MOD) as keywords, comments blue from the comment mark to the end of the line.
/// Texts go in and out as 8-bit lines, Latin-1, so that character positions of the engine's
/// error records are positions in the editor's lines.
class ColouringEditor : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit ColouringEditor(QWidget* parent = nullptr);
    ~ColouringEditor() override;

    void setCommentSeparator(char separator);
    char commentSeparator() const;
    /// DIV and MOD shown as keywords too.
    void setOperatorWords(bool on);

    /// One string per line; an empty text gives no lines.
    std::vector<std::string> lines() const;
    void setLines(const std::vector<std::string>& lines);

    /// Caret on line `line` (from 0) just after character `pos` (from 1; 0 is the line's
    /// start), both clamped to the text, and in sight. The line stays marked until the text
    /// changes: a popup that takes the focus also takes the blinking caret.
    void placeCaret(int line, int pos);
    /// Where the caret's line is on the screen: the width of the view, the height of the line.
    QRect caretLineOnScreen() const;

protected:
    /// Only text is taken: pasting or dropping anything else (an empty clipboard included)
    /// leaves the equations as they are.
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    EquationHighlighter* m_highlighter;
};

} // namespace probex
