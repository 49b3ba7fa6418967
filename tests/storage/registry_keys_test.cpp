// Keys of the registry store: opening, creating, finding, listing and deleting them, and the
// hives and root the library starts from.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include "key_entries.h"
#include "platform/win32_errors.h"
#include "storage/registry/registry_store.h"
#include "storage/registry_test_env.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";

void MakeReadOnly(const std::string& path) {
  std::string command = "chmod -R a-w '" + path + "'";
  ASSERT_EQ(system(command.c_str()), 0);
}

// A hive pair of its own for every test here.
class RegistryKeys : public ::testing::Test {
 protected:
  RegistryTestEnv env;
};

TEST_F(RegistryKeys, HiveFolders) {
  {
    qtest::ScopedEnv root("QUILLANE_REGISTRY_ROOT", nullptr);
    qtest::ScopedEnv config("XDG_CONFIG_HOME", "/home/ada/.config");
    EXPECT_EQ(VRegistryHiveFolder(VRegistryHive::CurrentUser),
              "/home/ada/.config/Tolvane/registry");
    EXPECT_EQ(VRegistryHiveFolder(VRegistryHive::LocalMachine), "/etc/xdg/Tolvane/registry");
    qtest::ScopedEnv moved("QUILLANE_REGISTRY_ROOT", "/srv/reg");
    EXPECT_EQ(VRegistryHiveFolder(VRegistryHive::CurrentUser), "/srv/reg/HKCU");
    EXPECT_EQ(VRegistryHiveFolder(VRegistryHive::LocalMachine), "/srv/reg/HKLM");
  }

  VRegistryHive hive = VRegistryHive::CurrentUser;
  EXPECT_TRUE(VParseRegistryHive("hklm", hive));
  EXPECT_EQ(hive, VRegistryHive::LocalMachine);
  EXPECT_TRUE(VParseRegistryHive("HKEY_CURRENT_USER", hive));
  EXPECT_EQ(hive, VRegistryHive::CurrentUser);
  EXPECT_FALSE(VParseRegistryHive("HKCR", hive));
}

TEST_F(RegistryKeys, OnlyTheCreateFlagOrAWriteMakesAKey) {
  VRegistryStoreFactory factory(VRegistryHive::CurrentUser, u"SOFTWARE\\Tolvane");
  {
    VProfileStore readOnly(true, &factory);
    VProfileKey missing(*readOnly.GetRootKey(), u"Karvell");
    VUnicodeString value;
    EXPECT_FALSE(missing.ReadString(u"Config Path", value));
    EXPECT_EQ(missing.GetLastError().GetMessageId(), win32::kFileNotFound);
    EXPECT_FALSE(missing.CanWrite());
    EXPECT_FALSE(readOnly.GetRootKey()->SubKeyExists(u"Karvell"));
    EXPECT_TRUE(ListEntries(missing, false).empty());
  }
  EXPECT_FALSE(qtest::Exists(env.User()));
  {
    // Looking through a writable store makes nothing either, below a missing key included; the
    // key may still be written, and is made then.
    VProfileStore store(&factory);
    VProfileKey karvell(*store.GetRootKey(), u"Karvell", 0);
    VProfileKey sessions(karvell, u"Sessions", 0);
    VProfileKey lab(sessions, u"Lab", 0);
    EXPECT_TRUE(karvell.CanWrite());
    EXPECT_TRUE(lab.CanWrite());
    VUnicodeString value;
    EXPECT_FALSE(lab.ReadString(u"Hostname", value));
    EXPECT_EQ(lab.GetLastError().GetMessageId(), win32::kFileNotFound);
    EXPECT_FALSE(store.GetRootKey()->SubKeyExists(u"Karvell"));
    EXPECT_FALSE(karvell.SubKeyExists(u"Sessions"));
    EXPECT_TRUE(ListEntries(karvell, false).empty());
    EXPECT_FALSE(lab.DeleteValue(u"Hostname"));
    EXPECT_EQ(lab.GetLastError().GetMessageId(), win32::kFileNotFound);
    EXPECT_FALSE(sessions.DeleteSubKey(u"Lab"));
    // A value refused for its name makes no key for it.
    EXPECT_FALSE(lab.WriteString(u"bad\"name", u"x"));
    EXPECT_EQ(lab.GetLastError().GetMessageId(), win32::kInvalidName);
    EXPECT_FALSE(qtest::Exists(env.User("SOFTWARE/Tolvane/Karvell")));

    ASSERT_TRUE(lab.WriteString(u"Hostname", u"lab1"));
    EXPECT_TRUE(qtest::Exists(env.User("SOFTWARE/Tolvane/Karvell/Sessions/Lab.ini")));
    // Handles opened before see the key made through another one.
    EXPECT_TRUE(karvell.SubKeyExists(u"Sessions"));
    EXPECT_EQ(ListEntries(sessions, false), (KeyEntries{{"Lab", 4}}));
    ASSERT_TRUE(karvell.WriteDword(u"N", 1));
    VProfileKey made(*store.GetRootKey(), u"Lumbrel", kProfileKeyCreate);
    EXPECT_TRUE(store.GetRootKey()->SubKeyExists(u"Lumbrel"));
  }
  EXPECT_TRUE(qtest::Exists(env.User("SOFTWARE/Tolvane/Karvell.ini")));
  EXPECT_TRUE(qtest::Exists(env.User("SOFTWARE/Tolvane/Lumbrel")));
}

TEST_F(RegistryKeys, KeyThatMayNotBeWrittenOpensReadOnlyAndStillReads) {
  VRegistryStoreFactory factory(VRegistryHive::LocalMachine, u"SOFTWARE\\Tolvane");
  {
    VProfileStore store(&factory);
    VProfileKey karvell(*store.GetRootKey(), u"Karvell", kProfileKeyCreate);
    ASSERT_TRUE(karvell.WriteString(u"Config Path", u"/srv/cfg"));
  }
  std::string file = env.Machine("SOFTWARE/Tolvane/Karvell.ini");
  std::string before = qtest::ReadFile(file);
  // No write bit anywhere in the hive: read-only for everyone, root included.
  MakeReadOnly(env.Machine());

  VProfileStore store(&factory);
  VProfileKey karvell(*store.GetRootKey(), u"Karvell");
  EXPECT_FALSE(karvell.CanWrite());
  EXPECT_FALSE(store.GetRootKey()->CanWrite());
  VUnicodeString value;
  ASSERT_TRUE(karvell.ReadString(u"Config Path", value));
  EXPECT_EQ(value, u"/srv/cfg");
  EXPECT_FALSE(karvell.WriteString(u"Config Path", u"/elsewhere"));
  EXPECT_EQ(karvell.GetLastError().GetMessageId(), win32::kAccessDenied);
  EXPECT_FALSE(karvell.DeleteValue(u"Config Path"));
  EXPECT_FALSE(store.GetRootKey()->DeleteSubKey(u"Karvell"));
  EXPECT_EQ(qtest::ReadFile(file), before);
  // Nothing new is created below a read-only key.
  VProfileKey child(karvell, u"Child", kProfileKeyCreate);
  EXPECT_FALSE(child.CanWrite());
  EXPECT_FALSE(qtest::Exists(env.Machine("SOFTWARE/Tolvane/Karvell/Child")));
}

TEST_F(RegistryKeys, KeyThatCannotBeCreatedReportsAccessDenied) {
  qtest::MakeDirs(env.Machine());
  MakeReadOnly(env.Machine());
  VRegistryStoreFactory factory(VRegistryHive::LocalMachine, u"SOFTWARE\\Tolvane");
  VProfileStore store(&factory);
  EXPECT_FALSE(store.GetRootKey()->WriteDword(u"N", 1));
  EXPECT_EQ(store.GetRootKey()->GetLastError().GetMessageId(), win32::kAccessDenied);
  EXPECT_FALSE(qtest::Exists(env.Machine("SOFTWARE")));
  // Reading only, the same key is simply not there.
  VProfileStore reader(true, &factory);
  VDword n = 0;
  EXPECT_FALSE(reader.GetRootKey()->ReadDword(u"N", n));
  EXPECT_EQ(reader.GetRootKey()->GetLastError().GetMessageId(), win32::kFileNotFound);
}

TEST_F(RegistryKeys, ReadOnlyValueFileAloneMakesTheKeyReadOnly) {
  VRegistryStoreFactory factory(VRegistryHive::CurrentUser, u"SOFTWARE");
  {
    VProfileStore store(&factory);
    VProfileKey key(*store.GetRootKey(), u"Tolvane");
    ASSERT_TRUE(key.WriteDword(u"N", 1));
  }
  ASSERT_EQ(chmod(env.User("SOFTWARE/Tolvane.ini").c_str(), 0444), 0);
  VProfileStore store(&factory);
  VProfileKey key(*store.GetRootKey(), u"Tolvane");
  EXPECT_FALSE(key.CanWrite());
  VDword n = 0;
  EXPECT_TRUE(key.ReadDword(u"N", n));
  EXPECT_FALSE(key.WriteDword(u"N", 2));
  EXPECT_TRUE(store.GetRootKey()->CanWrite());
}

TEST_F(RegistryKeys, DeleteSubKeyRemovesTheWholeTree) {
  VRegistryStoreFactory factory(VRegistryHive::CurrentUser, u"SOFTWARE\\Tolvane");
  VProfileStore store(&factory);
  VProfileKey& root = *store.GetRootKey();
  {
    VProfileKey karvell(root, u"Karvell");
    VProfileKey sessions(karvell, u"Sessions");
    VProfileKey lab(sessions, u"Lab");
    ASSERT_TRUE(lab.WriteString(u"Hostname", u"lab1"));
    ASSERT_TRUE(karvell.WriteDword(u"N", 1));
    VProfileKey lumbrel(root, u"Lumbrel");
    ASSERT_TRUE(lumbrel.WriteDword(u"N", 2));
  }
  ASSERT_TRUE(qtest::Exists(env.User("SOFTWARE/Tolvane/Karvell/Sessions/Lab.ini")));
  EXPECT_TRUE(root.DeleteSubKey(u"karvell"));  // found without regard to case
  EXPECT_FALSE(qtest::Exists(env.User("SOFTWARE/Tolvane/Karvell")));
  EXPECT_FALSE(qtest::Exists(env.User("SOFTWARE/Tolvane/Karvell.ini")));
  EXPECT_FALSE(root.SubKeyExists(u"Karvell"));
  EXPECT_TRUE(root.SubKeyExists(u"Lumbrel"));
  // A key that is not there cannot be deleted.
  EXPECT_FALSE(root.DeleteSubKey(u"Karvell"));
  EXPECT_EQ(root.GetLastError().GetMessageId(), win32::kFileNotFound);
}

TEST_F(RegistryKeys, DeleteSubKeyRemovesNothingWhenPartOfTheTreeIsReadOnly) {
  VRegistryStoreFactory factory(VRegistryHive::CurrentUser, u"SOFTWARE\\Tolvane");
  VProfileStore store(&factory);
  VProfileKey& root = *store.GetRootKey();
  {
    VProfileKey a(root, u"A");
    VProfileKey b(a, u"B");
    VProfileKey c(a, u"C");
    ASSERT_TRUE(b.WriteDword(u"N", 1));
    ASSERT_TRUE(c.WriteDword(u"N", 1));
  }
  ASSERT_EQ(chmod(env.User("SOFTWARE/Tolvane/A/C.ini").c_str(), 0444), 0);
  EXPECT_FALSE(root.DeleteSubKey(u"A"));
  EXPECT_EQ(root.GetLastError().GetMessageId(), win32::kAccessDenied);
  EXPECT_TRUE(qtest::Exists(env.User("SOFTWARE/Tolvane/A/B.ini")));
  EXPECT_TRUE(qtest::Exists(env.User("SOFTWARE/Tolvane/A/C.ini")));
  EXPECT_TRUE(qtest::Exists(env.User("SOFTWARE/Tolvane/A")));
}

TEST_F(RegistryKeys, NamesThatCannotBeOneFolderNameAreRefusedAndCreateNothing) {
  VRegistryStoreFactory factory(VRegistryHive::CurrentUser, u"SOFTWARE");
  VProfileStore store(&factory);
  VProfileKey& root = *store.GetRootKey();
  for (const char16_t* name : {u"", u".", u"..", u"a/b", u"../HKLM"}) {
    VReportMessageParams* error = nullptr;
    EXPECT_FALSE(root.ValidateSubKeyName(name, &error)) << vtext::ToUtf8(name);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->GetMessageId(), win32::kInvalidName);
    error->Release();
    VProfileKey key(root, name, kProfileKeyCreate);
    EXPECT_EQ(key.GetLastError().GetMessageId(), win32::kInvalidName);
    EXPECT_FALSE(key.WriteDword(u"N", 1));
    EXPECT_FALSE(root.SubKeyExists(name));
    EXPECT_FALSE(root.DeleteSubKey(name));
  }
  EXPECT_FALSE(qtest::Exists(env.User("SOFTWARE/a")));
  EXPECT_FALSE(qtest::Exists(env.Root() + "/HKLM"));
  // Anything else a file name can hold is a key name, characters other systems refuse included.
  VReportMessageParams* error = nullptr;
  EXPECT_TRUE(root.ValidateSubKeyName(u"con: *?<>|\\", &error));
  EXPECT_EQ(error->GetMessageId(), 0u);
  error->Release();
  std::u16string tooLong(300, u'x');
  EXPECT_FALSE(root.ValidateSubKeyName(tooLong.c_str(), nullptr));
  {
    VProfileKey odd(root, u"con: *?<>|\\", kProfileKeyCreate);
    EXPECT_TRUE(odd.WriteDword(u"N", 1));
  }
  EXPECT_TRUE(root.SubKeyExists(u"CON: *?<>|\\"));
}

TEST_F(RegistryKeys, KeysAreFoundWithoutRegardToCase) {
  // A hive copied from elsewhere, with its own spelling of the levels.
  qtest::WriteFile(env.User("Software/TOLVANE/karvell.ini"), kBom + "S:\"Config Path\"=/x\r\n");
  VRegistryStoreFactory factory(VRegistryHive::CurrentUser, u"SOFTWARE\\Tolvane");
  {
    VProfileStore store(&factory);
    VProfileKey karvell(*store.GetRootKey(), u"Karvell");
    VUnicodeString value;
    ASSERT_TRUE(karvell.ReadString(u"config path", value));
    EXPECT_EQ(value, u"/x");
    ASSERT_TRUE(karvell.WriteDword(u"N", 1));
  }
  // The existing spelling is kept: no second tree, and the key's folder follows its value file.
  EXPECT_FALSE(qtest::Exists(env.User("SOFTWARE")));
  EXPECT_TRUE(qtest::Exists(env.User("Software/TOLVANE/karvell")));
  EXPECT_FALSE(qtest::Exists(env.User("Software/TOLVANE/Karvell.ini")));
  EXPECT_EQ(qtest::ReadFile(env.User("Software/TOLVANE/karvell.ini")),
            kBom + "S:\"Config Path\"=/x\r\nD:\"N\"=00000001\r\n");
}

TEST_F(RegistryKeys, ListingSubKeysAndValues) {
  qtest::MakeDirs(env.User("SOFTWARE/beta"));                     // folder only
  qtest::WriteFile(env.User("SOFTWARE/Alpha.ini"), kBom);          // value file only
  qtest::MakeDirs(env.User("SOFTWARE/gamma"));                     // both, in two spellings
  qtest::WriteFile(env.User("SOFTWARE/Gamma.ini"), kBom);
  qtest::WriteFile(env.User("SOFTWARE/notes.txt"), "not a key");
  qtest::WriteFile(env.User("SOFTWARE.ini"),
                   kBom + "Z:\"z\"=00000000\r\nD:\"d\"=00000001\r\nS:\"S\"=x\r\n"
                          "B:\"b\"=00000000\r\nE:\"e\"=y\r\n");
  VRegistryStoreFactory factory(VRegistryHive::CurrentUser, u"SOFTWARE");
  VProfileStore store(true, &factory);
  EXPECT_EQ(ListEntries(*store.GetRootKey(), false),
            (KeyEntries{{"Alpha", 4}, {"beta", 4}, {"gamma", 4}}));
  // Values in the order they were stored.
  EXPECT_EQ(ListEntries(*store.GetRootKey(), true),
            (KeyEntries{{"z", 3}, {"d", 0}, {"S", 1}, {"b", 2}, {"e", 1}}));
}

TEST_F(RegistryKeys, RewriteAndMergePersonalDataChangeNothing) {
  VRegistryStoreFactory factory(VRegistryHive::CurrentUser, u"SOFTWARE");
  VProfileStore store(&factory);
  ASSERT_TRUE(store.GetRootKey()->WriteString(u"Password", u"x"));
  std::string before = qtest::ReadFile(env.User("SOFTWARE.ini"));
  EXPECT_TRUE(store.GetRootKey()->Rewrite());
  store.GetRootKey()->MergePersonalData(u"/nowhere");
  EXPECT_TRUE(store.GetRootKey()->Flush());
  EXPECT_EQ(qtest::ReadFile(env.User("SOFTWARE.ini")), before);
}

TEST_F(RegistryKeys, SharedFactoryStartsFromTheFirstRootThatExists) {
  auto root = [] {
    VResetRegistryStoreFactory();
    VRegistryStoreFactory& factory = VGetRegistryStoreFactory();
    return std::make_pair(factory.GetHive(), std::u16string(factory.GetPath()));
  };
  using Root = std::pair<VRegistryHive, std::u16string>;
  EXPECT_EQ(root(), (Root{VRegistryHive::CurrentUser, u"SOFTWARE\\Tolvane"}));
  // Choosing opens for reading only: nothing is created by it.
  EXPECT_FALSE(qtest::Exists(env.User()));
  EXPECT_FALSE(qtest::Exists(env.Machine()));
  qtest::MakeDirs(env.Machine("SOFTWARE/Tol Vane Technologies"));
  EXPECT_EQ(root(), (Root{VRegistryHive::LocalMachine, u"SOFTWARE\\Tol Vane Technologies"}));
  qtest::MakeDirs(env.User("SOFTWARE/Tol Vane Technologies"));
  EXPECT_EQ(root(), (Root{VRegistryHive::CurrentUser, u"SOFTWARE\\Tol Vane Technologies"}));
  qtest::WriteFile(env.Machine("SOFTWARE/tolvane.ini"), kBom);
  EXPECT_EQ(root(), (Root{VRegistryHive::LocalMachine, u"SOFTWARE\\Tolvane"}));
  qtest::MakeDirs(env.User("SOFTWARE/Tolvane"));
  EXPECT_EQ(root(), (Root{VRegistryHive::CurrentUser, u"SOFTWARE\\Tolvane"}));

  // Re-pointing the shared factory changes the stores it makes next.
  VRegistryStoreFactory& factory = VGetRegistryStoreFactory();
  factory.Set(VRegistryHive::CurrentUser, u"SOFTWARE\\Tolvane\\Karvell");
  {
    VProfileStore store(&factory);
    ASSERT_TRUE(store.GetRootKey()->WriteDword(u"N", 1));
  }
  EXPECT_TRUE(qtest::Exists(env.User("SOFTWARE/Tolvane/Karvell.ini")));
}

}  // namespace
