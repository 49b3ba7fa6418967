// The pages each protocol module of the project describes for the Session Options dialog: the
// real module files, loaded as a host loads them, each describing pages over its own settings.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "config/session/connect_protocol_table.h"
#include "config/session/protocol_page_set.h"
#include "environment/protocol_modules.h"
#include "support/project_modules.h"
#include "support/test_support.h"

namespace {

class ModulePages : public ::testing::Test {
 protected:
  void SetUp() override {
    UnloadConnectionProtocolDlls();
    ResetConnectProtocolTable();
    ASSERT_TRUE(qtest::LoadProjectModules(dir_ / "install", true));
  }
  void TearDown() override { UnloadConnectionProtocolDlls(); }

  const ConnectProtocolEntry* Entry(const char16_t* name) {
    ConnectProtocolTable& table = GetConnectProtocolTable();
    int index = table.Find(name);
    return index < 0 ? nullptr : &table.At(index);
  }

  // The fields of every page of the protocol, by stored name.
  std::map<std::u16string, const ProtocolField*> Fields(const char16_t* protocol) {
    std::map<std::u16string, const ProtocolField*> fields;
    const ConnectProtocolEntry* entry = Entry(protocol);
    if (!entry) return fields;
    const ProtocolPageSet* set = entry->callbacks.describePages(*entry);
    if (!set) return fields;
    for (const ProtocolPage& page : set->pages) {
      for (const ProtocolField& field : page.fields) fields[field.setting] = &field;
    }
    return fields;
  }

  qtest::TempDir dir_;
};

TEST_F(ModulePages, EveryProtocolDescribesPagesOverOnlyItsOwnSettings) {
  ConnectProtocolTable& table = GetConnectProtocolTable();
  std::set<std::string> described;
  for (size_t i = 0; i < table.Size(); ++i) {
    const ConnectProtocolEntry& entry = table.At(i);
    std::string name = entry.protocolName.ToUtf8();
    const ProtocolPageSet* set = entry.callbacks.describePages(entry);
    ASSERT_NE(set, nullptr) << name;
    ASSERT_FALSE(set->pages.empty()) << name;
    VRef<ConnectConfig> config(entry.CreateConfig());
    ASSERT_NE(config.Get(), nullptr) << name;
    for (const VUnicodeString& problem : ProtocolPageSetProblems(*set, *config.Get()))
      ADD_FAILURE() << name << ": " << problem.ToUtf8();
    // Loaded objects name their settings the same way.
    config->LoadConfig(nullptr, nullptr, entry.productId);
    EXPECT_TRUE(ProtocolPageSetProblems(*set, *config.Get()).empty()) << name;
    described.insert(name);
  }
  std::set<std::string> expected = {"SSH2",  "SSH1", "Telnet", "Telnet/SSL",
                                    "RLogin", "Serial", "Raw",   "SFTP",
                                    "FTP",   "FTP/SSL (implicit)", "FTP/SSL (explicit)", "SCP"};
  for (const std::string& name : expected) EXPECT_EQ(described.count(name), 1u) << name;
}

TEST_F(ModulePages, RemoteProtocolsAskForAHostAndAPortInRange) {
  for (const char16_t* protocol : {u"SSH2", u"SSH1", u"Telnet", u"Telnet/SSL", u"RLogin", u"Raw",
                                   u"SFTP", u"FTP", u"FTP/SSL (explicit)", u"SCP"}) {
    auto fields = Fields(protocol);
    std::string name = VUnicodeString(protocol).ToUtf8();
    ASSERT_TRUE(fields.count(u"Hostname")) << name;
    EXPECT_TRUE(fields[u"Hostname"]->required) << name;
    const ProtocolField* port = nullptr;
    for (auto& [setting, field] : fields) {
      if (setting.size() > 5 && setting.substr(setting.size() - 5) == u" Port") port = field;
    }
    ASSERT_NE(port, nullptr) << name;
    EXPECT_EQ(port->kind, ProtocolFieldKind::Number) << name;
    EXPECT_EQ(port->minimum, 1) << name;
    EXPECT_EQ(port->maximum, 65535) << name;
  }
  // SSH2: the user and how they authenticate, the password masked.
  auto ssh2 = Fields(u"SSH2");
  for (const char16_t* setting : {u"Username", u"Password V2", u"Identity Filename V2",
                                  u"[SSH2] Authentication Methods"})
    EXPECT_TRUE(ssh2.count(setting)) << VUnicodeString(setting).ToUtf8();
  EXPECT_EQ(ssh2[u"Password V2"]->kind, ProtocolFieldKind::Password);
  EXPECT_EQ(ssh2[u"Identity Filename V2"]->kind, ProtocolFieldKind::File);
  // Raw has no password to ask for.
  EXPECT_FALSE(Fields(u"Raw").count(u"Password V2"));
}

TEST_F(ModulePages, SerialDescribesTheDeviceSettings) {
  auto serial = Fields(u"Serial");
  for (const char16_t* setting :
       {u"[Serial] Device", u"[Serial] Baud Rate", u"[Serial] Data Bits", u"[Serial] Parity",
        u"[Serial] Stop Bits", u"[Serial] DSR Flow", u"[Serial] CTS Flow", u"[Serial] XON Flow",
        u"[Serial] DTR Flow Control", u"[Serial] RTS Flow Control"})
    EXPECT_TRUE(serial.count(setting)) << VUnicodeString(setting).ToUtf8();
  EXPECT_TRUE(serial[u"[Serial] Device"]->required);
  // Parity takes the five values of the device settings, in their order.
  const ProtocolField* parity = serial[u"[Serial] Parity"];
  ASSERT_EQ(parity->kind, ProtocolFieldKind::Choice);
  ASSERT_EQ(parity->choices.size(), 5u);
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(parity->choices[i].value, static_cast<int64_t>(i));
  EXPECT_FALSE(serial.count(u"Hostname"));
}

TEST_F(ModulePages, ADescriptionNamingWhatTheObjectLacksIsFound) {
  const ConnectProtocolEntry* telnet = Entry(u"Telnet");
  ASSERT_NE(telnet, nullptr);
  VRef<ConnectConfig> config(telnet->CreateConfig());
  static constexpr ProtocolField kFields[] = {
      {u"[SSH2] Port", 1, ProtocolFieldKind::Number, false, 1, 65535},  // another protocol's
      {u"[Telnet] Binary Mode", 2, ProtocolFieldKind::Text},            // a bool as a text
      {u"Hostname", 0, ProtocolFieldKind::Text},                        // no label
      {u"[Telnet] Port", 3, ProtocolFieldKind::Choice},                 // no choices
  };
  static constexpr ProtocolPage kPages[] = {{0, -1, kFields}, {0, 1, kFields}};
  std::vector<VUnicodeString> problems = ProtocolPageSetProblems({kPages}, *config.Get());
  std::string all;
  for (const VUnicodeString& problem : problems) all += problem.ToUtf8() + "\n";
  EXPECT_NE(all.find("[SSH2] Port\": no such setting"), std::string::npos) << all;
  EXPECT_NE(all.find("[Telnet] Binary Mode\": the setting is of another kind"), std::string::npos)
      << all;
  EXPECT_NE(all.find("Hostname\": no label"), std::string::npos) << all;
  EXPECT_NE(all.find("[Telnet] Port\": a choice without choices"), std::string::npos) << all;
  EXPECT_NE(all.find("page 1: its parent is not an earlier page"), std::string::npos) << all;
}

}  // namespace
