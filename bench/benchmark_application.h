#pragma once
// The application of a benchmark of Qt widgets: Google Benchmark takes its options from the command
// line first, and Qt runs on the offscreen platform unless QT_QPA_PLATFORM names another.
#include <QApplication>

#include <benchmark/benchmark.h>

namespace propdesk::bench {

class BenchmarkApplication : public QApplication {
 public:
  BenchmarkApplication(int& argc, char** argv) : QApplication(Prepare(argc, argv), argv) {}
  ~BenchmarkApplication() override { benchmark::Shutdown(); }

 private:
  static int& Prepare(int& argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    return argc;
  }
};

}  // namespace propdesk::bench
