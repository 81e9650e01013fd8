#include "gui/app/DesktopProgram.h"

#include "gui/app/TFrmMain.h"
#include "gui/components/QtPrompter.h"
#include "settings/Settings.h"
#include "settings/SettingsLocation.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace probex {

namespace {

struct CommandLine {
    std::string settingsFile; ///< empty: the default location
    std::string project;
};

CommandLine ParseCommandLine(const QStringList& arguments) {
    CommandLine line;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QStringLiteral("--settings") && i + 1 < arguments.size()) {
            line.settingsFile = QFile::encodeName(arguments[++i]).toStdString();
        } else if (line.project.empty()) {
            line.project = QFile::encodeName(arguments[i]).toStdString();
        }
    }
    return line;
}

/// While the window system starts: a platform that cannot start (a display that does not
/// answer) ends the program with a hint at the batch mode instead of an abort.
void StartupMessages(QtMsgType type, const QMessageLogContext& /*context*/,
                     const QString& message) {
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    if (type != QtFatalMsg) return;
    std::fprintf(stderr, "probex: cannot open a window on this display.\n"
                         "To run a project without windows use: probex --batch PROJECT.pxw\n");
    std::fflush(stderr);
    std::_Exit(2);
}

} // namespace

int RunDesktopProgram(int argc, char** argv) {
    const QtMessageHandler previous = qInstallMessageHandler(StartupMessages);
    QApplication application(argc, argv);
    qInstallMessageHandler(previous);
    application.setApplicationName(QStringLiteral("Probex"));
    const CommandLine commandLine = ParseCommandLine(QApplication::arguments());

    SettingsLocation location = FindSettingsLocation();
    if (!commandLine.settingsFile.empty()) {
        // A settings file of its own brings its own directories for inputs and results.
        const QFileInfo file(QFile::decodeName(commandLine.settingsFile.c_str()));
        location.SettingsFile = QFile::encodeName(file.absoluteFilePath()).toStdString();
        location.AppDir = QFile::encodeName(file.absolutePath()).toStdString() + "/";
    }
    TSettings settings = MakeDefaultSettings(location.AppDir);
    std::string separatorWarning;
    const std::string loadMessage =
        LoadSettings(location.SettingsFile, settings, &separatorWarning);

    QtPrompter prompter;
    TFrmMain window(settings, prompter, location.SettingsFile);
    prompter.setParent(&window);
    window.setCommandLineProject(commandLine.project);
    window.show();
    if (!separatorWarning.empty()) prompter.warning(separatorWarning);
    if (!loadMessage.empty()) prompter.error(loadMessage);
    return application.exec();
}

} // namespace probex
