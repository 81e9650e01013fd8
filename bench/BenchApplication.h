#pragma once

#include <QApplication>

namespace probex {

/// The one application object of the benchmarks that drive windows (offscreen), made at the
/// first call: Qt allows only one per process.
QApplication& BenchApplication();

} // namespace probex
