// The optional message box: its check box starts from the setting, OK writes it back, Cancel
// leaves it, and a message the user suppressed is not shown at all.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "report/message_catalogue.h"
#include "ui/optional_message_box.h"
#include "ui_test_helpers.h"

namespace {

struct BoxRun {
  int result = 0;
  bool shown = false;
};

// Shows the box over `setting` and lets `act` drive it.
BoxRun Show(VProfile<int>& setting, std::function<void(OptionalMessageBox*)> act,
            const QString& checkText = QString(), bool showCancel = true, int iconKind = 0,
            int defaultButton = 0) {
  auto seen = uitest::WhenModal<OptionalMessageBox>(std::move(act));
  BoxRun run;
  run.result = ShowOptionalMessageBox(nullptr, QStringLiteral("Something to know."), checkText,
                                      setting, QStringLiteral("OK"), showCancel, iconKind,
                                      defaultButton);
  run.shown = *seen;
  return run;
}

TEST(OptionalMessageBox, OkWritesTheCheckBoxIntoTheSettingAndCancelLeavesIt) {
  VProfile<int> setting(u"Suppress Something", 0);
  BoxRun run = Show(setting, [](OptionalMessageBox* box) {
    EXPECT_FALSE(box->CheckBox()->isChecked());
    box->CheckBox()->click();
    QTest::keyClick(box, Qt::Key_Return);
  });
  EXPECT_TRUE(run.shown);
  EXPECT_EQ(run.result, kIdOk);
  EXPECT_EQ(setting.current, 1);

  // Starting checked, cleared and closed with OK: written back as 0.
  run = Show(setting, [](OptionalMessageBox* box) {
    EXPECT_TRUE(box->CheckBox()->isChecked());
    box->CheckBox()->click();
    box->findChild<QPushButton*>(QStringLiteral("ok"))->click();
  });
  EXPECT_EQ(run.result, kIdOk);
  EXPECT_EQ(setting.current, 0);

  // Checked, then Cancel (and Escape): the setting keeps its value.
  run = Show(setting, [](OptionalMessageBox* box) {
    box->CheckBox()->click();
    box->CancelButton()->click();
  });
  EXPECT_EQ(run.result, kIdCancel);
  EXPECT_EQ(setting.current, 0);
  run = Show(setting, [](OptionalMessageBox* box) {
    box->CheckBox()->click();
    QTest::keyClick(box, Qt::Key_Escape);
  });
  EXPECT_EQ(run.result, kIdCancel);
  EXPECT_EQ(setting.current, 0);
}

TEST(OptionalMessageBox, ASuppressedMessageIsNotShown) {
  VProfile<int> setting(u"Suppress Something", 1);
  // Anything shown would be closed (and counted) by the driver; nothing may come up.
  auto seen = uitest::WhenModal<OptionalMessageBox>([](OptionalMessageBox* box) { box->reject(); });
  int result = ShowOptionalMessageBoxUnlessSuppressed(nullptr, QStringLiteral("x"), QString(),
                                                      setting, QStringLiteral("OK"), true, 0, 0);
  QTest::qWait(50);
  EXPECT_EQ(result, kIdOk);
  EXPECT_FALSE(*seen);
  EXPECT_EQ(setting.current, 1);

  setting.current = 0;
  seen = uitest::WhenModal<OptionalMessageBox>([](OptionalMessageBox* box) { box->reject(); });
  result = ShowOptionalMessageBoxUnlessSuppressed(nullptr, QStringLiteral("x"), QString(), setting,
                                                  QStringLiteral("OK"), true, 0, 0);
  EXPECT_TRUE(*seen);
  EXPECT_EQ(result, kIdCancel);
}

TEST(OptionalMessageBox, TextsTitleIconAndButtons) {
  VProfile<int> setting(u"Suppress Something", 0);
  OptionalMessageBox box(nullptr, QStringLiteral("Message"), QString(), setting,
                         QStringLiteral("Go"), false, VOptionalIcon::Question, 0);
  // An empty check-box text gives the catalogue's, mnemonic included; the title is the
  // application's name.
  EXPECT_EQ(box.CheckBox()->text(), QStringLiteral("&Do not display this message again"));
  EXPECT_EQ(box.windowTitle(), QStringLiteral("Karvell"));
  EXPECT_EQ(box.findChild<QLabel*>(QStringLiteral("icon"))->property("iconKind").toInt(), 2);
  box.show();
  EXPECT_FALSE(box.CancelButton()->isVisible());
  EXPECT_TRUE(box.findChild<QPushButton*>(QStringLiteral("ok"))->isDefault());

  OptionalMessageBox own(nullptr, QStringLiteral("Message"), QStringLiteral("&Keep quiet"), setting,
                         QStringLiteral("Go"), true, VOptionalIcon::Information,
                         kOptionalDefaultCancel);
  own.show();
  EXPECT_EQ(own.CheckBox()->text(), QStringLiteral("&Keep quiet"));
  EXPECT_TRUE(own.CancelButton()->isVisible());
  EXPECT_TRUE(own.CancelButton()->isDefault());
  EXPECT_FALSE(own.findChild<QPushButton*>(QStringLiteral("ok"))->isDefault());

  VSetMessageLanguage(VLanguage::French);
  OptionalMessageBox french(nullptr, QStringLiteral("Message"), QString(), setting,
                            QStringLiteral("OK"), true, VOptionalIcon::Warning, 0);
  VSetMessageLanguage(VLanguage::English);
  EXPECT_EQ(french.CheckBox()->text(), QStringLiteral("&Ne plus afficher ce message"));
  EXPECT_EQ(french.CancelButton()->text(), QStringLiteral("Annuler"));
}

TEST(OptionalMessageBox, TheMessageGrowsTheBoxAndTheCheckBoxStaysBelowIt) {
  VProfile<int> setting(u"Suppress Something", 0);
  OptionalMessageBox shortBox(nullptr, QStringLiteral("Short."), QString(), setting,
                              QStringLiteral("OK"), true, VOptionalIcon::Warning, 0);
  QString longText;
  for (int i = 0; i < 40; ++i) longText += QStringLiteral("A rather long sentence follows. ");
  OptionalMessageBox longBox(nullptr, longText, QString(), setting, QStringLiteral("OK"), true,
                             VOptionalIcon::Warning, 0);
  shortBox.show();
  longBox.show();
  EXPECT_GT(longBox.height(), shortBox.height());
  EXPECT_GE(longBox.CheckBox()->geometry().top(), longBox.MessageLabel()->geometry().bottom());
}

}  // namespace
