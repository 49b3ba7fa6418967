// quillane products and url-handler, run from a folder that holds the applications of the
// family (a copy of quillane beside the test siblings) and from one that holds none.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using qtest::RunResult;

class ProductCommands : public ::testing::Test {
 protected:
  // A folder with quillane and the siblings named, as an installation would have them.
  std::string Install(const std::vector<std::string>& siblings) {
    std::string folder = dir / "install";
    fs::create_directories(folder);
    fs::copy_file(QUILLANE_CLI_PATH, folder + "/quillane", fs::copy_options::overwrite_existing);
    for (const std::string& name : siblings) {
      fs::copy_file(std::string(QUILLANE_BINARY_DIR) + "/siblings/pair/" + name, folder + "/" + name,
                    fs::copy_options::overwrite_existing);
    }
    return folder;
  }
  RunResult Run(const std::string& program, std::vector<std::string> args) {
    args.insert(args.begin(), {"--config", dir / "cfg"});
    return qtest::Run(program, args, qtest::HostEnv(dir));
  }
  qtest::TempDir dir;
};

TEST_F(ProductCommands, ProductsTellsTheRunningProductAndTheInstalledSiblings) {
  RunResult alone = Run(QUILLANE_CLI_PATH, {"--json", "products"});
  ASSERT_EQ(alone.status, 0) << alone.err;
  EXPECT_EQ(alone.out,
            "{\"product_id\": 3, \"app\": \"Karvell\", \"transfer_product_id\": 6, \"integrated\": false, "
            "\"other_app\": null, \"installed\": {\"Karvell\": {\"installed\": false, \"path\": \"\"}, "
            "\"Lumbrel\": {\"installed\": false, \"path\": \"\"}, \"Ostrel\": {\"installed\": false, "
            "\"path\": \"\"}}}\n");

  std::string folder = Install({"Karvell", "Lumbrel"});
  RunResult pair = Run(folder + "/quillane", {"--json", "--app", "lumbrel", "products"});
  ASSERT_EQ(pair.status, 0) << pair.err;
  EXPECT_EQ(pair.out,
            "{\"product_id\": 6, \"app\": \"Lumbrel\", \"transfer_product_id\": 6, \"integrated\": true, "
            "\"other_app\": \"Karvell\", \"installed\": {\"Karvell\": {\"installed\": true, \"path\": \"" +
                folder + "/Karvell\"}, \"Lumbrel\": {\"installed\": true, \"path\": \"" + folder +
                "/Lumbrel\"}, \"Ostrel\": {\"installed\": false, \"path\": \"\"}}}\n");

  RunResult skellan = Run(folder + "/quillane", {"--app", "Skellan", "products"});
  ASSERT_EQ(skellan.status, 0) << skellan.err;
  EXPECT_EQ(skellan.out,
            "product_id\t9\napp\tSkellan\ntransfer_product_id\t9\nintegrated\tfalse\nother_app\t\n"
            "Karvell\tinstalled\t" + folder + "/Karvell\nLumbrel\tinstalled\t" + folder +
            "/Lumbrel\nOstrel\tnot installed\t\n");
  EXPECT_EQ(Run(folder + "/quillane", {"products", "extra"}).status, 2);
}

TEST_F(ProductCommands, UrlHandlerRegistersInATestHomeAndStatusSaysSo) {
  RunResult without = Run(QUILLANE_CLI_PATH, {"--json", "url-handler", "register"});
  EXPECT_EQ(without.status, 3);
  EXPECT_NE(without.err.find("Karvell is not installed in"), std::string::npos) << without.err;
  EXPECT_FALSE(qtest::Exists(dir / "xdg/mimeapps.list"));
  RunResult none = Run(QUILLANE_CLI_PATH, {"url-handler", "status"});
  EXPECT_EQ(none.status, 0) << none.err;
  EXPECT_EQ(none.out, "ssh\tfalse\nssh1\tfalse\nssh2\tfalse\ntelnet\tfalse\n");

  std::string folder = Install({"Karvell"});
  RunResult before = Run(folder + "/quillane", {"--json", "url-handler", "status"});
  ASSERT_EQ(before.status, 0) << before.err;
  EXPECT_EQ(before.out, "{\"ssh\": false, \"ssh1\": false, \"ssh2\": false, \"telnet\": false}\n");

  qtest::WriteFile(dir / "xdg/mimeapps.list", "[Default Applications]\ntext/html=browser.desktop\n");
  RunResult made = Run(folder + "/quillane", {"--json", "url-handler", "register"});
  ASSERT_EQ(made.status, 0) << made.err;
  EXPECT_EQ(made.out, "{\"ssh\": true, \"ssh1\": true, \"ssh2\": true, \"telnet\": true}\n");
  std::string entry = qtest::ReadFile(dir / "data/applications/tolvane-karvell.desktop");
  EXPECT_NE(entry.find("\nExec=\"" + folder + "/Karvell\" %u\n"), std::string::npos) << entry;
  EXPECT_NE(entry.find("\nMimeType=x-scheme-handler/ssh;x-scheme-handler/ssh1;"), std::string::npos);
  std::string list = qtest::ReadFile(dir / "xdg/mimeapps.list");
  EXPECT_EQ(list.rfind("[Default Applications]\ntext/html=browser.desktop\n"
                       "x-scheme-handler/ssh=tolvane-karvell.desktop\n", 0), 0u) << list;

  RunResult status = Run(folder + "/quillane", {"url-handler", "status"});
  ASSERT_EQ(status.status, 0) << status.err;
  EXPECT_EQ(status.out, "ssh\ttrue\nssh1\ttrue\nssh2\ttrue\ntelnet\ttrue\n");

  // The desktop's own tool, where it is installed, reads the same association.
  std::string xdgMime;
  for (const char* candidate : {"/usr/bin/xdg-mime", "/usr/local/bin/xdg-mime"}) {
    if (qtest::Exists(candidate)) xdgMime = candidate;
  }
  if (xdgMime.empty()) GTEST_SKIP() << "xdg-mime is not installed: its reading not checked";
  std::map<std::string, std::string> env = qtest::HostEnv(dir);
  env["XDG_CURRENT_DESKTOP"] = "";
  env["DE"] = "generic";
  env["XDG_DATA_DIRS"] = dir / "nowhere";
  env["XDG_CONFIG_DIRS"] = dir / "nowhere";
  RunResult query = qtest::Run(xdgMime, {"query", "default", "x-scheme-handler/ssh"}, env);
  EXPECT_EQ(query.out, "tolvane-karvell.desktop\n") << query.err;
}

TEST_F(ProductCommands, UrlHandlerRefusesWhatItDoesNotKnow) {
  std::string folder = Install({"Karvell"});
  EXPECT_EQ(Run(folder + "/quillane", {"url-handler"}).status, 2);
  EXPECT_EQ(Run(folder + "/quillane", {"url-handler", "unregister"}).status, 2);
  EXPECT_EQ(Run(folder + "/quillane", {"url-handler", "status", "ssh"}).status, 2);
}

}  // namespace
