// Test main for widget tests: the QApplication is made only after
// GoogleTest's test listing, which runs without a display.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  app.setApplicationName("KPR");
#ifdef KPR_TEST_APP_RESOURCES
  Q_INIT_RESOURCE(resources);  // the program's pictures and help, from kpr_app
#endif
  return RUN_ALL_TESTS();
}
