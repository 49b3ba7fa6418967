// Loading protocol modules: real shared libraries built for these tests, copied under the file
// names of the table into folders of their own.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "config/session/connect_protocol_table.h"
#include "environment/installed_products.h"
#include "environment/module_file_check.h"
#include "environment/products.h"
#include "environment/protocol_modules.h"
#include "platform/fips_policy.h"
#include "report/report_message_params.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

class ProtocolModules : public ::testing::Test {
 protected:
  void SetUp() override {
    UnloadConnectionProtocolDlls();
    ResetConnectProtocolTable();
    log_ = dir_ / "calls.log";
    logEnv_ = std::make_unique<qtest::ScopedEnv>("TEST_MODULE_LOG", log_.c_str());
    fs::create_directory(folder());
    fs::permissions(folder(), fs::perms(0755));
  }
  void TearDown() override { UnloadConnectionProtocolDlls(); }

  std::string folder() const { return dir_ / "install"; }
  // Puts the test module of `form` into the install folder as `file`.
  void Install(const std::string& form, const std::string& file) {
    std::string target = folder() + "/" + file;
    fs::copy_file(std::string(QUILLANE_TEST_MODULES) + "/" + form + ".so", target,
                  fs::copy_options::overwrite_existing);
    fs::permissions(target, fs::perms(0755));
  }

  // Loads product 3 alone with the given FIPS bits; failures are collected, not routed.
  bool LoadKarvell(int fipsBits = 0, bool abortOnFailure = false) {
    ProtocolLoadOptions options;
    options.fipsBits = fipsBits;
    options.onFailure = [this, abortOnFailure](const VReportMessageParams& failure) {
      failures_.push_back(failure.GetMessageId());
      failureInserts_.push_back(failure.GetInserts());
      return abortOnFailure;
    };
    return LoadSingleProductConnectionProtocolDlls(nullptr, kProductKarvell,
                                                   VUnicodeString::FromUtf8(folder()), aborted_,
                                                   report_, options);
  }

  std::vector<std::string> TableNames() {
    std::vector<std::string> names;
    ConnectProtocolTable& table = GetConnectProtocolTable();
    for (size_t i = 0; i < table.Size(); ++i) names.push_back(table.At(i).protocolName.ToUtf8());
    return names;
  }

  const ProtocolLoadResult* Result(const std::string& protocol) {
    results_ = GetProtocolLoadResults();
    for (const ProtocolLoadResult& result : results_) {
      if (result.protocolName.ToUtf8() == protocol) return &result;
    }
    return nullptr;
  }

  qtest::TempDir dir_;
  std::string log_;
  std::unique_ptr<qtest::ScopedEnv> logEnv_;
  bool aborted_ = false;
  VReportMessageParams report_;
  std::vector<uint32_t> failures_;
  std::vector<VStringArray> failureInserts_;
  std::vector<ProtocolLoadResult> results_;
};

TEST_F(ProtocolModules, SoundModulesRegisterTheirRowsInTableOrderAndUnloadCleanly) {
  Install("sound", "SSH2.so");
  Install("sound", "Telnet.so");
  Install("sound", "TelnetSSL.so");
  Install("sound", "TAPI.so");  // present, yet never registered
  ASSERT_TRUE(LoadKarvell());
  EXPECT_FALSE(aborted_);
  EXPECT_TRUE(failures_.empty());
  EXPECT_EQ(TableNames(), (std::vector<std::string>{"SSH2", "Telnet", "Telnet/SSL"}));
  const ConnectProtocolEntry& tls = GetConnectProtocolTable().At(2);
  EXPECT_EQ(tls.displayName, u"Telnet/TLS");
  EXPECT_EQ(tls.productId, kProductKarvell);
  EXPECT_EQ(tls.modulePath.ToUtf8(), folder() + "/TelnetSSL.so");
  EXPECT_NE(tls.moduleHandle, nullptr);
  EXPECT_EQ(GetConnectProtocolTable().At(0).cleanUp != nullptr, true);  // SSH2 only
  EXPECT_EQ(tls.cleanUp, nullptr);

  // The module's factory makes its settings.
  VRef<ConnectConfig> config(tls.CreateConfig());
  ASSERT_TRUE(config);
  config->Load(nullptr, kProductKarvell);
  EXPECT_EQ(config->GetProtocolName(), u"Telnet/SSL");
  ASSERT_NE(config->FindMember(u"[Test] Port"), nullptr);
  config = VRef<ConnectConfig>();

  EXPECT_EQ(Result("TAPI")->state, ProtocolRowState::Skipped);
  EXPECT_EQ(Result("SSH1")->state, ProtocolRowState::Skipped);  // no SSH1.enable
  EXPECT_EQ(Result("RLogin")->state, ProtocolRowState::Missing);
  EXPECT_EQ(Result("RLogin")->error.GetMessageId(), kMsgModuleNotInstalled);
  EXPECT_EQ(Result("SSH2")->state, ProtocolRowState::Loaded);
  EXPECT_EQ(GetProtocolLoadResults().size(), 9u);  // the rows of product 3

  UnloadConnectionProtocolDlls();
  EXPECT_EQ(GetConnectProtocolTable().Size(), 0u);
  EXPECT_TRUE(GetProtocolLoadResults().empty());
  std::string calls = qtest::ReadFile(log_);
  EXPECT_NE(calls.find("load SSH2\nload Telnet\nload Telnet/SSL\n"), std::string::npos) << calls;
  EXPECT_NE(calls.find("unload SSH2\n"), std::string::npos) << calls;
  EXPECT_NE(calls.find("cleanup -\n"), std::string::npos) << calls;
  EXPECT_EQ(calls.find("load TAPI"), std::string::npos) << calls;
}

TEST_F(ProtocolModules, EachFaultyModuleGivesItsCodeAndLeavesNoRow) {
  struct Case {
    const char* form;
    uint32_t code;
  };
  for (const Case& fault : {Case{"wrong_guid", kMsgModuleWrongInterface},
                            Case{"no_load", kMsgModuleUnloadable},
                            Case{"throws", kMsgModuleException},
                            Case{"refuses", 0xE1370001}}) {
    SCOPED_TRACE(fault.form);
    UnloadConnectionProtocolDlls();
    failures_.clear();
    failureInserts_.clear();
    Install("sound", "SSH2.so");
    Install(fault.form, "Telnet.so");
    EXPECT_TRUE(LoadKarvell());  // SSH2 is still available
    EXPECT_EQ(TableNames(), std::vector<std::string>{"SSH2"});
    const ProtocolLoadResult* telnet = Result("Telnet");
    ASSERT_NE(telnet, nullptr);
    EXPECT_EQ(telnet->state, ProtocolRowState::Failed);
    EXPECT_EQ(telnet->error.GetMessageId(), fault.code);
    ASSERT_EQ(failures_, std::vector<uint32_t>{kMsgModuleLoadFailed});
    ASSERT_EQ(failureInserts_[0].GetSize(), 3u);
    EXPECT_EQ(failureInserts_[0][0].ToUtf8(), folder() + "/Telnet.so");
    EXPECT_EQ(failureInserts_[0][1], u"Karvell");
    EXPECT_EQ(failureInserts_[0][2], u"Telnet");
    EXPECT_EQ(report_.GetMessageId(), kMsgModuleLoadFailed);
  }
  // The texts say which module and why, in both languages.
  VStringArray inserts;
  inserts.Add(VUnicodeString(u"/opt/x/Telnet.so"));
  inserts.Add(VUnicodeString(u"no export LoadProtocol"));
  std::string text = VFormatCatalogueMessage(kMsgModuleUnloadable, inserts, true).ToUtf8();
  EXPECT_EQ(text.rfind("The protocol module '/opt/x/Telnet.so' could not be loaded: no export "
                       "LoadProtocol", 0), 0u) << text;
}

TEST_F(ProtocolModules, AModuleOthersCanWriteOrReplaceIsRefusedWithTheReason) {
  Install("sound", "SSH2.so");
  Install("sound", "Telnet.so");
  Install("sound", "RLogin.so");
  fs::permissions(folder() + "/Telnet.so", fs::perms(0666));
  fs::permissions(folder() + "/RLogin.so", fs::perms(0775));
  EXPECT_TRUE(LoadKarvell());
  EXPECT_EQ(TableNames(), std::vector<std::string>{"SSH2"});
  for (const char* name : {"Telnet", "RLogin"}) {
    const ProtocolLoadResult* result = Result(name);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->state, ProtocolRowState::Failed) << name;
    EXPECT_EQ(result->error.GetMessageId(), kMsgModuleUnloadable) << name;
    std::string text = VFormatCatalogueMessage(kMsgModuleUnloadable, result->error.GetInserts(), true).ToUtf8();
    EXPECT_NE(text.find("can be written by other users"), std::string::npos) << text;
  }
  EXPECT_EQ(qtest::ReadFile(log_).find("load Telnet"), std::string::npos);  // its code never ran

  // A folder others may write is refused as a whole.
  UnloadConnectionProtocolDlls();
  fs::permissions(folder() + "/Telnet.so", fs::perms(0755));
  fs::permissions(folder() + "/RLogin.so", fs::perms(0755));
  fs::permissions(folder(), fs::perms(0777));
  EXPECT_FALSE(LoadKarvell());
  EXPECT_EQ(GetConnectProtocolTable().Size(), 0u);
  EXPECT_EQ(report_.GetMessageId(), kMsgNoProtocolLoaded);
  ModuleFileProblem problem;
  std::string real;
  problem = CheckModuleFile(vfs::Env::Default(), folder() + "/SSH2.so", real);
  EXPECT_EQ(problem.messageId, kMsgModuleWritableByOthers);
  EXPECT_EQ(problem.path, fs::canonical(folder()).string());
  fs::permissions(folder(), fs::perms(0755));

  // Only a full path names one file; a bare name would be searched for.
  EXPECT_EQ(CheckModuleFile(vfs::Env::Default(), "SSH2.so", real).messageId, kMsgModuleNotAbsolute);
  EXPECT_EQ(CheckModuleFile(vfs::Env::Default(), folder() + "/SSH2.so", real).messageId, 0u);
  EXPECT_EQ(real, fs::canonical(folder() + "/SSH2.so").string());

  // A file that belongs to someone else (possible to make only as root).
  if (geteuid() == 0) {
    ASSERT_EQ(chown((folder() + "/Telnet.so").c_str(), 4321, 4321), 0);
    EXPECT_EQ(CheckModuleFile(vfs::Env::Default(), folder() + "/Telnet.so", real).messageId,
              kMsgModuleForeignOwner);
  }
}

TEST_F(ProtocolModules, Ssh1NeedsItsMarkerAndFipsRulesOutSsh1AndTls) {
  Install("sound", "SSH2.so");
  Install("sound", "TelnetSSL.so");
  EXPECT_TRUE(LoadKarvell());
  EXPECT_EQ(TableNames(), (std::vector<std::string>{"SSH2", "Telnet/SSL"}));
  UnloadConnectionProtocolDlls();

  qtest::WriteFile(folder() + "/SSH1.enable", "");
  EXPECT_TRUE(LoadKarvell());
  EXPECT_EQ(TableNames(), (std::vector<std::string>{"SSH2", "SSH1", "Telnet/SSL"}));
  EXPECT_EQ(GetConnectProtocolTable().At(1).modulePath.ToUtf8(), folder() + "/SSH2.so");
  UnloadConnectionProtocolDlls();

  EXPECT_TRUE(LoadKarvell(kFipsModeBit));
  EXPECT_EQ(TableNames(), std::vector<std::string>{"SSH2"});
  EXPECT_EQ(Result("SSH1")->state, ProtocolRowState::Skipped);
  EXPECT_EQ(Result("Telnet/SSL")->state, ProtocolRowState::Skipped);
  UnloadConnectionProtocolDlls();

  for (int extra : {kFipsIgnoreForTlsBit, kFipsSystemPolicyBit}) {
    EXPECT_TRUE(LoadKarvell(kFipsModeBit | extra));
    EXPECT_EQ(TableNames(), (std::vector<std::string>{"SSH2", "Telnet/SSL"})) << extra;
    UnloadConnectionProtocolDlls();
  }
}

TEST_F(ProtocolModules, AnAbortStopsTheLoadAndAnEmptyFolderIsReported) {
  Install("throws", "SSH2.so");
  Install("sound", "Telnet.so");
  EXPECT_FALSE(LoadKarvell(0, true));
  EXPECT_TRUE(aborted_);
  EXPECT_EQ(report_.GetMessageId(), kMsgModuleLoadAborted);
  EXPECT_EQ(GetConnectProtocolTable().Size(), 0u);
  EXPECT_EQ(Result("Telnet"), nullptr);  // never tried

  UnloadConnectionProtocolDlls();
  fs::remove(folder() + "/SSH2.so");
  fs::remove(folder() + "/Telnet.so");
  EXPECT_FALSE(LoadKarvell());
  EXPECT_FALSE(aborted_);
  EXPECT_EQ(report_.GetMessageId(), kMsgNoProtocolLoaded);
  ASSERT_EQ(report_.GetInserts().GetSize(), 2u);
  EXPECT_EQ(report_.GetInserts()[0].ToUtf8(), folder());
}

TEST_F(ProtocolModules, TheIntegratedPairLoadsTheSiblingAndForgetsOneWithoutProtocols) {
  Install("sound", "SSH2.so");
  Install("sound", "SFTP.so");
  SetLumbrelInstalled(true);
  ProtocolLoadOptions options;
  options.fipsBits = 0;
  options.onFailure = [](const VReportMessageParams&) { return false; };
  VUnicodeString wide = VUnicodeString::FromUtf8(folder());
  ASSERT_TRUE(LoadConnectionProtocolDlls(nullptr, kProductKarvell, wide, aborted_, report_, options));
  EXPECT_EQ(TableNames(), (std::vector<std::string>{"SSH2", "SFTP"}));
  EXPECT_EQ(GetConnectProtocolTable().Find(u"SFTP", 1), 1);
  EXPECT_TRUE(IsLumbrelInstalled());
  UnloadConnectionProtocolDlls();

  fs::remove(folder() + "/SFTP.so");
  ASSERT_TRUE(LoadConnectionProtocolDlls(nullptr, kProductKarvell, wide, aborted_, report_, options));
  EXPECT_FALSE(IsLumbrelInstalled());  // the sibling had no protocol here

  // Loading the one product alone never touches the sibling.
  UnloadConnectionProtocolDlls();
  SetLumbrelInstalled(true);
  ASSERT_TRUE(LoadSingleProductConnectionProtocolDlls(nullptr, kProductKarvell, wide, aborted_,
                                                      report_, options));
  EXPECT_TRUE(IsLumbrelInstalled());
  SetLumbrelInstalled(false);
}

TEST(FipsPolicy, ReadsTheSystemFileAndTakesNothingElseForAYes) {
  qtest::TempDir dir;
  vfs::Env* env = vfs::Env::Default();
  struct Case {
    const char* bytes;
    bool on;
  };
  for (const Case& c : {Case{"1\n", true}, Case{"0\n", false}, Case{"", false}, Case{"yes\n", false},
                        Case{"2", true}}) {
    qtest::WriteFile(dir / "fips", c.bytes);
    EXPECT_EQ(SystemFipsPolicyEnabled(env, dir / "fips"), c.on) << c.bytes;
  }
  EXPECT_FALSE(SystemFipsPolicyEnabled(env, dir / "absent"));
  EXPECT_FALSE(SystemFipsPolicyEnabled(env, dir.Path()));  // a folder reads as nothing
  // The machine's own file, where it exists, reads as a plain yes or no.
  if (qtest::Exists(kSystemFipsPolicyFile)) {
    bool on = qtest::ReadFile(kSystemFipsPolicyFile).rfind("1", 0) == 0;
    EXPECT_EQ(SystemFipsPolicyEnabled(env), on);
  }
}

}  // namespace
