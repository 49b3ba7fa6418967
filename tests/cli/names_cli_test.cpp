// Names through the command line: the longest names, names the session tree keeps for itself,
// sessions below sessions, names that are not UTF-8, and empty value names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "support/test_support.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";

class NamesCli : public ::testing::Test {
 protected:
  qtest::RunResult Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--lang", "en", "--config", config});
    return qtest::Quillane(args, qtest::HostEnv(dir));
  }
  // Every file and folder below the configuration folder, as paths relative to it.
  std::vector<std::string> Tree(const std::string& folder = "") {
    std::vector<std::string> out;
    std::vector<vfs::FolderEntry> entries;
    if (!vfs::ListFolder(folder.empty() ? config : config + "/" + folder, entries).ok()) return out;
    for (const auto& entry : entries) {
      std::string path = folder.empty() ? entry.name : folder + "/" + entry.name;
      out.push_back(path);
      if (entry.isDirectory) {
        for (auto& inner : Tree(path)) out.push_back(inner);
      }
    }
    return out;
  }
  qtest::TempDir dir;
  std::string config = dir / "config";
};

TEST_F(NamesCli, ANameThatPassesTheCheckCanBeSavedAndALongerOneIsRefused) {
  qtest::MakeDirs(config);
  long limit = vfs::MaxNameLength(config);
  ASSERT_GT(limit, 40);
  const size_t longest = static_cast<size_t>(limit) - 4;  // the value file adds ".ini"
  for (size_t length : {longest - 18, longest}) {
    std::string name(length, 'a');
    auto check = Run({"key", "name-check", "session", name});
    EXPECT_EQ(check.status, 0) << length << check.err;
    auto set = Run({"key", "set", "Long/" + name, "V", "--string", "x"});
    EXPECT_EQ(set.status, 0) << length << set.err;
    EXPECT_EQ(qtest::ReadFile(config + "/Long/" + name + ".ini"), kBom + "S:\"V\"=x\r\n");
    auto session = Run({"session", "create", name});
    EXPECT_EQ(session.status, 0) << length << session.err;
    EXPECT_TRUE(qtest::Exists(config + "/Sessions/" + name + ".ini"));
  }
  std::vector<std::string> before = Tree();
  std::string tooLong(longest + 1, 'b');
  auto check = Run({"key", "name-check", "session", tooLong});
  EXPECT_EQ(check.status, 3);
  EXPECT_NE(check.err.find("too long"), std::string::npos) << check.err;
  auto session = Run({"session", "create", tooLong});
  EXPECT_EQ(session.status, 3);
  EXPECT_NE(session.err.find("too long"), std::string::npos) << session.err;
  EXPECT_EQ(Tree(), before);
}

TEST_F(NamesCli, TheFolderDataNameIsNeverASessionOrAFolder) {
  ASSERT_EQ(Run({"session", "create", "Lab/router1"}).status, 0);
  ASSERT_EQ(Run({"sessions"}).status, 0);  // the listing writes the folder's order
  qtest::WriteFile(config + "/Sessions/Lab/__FolderData__.ini",
                   kBom + "S:\"Session List\"=router1\r\n");
  std::vector<std::string> before = Tree();
  for (std::string path :
       {"__FolderData__", "__folderdata__", "Lab/__FolderData__", "Lab/__FOLDERDATA__/x"}) {
    auto create = Run({"session", "create", path});
    EXPECT_EQ(create.status, 3) << path;
    EXPECT_NE(create.err.find("cannot name a session or a folder"), std::string::npos) << create.err;
  }
  auto del = Run({"session", "delete", "Lab/__FolderData__"});
  EXPECT_EQ(del.status, 3);
  EXPECT_NE(del.err.find("cannot name a session or a folder"), std::string::npos) << del.err;
  auto set = Run({"session", "set", "Lab/__FolderData__", "Hostname", "h"});
  EXPECT_EQ(set.status, 3);
  EXPECT_EQ(Tree(), before);
  EXPECT_EQ(qtest::ReadFile(config + "/Sessions/Lab/__FolderData__.ini"),
            kBom + "S:\"Session List\"=router1\r\n");
}

TEST_F(NamesCli, ASessionIsNeverCreatedInsideASession) {
  ASSERT_EQ(Run({"session", "create", "Router"}).status, 0);
  ASSERT_EQ(Run({"session", "create", "Lab/Edge"}).status, 0);
  std::vector<std::string> before = Tree();
  for (std::string path : {"Router/x", "Router/deeper/x", "Lab/Edge/x"}) {
    auto create = Run({"session", "create", path});
    EXPECT_EQ(create.status, 3) << path;
    EXPECT_NE(create.err.find("is a session, not a folder"), std::string::npos) << create.err;
  }
  EXPECT_EQ(Tree(), before);
  // A folder of that name beside the session is still a folder.
  ASSERT_EQ(Run({"session", "create", "Lab/x"}).status, 0);
  auto list = Run({"sessions", "--recursive"});
  EXPECT_NE(list.out.find("Lab\\\\x"), std::string::npos) << list.out;
}

TEST_F(NamesCli, NamesThatAreNotUtf8AreListedApartAndReachable) {
  qtest::WriteFile(config + "/caf\xE8.ini", kBom + "S:\"V\"=grave\r\n");
  qtest::WriteFile(config + "/caf\xE9.ini", kBom + "S:\"V\"=acute\r\n");
  auto list = Run({"--json", "key", "list", "/"});
  EXPECT_EQ(list.out,
            "[{\"name\": \"caf\xC3\xA8\", \"type\": 6}, {\"name\": \"caf\xC3\xA9\", \"type\": 6}]\n");
  // Reached by the name listed, and by the bytes of the name on disk.
  EXPECT_EQ(Run({"key", "get", "caf\xC3\xA8", "V"}).out, "grave\n");
  EXPECT_EQ(Run({"key", "get", "caf\xC3\xA9", "V"}).out, "acute\n");
  EXPECT_EQ(Run({"key", "get", "caf\xE9", "V"}).out, "acute\n");
  ASSERT_EQ(Run({"key", "set", "caf\xE9", "W", "--string", "w"}).status, 0);
  EXPECT_EQ(qtest::ReadFile(config + "/caf\xE9.ini"), kBom + "S:\"V\"=acute\r\nS:\"W\"=w\r\n");
  EXPECT_EQ(Tree(), (std::vector<std::string>{"caf\xE8.ini", "caf\xE9.ini"}));
  // A store's folder has no listing to be found through: a path that is not UTF-8 is refused.
  auto folder = qtest::Quillane({"--config", dir / "caf\xE9", "key", "list", "/"}, qtest::HostEnv(dir));
  EXPECT_EQ(folder.status, 2);
  EXPECT_NE(folder.err.find("--config is not valid UTF-8"), std::string::npos) << folder.err;
  EXPECT_NE(folder.err.find("caf\\xE9"), std::string::npos) << folder.err;
  auto merge = Run({"key", "merge-personal", "caf\xE9", dir / "p\xE9rsonal"});
  EXPECT_EQ(merge.status, 2);
  EXPECT_NE(merge.err.find("DIR is not valid UTF-8"), std::string::npos) << merge.err;
  auto remember = Run({"paths", "personal", "--set", dir / "p\xE9rsonal"});
  EXPECT_EQ(remember.status, 2);
  EXPECT_EQ(Tree(), (std::vector<std::string>{"caf\xE8.ini", "caf\xE9.ini"}));
}

TEST_F(NamesCli, TheXmlStoreRefusesAnEmptyValueName) {
  std::string file = dir / "settings.xml";
  auto xml = [&](std::vector<std::string> args) {
    args.insert(args.begin(), {"--lang", "en", "--xml", file});
    return qtest::Quillane(args, qtest::HostEnv(dir));
  };
  ASSERT_EQ(xml({"key", "set", "K", "Kept", "--string", "1"}).status, 0);
  auto set = xml({"key", "set", "K", "", "--string", "x"});
  EXPECT_EQ(set.status, 3);
  EXPECT_NE(set.err.find("syntax is incorrect"), std::string::npos) << set.err;
  EXPECT_EQ(qtest::ReadFile(file).find("name=\"\""), std::string::npos);
  EXPECT_EQ(xml({"key", "values", "K"}).out, "string\tKept\t1\n");
  // Refused under a key that does not exist yet: the key is not made either.
  std::string before = qtest::ReadFile(file);
  EXPECT_EQ(xml({"key", "set", "K/New/Deeper", "", "--dword", "1"}).status, 3);
  EXPECT_EQ(qtest::ReadFile(file), before);
  EXPECT_EQ(xml({"key", "exists", "K/New"}).status, 1);
  std::string fresh = dir / "fresh.xml";
  EXPECT_EQ(qtest::Quillane({"--xml", fresh, "key", "set", "A", "", "--string", "x"},
                            qtest::HostEnv(dir)).status, 3);
  EXPECT_FALSE(qtest::Exists(fresh));
}

}  // namespace
