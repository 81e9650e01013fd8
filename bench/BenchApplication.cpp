#include "BenchApplication.h"

namespace probex {

QApplication& BenchApplication() {
    static int argc = 1;
    static char name[] = "probex_bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(argc, argv);
    return application;
}

} // namespace probex
