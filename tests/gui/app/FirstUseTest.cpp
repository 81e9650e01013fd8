// What a person meets in the first minutes: unsaved work, help, names in messages, the
// toolbars and the recent projects.

#include "gui/app/HelpLocation.h"
#include "gui/app/HelpWindow.h"
#include "gui/app/RecentFilesMenu.h"
#include "gui/app/TFrmMain.h"
#include "gui/engine/TFrmEquations.h"
#include "gui/settings/TFrmOptions.h"
#include "gui/variables/TFrmVars.h"
#include "settings/Settings.h"
#include "support/UiScriptedPrompter.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>

#include <filesystem>
#include <memory>

using namespace probex;
using Answer = Prompter::Answer;

namespace {

struct Desktop {
    QTemporaryDir dir;
    TSettings settings;
    test::UiScriptedPrompter prompter;
    std::unique_ptr<TFrmMain> window;

    Desktop() : settings(MakeDefaultSettings(dir.path().toStdString() + "/")) {
        settings.DefOutVars = 1; // statistics for every computed variable
        window = std::make_unique<TFrmMain>(settings, prompter, path("Probex.ini"));
        window->setErrorPopup(&prompter);
        window->show();
    }
    ~Desktop() {
        window->commands().markSaved();
        window->close();
    }

    std::string path(const char* name) const { return dir.filePath(name).toStdString(); }
    QAction* action(const char* name) { return window->findChild<QAction*>(name); }
    QString title() {
        window->updateTitle();
        return window->windowTitle();
    }
    void type(const std::vector<std::string>& lines) {
        window->model().equations = lines;
        window->equationsWindow()->refreshFromModel();
    }
};

} // namespace

class FirstUseTest : public QObject {
    Q_OBJECT

private slots:
    void unsavedWorkIsShownAndAskedAboutWithEachAnswer() {
        Desktop d;
        QCOMPARE(d.title(), QStringLiteral("Probex [Untitled]"));
        d.type({"y = 2*x"});
        QCOMPARE(d.title(), QStringLiteral("Probex [Untitled]*"));

        d.prompter.answers = {Answer::Cancel};
        d.action("ItmNew")->trigger();
        QCOMPARE(d.window->model().equations, std::vector<std::string>{"y = 2*x"});
        QCOMPARE(d.prompter.texts().back(), std::string("Save changes to Untitled?"));

        const std::string file = d.path("first.pxw");
        d.prompter.answers = {Answer::Yes};
        d.prompter.files = {file};
        d.action("ItmNew")->trigger(); // saved, then emptied
        QVERIFY(std::filesystem::exists(file));
        QVERIFY(d.window->model().equations.empty());
        QCOMPARE(d.title(), QStringLiteral("Probex [Untitled]"));

        d.type({"z = 1"});
        d.prompter.answers = {Answer::No};
        d.prompter.files = {file};
        d.action("ItmOpen")->trigger(); // the edit is dropped
        QCOMPARE(d.window->model().equations, std::vector<std::string>{"y = 2*x"});
        QCOMPARE(d.title(), QString::fromStdString("Probex " + file));

        d.type({"y = 3*x"});
        d.prompter.answers = {Answer::Cancel};
        QVERIFY(!d.window->close());
        QVERIFY(d.window->isVisible());
        QVERIFY(d.prompter.answers.empty());
    }

    void recentProjectsAndExamples() {
        Desktop d;
        const std::string file = d.path("recent.pxw");
        d.type({"y = 1"});
        d.prompter.files = {file};
        d.action("ItmSaveAs")->trigger();
        QCOMPARE(d.window->recentFiles()->files(), std::vector<std::string>{file});
        QMenu* recent = d.window->findChild<QMenu*>("BarRecent");
        QCOMPARE(recent->actions().size(), 1);
        QCOMPARE(recent->actions()[0]->text(), QStringLiteral("&1 recent.pxw"));

        d.action("ItmNew")->trigger();
        recent->actions()[0]->trigger();
        QCOMPARE(d.window->model().equations, std::vector<std::string>{"y = 1"});

        // The list lives in the settings file: a new window shows it.
        test::UiScriptedPrompter prompter;
        TFrmMain second(d.settings, prompter, d.path("Probex.ini"));
        QCOMPARE(second.recentFiles()->files(), std::vector<std::string>{file});

        d.prompter.files = {std::nullopt};
        d.action("ItmOpenExample")->trigger();
        QVERIFY(QDir(QString::fromStdString(d.prompter.fileRequests.back().initialDirectory))
                    .exists(QStringLiteral("beam.pxw")));
    }

    void helpShowsTheManualInItsOwnWindowAndFinds() {
        Desktop d;
        d.action("ItmHelp")->trigger();
        HelpWindow* help = d.window->helpWindow();
        QVERIFY(help != nullptr && help->isVisible());
        QVERIFY(help->browser()->toPlainText().contains(QStringLiteral("Equations")));
        QVERIFY(help->findNext(QStringLiteral("distribution")));
        QVERIFY(help->browser()->textCursor().hasSelection());
        QVERIFY(!help->findNext(QStringLiteral("no such words in the manual")));
        help->browser()->setSource(QUrl(QStringLiteral("#inputs")));
        QVERIFY(help->browser()->source().toString().endsWith(QStringLiteral("#inputs")));
    }

    void installedProgramFindsItsManualAndExamplesBesideItself() {
        QTemporaryDir prefix;
        QDir root(prefix.path());
        QVERIFY(root.mkpath(QStringLiteral("bin")));
        QVERIFY(root.mkpath(QStringLiteral("share/probex/help")));
        QVERIFY(root.mkpath(QStringLiteral("share/probex/examples")));
        QFile page(root.filePath(QStringLiteral("share/probex/help/index.html")));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.close();
        const QString bin = root.filePath(QStringLiteral("bin"));
        QCOMPARE(FindHelpFile(bin), QFileInfo(page).canonicalFilePath());
        QCOMPARE(
            FindExamplesFolder(bin),
            QFileInfo(root.filePath(QStringLiteral("share/probex/examples"))).canonicalFilePath());
    }

    void messagesNameTheirCulprit() {
        Desktop d;
        d.type({"y = x + 1", "z = y*2"});
        d.action("ItmCompile")->trigger();
        const QString status = d.window->equationsWindow()->barError()->currentMessage();
        QVERIFY2(status.startsWith(QStringLiteral("Duplicite name: y, line 1 (")),
                 qPrintable(status));
        QVERIFY(status.contains(QStringLiteral("bottom up")));
        QVERIFY(d.prompter.popups.back().message.starts_with("Duplicite name\ny, line 1"));

        d.type({"y = Tnew"});
        d.action("ItmCompile")->trigger();
        QCOMPARE(d.prompter.texts().back(), std::string("Input variable not defined!\nTnew"));
        QLabel* panel = d.window->statusPanel(2);
        QCOMPARE(panel->text(), QStringLiteral("Input variable not defined: Tnew"));
        QTRY_VERIFY(panel->width() > panel->fontMetrics().horizontalAdvance(panel->text()));
    }

    void toolbarsHaveIconsAndLabelsAndRunningStateShows() {
        Desktop d;
        for (QToolBar* bar : d.window->findChildren<QToolBar*>())
            for (QAction* item : bar->actions())
                if (qobject_cast<QToolButton*>(bar->widgetForAction(item)))
                    QVERIFY2(!item->icon().isNull(), qPrintable(item->objectName()));
        for (const char* boxName : {"PnlCurrentStep", "EdtLastStep", "EdtId"}) {
            auto* box = d.window->findChild<QWidget*>(boxName);
            bool labelled = false;
            for (QLabel* label : d.window->findChildren<QLabel*>())
                labelled = labelled || label->buddy() == box;
            QVERIFY2(labelled, boxName);
        }
        QCOMPARE(d.window->findChild<QLabel*>("lblCurrentStep")->toolTip(),
                 QStringLiteral("Finished steps"));

        TInputTable& inputs = d.window->model().inputs();
        QVERIFY(inputs.AddInputVariable("x"));
        inputs.commitCell(1, InputColumn::Type, "Normal");
        const QModelIndex parameters = d.window->varsWindow()->grid()->model()->index(0, 2);
        QCOMPARE(parameters.data(Qt::ToolTipRole).toString().toStdString(),
                 inputs.cell(1, InputColumn::Parameters)); // the whole text
        QVERIFY(
            !d.window->varsWindow()->grid()->model()->index(1, 2).data(Qt::ToolTipRole).isValid());

        d.type({"y = 2"});
        d.window->model().setLastStep(999999999);
        d.action("ItmRunStop")->trigger();
        QVERIFY(d.window->model().running());
        QVERIFY(!d.action("ItmEval")->isEnabled());
        const QImage counter = d.window->findChild<QLabel*>("lblCurrentStep")->grab().toImage();
        QCOMPARE(counter.pixelColor(2, 2), QColor(Qt::green)); // lime
        QVERIFY(!d.window->findChild<QPushButton*>("BtnStart")->isEnabled());
        d.action("ItmRunStop")->trigger();
        QTRY_VERIFY(!d.window->model().running());
        QVERIFY(d.action("ItmEval")->isEnabled());
    }

    void optionsShowEveryTabAtTheirOpeningSize() {
        TSettings settings = MakeDefaultSettings(QDir::tempPath().toStdString() + "/");
        test::UiScriptedPrompter prompter;
        TFrmOptions options(settings, "", prompter);
        options.show();
        QTabBar* tabs = options.findChild<QTabWidget*>("PageControl")->tabBar();
        QVERIFY(tabs->count() >= 8);
        QVERIFY(tabs->tabRect(tabs->count() - 1).right() < tabs->width());
        for (int i = 0; i < tabs->count(); ++i)
            QVERIFY(tabs->tabRect(i).width() >
                    tabs->fontMetrics().horizontalAdvance(tabs->tabText(i))); // not elided
    }
};

QTEST_MAIN(FirstUseTest)
#include "FirstUseTest.moc"
