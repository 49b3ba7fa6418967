// The message catalogues as shipped: every file well formed, every message id the code raises
// with a text in English and in French, and a malformed catalogue refused when the program is
// built.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>

#include "report/message_catalogue.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

const std::string kSource = QUILLANE_SOURCE_DIR;

std::string IdText(uint32_t id) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%08X", id);
  return buffer;
}

// One catalogue file read by the parser the programs use; a fault fails the test with its line.
VMessageModule LoadFile(const std::string& name, VLanguage language) {
  VMessageModule module(name);
  std::string problem;
  EXPECT_TRUE(module.Load(language, qtest::ReadFile(kSource + "/messages/" + name), &problem))
      << problem;
  return module;
}

// Every customer message id written in the sources of the library and the host, with the file
// that names it: the facilities whose texts the library and host catalogues hold.
std::map<uint32_t, std::string> RaisedCustomerIds() {
  const std::regex id("0x([6Ee]1(04|37|38|3[Ff])[0-9A-Fa-f]{4})\\b");
  std::map<uint32_t, std::string> ids;
  for (const char* folder : {"src", "tools"}) {
    for (const auto& entry : fs::recursive_directory_iterator(kSource + "/" + folder)) {
      std::string extension = entry.path().extension();
      if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp")) continue;
      std::string text = qtest::ReadFile(entry.path());
      for (std::sregex_iterator it(text.begin(), text.end(), id), end; it != end; ++it)
        ids.emplace(static_cast<uint32_t>(std::stoul((*it)[1].str(), nullptr, 16)),
                    entry.path().lexically_relative(kSource).string());
    }
  }
  return ids;
}

// The system error codes the model reports (win32_errors.h), success aside.
std::set<uint32_t> SystemCodes() {
  const std::regex code("constexpr uint32_t k\\w+ = (\\d+);");
  std::string text = qtest::ReadFile(kSource + "/src/platform/win32_errors.h");
  std::set<uint32_t> codes;
  for (std::sregex_iterator it(text.begin(), text.end(), code), end; it != end; ++it) {
    uint32_t value = static_cast<uint32_t>(std::stoul((*it)[1].str()));
    if (value != 0) codes.insert(value);
  }
  return codes;
}

// The text of `id` in exactly `language` (no fall back to English) in one of `modules`.
bool HasOwnText(const std::vector<const VMessageModule*>& modules, VLanguage language, uint32_t id) {
  for (const VMessageModule* module : modules) {
    const auto& entries = module->Entries(language);
    auto it = entries.find(id);
    if (it != entries.end() && !it->second.empty() &&
        it->second.find(u"MessageId=") == std::u16string::npos)
      return true;
  }
  return false;
}

TEST(Catalogues, EveryIdTheCodeRaisesHasATextInEnglishAndInFrench) {
  VMessageModule libraryEn = LoadFile("library_en.msg", VLanguage::English);
  VMessageModule libraryFr = LoadFile("library_fr.msg", VLanguage::French);
  VMessageModule hostEn = LoadFile("host_en.msg", VLanguage::English);
  VMessageModule hostFr = LoadFile("host_fr.msg", VLanguage::French);
  VMessageModule systemEn = LoadFile("system_en.msg", VLanguage::English);
  VMessageModule systemFr = LoadFile("system_fr.msg", VLanguage::French);
  // The catalogues compiled into the library are these files.
  EXPECT_EQ(VGetLibraryMessageModule()->Entries(VLanguage::English), libraryEn.Entries(VLanguage::English));
  EXPECT_EQ(VGetLibraryMessageModule()->Entries(VLanguage::French), libraryFr.Entries(VLanguage::French));

  std::map<uint32_t, std::string> raised = RaisedCustomerIds();
  ASSERT_GT(raised.size(), 100u);  // the scan found the constants at all
  for (const auto& [id, file] : raised) {
    EXPECT_TRUE(HasOwnText({&libraryEn, &hostEn}, VLanguage::English, id))
        << IdText(id) << " (" << file << ") has no English text";
    EXPECT_TRUE(HasOwnText({&libraryFr, &hostFr}, VLanguage::French, id))
        << IdText(id) << " (" << file << ") has no French text";
  }
  std::set<uint32_t> codes = SystemCodes();
  ASSERT_GT(codes.size(), 20u);
  for (uint32_t code : codes) {
    EXPECT_TRUE(HasOwnText({&systemEn}, VLanguage::English, code)) << "system code " << code;
    EXPECT_TRUE(HasOwnText({&systemFr}, VLanguage::French, code)) << "system code " << code;
  }
}

TEST(Catalogues, AnEntryWithoutItsClosingLineIsRefusedAndNamed) {
  const std::string text =
      "# first\nMessageId=0xE1380001\nFirst text.\n# second\nMessageId=0xE1380002\nSecond.\n.\n";
  VMessageModule module("sample");
  std::string problem;
  EXPECT_FALSE(module.Load(VLanguage::English, text, &problem));
  EXPECT_EQ(problem.rfind("sample: line 5:", 0), 0u) << problem;
  EXPECT_EQ(module.Count(VLanguage::English), 0u);  // no entry took the next one's text
}

// The build runs this check on every catalogue it embeds; here it is run on faulty samples.
class CatalogueBuildCheck : public ::testing::Test {
 protected:
  qtest::RunResult Check(const std::string& bytes) {
    std::string path = dir_ / "sample.msg";
    qtest::WriteFile(path, bytes);
    return qtest::Run(QUILLANE_CMAKE_COMMAND,
                      {"-DCATALOGUES=" + path, "-P", kSource + "/cmake/check_catalogue.cmake"});
  }
  std::string Path() const { return dir_ / "sample.msg"; }
  qtest::TempDir dir_;
};

TEST_F(CatalogueBuildCheck, AcceptsTheShippedCataloguesAndRefusesEachKindOfFault) {
  for (const char* name : {"library_en.msg", "library_fr.msg", "host_en.msg", "host_fr.msg",
                           "system_en.msg", "system_fr.msg"}) {
    qtest::RunResult run = Check(qtest::ReadFile(kSource + "/messages/" + name));
    EXPECT_EQ(run.status, 0) << name << ": " << run.err;
  }
  // Characters that mean something to the checker's own language pass as text.
  EXPECT_EQ(Check("MessageId=0x00000005\nA; b [c] \\ d;\n.\n\n# note\n").status, 0);

  struct Fault {
    const char* bytes;
    const char* where;
  } faults[] = {
      {"MessageId=0xE138020A\nText.\n# next\nMessageId=0xE1380401\nOther.\n.\n", ":3:"},
      {"MessageId=0xE138020A\nText.\nMessageId=0xE1380401\nOther.\n.\n", ":3:"},
      {"\nMessageId=0xE1380401\nNever closed.\n", ":2:"},
      {"MessageId=0xE1380401\nA.\n.\nstray text\n", ":4:"},
      {"MessageId=0xE13804\nA.\n.\n", ":1:"},
      {"MessageId=0xE1380401\nA.\n.\nMessageId=0xe1380401\nB.\n.\n", ":4:"},
  };
  for (const Fault& fault : faults) {
    qtest::RunResult run = Check(fault.bytes);
    EXPECT_NE(run.status, 0) << fault.bytes;
    EXPECT_NE(run.err.find(Path() + fault.where), std::string::npos) << run.err;
  }
}

}  // namespace
