// The user-interface suites run real widgets on Qt's offscreen platform: no display is needed,
// also when the program is started by hand or listed by ctest.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include <QApplication>

#include "platform/app_info.h"
#include "report/message_catalogue.h"
#include "ui_test_helpers.h"

namespace {

// The offscreen platform says at every window that it cannot pass size hints on; that is all
// it has to say, and it drowns the test output.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains(QStringLiteral("propagateSizeHints"))) return;
  fprintf(stderr, "%s\n", qPrintable(message));
}

// A modal-window driver belongs to the test that started it: whatever it still waits for after
// the test is no business of the next one (a prompt of a later test must not be closed by it).
class EndPollsWithTheirTest : public ::testing::EmptyTestEventListener {
  void OnTestEnd(const ::testing::TestInfo&) override { uitest::EndModalPolls(); }
};

}  // namespace

int main(int argc, char** argv) {
  qInstallMessageHandler(QuietHandler);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new EndPollsWithTheirTest);
  QApplication app(argc, argv);
  VSetAppName(u"Karvell");
  VSetMessageLanguage(VLanguage::English);
  return RUN_ALL_TESTS();
}
