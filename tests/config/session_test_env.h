// A configuration folder registered as the store of the process for session tests, with the
// user's folders in temporary folders, an empty protocol table, the empty passphrase and no
// shared global configuration before or after each test. A sample terminal protocol can be
// registered; its settings are what a protocol module would keep in a session.
#pragma once

#include <sys/stat.h>

#include <string>

#include "config/session/connect_protocol_table.h"
#include "config/session/session_store.h"
#include "crypto/config_passphrase.h"
#include "global_test_env.h"

class SampleProtocolConfig : public ConnectConfig {
 public:
  explicit SampleProtocolConfig(const VUnicodeString& protocol) : protocol_(protocol) {}
  VUnicodeString GetProtocolName() const override { return protocol_; }
  ConnectConfig* Clone() const override { return new SampleProtocolConfig(*this); }
  bool IsUsable() const override { return !hostname.Current().empty(); }
  const VMemberTable& GetMemberTable() const override {
    static const VMemberRow kRows[] = {
        QL_ROW(SampleProtocolConfig, hostname, u"Hostname"),
        QL_ROW(SampleProtocolConfig, port, u"Port", 22),
        QL_ROW(SampleProtocolConfig, username, u"Username"),
        QL_ROW(SampleProtocolConfig, password, u"Password V2"),
    };
    static const VMemberTable table(kRows);
    return table;
  }

  VProfileString hostname;
  VProfile<int> port;
  VProfileString username;
  VProfileEncryptedString password;

 private:
  SampleProtocolConfig(const SampleProtocolConfig&) = default;
  VUnicodeString protocol_;
};

class SessionFolderTest : public GlobalFolderTest {
 protected:
  void SetUp() override {
    GlobalFolderTest::SetUp();
    ResetConnectProtocolTable();
    SetConfigPassphraseDisabled(false);
    SetConfigPassphrase(u"");
  }
  void TearDown() override {
    ResetConnectProtocolTable();
    SetConfigPassphrase(u"");
    GlobalFolderTest::TearDown();
  }

  // Registers a protocol of the sample kind for `product`.
  static int RegisterSample(const char16_t* name, int product) {
    ConnectProtocolEntry entry;
    entry.protocolName = name;
    entry.productId = product;
    entry.factory = [](const ConnectProtocolEntry& e) -> ConnectConfig* {
      return new SampleProtocolConfig(e.protocolName);
    };
    return GetConnectProtocolTable().Register(entry);
  }
  // The bytes of a session's value file below Sessions (after the byte-order mark).
  std::string Session(const std::string& path) const { return folder_.Lines("Sessions/" + path); }
  void WriteSession(const std::string& path, const std::string& lines) {
    folder_.WriteLines("Sessions/" + path, lines);
  }
  std::string SessionFile(const std::string& path) const {
    return folder_.FilePath("Sessions/" + path);
  }
  VRef<SessionConfig> Open(const char16_t* path) {
    VReportMessageParams error;
    return VRef<SessionConfig>(OpenSessionByPath(VUnicodeString(path), error));
  }
  bool SaveAt(SessionConfig& session, const char16_t* path, bool force) {
    VReportMessageParams error;
    return SaveSessionAtPath(session, VUnicodeString(path), force, error);
  }
  static bool Has(const std::string& lines, const std::string& line) {
    return lines.find(line + "\r\n") != std::string::npos;
  }

  qtest::TempDir user_;
  qtest::ScopedEnv home_{"HOME", user_ / "home"};
  qtest::ScopedEnv config_{"XDG_CONFIG_HOME", user_ / "config"};
  qtest::ScopedEnv data_{"XDG_DATA_HOME", user_ / "data"};
};
