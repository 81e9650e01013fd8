#include "gui/components/QtPrompter.h"
#include "gui/results/TFrmOut1D.h"
#include "gui/results/TFrmSaveGraph.h"
#include "model/ProjectModel.h"
#include "project/ProjectReader.h"
#include "settings/Settings.h"
#include "support/UiScriptedPrompter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <memory>

using namespace probex;

namespace {

const char* const Project = "[Main]\r\nVersion=2.5\r\nSteps=500\r\n[Equations]\r\nZ = R - S\r\n"
                            "R = 10 + X\r\nS = 4 + C\r\n[Variables]\r\nX,Uniform,Min=0 Max=1,\r\n"
                            "C,Constant,Value=1,\r\n"
                            "[Out.Variables]\r\nZ,Histogram,No,No,\r\nR,Statistics,No,No,\r\n";

QStringList Captions(const QTreeWidgetItem* item) {
    QStringList captions;
    for (int i = 0; i < item->childCount(); ++i)
        captions << item->child(i)->text(0);
    return captions;
}

} // namespace

class SaveGraphTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TSettings> m_settings;
    test::UiScriptedPrompter m_prompter;
    DirectCall m_direct;
    std::unique_ptr<ProjectModel> m_model;
    QTemporaryDir m_dir;

    QByteArray head(const QString& name, int bytes) {
        QFile file(m_dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.read(bytes) : QByteArray();
    }

private slots:
    void init() {
        m_settings = std::make_unique<TSettings>(MakeDefaultSettings("/nonexistent/"));
        m_prompter = {};
        m_model = std::make_unique<ProjectModel>(*m_settings, m_prompter, m_direct);
        QCOMPARE(ReadProjectText(*m_model, Project).outcome, ReadOutcome::Completed);
        QVERIFY(m_model->Compile());
        QCOMPARE(m_model->RunStop(), ProjectModel::RunCommand::Started);
        m_model->waitForRun();
    }

    void treeListsGraphableVariablesAndOpenWindows() {
        {
            TFrmSaveGraph form(*m_model, {});
            QTreeWidget* tree = form.tree();
            QCOMPARE(tree->topLevelItemCount(), 2); // no 1D or 2D windows are open
            QCOMPARE(Captions(tree->topLevelItem(0)), QStringList{QStringLiteral("X")});
            QCOMPARE(Captions(tree->topLevelItem(1)), QStringList{QStringLiteral("Z")});
        }
        T1DWindowDesc oneD;
        oneD.variable = "Z";
        m_model->resultWindows.open(oneD);
        TFrmSaveGraph form(*m_model, {});
        QCOMPARE(form.tree()->topLevelItemCount(), 3);
        QTreeWidgetItem* window = form.tree()->topLevelItem(2)->child(0);
        QCOMPARE(window->text(0), QStringLiteral("1D Z"));
        QCOMPARE(window->child(1)->checkState(0), Qt::Checked); // "Graph" chosen at start
        form.hardcopyOption()->click();
        QCOMPARE(window->child(0)->checkState(0), Qt::Checked);
        QCOMPARE(window->child(1)->checkState(0), Qt::Unchecked);
    }

    void savesEachTickedGraphInItsFormat() {
        TFrmSaveGraph form(*m_model, {});
        form.graphOption(form.outputOptions(), QStringLiteral("GraphDis"))->click();
        for (const char* name : {"x_his.bmp", "x_dis.wmf", "x_qua.png", "z_his.svg", "z_qua"})
            m_prompter.files.push_back(m_dir.filePath(QString::fromLatin1(name)).toStdString());
        form.saveTicked();
        QStringList proposed;
        for (const Prompter::FileRequest& request : m_prompter.fileRequests)
            proposed << QString::fromStdString(request.fileName);
        QCOMPARE(proposed, (QStringList{"X_HIS", "X_DIS", "X_QUA", "Z_HIS", "Z_QUA"}));
        QCOMPARE(head(QStringLiteral("x_his.bmp"), 2), QByteArray("BM"));
        QCOMPARE(head(QStringLiteral("x_dis.wmf"), 4), QByteArray("\xD7\xCD\xC6\x9A"));
        QCOMPARE(head(QStringLiteral("x_qua.png"), 4), QByteArray("\x89PNG"));
        QVERIFY(head(QStringLiteral("z_his.svg"), 200).contains("<svg"));
        QCOMPARE(head(QStringLiteral("z_qua.bmp"), 2), QByteArray("BM")); // no extension typed
        QVERIFY(m_prompter.shown.empty());
    }

    void aOneDWindowWithNeitherChoiceTickedOffersNothing() {
        T1DWindowDesc desc;
        desc.variable = "Z";
        m_model->resultWindows.open(desc);
        TFrmOut1D window(*m_model, 0);
        TFrmSaveGraph form(*m_model, [&window](ResultWindowKind, std::size_t) { return &window; });
        QTreeWidget* tree = form.tree();
        for (int section : {0, 1})
            tree->topLevelItem(section)->setCheckState(0, Qt::Unchecked);
        tree->topLevelItem(2)->child(0)->child(1)->setCheckState(0, Qt::Unchecked);
        form.saveTicked();
        QVERIFY(m_prompter.fileRequests.empty());
    }

    void aCancelledDialogSkipsOneFileAndAFailedWriteStops() {
        QFile blocker(m_dir.filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        TFrmSaveGraph form(*m_model, {});
        m_prompter.files = {std::nullopt,
                            m_dir.filePath(QStringLiteral("file/x_dis.bmp")).toStdString()};
        form.saveTicked();
        QCOMPARE(m_prompter.fileRequests.size(), std::size_t(2)); // stopped after the failure
        QCOMPARE(m_prompter.shown.size(), std::size_t(1));
        QVERIFY(QString::fromStdString(m_prompter.shown[0].text).contains("Not a directory"));
    }

    void theMetafileFilterAddsItsExtension() {
        QtPrompter prompter(nullptr);
        QString typed = m_dir.filePath(QStringLiteral("typed"));
        QTimer::singleShot(0, this, [typed] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            QVERIFY(types);
            types->setCurrentIndex(1); // "Metafile (*.wmf)", as a person picks it
            emit types->activated(1);
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(typed);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        Prompter::FileRequest request;
        request.save = true;
        request.title = "Save Graph";
        request.filter = "Bitmap|*.bmp|Metafile|*.wmf";
        request.defaultExtension = "bmp";
        request.initialDirectory = m_dir.path().toStdString();
        const std::optional<std::string> chosen = prompter.chooseFile(request);
        QVERIFY(chosen);
        QCOMPARE(QString::fromStdString(*chosen), typed + QStringLiteral(".wmf"));
    }
};

QTEST_MAIN(SaveGraphTest)
#include "SaveGraphTest.moc"
