// Expansion of $NAME, ${NAME} and %NAME% in stored texts.
#include "platform/environment_strings.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "platform/unicode_string.h"

namespace {

std::optional<std::u16string> Lookup(std::u16string_view name) {
  if (name == u"HOME") return u"/home/ada";
  if (name == u"LOOP") return u"$HOME %HOME%";
  if (name == u"EMPTY") return u"";
  if (name == u"A B") return u"spaced";
  return std::nullopt;
}

std::u16string Expand(std::u16string_view text) {
  return vapp::ExpandEnvironmentStrings(text, &Lookup);
}

TEST(EnvironmentStrings, ThreeFormsOfReference) {
  EXPECT_EQ(Expand(u"$HOME/x"), u"/home/ada/x");
  EXPECT_EQ(Expand(u"${HOME}x"), u"/home/adax");
  EXPECT_EQ(Expand(u"%HOME%\\x"), u"/home/ada\\x");
  EXPECT_EQ(Expand(u"$HOMEx"), u"$HOMEx");  // the name runs to the first non-name character
  EXPECT_EQ(Expand(u"[$EMPTY]"), u"[]");
  EXPECT_EQ(Expand(u"%A B% ${A B}"), u"spaced spaced");
  EXPECT_EQ(Expand(u"$LOOP"), u"$HOME %HOME%");  // inserted values are not expanded again
}

TEST(EnvironmentStrings, TextThatIsNoReferenceComesBackUnchanged) {
  for (const char16_t* text :
       {u"", u"$", u"$$", u"$5", u"${}", u"${HOME", u"%", u"%%", u"100% sure", u"%HOME",
        u"$UNSET/x", u"${UNSET}", u"%UNSET%", u"%A=B%", u"${A=B}"})
    EXPECT_EQ(Expand(text), text) << vtext::ToUtf8(text);
}

TEST(EnvironmentStrings, ProcessEnvironment) {
  setenv("QTEST_EXPAND", "value", 1);
  EXPECT_EQ(vapp::ExpandEnvironmentStrings(u"<$QTEST_EXPAND>"), u"<value>");
  unsetenv("QTEST_EXPAND");
  EXPECT_EQ(vapp::ExpandEnvironmentStrings(u"<$QTEST_EXPAND>"), u"<$QTEST_EXPAND>");
}

TEST(EnvironmentStrings, ExpansionStopsAtItsLimit) {
  // "/home/ada" is nine characters: four references make 36, with the separators 39.
  std::u16string text = u"$HOME,$HOME,$HOME,$HOME";
  EXPECT_EQ(vapp::ExpandEnvironmentStringsWithin(text, &Lookup, 39), Expand(text));
  EXPECT_EQ(vapp::ExpandEnvironmentStringsWithin(text, &Lookup, 38), std::nullopt);
  // Plain text counts as well as inserted values.
  EXPECT_EQ(vapp::ExpandEnvironmentStringsWithin(u"abc", &Lookup, 3), u"abc");
  EXPECT_EQ(vapp::ExpandEnvironmentStringsWithin(u"abcd", &Lookup, 3), std::nullopt);
  // A reference to an unset variable is kept as written, and counted as such.
  EXPECT_EQ(vapp::ExpandEnvironmentStringsWithin(u"%UNSET%", &Lookup, 6), std::nullopt);
}

TEST(EnvironmentStrings, ManyReferencesToALongValueAreRefusedEarly) {
  // Fifty thousand references to a value of a hundred thousand characters would be five billion
  // characters; the expansion gives up at the limit instead of growing that far.
  std::u16string value(100000, u'x');
  auto lookup = [&value](std::u16string_view name) -> std::optional<std::u16string> {
    if (name == u"BIG") return value;
    return std::nullopt;
  };
  std::u16string text;
  for (int i = 0; i < 50000; ++i) text += u"%BIG%";
  EXPECT_EQ(vapp::ExpandEnvironmentStringsWithin(text, lookup, 32767), std::nullopt);
}

}  // namespace
