// Key paths as commands and lookups give them: split once, joined with backslashes.
#include <gtest/gtest.h>

#include "storage/model/key_path.h"

namespace {

std::vector<std::string> Levels(const VKeyPath& path) {
  std::vector<std::string> levels;
  for (const auto& level : path.Levels()) levels.push_back(level.ToUtf8());
  return levels;
}

TEST(KeyPath, EitherSeparatorSplitsAndEmptyLevelsAreDropped) {
  VKeyPath path = VKeyPath::ParseUtf8("/Lab\\\\Deep//router1\\");
  EXPECT_EQ(Levels(path), (std::vector<std::string>{"Lab", "Deep", "router1"}));
  EXPECT_EQ(path.Text().ToUtf8(), "Lab\\Deep\\router1");
  EXPECT_EQ(path.Last().ToUtf8(), "router1");
  EXPECT_EQ(path.Parent().Text().ToUtf8(), "Lab\\Deep");
  EXPECT_EQ(path.Prefix(1).Text().ToUtf8(), "Lab");
  EXPECT_EQ(path.Parent().Child(u"switch").Text().ToUtf8(), "Lab\\Deep\\switch");
  EXPECT_TRUE(VKeyPath::ParseUtf8("//\\").Empty());
  EXPECT_EQ(VKeyPath().Text().ToUtf8(), "");
  EXPECT_EQ(VKeyPath::Parse(u"Lab/x"), VKeyPath::Parse(u"Lab\\x"));
  // A path the library made keeps a slash inside a level.
  EXPECT_EQ(Levels(VKeyPath::ParseBackslashed(u"a/b\\c")), (std::vector<std::string>{"a/b", "c"}));
  EXPECT_EQ(VKeyPath::Join(VUnicodeString(), u"x").ToUtf8(), "x");
  EXPECT_EQ(VKeyPath::Join(u"a", u"x").ToUtf8(), "a\\x");
  // Names beyond ASCII come through whole.
  EXPECT_EQ(Levels(VKeyPath::ParseUtf8("Büro/Größe")), (std::vector<std::string>{"Büro", "Größe"}));
}

}  // namespace
