// Strings, lists of strings and multi-line texts: storage, text conversion, copies between the
// string family, automation conversions.
#include <gtest/gtest.h>

#include "ini_folder.h"
#include "storage/values/profile_multi_line.h"
#include "storage/values/profile_value2.h"
#include "storage/values/setting_text.h"

namespace {

TEST(ProfileString, LoadSaveAndCaseSensitiveCompare) {
  IniFolder folder;
  folder.WriteLines("Test", "S:\"Emulation\"=Xterm\r\n");
  folder.WithKey(u"Test", [](VProfileKey& key) {
    VProfileString emulation(u"Emulation", u"VT100");
    VProfileString missing(u"Missing", u"default text");
    EXPECT_TRUE(emulation.Load(&key));
    EXPECT_EQ(emulation, u"Xterm");  // usable as the string it holds
    EXPECT_FALSE(missing.Load(&key));
    EXPECT_EQ(missing, u"default text");
    emulation = VUnicodeString(u"XTERM");
    EXPECT_TRUE(emulation.IsModified());
    EXPECT_TRUE(emulation.Save(key, false));
    EXPECT_TRUE(missing.Save(key, false));
  });
  EXPECT_EQ(folder.Lines("Test"), "S:\"Emulation\"=XTERM\r\nS:\"Missing\"=default text\r\n");
}

TEST(ProfileString, LoadFromTextTakesTheTextWhenTheConverterHasNoConversion) {
  class Upper : public IProfileTextConverter {
   public:
    bool ToBool(const VUnicodeString&, bool&, VReportMessageParams& error) override {
      error.Reset(kMsgTextConversionNotHandled);
      return false;
    }
    bool ToString(const VUnicodeString& text, VUnicodeString& value,
                  VReportMessageParams& error) override {
      if (text == u"refuse") {
        error.Reset(0xE1040099);
        return false;
      }
      if (text.empty() || text[0] != u'=') {
        error.Reset(kMsgTextConversionNotHandled);
        return false;
      }
      value = VUnicodeString(u"converted");
      return true;
    }
  } converter;
  VReportMessageParams error;
  VProfileString value(u"Value", u"");
  value.SetWritePending(true);
  EXPECT_TRUE(value.LoadFromText(u"=x", &converter, error));
  EXPECT_EQ(value, u"converted");
  EXPECT_FALSE(value.IsWritePending());
  EXPECT_FALSE(value.IsModified());
  EXPECT_TRUE(value.LoadFromText(u"plain", &converter, error));
  EXPECT_EQ(value, u"plain");
  EXPECT_FALSE(error.IsError());  // the converter's "not handled" was reset
  EXPECT_FALSE(value.LoadFromText(u"refuse", &converter, error));
  EXPECT_EQ(error.GetMessageId(), 0xE1040099u);
  EXPECT_EQ(value, u"plain");
  EXPECT_TRUE(value.LoadFromText(u"no converter", nullptr, error));
  EXPECT_EQ(value, u"no converter");

  VProfileStringArray list(u"List", {});
  EXPECT_FALSE(list.LoadFromText(u"a", nullptr, error));
  EXPECT_EQ(error.GetMessageId(), kMsgConversionNotSupported);
  EXPECT_EQ(error.GetInserts()[0], u"List");
}

class Derived : public VUnicodeString {
 public:
  using VUnicodeString::VUnicodeString;
  static constexpr const char* kKindName = "derived";
};

TEST(ProfileString, CopyAcceptsAnyStringOfTheFamily) {
  VProfile2<Derived, VProfileSz> other;
  other.SetName(u"Other");
  static_cast<VUnicodeString&>(other.Current()) = u"from the family";
  VProfileString value(u"Value", u"");
  value.CopyValue(other);
  EXPECT_EQ(value, u"from the family");
  VProfileStringArray list(u"List", {u"x"});
  value.CopyValue(list);  // not a string: ignored
  EXPECT_EQ(value, u"from the family");
  VProfileStringArray list2(u"List2", {u"y", u"z"});
  list.CopyValue(list2);
  EXPECT_EQ(list.Current(), (VStringArray{u"y", u"z"}));
}

TEST(ProfileString, ListsAreStoredWithTheirCountAndCompareElementByElement) {
  IniFolder folder;
  folder.WithKey(u"Test", [](VProfileKey& key) {
    VProfileStringArray list(u"Bookmarks", {});
    list.Load(&key);
    list.Current().Add(u"/home");
    list.Current().Add(u"");
    list.Current().Add(u"/tmp");
    EXPECT_TRUE(list.IsModified());
    EXPECT_TRUE(list.Save(key, false));
  });
  EXPECT_EQ(folder.Lines("Test"), "Z:\"Bookmarks\"=00000003\r\n /home\r\n \r\n /tmp\r\n");
  folder.WithKey(u"Test", [](VProfileKey& key) {
    VProfileStringArray list(u"Bookmarks", {});
    EXPECT_TRUE(list.Load(&key));
    EXPECT_EQ(list.Current(), (VStringArray{u"/home", u"", u"/tmp"}));
    list.Current()[1] = u"/srv";
    EXPECT_TRUE(list.IsModified());
    list.Revert();
    EXPECT_FALSE(list.IsModified());
  }, true);
}

TEST(ProfileString, MultiLineTextSplitsAtCrLfAndLf) {
  VProfileMultiLineString text(u"Description", {});
  text.SetText(u"first\r\nsecond\nthird");
  EXPECT_EQ(text.Current(), (VStringArray{u"first", u"second", u"third"}));
  EXPECT_EQ(text.GetText(), u"first\r\nsecond\r\nthird");
  EXPECT_EQ(text.GetText(true), u"first\nsecond\nthird");

  text.SetText(u"a\r\n\r\nb\n");  // empty lines are kept, a final line end gives an empty line
  EXPECT_EQ(text.Current(), (VStringArray{u"a", u"", u"b", u""}));
  EXPECT_EQ(text.GetText(), u"a\r\n\r\nb\r\n");
  text.SetText(u"");
  EXPECT_TRUE(text.Current().IsEmpty());
  EXPECT_EQ(text.GetText(), u"");
  text.SetText(u"one\rtwo\r");  // a lone CR ends a line too: no stored line holds a break
  EXPECT_EQ(text.Current(), (VStringArray{u"one", u"two", u""}));
  text.SetText(u"x\r\r\ny");
  EXPECT_EQ(text.Current(), (VStringArray{u"x", u"", u"y"}));

  IniFolder folder;
  folder.WithKey(u"Test", [](VProfileKey& key) {
    VProfileMultiLineString description(u"Description", {});
    description.Load(&key);
    description.SetText(u"line 1\nline 2");
    EXPECT_TRUE(description.Save(key, false));
  });
  EXPECT_EQ(folder.Lines("Test"), "Z:\"Description\"=00000002\r\n line 1\r\n line 2\r\n");
  VReportMessageParams error;
  EXPECT_TRUE(text.SetFromText(u"p\nq", error));
  EXPECT_EQ(text.Current(), (VStringArray{u"p", u"q"}));
}

TEST(ProfileString, VariantsAreStringsAndArraysOfStrings) {
  VReportMessageParams error;
  VVariant v;
  VProfileString text(u"Text", u"hello");
  ASSERT_TRUE(text.ToVariant(v, error));
  EXPECT_EQ(v.vt, VT_BSTR);
  EXPECT_EQ(v.text, u"hello");
  ASSERT_TRUE(text.FromVariant(VVariant::String(u"bye"), error));
  EXPECT_EQ(text, u"bye");
  ASSERT_TRUE(text.FromVariant(VVariant::Integer(VT_I4, -3), error));
  EXPECT_EQ(text, u"-3");
  EXPECT_FALSE(text.FromVariant(VVariant::Bool(true), error));
  EXPECT_EQ(error.GetMessageId(), kMsgConversionFailed);
  EXPECT_EQ(error.GetInserts()[0], u"Text");

  VProfileStringArray list(u"List", {u"a", u"b"});
  ASSERT_TRUE(list.ToVariant(v, error));
  EXPECT_EQ(v.vt, VT_ARRAY | VT_VARIANT);
  ASSERT_EQ(v.items.size(), 2u);
  EXPECT_EQ(v.items[1].vt, VT_BSTR);
  EXPECT_EQ(v.items[1].text, u"b");
  v.items.push_back(VVariant::String(u"c"));
  ASSERT_TRUE(list.FromVariant(v, error));
  EXPECT_EQ(list.Current(), (VStringArray{u"a", u"b", u"c"}));
  v.items.push_back(VVariant::Integer(VT_I4, 1));
  EXPECT_FALSE(list.FromVariant(v, error));
  EXPECT_EQ(list.Current().GetSize(), 3u);
  EXPECT_FALSE(list.FromVariant(VVariant::String(u"x"), error));
  EXPECT_EQ(error.GetInserts()[0], u"List");
}

}  // namespace
