// The main of widget tests: one QApplication for the whole program.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Test discovery runs without the tests' environment.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", SKARVEL_TEST_PLATFORM);
  // No test in process opens the sound card: an empty ALSA configuration
  // knows no PCM, as on a machine without one.
  qputenv("ALSA_CONFIG_PATH", "/dev/null");
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
