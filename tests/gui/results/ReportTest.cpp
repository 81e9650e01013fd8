#include "gui/results/ReportContent.h"
#include "gui/results/ReportGraphs.h"
#include "gui/results/ReportWriter.h"
#include "gui/results/TFrmPrint.h"
#include "model/ProjectModel.h"
#include "project/ProjectReader.h"
#include "settings/Settings.h"
#include "support/UiScriptedPrompter.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <memory>

using namespace probex;

namespace {

/// Every graph a grey box, so that the text around it can be checked.
class BoxGraphs : public TReportGraphs {
public:
    void inputGraph(int, int, QPainter& p, const QRect& r) override { p.fillRect(r, Qt::gray); }
    void outputGraph(int, int, QPainter& p, const QRect& r) override { p.fillRect(r, Qt::gray); }
    int oneDGraphKind(std::size_t) override { return 1; }
    void oneDGraph(std::size_t, QPainter& p, const QRect& r) override { p.fillRect(r, Qt::gray); }
    void twoDPicture(std::size_t, QPainter& p, const QRect& r) override { p.fillRect(r, Qt::gray); }
};

const char* const Project = "[Main]\r\nVersion=2.5\r\nIdentification=Report check\r\n"
                            "Steps=2000\r\n[Equations]\r\nZ = R - S\r\nR = 10 + X\r\nS = 4\r\n"
                            "[Variables]\r\nX,Uniform,Min=0 Max=1,\r\n"
                            "[Out.Equations]\r\n0 > Z\r\n"
                            "[Out.Variables]\r\nZ,Log,No,No,margin\r\nR,Statistics,No,No,\r\n";

} // namespace

class ReportTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TSettings> m_settings;
    test::UiScriptedPrompter m_prompter;
    DirectCall m_direct;
    std::unique_ptr<ProjectModel> m_model;
    QTemporaryDir m_dir;
    BoxGraphs m_graphs;

    /// The report of `tree` as a PDF, and its text page by page as pdftotext reads it.
    QStringList pagesOf(const TReportNode& tree, const TReportOptions& options) {
        const QString pdf = m_dir.filePath(QStringLiteral("report.pdf"));
        {
            QPdfWriter writer(pdf);
            TReportWriter report(writer);
            WriteReport(report, *m_model, tree, options, m_graphs);
        }
        return pdfPages(pdf);
    }

    static QStringList pdfPages(const QString& pdf) {
        QProcess text;
        text.start(QStringLiteral("pdftotext"),
                   {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        if (!text.waitForFinished(30000)) return {};
        return QString::fromUtf8(text.readAllStandardOutput()).split(QLatin1Char('\f'));
    }

private slots:
    void init() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        m_settings = std::make_unique<TSettings>(MakeDefaultSettings("/nonexistent/"));
        m_prompter = {};
        m_model = std::make_unique<ProjectModel>(*m_settings, m_prompter, m_direct);
        QCOMPARE(ReadProjectText(*m_model, Project).outcome, ReadOutcome::Completed);
        QVERIFY(m_model->Compile());
        QCOMPARE(m_model->RunStop(), ProjectModel::RunCommand::Started);
        m_model->waitForRun();
        QVERIFY(m_model->resultsExist());
    }

    void sectionsComeInOrderWithTheirFooters() {
        TReportNode tree = BuildReportTree(*m_model);
        const QStringList pages = pagesOf(tree, {});
        const QString all = pages.join(QString());
        QStringList expected = {
            QStringLiteral("Project:"),          QStringLiteral("Identification: Report check"),
            QStringLiteral("Steps: 2000"),       QStringLiteral("Equations"),
            QStringLiteral("R = 10 + X"),        QStringLiteral("Out Equations"),
            QStringLiteral("Input variable X"),  QStringLiteral("Type: Uniform"),
            QStringLiteral("Output variable Z"), QStringLiteral("Histogram statistics"),
            QStringLiteral("Output variable R")};
        qsizetype at = 0;
        for (const QString& text : expected) {
            const qsizetype found = all.indexOf(text, at);
            QVERIFY2(found >= 0, qPrintable(text));
            at = found;
        }
        // Every page, the last included, has the title and its numbered footer; separate pages
        // put each section and each variable on pages of their own.
        const int count = static_cast<int>(pages.size()) - 1; // text after the last form feed
        QVERIFY(count >= 4);
        for (int page = 0; page < count; ++page) {
            QVERIFY(pages[page].contains(QStringLiteral("Probex Report")));
            QVERIFY(pages[page].contains(QStringLiteral("Page %1").arg(page + 1)));
        }
    }

    void correlationsFollowTheInputVariables() {
        QVERIFY(m_model->inputs().AddInputVariable("Q"));
        m_model->correlations.set("X", "Q", -0.35L);
        const QString all = pagesOf(BuildReportTree(*m_model), {}).join(QString());
        const qsizetype heading = all.indexOf(QStringLiteral("Correlations (rank, Spearman)"));
        QVERIFY(heading > all.indexOf(QStringLiteral("Input variable X")));
        QVERIFY(all.indexOf(QStringLiteral("X, Q: -0.35"), heading) > heading);
        QVERIFY(heading < all.indexOf(QStringLiteral("Output variable Z")));
    }

    void statisticsActivityPrintsNoHistogramPart() {
        TReportNode tree = BuildReportTree(*m_model);
        tree.child(QStringLiteral("Input variables"))->checked = false;
        tree.child(QStringLiteral("Project report"))->checked = false;
        tree.child(QStringLiteral("Output variables"))->child(QStringLiteral("Z"))->checked = false;
        const QString all = pagesOf(tree, {}).join(QString());
        QVERIFY(all.contains(QStringLiteral("Variable statistics")));
        // R = 10 + X, X uniform on (0, 1)
        QVERIFY(all.contains(QRegularExpression(QStringLiteral("Mean: +10\\.(4[89]|5[01])"))));
        QVERIFY(!all.contains(QStringLiteral("Histogram statistics")));
        QVERIFY(!all.contains(QStringLiteral("Probabilities")));
        QVERIFY(!all.contains(QStringLiteral("Distribution function")));
    }

    void aProbabilityWindowPrintsItsFirstSixteenLines() {
        m_settings->PQLines = 40;
        TPQWindowDesc window;
        window.variable = "Z";
        m_model->resultWindows.openProbability(window);
        TGrdOVarSup& record = m_model->outputs().record(m_model->outputs().FindOutputRow("Z"));
        for (int i = 0; i < 40; ++i)
            record.probValues[i] = 100 + i;
        TReportNode tree = BuildReportTree(*m_model);
        for (TReportNode& section : tree.children)
            section.checked = section.caption == QStringLiteral("Probabilities");
        const QString all = pagesOf(tree, {}).join(QString());
        QVERIFY(all.contains(QStringLiteral("Probabilities Z")));
        QVERIFY(all.contains(QStringLiteral("115.00000000")));
        QVERIFY(!all.contains(QStringLiteral("116.00000000")));
    }

    void graphsAreDrawnAsTheWindowsDrawThem() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
            QSKIP("pdftoppm (poppler-utils) is not installed");
        TReportNode tree = BuildReportTree(*m_model);
        for (TReportNode& section : tree.children)
            section.checked = section.caption == QStringLiteral("Output variables");
        tree.child(QStringLiteral("Output variables"))->child(QStringLiteral("R"))->checked = false;
        const QString pdf = m_dir.filePath(QStringLiteral("graphs.pdf"));
        {
            QPdfWriter device(pdf);
            device.setResolution(96);
            TReportWriter report(device);
            TProjectReportGraphs graphs(*m_model);
            WriteReport(report, *m_model, tree, {}, graphs);
        }
        // The histogram's bars in the 1D colour of the settings.
        QProcess render;
        render.start(QStringLiteral("pdftoppm"),
                     {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("48"), pdf,
                      m_dir.filePath(QStringLiteral("page"))});
        QVERIFY(render.waitForFinished(30000));
        const QImage page(m_dir.filePath(QStringLiteral("page-1.png")));
        QVERIFY(!page.isNull());
        const std::int32_t bgr = m_settings->Plot1DColor;
        const QColor bars(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
        int barPixels = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                barPixels += page.pixelColor(x, y) == bars;
        QVERIFY2(barPixels > 100, qPrintable(QString::number(barPixels)));
    }

    void printDialogTreeAndItsOptions() {
        QPrinter printer;
        TFrmPrint form(*m_model, m_graphs, printer);
        const TReportNode tree = form.choices();
        QCOMPARE(tree.caption, QStringLiteral("Report"));
        QStringList sections;
        for (const TReportNode& section : tree.children)
            sections << section.caption;
        // No result windows are open: no window sections.
        QCOMPARE(sections,
                 (QStringList{QStringLiteral("Project report"), QStringLiteral("Input variables"),
                              QStringLiteral("Output variables")}));
        QVERIFY(form.reportOptions()->isVisibleTo(&form));
        QVERIFY(!form.inputOptions()->isVisibleTo(&form));

        form.tree()->setCurrentItem(form.tree()->topLevelItem(0)->child(2));
        QVERIFY(form.outputOptions()->isVisibleTo(&form));
        QVERIFY(!form.reportOptions()->isVisibleTo(&form));
        form.option(form.outputOptions(), QStringLiteral("Probs && Quants"))->click();
        const TReportNode chosen = form.choices();
        for (const TReportNode& variable :
             chosen.child(QStringLiteral("Output variables"))->children) {
            QVERIFY(!variable.has(QStringLiteral("Probs & Quants")));
            QVERIFY(variable.has(QStringLiteral("Comment")));
        }
        form.option(form.reportOptions(), QStringLiteral("Print All"))->click(); // off
        form.option(form.reportOptions(), QStringLiteral("Print All"))->click(); // on: all again
        QVERIFY(form.choices()
                    .child(QStringLiteral("Output variables"))
                    ->child(QStringLiteral("Z"))
                    ->has(QStringLiteral("Probs & Quants")));
    }

    void theAnswerFollowsTheOutEquationsAndLongLinesWrap() {
        const QString tail = QStringLiteral("lastword");
        m_model->identification = std::string(40, 'x') + std::string(30, ' ') +
                                  std::string(60, 'y') + " " + tail.toStdString();
        m_model->outEquations().setMode(OutEvalMode::Probability);
        QVERIFY(m_model->Evaluate());
        TReportNode tree = BuildReportTree(*m_model);
        for (TReportNode& section : tree.children)
            section.checked = section.caption == QStringLiteral("Project report");
        const QString all = pagesOf(tree, {}).join(QString());
        QVERIFY2(all.contains(tail), qPrintable(all));
        const qsizetype out = all.indexOf(QStringLiteral("Out Equations"));
        const qsizetype answer = all.indexOf(QStringLiteral("Probability: 0."));
        QVERIFY(out >= 0 && answer > out);
        QVERIFY(all.indexOf(QStringLiteral("Interval: "), answer) > answer);
        QVERIFY(all.contains(QStringLiteral("count %1 of 2000")
                                 .arg(m_model->outEquations().result().Estimate.Count)));
        tree.child(QStringLiteral("Project report"))->child(QStringLiteral("Result"))->checked =
            false;
        QVERIFY(!pagesOf(tree, {}).join(QString()).contains(QStringLiteral("Interval: ")));
    }

    void theLastPageHoldsTheLastItemAndPicturesStayExact() {
        TReportNode tree = BuildReportTree(*m_model);
        for (TReportNode& section : tree.children)
            section.checked = section.caption == QStringLiteral("Output variables");
        const QStringList pages = pagesOf(tree, {});
        QVERIFY(pages.size() >= 3);
        // S, computed by the equations, is the last output variable.
        QVERIFY(pages[pages.size() - 2].contains(QStringLiteral("Output variable S")));

        const QString pdf = m_dir.filePath(QStringLiteral("picture.pdf"));
        {
            QPdfWriter device(pdf);
            TReportWriter report(device);
            QImage picture(64, 64, QImage::Format_RGB32);
            for (int y = 0; y < 64; ++y)
                for (int x = 0; x < 64; ++x)
                    picture.setPixel(x, y, qRgb(x * 4, y * 4, (x * y) % 256));
            report.graph({}, 1.0, [&](QPainter& p, const QRect& r) { p.drawImage(r, picture); });
        }
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.contains("/Subtype /Image"));
        QVERIFY(!bytes.contains("/DCTDecode"));
    }

    void aBlockThatDoesNotFitMovesWhole() {
        const QString pdf = m_dir.filePath(QStringLiteral("blocks.pdf"));
        int linesOnFirstPage = 0;
        {
            QPdfWriter device(pdf);
            TReportWriter report(device);
            while (report.pageNumber() == 1) {
                report.line(QStringLiteral("filler %1").arg(++linesOnFirstPage));
            }
            // Fill the first page again to one line short of its end, then a table of 3 lines.
            report.newPage();
        }
        QVERIFY(linesOnFirstPage > 10);
        {
            QPdfWriter device(pdf);
            TReportWriter report(device);
            for (int i = 1; i < linesOnFirstPage - 1; ++i)
                report.line(QStringLiteral("filler %1").arg(i));
            report.table(QStringLiteral("Left"), QStringLiteral("Right"),
                         {{QStringLiteral("a1"), QStringLiteral("b1")},
                          {QStringLiteral("a2"), QStringLiteral("b2")}});
        }
        const QStringList pages = pdfPages(pdf);
        QVERIFY(pages.size() >= 2);
        QVERIFY(!pages[0].contains(QStringLiteral("Left")));
        QVERIFY(pages[1].contains(QStringLiteral("Left")));
        QVERIFY(pages[1].contains(QStringLiteral("a2")));
        QVERIFY(pages[1].contains(QStringLiteral("Page 2")));
    }
};

QTEST_MAIN(ReportTest)
#include "ReportTest.moc"
