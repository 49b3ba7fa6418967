// Message texts: the formatter's syntax, the catalogue search, the fallback and the text forms.
#include <gtest/gtest.h>

#include <regex>

#include "report/message_formatter.h"
#include "report/report_message_params.h"
#include "support/test_support.h"

namespace {

class Messages : public ::testing::Test {
 protected:
  void SetUp() override { VSetMessageLanguage(VLanguage::English); }
  void TearDown() override { VResetMessageLanguage(); }
};

std::u16string Format(std::u16string_view pattern, std::vector<VFormatArg> args, int width = 0) {
  std::u16string out;
  EXPECT_TRUE(VFormatMessageText(pattern, &args, width, out));
  return out;
}

TEST_F(Messages, FormatterFollowsTheMessageSyntax) {
  EXPECT_EQ(Format(u"%1 and %2", {VFormatArg::Text(u"a"), VFormatArg::Text(u"b")}), u"a and b");
  EXPECT_EQ(Format(u"%2%1", {VFormatArg::Text(u"a"), VFormatArg::Text(u"b")}), u"ba");
  EXPECT_EQ(Format(u"0x%1!08x!", {VFormatArg::Number(250)}), u"0x000000fa");
  EXPECT_EQ(Format(u"%1!d!", {VFormatArg::Number(0xFFFFFFFF)}), u"-1");
  EXPECT_EQ(Format(u"%1!u!", {VFormatArg::Number(0xFFFFFFFF)}), u"4294967295");
  EXPECT_EQ(Format(u"%1!I64u!", {VFormatArg::Number64(1ull << 40)}), u"1099511627776");
  EXPECT_EQ(Format(u"%1!02X!", {VFormatArg::Number(10)}), u"0A");
  EXPECT_EQ(Format(u"[%1!-4s!]", {VFormatArg::Text(u"ab")}), u"[ab  ]");
  EXPECT_EQ(Format(u"%1!hu!", {VFormatArg::Number(70000)}), u"4464");
  EXPECT_EQ(Format(u"100%% %. %! a%tb%rc%nd", {}), u"100% . ! a\tb\rc\r\nd");
  EXPECT_EQ(Format(u"line one\r\nline two\r\n%0", {}), u"line one\r\nline two\r\n");
  EXPECT_EQ(Format(u"stop%0 here", {}), u"stop");
  EXPECT_EQ(Format(u"%11", {VFormatArg::Text(u"1"), VFormatArg::Text(u"2"), VFormatArg::Text(u"3"),
                            VFormatArg::Text(u"4"), VFormatArg::Text(u"5"), VFormatArg::Text(u"6"),
                            VFormatArg::Text(u"7"), VFormatArg::Text(u"8"), VFormatArg::Text(u"9"),
                            VFormatArg::Text(u"10"), VFormatArg::Text(u"eleven")}),
            u"eleven");
  // One line: the text's own breaks become spaces, hard breaks stay.
  EXPECT_EQ(Format(u"a\r\nb\r\n", {}, kMaxWidthOneLine), u"a b ");
  EXPECT_EQ(Format(u"a%nb\r\n", {}, kMaxWidthOneLine), u"a\r\nb ");

  std::u16string out;
  std::vector<VFormatArg> one = {VFormatArg::Text(u"x")};
  EXPECT_FALSE(VFormatMessageText(u"%1 %2", &one, 0, out));
  EXPECT_FALSE(VFormatMessageText(u"%1!08q!", &one, 0, out));
  EXPECT_FALSE(VFormatMessageText(u"%1!08x", &one, 0, out));
  EXPECT_TRUE(VFormatMessageText(u"%1 %2!d!", nullptr, 0, out));
  EXPECT_EQ(out, u"%1 %2!d!");
}

TEST_F(Messages, CatalogueTextsAndTheirForms) {
  VReportMessageParams message(0xE138000B);
  message.AddInsert(u"session");
  message.AddInsert(u"*");
  EXPECT_EQ(message.GetText(), u"The session name contains an illegal character: ' * '.\r\n");
  EXPECT_EQ(message.GetTextLength(), message.GetText().size());
  EXPECT_EQ(message.GetTextTrimmed(), u"The session name contains an illegal character: ' * '.");
  EXPECT_EQ(message.GetTextOneLineTrimmed(), u"The session name contains an illegal character: ' * '.");

  // A multi-line text keeps its lines, or becomes one line.
  VReportMessageParams prompt(0x6138003D);
  prompt.AddInsert(u"Karvell");
  EXPECT_EQ(prompt.GetTextTrimmed(),
            u"Do you want to change/reset the configuration passphrase the next time Karvell starts?\r\n"
            u"\r\nIMPORTANT: All instances of Karvell will need to exit before the passphrase can be "
            u"changed/reset.");
  EXPECT_EQ(prompt.GetTextOneLine().find(u'\n'), std::u16string::npos);
  EXPECT_EQ(prompt.GetTextOneLine().back(), u' ');
  EXPECT_NE(prompt.GetTextOneLineTrimmed().back(), u' ');

  VSetMessageLanguage(VLanguage::French);
  VReportMessageParams french(0xE138002F);
  EXPECT_EQ(french.GetTextTrimmed(), u"Les phrases de passe ne correspondent pas.");
}

TEST_F(Messages, TooFewInsertsLeaveTheMarkersAndUnknownIdsFallBackToTheStandInText) {
  VReportMessageParams few(0xE138000D);
  few.AddInsert(u"session");
  EXPECT_EQ(few.GetTextTrimmed(), u"The %1 name '%2' already exists.");
  VReportMessageParams message(0xE1389999);
  EXPECT_EQ(message.GetText(), u"Could not retrieve the error text for error code 0xe1389999.\r\n");
  VReportMessageParams system(0x12345);
  EXPECT_EQ(system.GetTextTrimmed(), u"Could not retrieve the error text for error code 0x00012345.");
  // Trimming a text without a final line break changes nothing.
  VReportMessageParams trimmedTwice(0xE138002F);
  EXPECT_EQ(trimmedTwice.GetTextTrimmed(), trimmedTwice.GetTextTrimmed());
}

TEST_F(Messages, SystemAndHostCataloguesAreSearched) {
  VReportMessageParams denied(5);
  EXPECT_EQ(denied.GetTextTrimmed(), u"Access is denied.");
  // Texts of the shared ranges live with the host; test programs link the host's texts.
  VReportMessageParams host(0xE104006A);
  host.AddInsert(u"Hostname");
  EXPECT_NE(host.GetText().find(u"Hostname"), std::u16string::npos);
  EXPECT_EQ(host.GetText().find(u"Could not retrieve"), std::u16string::npos);
}

TEST_F(Messages, ResetAssignInsertsAndContext) {
  VReportMessageParams message(0xE138000A);
  message.SetTopic(7);
  message.SetUserValue(42);
  message.AddInsertFormatted(u"%1!d!", static_cast<uint32_t>(-5));
  message.AddInsertFormatted64(u"%1!I64x!", 0xABCDEF0123ull);
  message.AddInsertNarrow("caf\xE9");
  EXPECT_EQ(message.GetInserts()[0], u"-5");
  EXPECT_EQ(message.GetInserts()[1], u"abcdef0123");
  EXPECT_EQ(message.GetInserts()[2], u"caf\u00e9");
  VReportMessageParams copy;
  copy.Assign(message);
  EXPECT_EQ(copy.GetMessageId(), 0xE138000Au);
  EXPECT_EQ(copy.GetTopic(), 7);
  EXPECT_EQ(copy.GetUserValue(), 42u);
  EXPECT_EQ(copy.GetInserts().GetSize(), 3u);
  copy.Reset(0xE138002F);
  EXPECT_EQ(copy.GetTopic(), -1);
  EXPECT_TRUE(copy.GetInserts().IsEmpty());

  VReportMessageParams inner(0xE138002F);
  EXPECT_EQ(inner.GetTextWithContext(0xE138000D), inner.GetText());
  inner.SetContext(u"file.ini", 12);
  // The wrapper's inserts: this text, the context text, the number.
  VUnicodeString wrapped = inner.GetTextWithContext(0xE138000D);
  EXPECT_NE(wrapped.find(u"file.ini"), std::u16string::npos);
  auto* counted = new VReportMessageParams(0xE138000A);
  EXPECT_EQ(counted->AddRef(), 2);
  EXPECT_EQ(counted->Release(), 1);
  EXPECT_EQ(counted->Release(), 0);  // deleted here
}

TEST_F(Messages, EveryCatalogueIdHasBothLanguagesWithTheSameInserts) {
  const std::regex marker("%[1-9][0-9]?(![^!]*!)?");
  for (const VMessageModule* module : {VGetLibraryMessageModule(), VGetSystemMessageModule()}) {
    const auto& english = module->Entries(VLanguage::English);
    const auto& french = module->Entries(VLanguage::French);
    ASSERT_EQ(english.size(), french.size()) << module->Name();
    for (const auto& [id, text] : english) {
      auto it = french.find(id);
      ASSERT_NE(it, french.end()) << module->Name() << " " << std::hex << id;
      auto markers = [&](const std::u16string& t) {
        std::string narrow = VUnicodeString(t).ToUtf8();
        std::multiset<std::string> found;
        for (std::sregex_iterator m(narrow.begin(), narrow.end(), marker), end; m != end; ++m)
          found.insert(m->str());
        return found;
      };
      EXPECT_EQ(markers(text), markers(it->second)) << std::hex << id;
      EXPECT_GE(text.size(), 2u);
      EXPECT_EQ(text.substr(text.size() - 2), u"\r\n");
    }
  }
  EXPECT_GE(VGetLibraryMessageModule()->Count(VLanguage::English), 60u);
}

TEST_F(Messages, CatalogueFilesAreCheckedWhenLoaded) {
  VMessageModule module("test");
  std::string problem;
  EXPECT_TRUE(module.Load(VLanguage::English, "# c\nMessageId=0x00000001\nOne\nTwo\n.\n", &problem));
  std::u16string text;
  ASSERT_TRUE(module.Find(1, VLanguage::French, text));  // French falls back to English
  EXPECT_EQ(text, u"One\r\nTwo\r\n");
  EXPECT_FALSE(module.Load(VLanguage::English, "MessageId=0x2\nx\n.\n", &problem));
  EXPECT_NE(problem.find("line 1"), std::string::npos);
  EXPECT_FALSE(module.Load(VLanguage::English, "MessageId=0x00000003\nunterminated\n", &problem));
}

TEST_F(Messages, LanguageComesFromTheEnvironmentUnlessChosen) {
  VLanguage language;
  EXPECT_TRUE(VParseLanguage("fr_CA.UTF-8", language));
  EXPECT_EQ(language, VLanguage::French);
  EXPECT_TRUE(VParseLanguage("en_US", language));
  EXPECT_EQ(language, VLanguage::English);
  EXPECT_FALSE(VParseLanguage("french", language));
  VResetMessageLanguage();
  {
    qtest::ScopedEnv french("LC_ALL", "fr_FR.UTF-8");
    EXPECT_EQ(VGetMessageLanguage(), VLanguage::French);
  }
  qtest::ScopedEnv plain("LC_ALL", "C");
  EXPECT_EQ(VGetMessageLanguage(), VLanguage::English);
}

}  // namespace
