// Test main for suites that need a QApplication: windows are made on the offscreen platform,
// so the tests run without a display.
#include <gtest/gtest.h>

#include <unistd.h>

#include <QApplication>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    qputenv("XDG_RUNTIME_DIR", QByteArray("/tmp/ardvane-test-runtime-") + QByteArray::number(getuid()));
  }
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
