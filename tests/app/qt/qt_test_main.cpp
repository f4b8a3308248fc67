#include <QApplication>
#include <QTest>
#include <cstdlib>

#include "qt_test_registry.h"

namespace orvane::test {

std::vector<TestFactory>& qtTests() {
  static std::vector<TestFactory> tests;
  return tests;
}

}  // namespace orvane::test

// Runs every registered test class, or with "-class NAME" first only the classes whose name ends
// with NAME; the other arguments are QtTest's own.
int main(int argc, char** argv) {
  // Offscreen unless the caller chose a platform: no display is needed.
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QByteArray only;
  if (argc >= 3 && QByteArray(argv[1]) == "-class") {
    only = argv[2];
    argv[2] = argv[0];
    argv += 2;
    argc -= 2;
  }
  QApplication app(argc, argv);
  int failures = 0;
  for (const auto& make : orvane::test::qtTests()) {
    std::unique_ptr<QObject> test = make();
    if (!only.isEmpty() && !QByteArray(test->metaObject()->className()).endsWith(only)) continue;
    failures += QTest::qExec(test.get(), argc, argv);
  }
  return failures == 0 ? 0 : 1;
}
