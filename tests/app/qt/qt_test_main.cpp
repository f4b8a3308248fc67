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

int main(int argc, char** argv) {
  // Offscreen unless the caller chose a platform: no display is needed.
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  int failures = 0;
  for (const auto& make : orvane::test::qtTests()) {
    std::unique_ptr<QObject> test = make();
    failures += QTest::qExec(test.get(), argc, argv);
  }
  return failures == 0 ? 0 : 1;
}
