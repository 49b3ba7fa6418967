// The modal-window driver of the UI tests: it acts on a window of its test, and a poll left
// waiting when its test ends never acts on a window of a later test.
#include <QDialog>
#include <QTimer>

#include "ui_test_helpers.h"

namespace {

// A modal dialog that closes itself as accepted after a moment, unless something rejects it first.
int RunSelfClosingDialog() {
  QDialog dialog;
  QTimer::singleShot(300, &dialog, [&dialog] { dialog.accept(); });
  return dialog.exec();
}

TEST(ModalDriver, ActsOnAWindowOfItsOwnTest) {
  auto seen = uitest::WhenModal<QDialog>([](QDialog* dialog) { dialog->reject(); });
  EXPECT_EQ(RunSelfClosingDialog(), QDialog::Rejected);
  EXPECT_TRUE(*seen);
}

TEST(ModalDriver, APollEndsWithTheTestThatStartedIt) {
  auto seen = uitest::WhenModal<QDialog>([](QDialog* dialog) { dialog->reject(); });
  uitest::EndModalPolls();  // what happens after every test
  EXPECT_EQ(RunSelfClosingDialog(), QDialog::Accepted);
  EXPECT_FALSE(*seen);
}

}  // namespace
