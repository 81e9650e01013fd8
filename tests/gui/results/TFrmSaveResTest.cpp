#include "gui/results/TFrmSaveRes.h"

#include "model/ProjectModel.h"
#include "settings/Settings.h"
#include "simulation/OutHis.h"
#include "simulation/OutStat.h"
#include "support/UiScriptedPrompter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <cstring>
#include <memory>

using namespace probex;

class TFrmSaveResTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<TSettings> m_settings;
    test::UiScriptedPrompter m_prompter;
    DirectCall m_direct;
    std::unique_ptr<ProjectModel> m_model;
    std::unique_ptr<TFrmSaveRes> m_dialog;

    /// The tree as "Root: child child" lines.
    QStringList treeText() const {
        QStringList lines;
        const QTreeWidget* tree = m_dialog->tree();
        for (int k = 0; k < tree->topLevelItemCount(); ++k) {
            const QTreeWidgetItem* root = tree->topLevelItem(k);
            QString line = root->text(0) + ":";
            for (int i = 0; i < root->childCount(); ++i)
                line += " " + root->child(i)->text(0);
            lines << line;
        }
        return lines;
    }

private slots:
    void init() {
        m_settings = std::make_unique<TSettings>(MakeDefaultSettings("/nonexistent/"));
        m_settings->ResultsDirPath = m_dir.path().toStdString();
        m_prompter = {};
        m_model = std::make_unique<ProjectModel>(*m_settings, m_prompter, m_direct);
        TOutputTable& outputs = m_model->outputs();
        outputs.AddOutputVariable("y", true);
        outputs.setCell(1, colActivity, "Histogram");
        outputs.AddOutputVariable("s", true);
        outputs.setCell(2, colActivity, "Statistics");
        // The run's accumulators: y over four bins of [0, 4], s with statistics only.
        TOutVar& y = outputs.runTable().append(1, 0);
        y.Stat = std::make_unique<TOutStat>();
        y.His = std::make_unique<TOutHis>();
        QVERIFY(HisAllocate(*y.His, 4));
        HisReset(*y.His);
        HisSetRange(*y.His, 4, 0);
        y.His->counts = {1, 1, 1, 1};
        outputs.runTable().append(2, 0).Stat = std::make_unique<TOutStat>();
        outputs.record(1).probValues[0] = 2.5;
        TPQWindowDesc window;
        window.variable = "y";
        m_model->resultWindows.probabilities.push_back(window);
        m_dialog = std::make_unique<TFrmSaveRes>(*m_model);
        m_dialog->prepare();
    }

    void treeListsWhatCanBeWrittenAllChecked() {
        QCOMPARE(treeText(),
                 (QStringList{"Statistics: y s", "Histograms: y", "Histogram statistics: y",
                              "Logs:", "Probabilities: y", "Quantiles:"}));
        QCOMPARE(m_dialog->checkedEntries().size(), std::size_t(5));
        QVERIFY(m_dialog->tree()->topLevelItem(0)->isExpanded());
    }

    void okWritesTheCheckedFiles() {
        m_dialog->tree()->topLevelItem(0)->setCheckState(0, Qt::Unchecked); // no statistics
        m_dialog->tree()->topLevelItem(2)->setCheckState(0, Qt::Unchecked);
        m_dialog->ButOKClick();
        QVERIFY(m_prompter.shown.empty());
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), (QStringList{"y.his", "y.prob"}));
        QFile prob(m_dir.filePath("y.prob"));
        QVERIFY(prob.open(QIODevice::ReadOnly));
        QVERIFY(prob.readAll().startsWith("2.50000000\r\n0.62500000\r\n"));
    }

    void aFailedWriteShowsTheSystemMessageAndKeepsTheDialog() {
        QFile blocker(m_dir.filePath("file"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        m_settings->ResultsDirPath = m_dir.filePath("file/results").toStdString();
        m_dialog->setResult(QDialog::Rejected);
        m_dialog->ButOKClick();
        QVERIFY(!m_dialog->lastReport().ok);
        QCOMPARE(m_prompter.shown.size(), std::size_t(1));
        QVERIFY(m_prompter.shown[0].kind == Prompter::Kind::Error);
        QVERIFY2(m_prompter.shown[0].text.find(std::strerror(ENOTDIR)) != std::string::npos,
                 m_prompter.shown[0].text.c_str());
        QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(TFrmSaveResTest)
#include "TFrmSaveResTest.moc"
