#include "gui/settings/TFrmOptions.h"

#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "support/UiScriptedPrompter.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

using namespace probex;

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

class TFrmOptionsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    TSettings m_settings;
    std::string m_file;
    test::UiScriptedPrompter m_prompter;
    std::unique_ptr<TFrmOptions> m_dialog;

    /// Opens a new dialog on the settings in force, as the main window's "Settings..." does.
    void open() {
        m_dialog = std::make_unique<TFrmOptions>(m_settings, m_file, m_prompter);
        m_dialog->show();
    }

    template <class T> T* child(const char* name) {
        T* widget = m_dialog->findChild<T*>(QString::fromLatin1(name));
        if (widget == nullptr) qFatal("no control %s", name);
        return widget;
    }
    QRadioButton* item(const char* group, int index) {
        return child<QRadioButton>(QStringLiteral("%1_%2").arg(group).arg(index).toLatin1());
    }
    int itemIndex(const char* group) {
        const auto buttons = child<QGroupBox>(group)->findChildren<QRadioButton*>();
        for (int i = 0; i < buttons.size(); ++i)
            if (buttons[i]->isChecked()) return i;
        return -1;
    }
    /// Replaces the text of a box by typing, as a person would.
    void type(const char* name, const QString& text) {
        auto* edit = child<QLineEdit>(name);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    void pressOk() { child<QPushButton>("ButOK")->click(); }
    void pressCancel() { child<QPushButton>("ButCancel")->click(); }

    std::string key(const char* name) {
        IniFile ini;
        ini.load(m_file);
        return ini.value("Settings", name).value_or("<missing>");
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_settings = TSettings{};
        m_settings.AppDir = m_dir->path().toStdString() + "/";
        m_settings.WindowsDecimalSep = '.';
        m_settings.WindowsListSep = ',';
        ResetSettings(m_settings);
        m_file = m_settings.AppDir + "Probex.ini";
        m_prompter = {};
    }

    void cleanup() {
        m_dialog.reset();
        for (const auto& shown : m_prompter.shown)
            QFAIL(("unexpected message: " + shown.text).c_str());
    }

    void opensOnTheSettingsInForce() {
        m_settings.PQLines = 40;
        m_settings.ListSep = '|';
        open();
        QCOMPARE(itemIndex("RGListSep"), 1);
        QCOMPARE(child<QLineEdit>("EdtLSep")->text(), QStringLiteral("|"));
        QVERIFY(child<QLineEdit>("EdtLSep")->isEnabled());
        QCOMPARE(itemIndex("RGComSep"), 0);
        QCOMPARE(child<QSpinBox>("SEPQLines")->value(), 40);
        QCOMPARE(child<QLineEdit>("EdtPQ2")->text(), QStringLiteral("0.8"));
        QCOMPARE(child<QComboBox>("CBMark2")->currentText(), QStringLiteral("Fuchsia"));
        QCOMPARE(child<QLineEdit>("DirEditRes")->text(),
                 QString::fromStdString(m_settings.AppDir + "Results"));
        QVERIFY(m_dialog->autoSeed());
        QVERIFY(!child<QLineEdit>("EdtSeed1")->isEnabled());
    }

    void firstOkWritesEveryKeyWithItsDefault() {
        std::ofstream(m_file, std::ios::binary) << "[Main Window]\r\nLeft=5\r\n";
        const TSettings before = m_settings;
        open();
        pressOk();
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QVERIFY(m_settings == before);

        IniFile written;
        written.load(m_file);
        QCOMPARE(written.value("Main Window", "Left").value_or(""), std::string("5"));
        const std::string reference = m_settings.AppDir + "Reference.ini";
        QCOMPARE(SaveSettings(reference, before), std::string());
        IniFile expected;
        expected.load(reference);
        QCOMPARE(written.keys("Settings"), expected.keys("Settings"));
        QCOMPARE(written.keys("Settings").size(), std::size_t(76));
        for (const std::string& name : expected.keys("Settings"))
            QCOMPARE(written.value("Settings", name), expected.value("Settings", name));
    }

    void okTakesWhatThePersonChanged() {
        open();
        item("RGListSep", 1)->click();
        type("EdtLSep", "|");
        child<QCheckBox>("ChBSavePos")->click();
        child<QComboBox>("cbDefOutVars")->setCurrentIndex(2);
        child<QSpinBox>("SERefRateStat")->setValue(500);
        item("RGColouration", 1)->click();
        child<QCheckBox>("ChBDots")->click();
        item("RGStat", 1)->click();
        child<QCheckBox>("ChBLogRecords")->click();
        child<QComboBox>("CBpq2")->setCurrentIndex(0);
        type("EdtPQ1", "0.95");
        child<QComboBox>("CBMark1")->setCurrentText("Red");
        type("DirEditInp", ".\\Projects");
        child<QCheckBox>("ChBAutoSeed")->click();
        type("EdtSeed1", "1234");
        child<QCheckBox>("ChBInitialSampling")->click();
        pressOk();
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QCOMPARE(m_settings.ListSep, '|');
        QCOMPARE(m_settings.SaveWinPos, false);
        QCOMPARE(m_settings.DefOutVars, 2);
        QCOMPARE(m_settings.RefreshRateStat, 500);
        QCOMPARE(m_settings.Graph2DColouration, int(ColourFreq));
        QCOMPARE(m_settings.Graph2DDrawDots, true);
        QVERIFY(m_settings.StatisticsFiles == ResultFileLayout::Multiple);
        QCOMPARE(m_settings.LogRecords, true);
        QVERIFY(m_settings.PQKinds[1] == PQKind::P);
        QCOMPARE(double(m_settings.PQValues[0]), 0.95);
        QCOMPARE(m_settings.Mark1Color, 255);
        QCOMPARE(m_settings.InputDir, std::string(".\\Projects"));
        QCOMPARE(m_settings.InputDirPath, m_settings.AppDir + "Projects");
        QCOMPARE(m_settings.Seed1, 1234);
        QCOMPARE(m_settings.InitialSampling, 1);

        const std::pair<const char*, const char*> keys[] = {
            {"ListSeparator", "|"},
            {"Graph2DColouration", "Freq"},
            {"StatisticsFiles", "Multiple"},
            {"2PQ", "Probability"},
            {"1PQVal", "0.95"},
            {"InputDir", ".\\Projects"},
            {"Seed1", "1234"},
            {"PQFiles", "Single"},
        };
        for (const auto& [name, value] : keys)
            QVERIFY2(key(name) == value, name);
    }

    void cancelChangesNothing() {
        const TSettings before = m_settings;
        open();
        item("RGDecSep", 1)->click();
        type("EdtDSep", ",");
        child<QCheckBox>("ChBRefGr")->click();
        type("EdtPQ3", "0.5");
        child<QPushButton>("ButDefault")->click();
        type("DirEditDis", "/elsewhere");
        pressCancel();
        QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
        QVERIFY(m_settings == before);
        QVERIFY(!std::filesystem::exists(m_file));

        // Shown again, the dialog shows the settings in force, not what was typed.
        m_dialog->show();
        QCOMPARE(itemIndex("RGDecSep"), 0);
        QCOMPARE(child<QLineEdit>("EdtPQ3")->text(), QStringLiteral("0.7"));
        QVERIFY(child<QCheckBox>("ChBRefGr")->isChecked());
    }

    void linesTakeEffectAtOnceEvenOnCancel() {
        std::ofstream(m_file, std::ios::binary) << "[Settings]\r\nPQLines=16\r\n";
        const std::string bytes = ReadFile(m_file);
        open();
        QSignalSpy spy(m_dialog.get(), &TFrmOptions::pqLinesChanged);
        child<QSpinBox>("SEPQLines")->setValue(40);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 40);
        QCOMPARE(m_settings.PQLines, 40);
        pressCancel();
        QCOMPARE(m_settings.PQLines, 40);
        QCOMPARE(ReadFile(m_file), bytes);
    }

    void customSeparatorsShownAndTaken() {
        m_settings.ListSep = '|';
        m_settings.CommentSep = '#';
        open();
        QCOMPARE(itemIndex("RGComSep"), 1);

        item("RGListSep", 0)->click();
        QVERIFY(!child<QLineEdit>("EdtLSep")->isEnabled());
        // A custom box left empty falls back to ";".
        child<QLineEdit>("EdtCSep")->selectAll();
        QTest::keyClick(child<QLineEdit>("EdtCSep"), Qt::Key_Backspace);
        pressOk();
        QCOMPARE(m_settings.ListSep, ',');
        QCOMPARE(m_settings.CommentSep, ';');
        QCOMPARE(key("ListSeparator"), std::string(","));
        QCOMPARE(key("CommentSeparator"), std::string(";"));
    }

    void markValuesUseTheDecimalSeparatorInForce() {
        open();
        QApplication::setActiveWindow(m_dialog.get());
        QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
        item("RGDecSep", 1)->click();
        QCOMPARE(QApplication::focusWidget(), child<QLineEdit>("EdtDSep")); // custom takes focus
        type("EdtDSep", ",");
        item("RGListSep", 1)->click(); // a list separator of its own
        type("EdtLSep", ";");
        type("EdtPQ1", "0,25");
        type("EdtPQ2", "0,5");
        type("EdtPQ3", "0,75");
        type("EdtPQ4", "1");
        pressOk();
        QCOMPARE(m_settings.DecimalSep, ',');
        QCOMPARE(double(m_settings.PQValues[0]), 0.25);
        QCOMPARE(key("1PQVal"), std::string("0,25"));
        QCOMPARE(key("DecimalSeparator"), std::string(","));

        m_dialog->show();
        QCOMPARE(child<QLineEdit>("EdtPQ3")->text(), QStringLiteral("0,75"));
    }

    void equalSeparatorsAreRefused() {
        open();
        item("RGDecSep", 1)->click();
        type("EdtDSep", ","); // the list separator stays the default ","
        pressOk();
        QCOMPARE(m_prompter.take(Prompter::Kind::Error),
                 std::string("The list separator \",\" and the decimal separator \",\" must be "
                             "different characters!"));
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(m_settings.DecimalSep, '.');
        QVERIFY(!std::filesystem::exists(m_file));
    }

    void badMarkValueKeepsTheDialogOpen() {
        open();
        QSignalSpy changed(m_dialog.get(), &TFrmOptions::settingsChanged);
        child<QCheckBox>("ChBSavePos")->click();
        child<QComboBox>("CBpq2")->setCurrentIndex(0);
        type("EdtPQ2", "abc");
        child<QComboBox>("CBPlot2D")->setCurrentText("Red");
        pressOk();
        QCOMPARE(m_prompter.take(Prompter::Kind::Error),
                 std::string("'abc' is not a valid floating point value"));
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
        QVERIFY(!std::filesystem::exists(m_file));
        // The settings before the bad value are in force, those after it are not.
        QCOMPARE(m_settings.SaveWinPos, false);
        QVERIFY(m_settings.PQKinds[1] == PQKind::P);
        QCOMPARE(double(m_settings.PQValues[1]), double(0.8L));
        QCOMPARE(m_settings.Plot2DColor, 8388608);
        QCOMPARE(changed.count(), 1);

        // Corrected, the same dialog closes with OK.
        type("EdtPQ2", "0.85");
        pressOk();
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QCOMPARE(key("2PQVal"), std::string("0.85"));
        QCOMPARE(m_settings.Plot2DColor, 255);
    }

    void badSeedShowsTheIntegerMessage() {
        open();
        child<QCheckBox>("ChBAutoSeed")->click();
        type("EdtSeed1", "12x");
        pressOk();
        QCOMPARE(m_prompter.take(Prompter::Kind::Error),
                 std::string("'12x' is not a valid integer value"));
        QVERIFY(m_dialog->isVisible());
    }

    void failedWriteShowsTheSystemMessage() {
        std::filesystem::create_directory(m_file);
        open();
        child<QCheckBox>("ChBDisc")->click();
        pressOk();
        const std::string message = m_prompter.take(Prompter::Kind::Error);
        QVERIFY2(message.find("Probex.ini") != std::string::npos, message.c_str());
        QVERIFY2(message.find(std::strerror(EISDIR)) != std::string::npos, message.c_str());
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(m_settings.Discrete1D, true);
    }

    void autoSeedAndSeedBoxes() {
        open();
        QSignalSpy spy(m_dialog.get(), &TFrmOptions::autoSeedChanged);
        auto* autoSeed = child<QCheckBox>("ChBAutoSeed");
        autoSeed->click();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toBool(), false);
        QVERIFY(!m_dialog->autoSeed());
        QCOMPARE(TFrmOptions::seedPanelText(m_dialog->autoSeed()), QStringLiteral("Manual Seed!"));
        QVERIFY(child<QLineEdit>("EdtSeed1")->isEnabled());
        QVERIFY(!child<QLineEdit>("EdtSeed2")->isEnabled()); // the generator is "Simple"

        // Not a setting: Cancel keeps it, the next show keeps it, the file never holds it.
        pressCancel();
        m_dialog->show();
        QVERIFY(!m_dialog->autoSeed());
        QVERIFY(child<QLineEdit>("EdtSeed1")->isEnabled());

        autoSeed->click();
        QCOMPARE(spy.count(), 2);
        QVERIFY(m_dialog->autoSeed());
        QCOMPARE(TFrmOptions::seedPanelText(true), QString());
        QVERIFY(!child<QLineEdit>("EdtSeed1")->isEnabled());
        pressOk();
        QCOMPARE(key("Auto"), std::string("<missing>"));
        QCOMPARE(key("AutoSeed"), std::string("<missing>"));
    }

    void generatorSnapsBackToSimple() {
        open();
        item("RGGenerator", 1)->click();
        QCOMPARE(itemIndex("RGGenerator"), 0);
        item("RGGenerator", 2)->click();
        QCOMPARE(itemIndex("RGGenerator"), 0);

        // A stored shuffled generator is shown, and then the second seed can be edited.
        pressCancel();
        m_settings.Generator = 2;
        m_settings.Seed2 = 77;
        m_dialog->show();
        QCOMPARE(itemIndex("RGGenerator"), 2);
        QVERIFY(!child<QLineEdit>("EdtSeed2")->isEnabled());
        child<QCheckBox>("ChBAutoSeed")->click();
        QVERIFY(child<QLineEdit>("EdtSeed2")->isEnabled());
        QCOMPARE(child<QLineEdit>("EdtSeed2")->text(), QStringLiteral("77"));
        pressOk();
        QCOMPARE(key("Generator"), std::string("2"));
        QCOMPARE(key("Seed2"), std::string("77"));

        // A click on the item already shown brings "Simple" back too.
        m_dialog->show();
        item("RGGenerator", 2)->click();
        QCOMPARE(itemIndex("RGGenerator"), 0);
        QVERIFY(!child<QLineEdit>("EdtSeed2")->isEnabled());
    }

    void parallelGeneratorIsSelectable() {
        open();
        item("RGGenerator", 3)->click();
        QCOMPARE(itemIndex("RGGenerator"), 3);
        QCOMPARE(item("RGGenerator", 3)->text(), QStringLiteral("Parallel"));
        child<QCheckBox>("ChBAutoSeed")->click();
        QVERIFY(child<QLineEdit>("EdtSeed2")->isEnabled()); // keyed by both seeds
        child<QCheckBox>("ChBAutoSeed")->click();
        pressOk();
        QCOMPARE(key("Generator"), std::string("3"));
        QCOMPARE(key("Threads"), std::string("<missing>")); // the default, every core
        m_dialog->show();
        auto* threads = child<QSpinBox>("SEThreads");
        QVERIFY(threads->isEnabled());
        QCOMPARE(threads->text(), QStringLiteral("Every core"));
        threads->setValue(3);
        pressOk();
        QCOMPARE(key("Threads"), std::string("3"));
        QCOMPARE(m_settings.Threads, 3);
        m_dialog->show();
        QCOMPARE(itemIndex("RGGenerator"), 3);
        item("RGGenerator", 1)->click();
        QCOMPARE(itemIndex("RGGenerator"), 0);
        QVERIFY(!threads->isEnabled()); // "Simple" runs on one thread
    }

    void saveTabInterplay() {
        open();
        auto* dis = child<QCheckBox>("ChBHistDis");
        dis->click();
        QVERIFY(!child<QCheckBox>("ChBHistHeaders")->isEnabled());
        dis->click();
        QVERIFY(child<QCheckBox>("ChBHistHeaders")->isEnabled());

        // Probabilities and quantiles: "Single file" cannot be chosen.
        QCOMPARE(itemIndex("RGPQ"), 0);
        QVERIFY(!child<QCheckBox>("ChBPQCondensed")->isEnabled());
        item("RGPQ", 0)->click();
        QCOMPARE(itemIndex("RGPQ"), 1);
        QVERIFY(child<QCheckBox>("ChBPQCondensed")->isEnabled());
        auto* twoColumns = child<QCheckBox>("ChBPQTwoColumns");
        QVERIFY(twoColumns->isEnabled());
        twoColumns->click();
        child<QCheckBox>("ChBPQCondensed")->click();
        QVERIFY(!twoColumns->isChecked());
        QVERIFY(!twoColumns->isEnabled());
        child<QCheckBox>("ChBPQCondensed")->click();
        QVERIFY(twoColumns->isEnabled());

        // "Filename prompt" unchecked clears and disables "Overwrite prompt".
        auto* filename = child<QCheckBox>("ChBInpFilenamePrompt");
        auto* overwrite = child<QCheckBox>("ChBInpOverPrompt");
        QVERIFY(!overwrite->isEnabled());
        filename->click();
        QVERIFY(overwrite->isEnabled());
        overwrite->click();
        filename->click();
        QVERIFY(!overwrite->isChecked());
        QVERIFY(!overwrite->isEnabled());
        pressOk();
        QVERIFY(m_settings.PQFiles == ResultFileLayout::Multiple);
        QCOMPARE(key("PQFiles"), std::string("Multiple"));
        QCOMPARE(key("PQCondensed"), std::string("0"));
        QCOMPARE(key("InputOverwritePrompt"), std::string("0"));
    }

    void directoriesDefaultButton() {
        m_settings.InputDir = ".\\Projects";
        m_settings.DistDir = "";
        DeriveDirectories(m_settings);
        open();
        QCOMPARE(child<QLineEdit>("DirEditInp")->text(), QStringLiteral(".\\Projects"));
        QCOMPARE(child<QLineEdit>("DirEditDis")->text(), QString());
        child<QPushButton>("ButDefault")->click();
        const QString appDir = QString::fromStdString(m_settings.AppDir);
        QCOMPARE(child<QLineEdit>("DirEditInp")->text(), appDir + "Inputs");
        QCOMPARE(child<QLineEdit>("DirEditRes")->text(), appDir + "Results");
        QCOMPARE(child<QLineEdit>("DirEditDis")->text(), appDir + "Distributions");
        pressOk();
        QCOMPARE(m_settings.DistDirPath, m_settings.AppDir + "Distributions");
        QCOMPARE(key("InputDir"), m_settings.AppDir + "Inputs");
    }

    void coloursAndGradients() {
        m_settings.Mark3Color = 0x123456; // not a named colour
        open();
        QCOMPARE(child<QComboBox>("CBMark3")->currentText(), QStringLiteral("Custom"));
        auto* freq = child<QFrame>("FreqGrad2D");
        QVERIFY(freq->styleSheet().contains("#000080")); // navy start
        QVERIFY(freq->styleSheet().contains("#ff0000")); // red end
        child<QComboBox>("CBFreq2DStart")->setCurrentText("Lime");
        QVERIFY(freq->styleSheet().contains("#00ff00"));
        child<QComboBox>("CBProb2DEnd")->setCurrentText("Yellow");
        QVERIFY(child<QFrame>("ProbGrad2D")->styleSheet().contains("#ffff00"));
        pressOk();
        QCOMPARE(m_settings.Mark3Color, 0x123456);
        QCOMPARE(m_settings.Freq2DStartColor, 0x00FF00);
        QCOMPARE(key("Prob2DEndColor"), std::string("65535"));
    }
};

QTEST_MAIN(TFrmOptionsTest)
#include "TFrmOptionsTest.moc"
