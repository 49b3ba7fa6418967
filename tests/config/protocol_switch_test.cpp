// Choosing another protocol for a session part: the protocol starts from the values the
// session's key already holds for it, so that its defaults never overwrite them at the save.
#include <gtest/gtest.h>

#include "session_test_env.h"
#include "storage/values/stored_values_key.h"

namespace {

class ProtocolSwitch : public SessionFolderTest {};

TEST_F(ProtocolSwitch, ANewlyChosenProtocolStartsFromWhatTheKeyHolds) {
  RegisterSample(u"SSH2", 3);
  RegisterSample(u"Telnet", 3);
  RegisterSample(u"SFTP", 6);
  // Stored while no protocol was in use: the values belong to no part yet.
  WriteSession("db1", "D:\"Is Session\"=00000001\r\nS:\"Protocol Name\"=None\r\n"
                      "S:\"Transfer Protocol Name\"=None\r\nS:\"Hostname\"=db1\r\n"
                      "D:\"Port\"=00000922\r\nS:\"Username\"=me\r\n");
  VRef<SessionConfig> session = Open(u"db1");
  VReportMessageParams error;
  ASSERT_TRUE(session->SetTerminalProtocol(VUnicodeString(u"SSH2"), error));
  auto* ssh = dynamic_cast<SampleProtocolConfig*>(session->GetTerminalConnectConfig());
  ASSERT_NE(ssh, nullptr);
  EXPECT_EQ(ssh->hostname.Current(), u"db1");
  EXPECT_EQ(ssh->port.current, 0x922);
  EXPECT_EQ(ssh->username.Current(), u"me");

  // The other part takes the values it shares with the first (one value of the key each),
  // including an edit not saved yet.
  ssh->hostname = VUnicodeString(u"db1.example.com");
  ASSERT_TRUE(session->SetTransferProtocol(VUnicodeString(u"SFTP"), error));
  auto* sftp = dynamic_cast<SampleProtocolConfig*>(session->GetTransferConnectConfig());
  ASSERT_NE(sftp, nullptr);
  EXPECT_EQ(sftp->hostname.Current(), u"db1.example.com");
  ASSERT_TRUE(SaveAt(*session.Get(), u"db1", false));
  std::string saved = Session("db1");
  for (const char* line : {"S:\"Protocol Name\"=SSH2", "S:\"Transfer Protocol Name\"=SFTP",
                           "S:\"Hostname\"=db1.example.com", "D:\"Port\"=00000922",
                           "S:\"Username\"=me"})
    EXPECT_TRUE(Has(saved, line)) << line << "\n" << saved;

  // Going back to a protocol used before keeps its own edited values.
  ssh->port = 2200;
  ASSERT_TRUE(session->SetTerminalProtocol(VUnicodeString(u"Telnet"), error));
  ASSERT_TRUE(session->SetTerminalProtocol(VUnicodeString(u"SSH2"), error));
  EXPECT_EQ(dynamic_cast<SampleProtocolConfig*>(session->GetTerminalConnectConfig())->port.current, 2200);
}

TEST(StoredValuesKey, ServesItsValuesByKindAndRefusesWrites) {
  std::unique_ptr<VProfileKey> key = MakeStoredValuesKey(
      {{u"Port", VStoredValue::Dword(22)}, {u"Host", VStoredValue::String(VUnicodeString(u"a"))},
       {u"port", VStoredValue::Dword(99)}, {u"Blob", VStoredValue::Binary({1, 2, 3})}});
  VDword number = 0;
  EXPECT_TRUE(key->ReadDword(u"PORT", number));
  EXPECT_EQ(number, 22u);  // the first of a name
  VUnicodeString text;
  EXPECT_FALSE(key->ReadString(u"Port", text));  // another kind
  EXPECT_TRUE(key->ReadString(u"host", text));
  EXPECT_EQ(text, u"a");
  VDword size = 0;
  EXPECT_TRUE(key->ReadBinary(u"Blob", nullptr, size));
  EXPECT_EQ(size, 3u);
  uint8_t small[2];
  size = 2;
  EXPECT_FALSE(key->ReadBinary(u"Blob", small, size));
  EXPECT_FALSE(key->WriteDword(u"Port", 1));
  EXPECT_FALSE(key->CanWrite());
  EXPECT_FALSE(key->ReadDword(u"Absent", number));
}

}  // namespace
