// One process saves the global configuration while another reloads it, over and over: every
// reload sees a whole configuration, never a mixture or a half-written file.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "config/global/global_config.h"
#include "global_test_env.h"

namespace {

class GlobalProcesses : public GlobalFolderTest {};

VUnicodeString Text(GlobalConfig& config, const char16_t* name) {
  for (const auto& setting : config.ListSettings()) {
    if (setting.name == name) return setting.value.text;
  }
  return VUnicodeString();
}

TEST_F(GlobalProcesses, AReloadWhileAnotherProcessSavesSeesAWholeConfiguration) {
  {
    GlobalConfig* config = nullptr;
    ASSERT_TRUE(GetGlobalConfig(&config, 3));
    config->Release();
    ASSERT_TRUE(SaveGlobalConfig(true));  // every setting stored from the start
  }
  pid_t saver = fork();
  if (saver == 0) {
    for (int round = 1; round <= 40; ++round) {
      GlobalConfig* config = nullptr;
      GetGlobalConfig(&config, 3);
      VReportMessageParams error;
      VUnicodeString marker = U8("round " + std::to_string(round));
      // Two settings far apart in the file carry the same marker in every save.
      bool set = config->SetSetting(u"Connect Expand Path", marker, error) &&
                 config->SetSetting(u"Certificate Path", marker, error);
      config->Release();
      if (!set || !SaveGlobalConfig(true)) _exit(1);
    }
    _exit(0);
  }
  int reloads = 0;
  int status = 0;
  bool saverDone = false;
  while (!saverDone || reloads < 20) {
    saverDone = saverDone || waitpid(saver, &status, WNOHANG) == saver;
    GlobalConfig* config = nullptr;
    ReloadGlobalConfig(&config);
    ASSERT_NE(config, nullptr);
    size_t defaults = 0;
    for (const auto& setting : config->ListSettings()) {
      if (!setting.stored && !setting.loadOnly && setting.hasValue) ++defaults;
    }
    EXPECT_EQ(defaults, 0u) << "a setting was missing from the file read";
    EXPECT_EQ(Text(*config, u"Connect Expand Path"), Text(*config, u"Certificate Path"));
    config->Release();
    ++reloads;
    if (saverDone && reloads >= 20) break;
  }
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  GlobalConfig* last = nullptr;
  ReloadGlobalConfig(&last);
  EXPECT_EQ(Text(*last, u"Connect Expand Path"), u"round 40");
  last->Release();
}

}  // namespace
