#pragma once

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QLocale>

#include <functional>

namespace talv::bench {

// The main of every benchmark program: the application object (a QApplication for programs that
// show widgets, on the offscreen platform unless another is named), numbers in the C locale, the
// benchmarks the command line names, and `beforeExit` at the end, for what must go before the
// application object does.
template <typename Application> int runBenchmarks(int argc, char **argv, const std::function<void()> &beforeExit = {})
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    QLocale::setDefault(QLocale::c());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (beforeExit)
        beforeExit();
    return 0;
}

} // namespace talv::bench
