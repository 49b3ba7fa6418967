// The UI library's smaller pieces: the list's column ratios, sorting and selection; the progress
// window closed from a worker thread; the control exchange and its checks; password fields wiped.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <thread>

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "marrowby/exchange.h"
#include "marrowby/file_browse.h"
#include "marrowby/list_ctrl.h"
#include "marrowby/message_box.h"
#include "marrowby/progress_dialog.h"
#include "marrowby/ui_messages.h"
#include "support/test_support.h"
#include "ui_test_helpers.h"

namespace {

TEST(ListCtrl, ColumnsKeepTheirRatiosSortByValueAndSelectRows) {
  VListCtrl list;
  list.SetColumns({{QStringLiteral("Name"), 3}, {QStringLiteral("Size"), 1}});
  EXPECT_EQ(list.ColumnWidths(400), (std::vector<int>{300, 100}));
  EXPECT_EQ(list.ColumnWidths(401), (std::vector<int>{300, 101}));  // the last takes the rest
  list.resize(500, 200);
  list.show();
  int viewport = list.viewport()->width();
  EXPECT_EQ(list.columnWidth(0), viewport * 3 / 4);

  list.AddRow({QStringLiteral("beta"), QStringLiteral("10")});
  list.AddRow({QStringLiteral("Alpha"), QStringLiteral("9")});
  list.AddRow({QStringLiteral("gamma"), QStringLiteral("100")});
  list.SortBy(1);
  EXPECT_EQ(list.Text(0, 1), QStringLiteral("9"));
  EXPECT_EQ(list.Text(2, 1), QStringLiteral("100"));
  list.SortBy(0, Qt::DescendingOrder);
  EXPECT_EQ(list.Text(0, 0), QStringLiteral("gamma"));
  EXPECT_EQ(list.Text(2, 0), QStringLiteral("Alpha"));  // without regard to case

  list.SelectRow(1);
  EXPECT_EQ(list.SelectedRows(), std::vector<int>{1});
  list.SelectRow(2, false);  // single selection: the new row replaces the old
  EXPECT_EQ(list.SelectedRows(), std::vector<int>{2});
  list.SetMultipleSelection(true);
  list.SelectRow(0, false);
  EXPECT_EQ(list.SelectedRows(), (std::vector<int>{0, 2}));
}

TEST(ProgressDialog, AWorkerThreadClosesIt) {
  VProgressDialog dialog;
  dialog.SetMessage(QStringLiteral("Working"));
  std::thread worker([&] {
    for (int i = 1; i <= 5; ++i) {
      dialog.PostProgress(i, 5);
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    dialog.PostClose();
  });
  dialog.DoModal();
  worker.join();
  EXPECT_TRUE(dialog.IsClosePosted());
  EXPECT_FALSE(dialog.isVisible());

  // Closed before it ran: it does not wait at all.
  VProgressDialog early;
  early.PostClose();
  QElapsedTimer timer;
  timer.start();
  early.DoModal();
  EXPECT_FALSE(early.isVisible());
  // Escape does not end it; only the work does.
  VProgressDialog stubborn;
  stubborn.show();
  QTest::keyClick(&stubborn, Qt::Key_Escape);
  EXPECT_TRUE(stubborn.isVisible());
  stubborn.PostClose();
  QTest::qWait(20);
  EXPECT_FALSE(stubborn.isVisible());
}

TEST(ControlExchange, ValuesBothWaysAndTheChecksOnTheWayIn) {
  QLineEdit edit;
  VUnicodeString text = u"host.example";
  DDX_Text(&edit, text, false);
  EXPECT_EQ(edit.text(), QStringLiteral("host.example"));
  edit.setText(QStringLiteral("other"));
  DDX_Text(&edit, text, true);
  EXPECT_EQ(text, u"other");

  QCheckBox box;
  VCheckState state = VCheckState::Indeterminate;
  DDX_Check(&box, state, false);
  EXPECT_EQ(box.checkState(), Qt::PartiallyChecked);
  box.setCheckState(Qt::Checked);
  DDX_Check(&box, state, true);
  EXPECT_EQ(state, VCheckState::Checked);

  QComboBox combo;
  combo.addItems({QStringLiteral("SSH2"), QStringLiteral("ssh2x"), QStringLiteral("Telnet")});
  VUnicodeString protocol = u"Telnet";
  DDX_CBStringExact(&combo, protocol, false);
  EXPECT_EQ(combo.currentIndex(), 2);
  protocol = u"ssh2";  // not exactly any entry: nothing selected
  DDX_CBStringExact(&combo, protocol, false);
  EXPECT_EQ(combo.currentIndex(), -1);

  VReportMessageParams error;
  unsigned short port = 22;
  for (const char* bad : {"0", "65536", "22a", "", "-1"}) {
    edit.setText(QString::fromUtf8(bad));
    EXPECT_FALSE(DDX_Port(&edit, port, true, error)) << bad;
    EXPECT_EQ(port, 22);
  }
  EXPECT_NE(error.GetTextOneLine().find(u"65535"), std::u16string::npos);
  edit.setText(QStringLiteral(" 8080 "));
  EXPECT_TRUE(DDX_Port(&edit, port, true, error));
  EXPECT_EQ(port, 8080);

  EXPECT_TRUE(DDV_MaxChars(u"abc", 3, error));
  EXPECT_FALSE(DDV_MaxChars(u"abcd", 3, error));

  VUnicodeString kept = u"kept";
  VDDX_EnabledText(&edit, false, kept, false);
  EXPECT_FALSE(edit.isEnabled());
  EXPECT_TRUE(edit.text().isEmpty());
  VDDX_EnabledText(&edit, false, kept, true);
  EXPECT_EQ(kept, u"kept");

  EXPECT_EQ(DoubleToString(2.5), QStringLiteral("2.5"));
  EXPECT_EQ(DoubleToString(3.0), QStringLiteral("3"));
  EXPECT_EQ(DoubleToString(-0.0000001, 3), QStringLiteral("0"));
  EXPECT_TRUE(VIsReadOnly(2));
  EXPECT_FALSE(VIsReadOnly(3));
}

TEST(ControlExchange, AConfigurationFolderMustBeAFolderThatCanBeWritten) {
  qtest::TempDir dir;
  qtest::WriteFile(dir / "file", "x");
  qtest::MakeDirs(dir / "locked");
  chmod((dir / "locked").c_str(), 0555);
  VReportMessageParams error;
  EXPECT_TRUE(IsValidConfigFolder(VUnicodeString::FromUtf8(dir.Path())));
  EXPECT_TRUE(IsValidConfigFolder(VUnicodeString::FromUtf8(dir / "new/deeper")));
  EXPECT_FALSE(IsValidConfigFolder(VUnicodeString::FromUtf8(dir / "file")));
  EXPECT_FALSE(IsValidConfigFolder(VUnicodeString::FromUtf8(dir / "file/below")));
  EXPECT_FALSE(IsValidConfigFolder(VUnicodeString::FromUtf8(dir / "locked")));
  EXPECT_FALSE(IsValidConfigFolder(u""));
  EXPECT_FALSE(VDDV_ValidateConfigFolder(VUnicodeString::FromUtf8(dir / "file"), error));
  EXPECT_NE(error.GetTextOneLine().find(VUnicodeString::FromUtf8(dir / "file")),
            std::u16string::npos);
  chmod((dir / "locked").c_str(), 0755);
}

TEST(SensitiveEdit, CleaningEmptiesTheFieldAndItsUndo) {
  QLineEdit edit;
  edit.setEchoMode(QLineEdit::Password);
  QTest::keyClicks(&edit, QStringLiteral("hunter2"));
  VUnicodeString taken = SensitiveText(&edit);
  EXPECT_TRUE(taken.IsSensitive());
  EXPECT_EQ(taken, u"hunter2");
  CleanSensitiveDataEdit(&edit);
  EXPECT_TRUE(edit.text().isEmpty());
  edit.undo();
  EXPECT_TRUE(edit.text().isEmpty());
}

TEST(FileBrowsing, FiltersAndFolders) {
  QString filters;
  VAppendFileFilter(filters, QStringLiteral("Log Files (%1)"), QStringLiteral("*.log"));
  VAppendFileFilter(filters, QStringLiteral("Scripts"), QStringLiteral("*.vbs; *.py"));
  EXPECT_EQ(filters, QStringLiteral("Log Files (*.log);;Scripts (*.vbs *.py)"));
  EXPECT_EQ(VGetFileFilters({QStringLiteral("Text Files (*.txt)")}),
            QStringLiteral("Text Files (*.txt);;All Files (*)"));
  qtest::TempDir dir;
  qtest::WriteFile(dir / "a/b.txt", "x");
  EXPECT_EQ(VExtractLocalDirectory(QString::fromStdString(dir / "a/b.txt")),
            QString::fromStdString(dir / "a"));
  EXPECT_EQ(VExtractLocalDirectory(QString::fromStdString(dir / "a")),
            QString::fromStdString(dir / "a"));
  EXPECT_TRUE(VExtractLocalDirectory(QString()).isEmpty());
}

TEST(MessageBox, ButtonsAndTheirAnswers) {
  int answers[] = {0, 0};
  uitest::WhenModal<QMessageBox>([&](QMessageBox* box) {
    answers[0] = box->buttons().size();
    QTest::keyClick(box, Qt::Key_Escape);
  });
  EXPECT_EQ(VMessageBox(nullptr, QStringLiteral("Sure?"), kMbYesNo | kMbIconQuestion), kIdNo);
  EXPECT_EQ(answers[0], 2);
  uitest::WhenModal<QMessageBox>([&](QMessageBox* box) {
    answers[1] = box->windowTitle() == QStringLiteral("Karvell");
    box->defaultButton()->click();
  });
  EXPECT_EQ(VMessageBox(nullptr, QStringLiteral("Go on?"), kMbOkCancel | kMbDefButton2), kIdCancel);
  EXPECT_EQ(answers[1], 1);

  // A report message: its text, and the error icon for an error unless the style names one.
  uitest::MessageBoxRecorder boxes;
  VReportMessageParams error(ui_messages::kFirewallNameEmpty, VGetUiMessageModule());
  VMessageBox(nullptr, error, kMbOk);
  VMessageBox(nullptr, error, kMbOk | kMbIconWarning);
  ASSERT_EQ(boxes.Shown().size(), 2u);
  EXPECT_EQ(boxes.Shown()[0].text, QStringLiteral("The firewall needs a name."));
  EXPECT_EQ(boxes.Shown()[0].style & 0xF0, kMbIconError);
  EXPECT_EQ(boxes.Shown()[1].style & 0xF0, kMbIconWarning);
}

}  // namespace

namespace {

TEST(LaunchApp, StartsTheProgramWithoutWaitingAndNamesOneThatCannotStart) {
  qtest::TempDir dir;
  std::string marker = dir / "started";
  VReportMessageParams error;
  ASSERT_TRUE(LaunchApp(QStringLiteral("sh"),
                        {QStringLiteral("-c"), QString::fromStdString("sleep 0.2; echo ran > '" + marker + "'")},
                        error));
  EXPECT_FALSE(qtest::Exists(marker));  // not waited for
  for (int i = 0; i < 300 && qtest::ReadFile(marker) != "ran\n"; ++i) QTest::qWait(10);
  EXPECT_EQ(qtest::ReadFile(marker), "ran\n");

  EXPECT_FALSE(LaunchApp(QString::fromStdString(dir / "no-such-program"), {}, error));
  EXPECT_TRUE(error.IsError());
  qtest::WriteFile(dir / "plain", "not a program");
  EXPECT_FALSE(LaunchApp(QString::fromStdString(dir / "plain"), {}, error));
}

}  // namespace
