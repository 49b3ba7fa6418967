// quillane --registry HIVE: the key commands on the registry store.
#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

class RegistryCli : public ::testing::Test {
 protected:
  qtest::RunResult Run(std::vector<std::string> args) {
    return qtest::Quillane(args, {{"QUILLANE_REGISTRY_ROOT", dir_.Path()}});
  }
  qtest::TempDir dir_;
};

TEST_F(RegistryCli, SetGetListAndDeleteInTheUserHive) {
  auto set = Run({"--registry", "HKCU", "key", "set", "SOFTWARE/Tolvane/Karvell", "Config Path",
                  "--string", "/home/ada/cfg"});
  ASSERT_EQ(set.status, 0) << set.err;
  EXPECT_EQ(qtest::ReadFile(dir_ / "HKCU/SOFTWARE/Tolvane/Karvell.ini"),
            "\xEF\xBB\xBFS:\"Config Path\"=/home/ada/cfg\r\n");

  auto get = Run({"--registry", "HKCU", "key", "get", "SOFTWARE/Tolvane/Karvell", "Config Path"});
  EXPECT_EQ(get.status, 0) << get.err;
  EXPECT_EQ(get.out, "/home/ada/cfg\n");
  // The registry finds keys and values whatever their case.
  auto anyCase = Run({"--registry", "hkcu", "--json", "key", "get", "software\\tolvane\\KARVELL",
                      "config path"});
  EXPECT_EQ(anyCase.status, 0) << anyCase.err;
  EXPECT_EQ(anyCase.out, "{\"name\": \"config path\", \"kind\": \"string\", \"value\": \"/home/ada/cfg\"}\n");

  auto list = Run({"--registry", "HKCU", "key", "list", "SOFTWARE/Tolvane"});
  EXPECT_EQ(list.out, "Karvell\t4\n");

  auto kind = Run({"--registry", "HKCU", "key", "get", "SOFTWARE/Tolvane/Karvell", "Config Path",
                   "--kind", "dword"});
  EXPECT_EQ(kind.status, 1);

  auto missing = Run({"--registry", "HKCU", "key", "get", "SOFTWARE/Tolvane/Lumbrel", "Config Path"});
  EXPECT_EQ(missing.status, 1);
  // Reading created nothing.
  EXPECT_FALSE(qtest::Exists(dir_ / "HKCU/SOFTWARE/Tolvane/Lumbrel"));

  auto del = Run({"--registry", "HKCU", "key", "delete", "SOFTWARE/Tolvane"});
  EXPECT_EQ(del.status, 0) << del.err;
  EXPECT_FALSE(qtest::Exists(dir_ / "HKCU/SOFTWARE/Tolvane"));
  EXPECT_EQ(Run({"--registry", "HKCU", "key", "exists", "SOFTWARE/Tolvane"}).status, 1);
}

TEST_F(RegistryCli, WriteToAReadOnlyKeyFailsWithTheReason) {
  qtest::WriteFile(dir_ / "HKLM/SOFTWARE/Tolvane.ini", "\xEF\xBB\xBFS:\"A\"=1\r\n");
  ASSERT_EQ(system(("chmod -R a-w '" + dir_ / "HKLM" + "'").c_str()), 0);
  auto set = Run({"--registry", "HKLM", "key", "set", "SOFTWARE/Tolvane", "A", "--string", "2"});
  EXPECT_EQ(set.status, 3);
  EXPECT_NE(set.err.find("Access is denied"), std::string::npos) << set.err;
  auto get = Run({"--registry", "HKLM", "key", "get", "SOFTWARE/Tolvane", "A"});
  EXPECT_EQ(get.out, "1\n");
  EXPECT_FALSE(qtest::Exists(dir_ / "HKCU"));  // the machine hive is a tree of its own
}

TEST_F(RegistryCli, UnknownHiveIsAUsageError) {
  auto run = Run({"--registry", "HKCR", "key", "list", "/"});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("HKCU or HKLM"), std::string::npos);
}

}  // namespace
