#include "BenchApplication.h"

namespace probex {

QApplication& BenchApplication() {
    static int argc = 1;
    static char name[] = "probex_bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: a static QApplication would be torn down by the exit handlers after
    // Qt's own globals, which crashes the benchmark on its way out.
    static QApplication* const application = new QApplication(argc, argv);
    return *application;
}

} // namespace probex
