// The rules by which the options page switches "store personal data separately": what is
// pending after each switch, the refusal when the configuration folder cannot take the values
// back, and a switch taken back within one run.
#include <gtest/gtest.h>

#include "environment/moving_messages.h"
#include "environment/personal_data_move.h"
#include "storage/ini/ini_file_key.h"
#include "support/test_support.h"

#include <sys/stat.h>

namespace {

bool Switch(const VPersonalDataFlags& atOpening, bool now, bool writable, VPersonalDataFlags& out,
            uint32_t& refusal, uint32_t& notice) {
  VReportMessageParams refused, told;
  bool ok = PersonalDataOptionSwitch(atOpening, now, writable, out, refused, told);
  refusal = refused.GetMessageId();
  notice = told.GetMessageId();
  return ok;
}

TEST(PersonalDataSwitch, OnMigratesOffMergesAndBackAgainRestoresTheFlags) {
  VPersonalDataFlags out;
  uint32_t refusal = 0, notice = 0;
  VPersonalDataFlags off{false, false, false};
  ASSERT_TRUE(Switch(off, true, true, out, refusal, notice));
  EXPECT_EQ(out, (VPersonalDataFlags{true, true, false}));
  EXPECT_EQ(notice, moving_messages::kPersonalFolderChangeLater);

  VPersonalDataFlags on{true, false, false};
  ASSERT_TRUE(Switch(on, false, true, out, refusal, notice));
  EXPECT_EQ(out, (VPersonalDataFlags{false, false, true}));

  // Switched on and off again before the page closed: what was pending stays pending, and
  // nothing else is.
  VPersonalDataFlags pendingMerge{false, false, true};
  ASSERT_TRUE(Switch(pendingMerge, false, true, out, refusal, notice));
  EXPECT_EQ(out, pendingMerge);
  EXPECT_EQ(notice, 0u);
}

TEST(PersonalDataSwitch, OffIsRefusedWhileTheConfigurationFolderCannotBeWritten) {
  VPersonalDataFlags out{false, false, false};
  uint32_t refusal = 0, notice = 0;
  VPersonalDataFlags on{true, false, false};
  EXPECT_FALSE(Switch(on, false, false, out, refusal, notice));
  EXPECT_EQ(refusal, moving_messages::kCannotMergeIntoConfig);
  EXPECT_EQ(out, (VPersonalDataFlags{false, false, false}));
  // Switching on needs nothing of the configuration folder.
  EXPECT_TRUE(Switch(VPersonalDataFlags{}, true, false, out, refusal, notice));
}

class Answers : public IUserQuestions {
 public:
  bool AskYesNo(VReportMessageParams&) override { return true; }
  void Notify(VReportMessageParams& message, VNoticeKind) override {
    told = message.GetMessageId();
  }
  bool AskFolder(VReportMessageParams&, VUnicodeString&) override { return false; }
  uint32_t told = 0;
};

TEST(PersonalDataSwitch, ThePersonalFolderIsNeverTheConfigurationFolder) {
  qtest::TempDir dir;
  VUnicodeString config = U8(dir / "Config");
  qtest::MakeDirs(dir / "Config");
  Answers answers;
  VUnicodeString chosen = U8(dir / "config/");
  EXPECT_FALSE(ValidatePersonalDataFolderChoice(answers, config, chosen));
  EXPECT_EQ(answers.told, kMsgPersonalFolderIsConfigFolder);
  // An empty field takes the default beside it, made when missing.
  chosen.clear();
  EXPECT_TRUE(ValidatePersonalDataFolderChoice(answers, config, chosen));
  EXPECT_EQ(chosen, U8(dir / "Config.personal"));
  EXPECT_TRUE(qtest::Exists(dir / "Config.personal"));

  EXPECT_TRUE(ConfigFolderTakesPersonalData(config));
  chmod((dir / "Config").c_str(), 0555);
  EXPECT_FALSE(ConfigFolderTakesPersonalData(config));
  chmod((dir / "Config").c_str(), 0755);
}

}  // namespace
