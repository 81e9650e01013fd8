#include "gui/components/ColouringEditor.h"

#include "engine/Expression.h"

#include <QFont>
#include <QFontDatabase>
#include <QMimeData>
#include <QRegularExpression>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextCharFormat>

#include <algorithm>

namespace probex {

/// Colours one block at a time; words are looked up in the engine, so the keyword list can
/// never drift from what the compiler accepts.
class EquationHighlighter : public QSyntaxHighlighter {
public:
    explicit EquationHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {
        m_keyword.setFontWeight(QFont::Bold);
        m_keyword.setForeground(Qt::darkBlue);
        m_comment.setForeground(Qt::blue);
    }

    char commentSeparator = ';';
    bool operatorWords = false;

protected:
    void highlightBlock(const QString& text) override {
        qsizetype end = text.indexOf(QLatin1Char(commentSeparator));
        if (end < 0) end = text.size();
        static const QRegularExpression word(QStringLiteral("\\b[A-Za-z][A-Za-z0-9]*\\b"));
        auto it = word.globalMatch(text.left(end));
        while (it.hasNext()) {
            const QRegularExpressionMatch match = it.next();
            if (isKeyword(match.captured().toLatin1().toStdString()))
                setFormat(static_cast<int>(match.capturedStart()),
                          static_cast<int>(match.capturedLength()), m_keyword);
        }
        if (end < text.size())
            setFormat(static_cast<int>(end), static_cast<int>(text.size() - end), m_comment);
    }

private:
    bool isKeyword(const std::string& word) const {
        if (FunctionWordCode(word) != 0) return true;
        return operatorWords && (SameName(word, "DIV") || SameName(word, "MOD"));
    }

    QTextCharFormat m_keyword;
    QTextCharFormat m_comment;
};

ColouringEditor::ColouringEditor(QWidget* parent)
    : QPlainTextEdit(parent), m_highlighter(new EquationHighlighter(document())) {
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        // Colouring changes formats only; a change of the text ends the error's mark.
        if (removed != 0 || added != 0) setExtraSelections({});
    });
}

ColouringEditor::~ColouringEditor() = default;

void ColouringEditor::setCommentSeparator(char separator) {
    m_highlighter->commentSeparator = separator;
    m_highlighter->rehighlight();
}

char ColouringEditor::commentSeparator() const {
    return m_highlighter->commentSeparator;
}

void ColouringEditor::setOperatorWords(bool on) {
    m_highlighter->operatorWords = on;
    m_highlighter->rehighlight();
}

std::vector<std::string> ColouringEditor::lines() const {
    std::vector<std::string> result;
    const QString text = toPlainText();
    if (text.isEmpty()) return result;
    for (const QString& line : text.split(QLatin1Char('\n')))
        result.push_back(line.toLatin1().toStdString());
    return result;
}

void ColouringEditor::setLines(const std::vector<std::string>& lines) {
    QStringList texts;
    for (const std::string& line : lines)
        texts << QString::fromLatin1(line);
    setPlainText(texts.join(QLatin1Char('\n')));
}

bool ColouringEditor::canInsertFromMimeData(const QMimeData* source) const {
    return source != nullptr && source->hasText();
}

void ColouringEditor::insertFromMimeData(const QMimeData* source) {
    // Qt 6.4 reads the first format of the data without looking whether there is one: data
    // with no format at all, what an empty clipboard gives, would end the program.
    if (source == nullptr || !source->hasText()) return;
    QPlainTextEdit::insertFromMimeData(source);
}

void ColouringEditor::placeCaret(int line, int pos) {
    QTextDocument* doc = document();
    const int lineCount = doc->blockCount();
    const QTextBlock block = doc->findBlockByNumber(std::clamp(line, 0, lineCount - 1));
    const int length = block.length() - 1; // without the paragraph separator
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + std::clamp(pos, 0, length));
    setTextCursor(cursor);
    ensureCursorVisible();
    setFocus(Qt::OtherFocusReason);

    QTextEdit::ExtraSelection mark;
    mark.cursor = cursor;
    mark.format.setBackground(QColor(255, 220, 220));
    mark.format.setProperty(QTextFormat::FullWidthSelection, true);
    setExtraSelections({mark});
}

QRect ColouringEditor::caretLineOnScreen() const {
    const QRect caret = cursorRect();
    const QPoint topLeft = viewport()->mapToGlobal(QPoint(0, caret.top()));
    return {topLeft, QSize(viewport()->width(), caret.height())};
}

} // namespace probex
