#include "app/ui/DesktopProgram.h"

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>

namespace probex {

int RunDesktopProgram(int argc, char** argv) {
    QApplication application(argc, argv);
    application.setApplicationName("Probex");
    QMainWindow window;
    window.setWindowTitle("Probex [Untitled]");
    window.setCentralWidget(new QMdiArea(&window));
    window.show();
    return application.exec();
}

} // namespace probex
