#include "gui/engine/TFrmEquations.h"

#include "gui/components/ColouringEditor.h"
#include "gui/components/QtMainThread.h"
#include "gui/engine/EquErrPrompter.h"
#include "gui/engine/TFrmEquErr.h"
#include "model/ProjectModel.h"
#include "settings/Settings.h"
#include "support/UiScriptedPrompter.h"

#include <QApplication>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

using namespace probex;

namespace {

/// A coloured stretch of a line: 'k' keyword, 'c' comment.
struct Run {
    int start;
    int length;
    char kind;
    bool operator==(const Run&) const = default;
};

std::vector<Run> Colouring(ColouringEditor& editor, int line = 0) {
    std::vector<Run> runs;
    const QTextBlock block = editor.document()->findBlockByNumber(line);
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
        const char kind = range.format.fontWeight() == QFont::Bold ? 'k' : 'c';
        if (kind == 'c' && range.format.foreground().color() != QColor(Qt::blue)) continue;
        runs.push_back({range.start, range.length, kind});
    }
    std::sort(runs.begin(), runs.end(),
              [](const Run& a, const Run& b) { return a.start < b.start; });
    return runs;
}

} // namespace

Q_DECLARE_METATYPE(std::vector<Run>)

class TFrmEquationsTest : public QObject {
    Q_OBJECT

private slots:
    void colouring_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("operatorWords");
        QTest::addColumn<char>("comment");
        QTest::addColumn<std::vector<Run>>("expected");
        QTest::newRow("function and comment")
            << "y = sin(x) div 2 ; note" << true << ';'
            << std::vector<Run>{{4, 3, 'k'}, {11, 3, 'k'}, {17, 6, 'c'}};
        QTest::newRow("div is a name in out equations")
            << "y = sin(x) div 2" << false << ';' << std::vector<Run>{{4, 3, 'k'}};
        QTest::newRow("case ignored, MOD")
            << "y = LN a MOD b" << true << ';' << std::vector<Run>{{4, 2, 'k'}, {9, 3, 'k'}};
        QTest::newRow("words inside names stay plain")
            << "sinx = xsin + cos2" << true << ';' << std::vector<Run>{};
        QTest::newRow("keyword after the comment mark is comment")
            << "a = 1 ; sin" << true << ';' << std::vector<Run>{{6, 5, 'c'}};
        QTest::newRow("other comment mark")
            << "a = abs b # c; d" << true << '#' << std::vector<Run>{{4, 3, 'k'}, {10, 6, 'c'}};
        QTest::newRow("comment line")
            << "; all of it" << true << ';' << std::vector<Run>{{0, 11, 'c'}};
    }
    void colouring() {
        QFETCH(QString, text);
        QFETCH(bool, operatorWords);
        QFETCH(char, comment);
        QFETCH(std::vector<Run>, expected);
        ColouringEditor editor;
        editor.setOperatorWords(operatorWords);
        editor.setCommentSeparator(comment);
        editor.setPlainText(text);
        QVERIFY(Colouring(editor) == expected);
    }

    void linesRoundTripLatin1() {
        ColouringEditor editor;
        QVERIFY(editor.lines().empty());
        const std::vector<std::string> lines = {"a = 1 ; \xB0"
                                                "C",
                                                "", "b = a"};
        editor.setLines(lines);
        QCOMPARE(editor.document()->blockCount(), 3);
        QCOMPARE(editor.lines(), lines);
    }

    void caretIsClamped_data() {
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("pos");
        QTest::addColumn<int>("block");
        QTest::addColumn<int>("column");
        QTest::newRow("inside") << 1 << 3 << 1 << 3;
        QTest::newRow("past the line end") << 0 << 40 << 0 << 5;
        QTest::newRow("line past the text") << 7 << 1 << 1 << 1;
        QTest::newRow("negative") << -1 << -2 << 0 << 0;
    }
    void caretIsClamped() {
        QFETCH(int, line);
        QFETCH(int, pos);
        QFETCH(int, block);
        QFETCH(int, column);
        ColouringEditor editor;
        editor.setPlainText(QStringLiteral("a = 1\nbb = a*2"));
        editor.placeCaret(line, pos);
        QCOMPARE(editor.textCursor().blockNumber(), block);
        QCOMPARE(editor.textCursor().positionInBlock(), column);
    }

    void editsReachTheModelAndErrorsTheWindow() {
        TSettings settings = MakeDefaultSettings("/tmp/");
        test::UiScriptedPrompter prompter;
        QtMainThread mainThread;
        EquErrPrompter errors(prompter, &prompter);
        ProjectModel model(settings, errors, mainThread);
        model.equations = {"z = 1"};
        TFrmEquations window(model, errors);
        struct : ModelObserver {
            TFrmEquations* window = nullptr;
            void showEquationError(const TEquError& error, bool) override {
                window->ShowEquationError(error);
            }
        } observer;
        observer.window = &window;
        model.setObserver(&observer);
        QCOMPARE(window.editor()->toPlainText(), QStringLiteral("z = 1"));

        window.editor()->selectAll();
        QTest::keyClicks(window.editor(), "y = 2*");
        QCOMPARE(model.equations, std::vector<std::string>{"y = 2*"});
        QVERIFY(!model.CompileModel());
        QCOMPARE(window.barError()->currentMessage(),
                 QString::fromLatin1(ErrorText(ecError)) +
                     QStringLiteral(": line 1 after \"y = 2*\""));
        QCOMPARE(prompter.popups.size(), std::size_t{1});
        QCOMPARE(prompter.popups[0].caption, std::string("Equations error"));

        window.clearStatus();
        QVERIFY(window.barError()->currentMessage().isEmpty());
        model.equations = {"a = 1", "b = 2"};
        window.refreshFromModel();
        QCOMPARE(window.editor()->toPlainText(), QStringLiteral("a = 1\nb = 2"));
        QCOMPARE(model.equations, (std::vector<std::string>{"a = 1", "b = 2"}));
        model.setObserver(nullptr);
    }

    void errorLineStaysInSightBesideThePopup() {
        TSettings settings = MakeDefaultSettings("/tmp/");
        test::UiScriptedPrompter prompter;
        DirectCall direct;
        ProjectModel model(settings, prompter, direct);
        for (int line = 0; line < 60; ++line)
            model.equations.push_back("a" + std::to_string(line) + " = 1");
        model.equations[50] = "y = 2*";
        struct : EquErrPopup {
            std::function<QRect()> keepClear;
            QRect area;
            void keepClearOf(std::function<QRect()> a) override { keepClear = std::move(a); }
            void showPopup(const std::string&, const std::string&) override {
                area = keepClear ? keepClear() : QRect();
            }
        } popup;
        TFrmEquations window(model, popup);
        window.resize(300, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.ShowEquationError({ecError, 6, 50});

        ColouringEditor* editor = window.editor();
        const QRect caret = editor->cursorRect();
        QVERIFY(editor->viewport()->rect().contains(caret));
        QVERIFY(popup.area.contains(editor->viewport()->mapToGlobal(caret.center())));
        QCOMPARE(editor->extraSelections().size(), 1); // the line is marked until an edit
        QTest::keyClick(editor, Qt::Key_1);
        QVERIFY(editor->extraSelections().isEmpty());
    }

    void popupIsPlacedClearOfTheArea() {
        const QRect screen(0, 0, 1600, 1000);
        const QSize size(300, 120);
        const QPoint centred = PopupPlace(size, QRect(), screen);
        QCOMPARE(QRect(centred, size).center(), screen.center());
        for (const int top : {100, 430, 500, 900}) {
            const QRect area(0, top, 1600, 16);
            const QRect popup(PopupPlace(size, area, screen), size);
            QVERIFY2(!popup.intersects(area), qPrintable(QString::number(top)));
            QVERIFY(screen.contains(popup));
        }
        QCOMPARE(PopupPlace(size, QRect(0, 100, 1600, 16), screen), centred); // already clear
    }

    void popupStaysUntilItsTimeThenClosesOnAKey() {
        TFrmEquErr popup;
        popup.setMinimumShowTime(150);
        popup.prepare(QStringLiteral("Equations error"), QStringLiteral("Division by zero"));
        popup.show();
        QCOMPARE(popup.windowTitle(), QStringLiteral("Equations error"));
        QCOMPARE(popup.message(), QStringLiteral("Division by zero"));
        QTest::keyClick(&popup, Qt::Key_Escape); // too early: only remembered
        QVERIFY(popup.isVisible());
        QTRY_VERIFY(!popup.isVisible()); // the timer closes it, a key having been pressed
    }

    void popupAfterItsTimeClosesOnTheFirstMouseMove() {
        TFrmEquErr popup;
        popup.setMinimumShowTime(50);
        popup.prepare(QStringLiteral("Out equations error"), QStringLiteral("Unknown variable z!"));
        popup.show();
        QTest::qWait(200);
        QVERIFY(popup.isVisible()); // nobody acted yet
        auto* label = popup.findChild<QWidget*>(QStringLiteral("LblErr"));
        QVERIFY(label != nullptr);
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), QPointF(3, 3), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(label, &move);
        QVERIFY(!popup.isVisible());
    }

    void announcedOutEquationMessageBecomesThePopup() {
        test::UiScriptedPrompter prompter;
        EquErrPrompter errors(prompter, &prompter);
        errors.expectPopup("Out equations error", "Unknown variable z!");
        errors.error("Unknown variable z!");
        errors.error("Unknown variable z!"); // only the announced one
        errors.expectPopup("Out equations error", "Unknown variable z!");
        errors.warning("Run simulations first!"); // another box cancels the announcement
        errors.error("Unknown variable z!");
        QCOMPARE(prompter.popups.size(), std::size_t{1});
        QCOMPARE(prompter.popups[0].caption, std::string("Out equations error"));
        QCOMPARE(prompter.texts(),
                 (std::vector<std::string>{"Unknown variable z!", "Run simulations first!",
                                           "Unknown variable z!"}));
    }
};

QTEST_MAIN(TFrmEquationsTest)
#include "TFrmEquationsTest.moc"
