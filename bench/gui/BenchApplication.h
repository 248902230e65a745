// The GUI benchmarks' application: benchmark_main owns main(), so it is made
// on first use, offscreen unless the caller chose a platform.
#pragma once

#include <QApplication>

#include <cstdlib>

inline void EnsureBenchApplication() {
    static QApplication* app = [] {
        if (!std::getenv("QT_QPA_PLATFORM"))
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "quexo_bench";
        static char* argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    (void)app;
}
