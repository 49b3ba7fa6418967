// Sessions over real configuration folders: defaults taken from the global configuration, the
// terminal rules, tri-states, older forms carried over, protocols that are not loaded, and a
// session that survives a load and a save unchanged.
#include <sys/stat.h>

#include "config/parts/emulation_table.h"
#include "crypto/capi_form.h"
#include "crypto/encoded_form.h"
#include "report/message_router.h"
#include "session_test_env.h"

namespace {

using SessionConfigTest = SessionFolderTest;

TEST_F(SessionConfigTest, SendDelaysComeFromTheGlobalConfigurationAndAreWrittenAtTheNextSave) {
  folder_.WriteLines("Global", "D:\"Line Send Delay\"=00000007\r\nD:\"Character Send Delay\"=00000003\r\n");
  WriteSession("router1", "D:\"Is Session\"=00000001\r\nD:\"Rows\"=00000030\r\n");
  VRef<SessionConfig> session = Open(u"router1");
  ASSERT_TRUE(session);
  EXPECT_EQ(session->lineSendDelay.current, 7);
  EXPECT_EQ(session->characterSendDelay.current, 3);
  EXPECT_EQ(session->terminal.rows.current, 48);
  ASSERT_TRUE(SaveAt(*session.Get(), u"router1", false));
  std::string lines = Session("router1");
  EXPECT_TRUE(Has(lines, "D:\"Line Send Delay\"=00000007"));
  EXPECT_TRUE(Has(lines, "D:\"Character Send Delay\"=00000003"));
  EXPECT_TRUE(Has(lines, "D:\"Rows\"=00000030"));
  EXPECT_TRUE(Has(lines, "S:\"ZModem Receive Command\"=rz\\r"));
  EXPECT_TRUE(Has(lines, "Z:\"SCP Shell Prompts\"=00000001"));
  // A delay the session has is its own.
  FreeGlobalConfig();
  folder_.WriteLines("Global", "D:\"Line Send Delay\"=00000009\r\n");
  EXPECT_EQ(Open(u"router1")->lineSendDelay.current, 7);
}

TEST_F(SessionConfigTest, TerminalRulesFixTheScreenOfA3270AndTheNamesOfEmulations) {
  WriteSession("mainframe", "D:\"Is Session\"=00000001\r\nS:\"Emulation\"=tn3270\r\n"
                            "S:\"Terminal Type\"=IBM-3278-4\r\nD:\"Rows\"=00000018\r\n"
                            "D:\"Cols\"=00000084\r\n");
  VRef<SessionConfig> session = Open(u"mainframe");
  EXPECT_EQ(session->terminal.emulation.Current(), u"TN3270");
  EXPECT_EQ(session->terminal.rows.current, 43);
  EXPECT_EQ(session->terminal.cols.current, 80);

  WriteSession("mainframe", "D:\"Is Session\"=00000001\r\nS:\"Emulation\"=TN3270\r\n"
                            "S:\"Terminal Type\"=IBM-9999\r\nD:\"Rows\"=00000018\r\n");
  session = Open(u"mainframe");
  EXPECT_EQ(session->terminal.terminalType.Current(), u"IBM-3278-2");
  EXPECT_EQ(session->terminal.rows.current, 24);
  EXPECT_EQ(session->terminal.cols.current, 80);
  ASSERT_TRUE(SaveAt(*session.Get(), u"mainframe", false));
  EXPECT_TRUE(Has(Session("mainframe"), "S:\"Terminal Type\"=IBM-3278-2"));

  // The older spelling, an unknown name, and an emulation this installation does not have.
  for (auto [stored, loaded] : {std::pair{"SCO-ANSI", u"SCOANSI"}, std::pair{"vt220", u"VT220"},
                                std::pair{"Wyse999", u"Xterm"}, std::pair{"Hollin", u"Xterm"}}) {
    WriteSession("s", std::string("D:\"Is Session\"=00000001\r\nS:\"Emulation\"=") + stored + "\r\n");
    EXPECT_EQ(Open(u"s")->terminal.emulation.Current(), loaded) << stored;
  }
  EXPECT_FALSE(HasHollinEmulation());
  BuildEmulationTable(true);
  EXPECT_TRUE(HasHollinEmulation());
  EXPECT_EQ(Open(u"s")->terminal.emulation.Current(), u"Hollin");
  BuildEmulationTable(false);

  // Before the flag, 256 colours were asked for with the terminal type.
  WriteSession("s", "D:\"Is Session\"=00000001\r\nS:\"Terminal Type\"=xterm-256COLOR\r\n"
                    "D:\"Sync View Rows\"=00000000\r\nD:\"Sync View Cols\"=00000000\r\n"
                    "D:\"Enable 80/132 Column Switching\"=00000000\r\n");
  session = Open(u"s");
  EXPECT_TRUE(session->terminal.enableXterm256Color.current);
  EXPECT_EQ(session->terminal.terminalType.Current(), u"");
  EXPECT_EQ(session->terminal.resizeMode.current, 2);
  EXPECT_FALSE(session->terminal.enable80132ColumnSwitching.current);
  WriteSession("s", "D:\"Is Session\"=00000001\r\nS:\"Terminal Type\"=Xterm-256color\r\n"
                    "D:\"Enable Xterm-256color\"=00000000\r\nD:\"Highlighting Style\"=00000005\r\n");
  session = Open(u"s");
  EXPECT_FALSE(session->terminal.enableXterm256Color.current);
  EXPECT_EQ(session->terminal.terminalType.Current(), u"Xterm-256color");
  EXPECT_EQ(session->terminal.resizeMode.current, 0);
  EXPECT_TRUE(session->highlightReverseVideo.current);
  EXPECT_FALSE(session->highlightBold.current);
  EXPECT_TRUE(session->highlightColor.current);
}

TEST_F(SessionConfigTest, TriStatesKeepEachOfTheirThreeValues) {
  WriteSession("s", "D:\"Is Session\"=00000001\r\n");
  VRef<SessionConfig> session = Open(u"s");
  EXPECT_EQ(session->disableResize.current, TriStateNotSet);
  EXPECT_EQ(session->terminal.verticalScrollbar.current, TriStateNotSet);
  VReportMessageParams error;
  ASSERT_TRUE(session->SetSetting(u"Disable Resize", VUnicodeString(u"0"), error));
  ASSERT_TRUE(session->SetSetting(u"Auto Reconnect", VUnicodeString(u"1"), error));
  ASSERT_TRUE(session->SetSetting(u"Vertical Scrollbar", VUnicodeString(u"2"), error));
  EXPECT_FALSE(session->SetSetting(u"Resolve Symbolic Links", VUnicodeString(u"3"), error));
  ASSERT_TRUE(SaveAt(*session.Get(), u"s", false));
  std::string lines = Session("s");
  EXPECT_TRUE(Has(lines, "D:\"Disable Resize\"=00000000"));
  EXPECT_TRUE(Has(lines, "D:\"Auto Reconnect\"=00000001"));
  EXPECT_TRUE(Has(lines, "D:\"Vertical Scrollbar\"=00000002"));
  EXPECT_TRUE(Has(lines, "D:\"Resolve Symbolic Links\"=00000002"));
  session = Open(u"s");
  EXPECT_EQ(session->disableResize.current, TriStateOff);
  EXPECT_EQ(session->autoReconnect.current, TriStateOn);
  EXPECT_EQ(session->terminal.verticalScrollbar.current, TriStateNotSet);
  EXPECT_FALSE(session->IsModified());
}

TEST_F(SessionConfigTest, OlderSecretsAreCarriedAndTheOldCopyBlankedOnlyOnceTheNewIsWritten) {
  VUnicodeString script, encoded;
  script = ProfileExpectSendList::ToText({{u"ogin:", u"me", false}, {u"assword:", u"pw", true}});
  VReportMessageParams error;
  ASSERT_TRUE(EncodeScrambledHex(script, encoded, error));
  std::string lines = "D:\"Is Session\"=00000001\r\nS:\"Login Script V2\"=" + encoded.ToUtf8() +
                      "\r\nS:\"Login Script\"=0\x1Fold\x1Fignored\x1F\r\n";
  WriteSession("s", lines);
  // A session that cannot be written keeps its older copy.
  chmod(SessionFile("s").c_str(), 0444);
  VRef<SessionConfig> session = Open(u"s");
  ASSERT_TRUE(session);
  std::vector<ExpectSendEntry> entries = session->loginScript.GetEntries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1].send, u"pw");
  EXPECT_TRUE(entries[1].hide);
  EXPECT_FALSE(SaveAt(*session.Get(), u"s", false));
  EXPECT_EQ(Session("s"), lines);

  chmod(SessionFile("s").c_str(), 0644);
  session = Open(u"s");
  ASSERT_TRUE(SaveAt(*session.Get(), u"s", false));
  std::string saved = Session("s");
  EXPECT_TRUE(Has(saved, "S:\"Login Script V2\"="));
  EXPECT_NE(saved.find("S:\"Login Script V3\"=02:"), std::string::npos);
  // The oldest form is not looked at while the next one existed; it is left alone.
  EXPECT_NE(saved.find("S:\"Login Script\"=0\x1F" "old"), std::string::npos);
  EXPECT_EQ(Open(u"s")->loginScript.GetEntries(), entries);

  // The oldest form alone is carried too; a monitor password in the per-user form as well.
  VUnicodeString capi;
  ASSERT_TRUE(EncodeCapiForm(u"monitor-secret", capi, error));
  WriteSession("t", "D:\"Is Session\"=00000001\r\nS:\"Login Script\"=0\x1Fhost>\x1Fls\x1F\r\n"
                    "S:\"Monitor Password\"=" + capi.ToUtf8() + "\r\n");
  session = Open(u"t");
  ASSERT_TRUE(SaveAt(*session.Get(), u"t", false));
  saved = Session("t");
  EXPECT_TRUE(Has(saved, "S:\"Login Script\"="));
  EXPECT_TRUE(Has(saved, "S:\"Monitor Password\"="));
  session = Open(u"t");
  EXPECT_EQ(session->monitorPassword.GetPlaintext(), u"monitor-secret");
  ASSERT_EQ(session->loginScript.GetEntries().size(), 1u);
  EXPECT_EQ(session->loginScript.GetEntries()[0].expect, u"host>");
}

// Records the messages routed while it is installed.
class CollectingDestination : public VReportMessageDestination {
 public:
  void HandleMessage(IReportMessageParams& message) override {
    texts.push_back(message.GetTextTrimmed().ToUtf8());
  }
  std::vector<std::string> texts;
};
CollectingDestination* gDestination = nullptr;
VReportMessageRouter* CollectingRouter() {
  static VSimpleReportRouter router;
  static bool added = false;
  if (!added) added = router.AddDestination(gDestination);
  return &router;
}

TEST_F(SessionConfigTest, AProtocolThatIsNotLoadedKeepsTheUsersChoiceAndItsSettings) {
  CollectingDestination destination;
  gDestination = &destination;
  VSetReportRouterGetter(&CollectingRouter);
  RegisterSample(u"SSH2", 3);
  RegisterSample(u"SFTP", 6);
  std::string lines =
      "S:\"Password V2\"=02:00\r\nD:\"Is Session\"=00000001\r\nS:\"Protocol Name\"=Telnet\r\n"
      "S:\"Hostname\"=router1\r\nD:\"Port\"=00000017\r\nD:\"Telnet Option\"=00000001\r\n";
  WriteSession("old", lines);
  VRef<SessionConfig> session = Open(u"old");
  VSetReportRouterGetter(nullptr);
  ASSERT_EQ(destination.texts.size(), 1u);
  EXPECT_EQ(destination.texts[0], "Unknown protocol \"Telnet\" using default protocol.");
  EXPECT_EQ(session->GetTerminalProtocolName(), u"SSH2");
  EXPECT_EQ(session->GetTransferProtocolName(), u"SFTP");
  EXPECT_TRUE(session->terminalPart.IsUsingFallback());
  ASSERT_TRUE(SaveAt(*session.Get(), u"old", true));
  std::string saved = Session("old");
  for (const char* line : {"S:\"Protocol Name\"=Telnet", "S:\"Hostname\"=router1",
                           "D:\"Port\"=00000017", "S:\"Password V2\"=02:00",
                           "D:\"Telnet Option\"=00000001", "S:\"Transfer Protocol Name\"=SFTP"})
    EXPECT_TRUE(Has(saved, line)) << line;

  // A copy elsewhere carries them too.
  VRef<SessionConfig> copy(static_cast<SessionConfig*>(session->Clone()));
  copy->SetSessionName(VUnicodeString(u"copy"));
  ASSERT_TRUE(SaveAt(*copy.Get(), u"copy", true));
  saved = Session("copy");
  for (const char* line : {"S:\"Protocol Name\"=Telnet", "D:\"Port\"=00000017",
                           "D:\"Telnet Option\"=00000001"})
    EXPECT_TRUE(Has(saved, line)) << line;

  // Only a protocol the user chooses changes the stored name; the module's values stay.
  VReportMessageParams error;
  EXPECT_FALSE(session->SetTerminalProtocol(VUnicodeString(u"Telnet"), error));
  ASSERT_TRUE(session->SetTerminalProtocol(VUnicodeString(u"ssh2"), error));
  auto* ssh = dynamic_cast<SampleProtocolConfig*>(session->GetTerminalConnectConfig());
  ASSERT_NE(ssh, nullptr);
  ssh->hostname = VUnicodeString(u"router2");
  ASSERT_TRUE(SaveAt(*session.Get(), u"old", false));
  saved = Session("old");
  EXPECT_TRUE(Has(saved, "S:\"Protocol Name\"=SSH2"));
  EXPECT_TRUE(Has(saved, "S:\"Hostname\"=router2"));
  EXPECT_TRUE(Has(saved, "D:\"Telnet Option\"=00000001"));
}

TEST_F(SessionConfigTest, ASessionWithoutProtocolGetsTheFirstOfItsKindOrNone) {
  WriteSession("s", "D:\"Is Session\"=00000001\r\n");
  VRef<SessionConfig> session = Open(u"s");
  EXPECT_EQ(session->GetTerminalProtocolName(), u"None");
  EXPECT_FALSE(session->IsTerminalPartUsable());
  EXPECT_EQ(session->GetProtocolSummary(), u"SSH2");
  RegisterSample(u"SSH2", 8);
  RegisterSample(u"Serial", 3);
  session = Open(u"s");
  EXPECT_EQ(session->GetTerminalProtocolName(), u"SSH2");
  EXPECT_EQ(session->GetTransferProtocolName(), u"None");
  EXPECT_FALSE(session->IsTerminalPartUsable());
  session->FindSetting(u"Hostname");
  VReportMessageParams error;
  ASSERT_TRUE(dynamic_cast<SampleProtocolConfig*>(session->GetCurrentConnectConfig()));
  ASSERT_TRUE(session->SetSetting(u"Emulation", VUnicodeString(u"VT100"), error));
  ASSERT_TRUE(SaveAt(*session.Get(), u"s", false));
  std::string lines = Session("s");
  EXPECT_TRUE(Has(lines, "S:\"Protocol Name\"=SSH2"));
  EXPECT_TRUE(Has(lines, "S:\"Transfer Protocol Name\"=None"));
  EXPECT_TRUE(Has(lines, "D:\"Port\"=00000016"));
}

TEST_F(SessionConfigTest, ASessionHoldingEveryKindOfValueSurvivesLoadAndSaveByteForByte) {
  RegisterSample(u"SSH2", 3);
  WriteSession("full", "D:\"Is Session\"=00000001\r\nS:\"Protocol Name\"=SSH2\r\n");
  VRef<SessionConfig> session = Open(u"full");
  VReportMessageParams error;
  for (auto [name, value] : {std::pair{u"Description", u"line one\r\nline two"},
                             std::pair{u"Monitor Password V2", u"pw"},
                             std::pair{u"Login Script V3", u"1\x1Fogin:\x1Fme\x1F"},
                             std::pair{u"Disable Resize", u"1"},
                             std::pair{u"Upload Directory", u"${TLV_USER_DATA_PATH}/up"}})
    EXPECT_TRUE(session->SetSetting(name, VUnicodeString(value), error)) << vtext::ToUtf8(name);
  auto* ssh = dynamic_cast<SampleProtocolConfig*>(session->GetTerminalConnectConfig());
  ASSERT_NE(ssh, nullptr);
  ssh->hostname = VUnicodeString(u"h");
  ASSERT_TRUE(ssh->password.SetPlaintext(u"secret"));
  ASSERT_TRUE(session->SetSetting(u"Lumbrel Bookmarks", VStringArray{u"/a", u"/b"}, error));
  ASSERT_TRUE(session->SetSetting(u"Keymap v4", VStringArray{u"VK_F1 SEND x"}, error));
  ASSERT_TRUE(SaveAt(*session.Get(), u"full", true));
  // Values no part knows, of every kind, where the store puts them (lists last).
  std::string lines = Session("full");
  size_t lists = lines.find("Z:");
  ASSERT_NE(lists, std::string::npos);
  lines.insert(lists, "D:\"Future Number\"=0000002a\r\nS:\"Future Text\"=t\r\n"
                      "B:\"Future Bytes\"=00000002\r\n 01 02\r\n");
  lines += "Z:\"Keymap v3\"=00000001\r\n x\r\n";
  WriteSession("full", lines);
  const std::string before = qtest::ReadFile(SessionFile("full"));
  for (bool force : {false, true}) {
    session = Open(u"full");
    EXPECT_FALSE(session->IsModified());
    ASSERT_TRUE(SaveAt(*session.Get(), u"full", force));
    EXPECT_EQ(qtest::ReadFile(SessionFile("full")), before) << force;
  }
  // A copy into a new key writes the same values.
  VRef<SessionConfig> copy(static_cast<SessionConfig*>(session->Clone()));
  ASSERT_TRUE(SaveAt(*copy.Get(), u"again", true));
  EXPECT_EQ(Session("again").size(), Session("full").size());
  EXPECT_TRUE(Has(Session("again"), "D:\"Future Number\"=0000002a"));
}

}  // namespace
