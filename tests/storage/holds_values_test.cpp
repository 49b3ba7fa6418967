// Whether a key holds values, asked of each store: a key holding only keys is a folder, one
// holding a value of any kind is not, whatever the order its children come in.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "storage/ini/ini_file_store.h"
#include "storage/registry/registry_store.h"
#include "storage/registry_test_env.h"
#include "storage/xml/xml_file_store.h"
#include "support/test_support.h"

namespace {

void CheckStore(VProfileStoreFactory& factory) {
  {
    VProfileStore store(false, &factory);
    VProfileKey root(*store.GetRootKey(), u"Sessions", kProfileKeyCreate);
    VProfileKey folder(root, u"Lab", kProfileKeyCreate);
    VProfileKey inner(folder, u"Inner", kProfileKeyCreate);
    VProfileKey session(inner, u"r1", kProfileKeyCreate);
    ASSERT_TRUE(session.WriteDword(u"Port", 22));
    VProfileKey listOnly(folder, u"lists", kProfileKeyCreate);
    VStringArray list;
    list.Add(u"a");
    ASSERT_TRUE(listOnly.WriteMultiSz(u"Hosts", list));
    VProfileKey empty(folder, u"empty", kProfileKeyCreate);
    ASSERT_TRUE(session.Flush() && listOnly.Flush() && store.GetRootKey()->Flush());
  }
  VProfileStore store(true, &factory);
  VProfileKey sessions(*store.GetRootKey(), u"Sessions");
  VProfileKey lab(sessions, u"Lab");
  EXPECT_FALSE(lab.HoldsValues());
  EXPECT_FALSE(VProfileKey(lab, u"Inner").HoldsValues());
  EXPECT_TRUE(VProfileKey(VProfileKey(lab, u"Inner"), u"r1").HoldsValues());
  EXPECT_TRUE(VProfileKey(lab, u"lists").HoldsValues());
  EXPECT_FALSE(VProfileKey(lab, u"empty").HoldsValues());
  EXPECT_FALSE(VProfileKey(lab, u"missing").HoldsValues());
}

TEST(HoldsValues, EachStoreTellsFoldersFromKeysWithValues) {
  {
    SCOPED_TRACE("folder of files");
    qtest::TempDir dir;
    VIniFileStoreFactory factory(U8(dir.Path()));
    CheckStore(factory);
  }
  {
    SCOPED_TRACE("settings file");
    qtest::TempDir dir;
    VXmlFileStoreFactory factory(U8(dir / "settings.xml"));
    CheckStore(factory);
  }
  {
    SCOPED_TRACE("per-user store");
    RegistryTestEnv env;
    VRegistryStoreFactory factory(VRegistryHive::CurrentUser, u"SOFTWARE\\Tolvane");
    CheckStore(factory);
  }
}

// Children the settings file does not know as values (text, comments, elements of another kind or
// without a name) do not make a key hold values.
TEST(HoldsValues, ASettingsFileCountsOnlyNamedValueElements) {
  qtest::TempDir dir;
  std::string path = dir / "settings.xml";
  qtest::WriteFile(path,
                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Tolvane>\n"
                   "<key name=\"odd\"><!-- note --><other name=\"x\">1</other><dword>3</dword>"
                   "<key name=\"sub\"/></key>\n"
                   "<key name=\"late\"><key name=\"sub\"/><string name=\"Host\">h</string></key>\n"
                   "</Tolvane>\n");
  VXmlFileStoreFactory factory(U8(path));
  VProfileStore store(true, &factory);
  EXPECT_FALSE(VProfileKey(*store.GetRootKey(), u"odd").HoldsValues());
  EXPECT_TRUE(VProfileKey(*store.GetRootKey(), u"late").HoldsValues());
}

}  // namespace
