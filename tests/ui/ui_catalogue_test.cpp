// The user interface's catalogue as shipped: every text id named in the UI library and the
// dialogs has its text in English and in French, and the compiled-in catalogue is the files.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "marrowby/ui_messages.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

TEST(UiCatalogue, EveryIdNamedHasItsTextInEnglishAndFrench) {
  const std::string source = QUILLANE_SOURCE_DIR;
  VMessageModule english("ui_en");
  VMessageModule french("ui_fr");
  std::string problem;
  ASSERT_TRUE(english.Load(VLanguage::English, qtest::ReadFile(source + "/messages/ui_en.msg"), &problem))
      << problem;
  ASSERT_TRUE(french.Load(VLanguage::French, qtest::ReadFile(source + "/messages/ui_fr.msg"), &problem))
      << problem;
  EXPECT_EQ(VGetUiMessageModule()->Entries(VLanguage::English), english.Entries(VLanguage::English));
  EXPECT_EQ(VGetUiMessageModule()->Entries(VLanguage::French), french.Entries(VLanguage::French));

  const std::regex id("0x([6Ee]139[0-9A-Fa-f]{4})\\b");
  size_t named = 0;
  for (const char* folder : {"src/marrowby", "src/ui", "tools/quillane-settings", "modules"}) {
    for (const auto& entry : fs::recursive_directory_iterator(source + "/" + folder)) {
      if (!entry.is_regular_file()) continue;
      std::string text = qtest::ReadFile(entry.path());
      for (std::sregex_iterator it(text.begin(), text.end(), id), end; it != end; ++it) {
        uint32_t value = static_cast<uint32_t>(std::stoul((*it)[1].str(), nullptr, 16));
        ++named;
        EXPECT_TRUE(english.Entries(VLanguage::English).count(value)) << (*it)[0] << " in English";
        EXPECT_TRUE(french.Entries(VLanguage::French).count(value)) << (*it)[0] << " in French";
      }
    }
  }
  EXPECT_GT(named, 40u);
  // And nothing in one language that the other lacks.
  for (const auto& [value, text] : english.Entries(VLanguage::English))
    EXPECT_TRUE(french.Entries(VLanguage::French).count(value)) << std::hex << value;
}

}  // namespace
