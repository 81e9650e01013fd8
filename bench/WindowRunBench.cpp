// The example runs started from the main window (offscreen, default refresh settings): the
// worker hands every refresh to the window's thread and waits for it, so the window's rate
// against the batch rate shows what watching a run costs.

#include "WindowRun.h"

#include "BenchApplication.h"
#include "BenchModels.h"

#include "components/Prompter.h"
#include "gui/app/ResultWindowManager.h"
#include "gui/app/StepSpinBox.h"
#include "gui/app/TFrmMain.h"
#include "gui/results/TFrmOut2D.h"
#include "model/ProjectModel.h"
#include "settings/Settings.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <ctime>
#include <stdexcept>
#include <string>

namespace probex::bench {

namespace {

/// Confirms with OK ("Restart?" included) and answers no to every yes-or-no question, so
/// that nothing is saved; errors end the benchmark.
class OkPrompter : public Prompter {
public:
    Answer message(Kind kind, const std::string& text, Buttons buttons) override {
        if (kind == Kind::Error) throw std::runtime_error("error: " + text);
        return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::No
                                                                            : Answer::Ok;
    }
    std::optional<std::string> chooseFile(const FileRequest&) override { return std::nullopt; }
};

QString ReadText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read an example");
    return QString::fromLatin1(file.readAll());
}

/// The example project with the result-window sections of beam-windows.pxw, their variables
/// replaced by the project's last logged output where the project has no such variable.
QString WithResultWindows(const QString& project) {
    const QString examples = QString(PROBEX_SOURCE_DIR) + "/examples/";
    QString text = ReadText(examples + project);
    QString windows = ReadText(examples + "beam-windows.pxw");
    windows = windows.mid(windows.indexOf("[Out.Statistics]"));
    const QRegularExpression logged("^(\\w+),Log,", QRegularExpression::MultilineOption);
    QString last;
    for (auto match = logged.globalMatch(text); match.hasNext();)
        last = match.next().captured(1);
    for (const char* name : {"Z", "R", "S"})
        if (!QRegularExpression(QString("^%1,Log,").arg(name), QRegularExpression::MultilineOption)
                 .match(text)
                 .hasMatch())
            windows.replace(QRegularExpression(QString("^(Variable[HV]?)=%1$").arg(name),
                                               QRegularExpression::MultilineOption),
                            "\\1=" + last);
    return text.trimmed() + "\n\n" + windows;
}

} // namespace

struct WindowRun::Window {
    QTemporaryDir dir;
    TSettings settings = MakeDefaultSettings(dir.path().toStdString() + "/");
    OkPrompter prompter;
    TFrmMain frame{settings, prompter, dir.filePath("Probex.ini").toStdString()};
};

WindowRun::WindowRun(const char* project, bool resultWindows) {
    BenchApplication();
    m_window = std::make_unique<Window>();
    m_window->settings.Seed1 = RunSeed;
    TFrmMain& frame = m_window->frame;
    // A copy, so that the window's layout file goes to the temporary folder with it.
    const QString copy = m_window->dir.filePath(project);
    if (resultWindows) {
        QFile file(copy);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(WithResultWindows(project).toLatin1()) < 0)
            throw std::runtime_error("cannot write the project");
    } else {
        QFile::copy(QString(PROBEX_SOURCE_DIR) + "/examples/" + project, copy);
    }
    frame.setCommandLineProject(copy.toStdString());
    frame.show();
    while (frame.model().equations.empty())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    std::size_t open = 0;
    for (const ResultWindowKind kind : AllResultWindowKinds)
        for (std::size_t i = 0; i < frame.resultWindows()->count(kind); ++i)
            open += frame.resultWindows()->window(kind, i) != nullptr ? 1 : 0;
    if (open != (resultWindows ? AllResultWindowKinds.size() : 0))
        throw std::runtime_error("the result windows did not open as asked");
    frame.findChild<StepSpinBox*>("EdtLastStep")->setValue(Steps);
    frame.model().autoSeed = false;
}

WindowRun::WindowRun(const char* project, std::int32_t generator, std::int32_t threads)
    : WindowRun(project) {
    m_window->settings.Generator = generator;
    m_window->settings.Threads = threads;
}

WindowRun::~WindowRun() {
    m_window->frame.close();
}

namespace {

/// CPU time of the calling thread so far.
double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

} // namespace

Extended WindowRun::run() {
    ProjectModel& model = m_window->frame.model();
    // Wait in the window's event loop, as the program does, until the run has ended (not
    // for what the windows draw after it: the 2D picture builds in slices afterwards).
    QEventLoop loop;
    QObject::connect(&m_window->frame, &TFrmMain::runFinished, &loop, &QEventLoop::quit);
    // A timer due every 10 ms stands for a click: how late it fires is how long a click
    // would wait for the window during the run.
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    QElapsedTimer clock;
    QObject::connect(&probe, &QTimer::timeout, [this, &clock] {
        m_longestWaitMs = std::max(m_longestWaitMs, clock.restart() - 10.0);
    });
    clock.start();
    probe.start(10);
    const double cpuBefore = ThreadCpuMs();
    // A finished run starts again after the "Restart?" question.
    m_window->frame.findChild<QAction*>("ItmRunStop")->trigger();
    if (model.running()) loop.exec();
    m_mainThreadMs = ThreadCpuMs() - cpuBefore;
    if (model.stepCounter() != Steps) throw std::runtime_error("the window's run ended early");
    return model.outEquations().result().Value;
}

void WindowRun::settle() {
    ResultWindowManager& windows = *m_window->frame.resultWindows();
    for (std::size_t i = 0; i < windows.count(ResultWindowKind::TwoD); ++i)
        if (auto* picture = dynamic_cast<TFrmOut2D*>(windows.window(ResultWindowKind::TwoD, i)))
            picture->finishBuilding();
    QApplication::processEvents();
}

} // namespace probex::bench
