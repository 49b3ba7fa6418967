// The keyword list editor and the filter dialog: their rules driven directly, then the real
// dialogs offscreen over a configuration folder, edits read back from the files written.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "config/database/session_database.h"
#include "config/highlight/filter_config.h"
#include "config/highlight/filter_store.h"
#include "config/highlight/highlight_config.h"
#include "config/highlight/highlight_messages.h"
#include "config/session_test_env.h"
#include "marrowby/qt_text.h"
#include "platform/file_system.h"
#include "ui/keywords/filter_dialog.h"
#include "ui/keywords/keyword_list_dialog.h"
#include "ui/keywords/keyword_rules.h"
#include "ui_test_helpers.h"

namespace {

using namespace keyword_rules;

std::vector<KeywordEntry> List(std::initializer_list<const char16_t*> words) {
  std::vector<KeywordEntry> list;
  for (const char16_t* word : words) list.push_back(KeywordEntry{word, kNoColor, 0});
  return list;
}

VUnicodeString Repeat(char16_t c, size_t n) { return VUnicodeString(std::u16string(n, c)); }

// ---- the rules ----

TEST(KeywordRules, TheSameWordInAnotherCaseIsADuplicateUnlessCaseMatters) {
  auto list = List({u"Error", u"warning"});
  VReportMessageParams error;
  EXPECT_FALSE(CheckKeyword(list, u"error", false, false, -1, error));
  EXPECT_EQ(error.GetMessageId(), kMsgKeywordDuplicate);
  EXPECT_EQ(error.GetInserts()[0], u"error");
  EXPECT_FALSE(CheckKeyword(list, u"WARNING", true, false, -1, error));
  // With Match case only the exact text is the same keyword.
  EXPECT_TRUE(CheckKeyword(list, u"error", false, true, -1, error));
  EXPECT_FALSE(CheckKeyword(list, u"Error", false, true, -1, error));
  // An entry edited is not compared with itself.
  EXPECT_TRUE(CheckKeyword(list, u"ERROR", false, false, 0, error));
  EXPECT_FALSE(CheckKeyword(list, u"Warning", false, false, 0, error));
  EXPECT_EQ(FindKeyword(list, u"WARNING", false), 1);
  EXPECT_EQ(FindKeyword(list, u"WARNING", true), -1);
}

TEST(KeywordRules, BlanksLengthsAndExpressions) {
  auto list = List({u"fail"});
  VReportMessageParams error;
  EXPECT_FALSE(CheckKeyword(list, u"two words", false, false, -1, error));
  EXPECT_EQ(error.GetMessageId(), kMsgKeywordBlank);
  EXPECT_FALSE(CheckKeyword(list, u"a\tb", false, false, -1, error));
  EXPECT_EQ(error.GetMessageId(), kMsgKeywordBlank);
  EXPECT_FALSE(CheckKeyword(list, u"err .*", true, false, -1, error));
  EXPECT_EQ(error.GetMessageId(), kMsgRegexBlank);
  EXPECT_EQ(error.GetInserts()[0], u"err .*");

  // Plain words stop at 256 characters; expressions do not.
  EXPECT_TRUE(CheckKeyword(list, Repeat(u'x', 256), false, false, -1, error));
  EXPECT_FALSE(CheckKeyword(list, Repeat(u'x', 257), false, false, -1, error));
  EXPECT_EQ(error.GetMessageId(), kMsgKeywordTooLong);
  EXPECT_EQ(error.GetInserts()[0], u"256");
  VUnicodeString longExpression = Repeat(u'a', 290) + VUnicodeString(u"[0-9]+(x|y)");
  EXPECT_TRUE(CheckKeyword(list, longExpression, true, false, -1, error));

  // An expression that does not compile is refused, named.
  EXPECT_FALSE(CheckKeyword(list, u"([a-z]+", true, false, -1, error));
  EXPECT_EQ(error.GetMessageId(), kMsgRegexInvalid);
  EXPECT_EQ(error.GetInserts()[0], u"([a-z]+");
  EXPECT_FALSE(error.GetInserts()[1].empty());
  // The same text as a plain word is only a word.
  EXPECT_TRUE(CheckKeyword(list, u"([a-z]+", false, false, -1, error));

  // What could not be stored and read back the same.
  EXPECT_FALSE(CheckKeyword(list, u"say\"hi\"", false, false, -1, error));
  EXPECT_EQ(error.GetMessageId(), kMsgKeywordNotStorable);
  EXPECT_FALSE(CheckKeyword(list, u"", false, false, -1, error));
}

TEST(KeywordRules, AWordGivenOnOpening) {
  auto list = List({u"Error"});
  OpeningWord selected = ApplyOpeningWord(list, u"ERROR", false);
  EXPECT_EQ(selected.outcome, OpeningWord::Outcome::Selected);
  EXPECT_EQ(selected.index, 0);
  EXPECT_EQ(list.size(), 1u);

  OpeningWord appended = ApplyOpeningWord(list, u"ERROR", true);
  EXPECT_EQ(appended.outcome, OpeningWord::Outcome::Appended);
  EXPECT_EQ(appended.index, 1);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1], (KeywordEntry{u"ERROR", kNoColor, 0}));

  // 300 characters: cut to the limit for the word field, the list untouched.
  VUnicodeString word = Repeat(u'a', 200) + Repeat(u'b', 100);
  OpeningWord tooLong = ApplyOpeningWord(list, word, false);
  EXPECT_EQ(tooLong.outcome, OpeningWord::Outcome::TooLong);
  EXPECT_EQ(tooLong.wordField, Repeat(u'a', 200) + Repeat(u'b', 56));
  EXPECT_EQ(tooLong.message.GetMessageId(), kMsgKeywordTooLong);
  EXPECT_EQ(list.size(), 2u);

  OpeningWord refused = ApplyOpeningWord(list, u"two words", false);
  EXPECT_EQ(refused.outcome, OpeningWord::Outcome::Refused);
  EXPECT_EQ(refused.message.GetMessageId(), kMsgKeywordBlank);
  EXPECT_EQ(ApplyOpeningWord(list, u"", false).outcome, OpeningWord::Outcome::None);
}

TEST(KeywordRules, ListNamesMovesAndColours) {
  VReportMessageParams error;
  EXPECT_TRUE(CheckListName(u"logs", u"", true, false, error));
  EXPECT_FALSE(CheckListName(u"", u"", true, false, error));
  EXPECT_EQ(error.GetMessageId(), 0xE138000Au);
  EXPECT_FALSE(CheckListName(u"a/b", u"", true, false, error));
  EXPECT_FALSE(CheckListName(u"logs", u"", true, true, error));
  EXPECT_EQ(error.GetMessageId(), 0xE138000Du);
  EXPECT_TRUE(CheckListName(u"Logs", u"logs", false, true, error));  // itself, another case
  EXPECT_FALSE(CheckListName(u"(None)", u"", true, false, error));
  EXPECT_EQ(error.GetMessageId(), kMsgListNameReserved);

  auto list = List({u"a", u"b", u"c"});
  EXPECT_EQ(MoveEntry(list, 0, -1), 0);
  EXPECT_EQ(MoveEntry(list, 0, +1), 1);
  EXPECT_EQ(list[1].text, u"a");
  EXPECT_EQ(MoveEntry(list, 2, +1), 2);

  EXPECT_EQ(ColorValue(0x12, 0x34, 0x56), 0x563412u);
  EXPECT_NE(ColorValue(255, 0, 0), kNoColor);
}

// ---- the dialogs ----

class KeywordDialogs : public SessionFolderTest {
 protected:
  void StoreList(const char16_t* name, std::initializer_list<const char16_t*> words,
                 bool matchCase = false) {
    VRef<HighlightConfig> list(new HighlightConfig(name));
    list->Load(nullptr);
    list->SetKeywords(List(words));
    list->SetMatchCase(matchCase);
    VReportMessageParams error;
    SessionDatabase database;
    ASSERT_TRUE(database.SaveItem(*list.Get(), error, true)) << error.GetMessageId();
  }
  std::string ListFile(const std::string& name) { return folder_.Lines("Keywords/" + name); }
  static void Type(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }
  static void Grab(QWidget* dialog, const char* name) {
    std::string folder = std::string(QUILLANE_BINARY_DIR) + "/grabs";
    ASSERT_TRUE(vfs::CreateFolderTree(folder, 0755).ok());
    EXPECT_TRUE(dialog->grab().toImage().save(QString::fromStdString(folder + "/" + name), "PNG"));
  }
};

TEST_F(KeywordDialogs, AListEditedThroughTheDialogIsReadBackFromItsFile) {
  StoreList(u"logs", {u"error", u"warning"});
  SetKeywordColorPicker([](QWidget*, uint32_t& value) {
    value = ColorValue(0x00, 0x80, 0xFF);
    return true;
  });
  bool seen = false;
  uitest::WhenModal<KeywordListPropertiesDialog>([&](KeywordListPropertiesDialog* d) {
    seen = true;
    uitest::ExpectMnemonicsUnique(d);
    EXPECT_EQ(d->NameEdit()->text(), QStringLiteral("logs"));
    ASSERT_EQ(d->List()->topLevelItemCount(), 2);
    Type(d->WordEdit(), QStringLiteral("fatal"));
    d->AddButton()->click();
    EXPECT_TRUE(d->WordEdit()->text().isEmpty());
    EXPECT_EQ(d->List()->currentItem()->text(0), QStringLiteral("fatal"));
    // An expression, longer than a word may be.
    d->RegexBox()->setChecked(true);
    Type(d->WordEdit(), QStringLiteral("timeout=[0-9]+ms"));
    QTest::keyClick(d->WordEdit(), Qt::Key_Return);  // adds; does not close
    EXPECT_TRUE(d->isVisible());
    EXPECT_FALSE(d->RegexBox()->isChecked());
    // Up one place, and a colour of its own.
    d->UpButton()->click();
    d->ColorButton()->click();
    // "warning" goes.
    d->List()->setCurrentItem(d->List()->topLevelItem(1));
    d->RemoveButton()->click();
    d->MatchCaseBox()->setChecked(true);
    Grab(d, "keyword-list-properties.png");
    d->OkButton()->click();
  });
  EXPECT_TRUE(EditKeywordListInDatabase(u"logs", u"", nullptr));
  EXPECT_TRUE(seen);
  SetKeywordColorPicker(nullptr);
  std::string file = ListFile("logs");
  EXPECT_NE(file.find("Z:\"Keyword List V2\"=00000003\r\n \"error\",000000ff,00000000\r\n"
                      " \"timeout=[0-9]+ms\",00ff8000,00000001\r\n"
                      " \"fatal\",000000ff,00000000\r\n"),
            std::string::npos)
      << file;
  EXPECT_NE(file.find("D:\"Match Case\"=00000001\r\n"), std::string::npos) << file;
}

TEST_F(KeywordDialogs, RefusedWordsShowTheirMessageWithTheFocusOnTheField) {
  StoreList(u"logs", {u"error"});
  VRef<HighlightConfig> config = SessionDatabase().OpenKeywordList(u"logs");
  ASSERT_TRUE(config);
  KeywordListPropertiesDialog dialog(*config.Get(), false, kNoColor, u"");
  dialog.show();
  struct Case {
    QString word;
    bool regex;
    QString message;
  };
  const Case cases[] = {
      {QStringLiteral("ERROR"), false, QStringLiteral("The keyword 'ERROR' is already in the list.")},
      {QStringLiteral("bad word"), false,
       QStringLiteral("The specified keyword 'bad word' is invalid. A keyword cannot contain spaces.")},
      {QStringLiteral("bad .*"), true,
       QStringLiteral("The specified regular expression 'bad .*' is invalid. A regular expression "
                      "cannot contain spaces.")},
      {QStringLiteral("(unclosed"), true,
       QStringLiteral("The regular expression '(unclosed' is not valid: ")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word.toStdString());
    uitest::MessageBoxRecorder boxes;
    dialog.RegexBox()->setChecked(c.regex);
    Type(dialog.WordEdit(), c.word);
    dialog.AddButton()->click();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_TRUE(boxes.Shown()[0].text.startsWith(c.message)) << boxes.Shown()[0].text.toStdString();
    EXPECT_EQ(dialog.focusWidget(), dialog.WordEdit());
    EXPECT_EQ(dialog.Entries().size(), 1u);
  }
  // With Match case the other case is another keyword.
  uitest::MessageBoxRecorder boxes;
  dialog.MatchCaseBox()->setChecked(true);
  dialog.RegexBox()->setChecked(false);
  Type(dialog.WordEdit(), QStringLiteral("ERROR"));
  dialog.AddButton()->click();
  EXPECT_TRUE(boxes.Shown().empty());
  EXPECT_EQ(dialog.Entries().size(), 2u);
  // Match case off again: the two would be one keyword, so OK is refused on the check box.
  dialog.MatchCaseBox()->setChecked(false);
  dialog.OkButton()->click();
  EXPECT_TRUE(dialog.isVisible());
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, QStringLiteral("The keyword 'ERROR' is already in the list."));
  EXPECT_EQ(dialog.focusWidget(), dialog.MatchCaseBox());
  EXPECT_EQ(dialog.List()->currentItem()->text(0), QStringLiteral("ERROR"));
  EXPECT_EQ(FirstRepeatedKeyword(dialog.Entries(), true), -1);
  // The word field takes no more than 256 characters of a plain word.
  Type(dialog.WordEdit(), QString(300, QLatin1Char('z')));
  EXPECT_EQ(dialog.WordEdit()->text().size(), 256);
  dialog.reject();
}

TEST_F(KeywordDialogs, EditingAnEntryChecksItAgainstTheOthers) {
  StoreList(u"logs", {u"error", u"fail"});
  VRef<HighlightConfig> config = SessionDatabase().OpenKeywordList(u"logs");
  ASSERT_TRUE(config);
  KeywordListPropertiesDialog dialog(*config.Get(), false, kNoColor, u"");
  dialog.show();
  dialog.List()->setCurrentItem(dialog.List()->topLevelItem(1));
  uitest::MessageBoxRecorder boxes;
  bool seen = false;
  uitest::WhenModal<EditKeywordDialog>([&](EditKeywordDialog* edit) {
    seen = true;
    EXPECT_EQ(edit->Word()->text(), QStringLiteral("fail"));
    Type(edit->Word(), QStringLiteral("Error"));
    edit->OkButton()->click();
    EXPECT_TRUE(edit->isVisible());
    EXPECT_EQ(edit->focusWidget(), edit->Word());
    Type(edit->Word(), QStringLiteral("fail(ed|ure)"));
    edit->Regex()->setChecked(true);
    edit->OkButton()->click();
  });
  dialog.EditButton()->click();
  EXPECT_TRUE(seen);
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, QStringLiteral("The keyword 'Error' is already in the list."));
  ASSERT_EQ(dialog.Entries().size(), 2u);
  EXPECT_EQ(dialog.Entries()[1].text, u"fail(ed|ure)");
  EXPECT_TRUE(IsRegex(dialog.Entries()[1]));
  dialog.reject();
}

TEST_F(KeywordDialogs, OpeningWithAWord) {
  StoreList(u"logs", {u"error"});
  VRef<HighlightConfig> config = SessionDatabase().OpenKeywordList(u"logs");
  ASSERT_TRUE(config);
  {
    // Already there: selected.
    KeywordListPropertiesDialog dialog(*config.Get(), false, kNoColor, u"ERROR");
    EXPECT_EQ(dialog.Entries().size(), 1u);
    EXPECT_EQ(dialog.List()->currentItem(), dialog.List()->topLevelItem(0));
  }
  {
    // New and valid: appended, selected, OK has the focus.
    KeywordListPropertiesDialog dialog(*config.Get(), false, kNoColor, u"panic");
    dialog.show();
    QTest::qWait(20);
    ASSERT_EQ(dialog.Entries().size(), 2u);
    EXPECT_EQ(dialog.List()->currentItem()->text(0), QStringLiteral("panic"));
    EXPECT_EQ(dialog.focusWidget(), dialog.OkButton());
  }
  {
    // 300 characters: its first 256 in the word field, and the limit message.
    uitest::MessageBoxRecorder boxes;
    QString word = QString(256, QLatin1Char('k')) + QString(44, QLatin1Char('q'));
    KeywordListPropertiesDialog dialog(*config.Get(), false, kNoColor, FromQString(word));
    dialog.show();
    QTest::qWait(20);
    EXPECT_EQ(dialog.WordEdit()->text(), QString(256, QLatin1Char('k')));
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text,
              QStringLiteral("Keywords that are not regular expressions are limited to 256 "
                             "characters."));
    EXPECT_EQ(dialog.focusWidget(), dialog.WordEdit());
    EXPECT_EQ(dialog.Entries().size(), 1u);
  }
}

TEST_F(KeywordDialogs, TheListNameIsCheckedAtOk) {
  StoreList(u"logs", {u"error"});
  StoreList(u"builds", {u"warning"});
  VRef<HighlightConfig> config = SessionDatabase().OpenKeywordList(u"logs");
  ASSERT_TRUE(config);
  KeywordListPropertiesDialog dialog(*config.Get(), false, kNoColor, u"");
  dialog.show();
  struct Case {
    QString name;
    QString message;
  };
  const Case cases[] = {
      {QStringLiteral("(None)"), QStringLiteral("'(None)' is a reserved keyword list name.")},
      {QStringLiteral("builds"), QStringLiteral("builds")},
      {QString(), QString()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name.toStdString());
    uitest::MessageBoxRecorder boxes;
    dialog.NameEdit()->setText(c.name);
    dialog.OkButton()->click();
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_TRUE(boxes.Shown()[0].text.contains(c.message)) << boxes.Shown()[0].text.toStdString();
    EXPECT_EQ(dialog.focusWidget(), dialog.NameEdit());
  }
  EXPECT_EQ(config->GetItemName(), u"logs");
}

TEST_F(KeywordDialogs, ARenamedListMovesAndADeletedOneGoes) {
  StoreList(u"logs", {u"error"});
  uitest::WhenModal<KeywordListPropertiesDialog>([&](KeywordListPropertiesDialog* d) {
    Type(d->NameEdit(), QStringLiteral("journal"));
    d->OkButton()->click();
  });
  EXPECT_TRUE(EditKeywordListInDatabase(u"logs", u"", nullptr));
  SessionDatabase database;
  EXPECT_FALSE(database.ItemExists(ItemCollection::KeywordLists, u"logs"));
  ASSERT_TRUE(database.ItemExists(ItemCollection::KeywordLists, u"journal"));
  EXPECT_NE(ListFile("journal").find("\"error\",000000ff,00000000"), std::string::npos);

  // Delete List, answered No, then Yes.
  {
    uitest::MessageBoxRecorder no(kIdNo);
    uitest::WhenModal<KeywordListPropertiesDialog>([&](KeywordListPropertiesDialog* d) {
      EXPECT_TRUE(d->DeleteListButton()->isVisible());
      d->DeleteListButton()->click();
      EXPECT_TRUE(d->isVisible());
      d->reject();
    });
    EXPECT_FALSE(EditKeywordListInDatabase(u"journal", u"", nullptr));
    ASSERT_EQ(no.Shown().size(), 1u);
    EXPECT_EQ(no.Shown()[0].text, QStringLiteral("Are you sure you want to delete this keyword file?"));
  }
  uitest::MessageBoxRecorder yes(kIdYes);
  uitest::WhenModal<KeywordListPropertiesDialog>(
      [&](KeywordListPropertiesDialog* d) { d->DeleteListButton()->click(); });
  EXPECT_TRUE(EditKeywordListInDatabase(u"journal", u"", nullptr));
  EXPECT_FALSE(database.ItemExists(ItemCollection::KeywordLists, u"journal"));

  // A new list offers no Delete List.
  uitest::WhenModal<KeywordListPropertiesDialog>([&](KeywordListPropertiesDialog* d) {
    EXPECT_FALSE(d->DeleteListButton()->isVisible());
    d->reject();
  });
  EXPECT_FALSE(EditKeywordListInDatabase(u"", u"", nullptr));
}

TEST_F(KeywordDialogs, TheFilterDialogsEditsAreReadBackFromItsFile) {
  uitest::MessageBoxRecorder boxes;
  bool seen = false;
  uitest::WhenModal<FilterPropertiesDialog>([&](FilterPropertiesDialog* d) {
    seen = true;
    uitest::ExpectMnemonicsUnique(d);
    // No name, then no pattern: each refused with the focus on its field.
    d->OkButton()->click();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(d->focusWidget(), d->NameEdit());
    Type(d->NameEdit(), QStringLiteral("scratch"));
    Type(d->CriteriaEdit(), QStringLiteral(" ; "));
    d->OkButton()->click();
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_TRUE(boxes.Shown()[1].text.startsWith(QStringLiteral("' ; ' holds no file name pattern")))
        << boxes.Shown()[1].text.toStdString();
    EXPECT_EQ(d->focusWidget(), d->CriteriaEdit());
    Type(d->CriteriaEdit(), QStringLiteral("*.tmp;  *.bak ;"));
    d->TypeCombo()->setCurrentIndex(1);
    d->MatchCaseBox()->setChecked(true);
    d->FoldersBox()->setChecked(true);
    Grab(d, "filter-properties.png");
    d->OkButton()->click();
  });
  EXPECT_TRUE(EditFilterInDatabase(u"", nullptr));
  EXPECT_TRUE(seen);
  std::string file = folder_.Lines("Filters/scratch");
  for (const char* line : {"D:\"Is Session\"=00000001", "D:\"Filter Type\"=00000001",
                           "Z:\"Filter Criteria\"=00000002\r\n *.tmp\r\n *.bak\r\n", "D:\"Match Filter Case\"=00000001",
                           "D:\"Apply Filter to Folders\"=00000001"})
    EXPECT_NE(file.find(line), std::string::npos) << line << "\n" << file;

  // A stored filter: its name is kept, its values shown.
  uitest::WhenModal<FilterPropertiesDialog>([&](FilterPropertiesDialog* d) {
    EXPECT_TRUE(d->NameEdit()->isReadOnly());
    EXPECT_EQ(d->CriteriaEdit()->text(), QStringLiteral("*.tmp; *.bak"));
    EXPECT_EQ(d->TypeCombo()->currentIndex(), 1);
    d->TypeCombo()->setCurrentIndex(0);
    d->OkButton()->click();
  });
  EXPECT_TRUE(EditFilterInDatabase(u"scratch", nullptr));
  EXPECT_NE(folder_.Lines("Filters/scratch").find("D:\"Filter Type\"=00000000"), std::string::npos);
}

}  // namespace
