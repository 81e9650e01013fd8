// The example runs started from the main window (offscreen, default refresh settings): the
// worker hands every refresh to the window's thread and waits for it, so the window's rate
// against the batch rate shows what watching a run costs.

#include "WindowRun.h"

#include "BenchApplication.h"
#include "BenchModels.h"

#include "components/Prompter.h"
#include "gui/app/StepSpinBox.h"
#include "gui/app/TFrmMain.h"
#include "model/ProjectModel.h"
#include "settings/Settings.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

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

} // namespace

struct WindowRun::Window {
    QTemporaryDir dir;
    TSettings settings = MakeDefaultSettings(dir.path().toStdString() + "/");
    OkPrompter prompter;
    TFrmMain frame{settings, prompter, dir.filePath("Probex.ini").toStdString()};
};

WindowRun::WindowRun(const char* project) {
    BenchApplication();
    m_window = std::make_unique<Window>();
    m_window->settings.Seed1 = RunSeed;
    TFrmMain& frame = m_window->frame;
    // A copy, so that the window's layout file goes to the temporary folder with it.
    const QString copy = m_window->dir.filePath(project);
    QFile::copy(QString(PROBEX_SOURCE_DIR) + "/examples/" + project, copy);
    frame.setCommandLineProject(copy.toStdString());
    frame.show();
    while (frame.model().equations.empty())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
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

Extended WindowRun::run() {
    ProjectModel& model = m_window->frame.model();
    // A finished run starts again after the "Restart?" question.
    m_window->frame.findChild<QAction*>("ItmRunStop")->trigger();
    // Wait in the window's event loop, as the program does, until the run has ended.
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (!model.running()) loop.quit();
    });
    poll.start(5);
    loop.exec();
    if (model.stepCounter() != Steps) throw std::runtime_error("the window's run ended early");
    return model.outEquations().result().Value;
}

} // namespace probex::bench
