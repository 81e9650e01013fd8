// The Edit menu's commands on whatever the clipboard holds.

#include "gui/app/TFrmMain.h"
#include "gui/components/ColouringEditor.h"
#include "gui/engine/TFrmEquations.h"
#include "settings/Settings.h"
#include "support/UiScriptedPrompter.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

using namespace probex;

class EditCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void pasteTakesTextAndNothingElse() {
        QTemporaryDir dir;
        TSettings settings = MakeDefaultSettings(dir.path().toStdString() + "/");
        test::UiScriptedPrompter prompter;
        TFrmMain window(settings, prompter, dir.filePath("Probex.ini").toStdString());
        window.setErrorPopup(&prompter);
        window.show();
        window.model().equations = {"y = 2*x"};
        window.equationsWindow()->refreshFromModel();
        ColouringEditor* editor = window.equationsWindow()->editor();
        QLineEdit* identification = window.findChild<QLineEdit*>("EdtId");
        QAction* paste = window.findChild<QAction*>("ItmPaste");
        QClipboard* clipboard = QGuiApplication::clipboard();

        const std::pair<const char*, std::function<void()>> nothingToPaste[] = {
            {"cleared", [clipboard] { clipboard->clear(); }},
            {"no format at all", [clipboard] { clipboard->setMimeData(new QMimeData); }},
            {"a picture", [clipboard] { clipboard->setImage(QImage(4, 4, QImage::Format_RGB32)); }},
        };
        for (const auto& [what, fill] : nothingToPaste) {
            fill();
            for (QWidget* target :
                 {static_cast<QWidget*>(editor), static_cast<QWidget*>(identification)}) {
                QApplication::setActiveWindow(&window);
                target->setFocus();
                QCOMPARE(QApplication::focusWidget(), target);
                paste->trigger();
                QVERIFY2(window.model().equations == std::vector<std::string>{"y = 2*x"}, what);
                QVERIFY2(identification->text().isEmpty(), what);
            }
        }

        // Text still goes in where the caret is.
        clipboard->setText(QStringLiteral("z = 3"));
        editor->setFocus();
        editor->moveCursor(QTextCursor::End);
        QTest::keyClick(editor, Qt::Key_Return);
        paste->trigger();
        QCOMPARE(window.model().equations, (std::vector<std::string>{"y = 2*x", "z = 3"}));
        QVERIFY(prompter.shown.empty());
        window.commands().markSaved();
    }
};

QTEST_MAIN(EditCommandsTest)
#include "EditCommandsTest.moc"
