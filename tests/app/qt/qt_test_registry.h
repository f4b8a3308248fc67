#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace orvane::test {

// Every QtTest class of the editor's test program registers itself here, so one program runs
// them all (QtTest runs one object per call).
using TestFactory = std::function<std::unique_ptr<QObject>()>;
std::vector<TestFactory>& qtTests();

template <typename T>
struct RegisterQtTest {
  RegisterQtTest() {
    qtTests().push_back([] { return std::unique_ptr<QObject>(new T); });
  }
};

}  // namespace orvane::test
