#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "storage/xml/xml_child_index.h"

namespace {

using Node = VXmlChildIndex::Node;

class XmlChildIndex : public ::testing::Test {
 protected:
  Node* Child(const char* kind, const std::string& name) {
    char* keptName = document.allocate_string(name.c_str(), name.size() + 1);
    Node* child = document.allocate_node(rapidxml::node_element, kind);
    child->append_attribute(document.allocate_attribute("name", keptName, 4, name.size()));
    return child;
  }
  rapidxml::xml_document<char> document;
};

TEST_F(XmlChildIndex, FindsEveryChildByKindAndNameAcrossGrowthAndKeepsTheFirstOfEach) {
  VXmlChildIndex index;
  std::vector<Node*> dwords;
  std::vector<Node*> strings;
  for (int i = 0; i < 1000; ++i) {
    dwords.push_back(Child("dword", "v" + std::to_string(i)));
    strings.push_back(Child("string", "v" + std::to_string(i)));
    index.Add(dwords.back());
    index.Add(strings.back());
  }
  Node* later = Child("dword", "v5");
  index.Add(later);
  EXPECT_EQ(index.Size(), 2000u);
  for (int i = 0; i < 1000; ++i) {
    const std::string name = "v" + std::to_string(i);
    EXPECT_EQ(index.Find("dword", name), dwords[static_cast<size_t>(i)]) << name;
    EXPECT_EQ(index.Find("string", name), strings[static_cast<size_t>(i)]) << name;
  }
  EXPECT_EQ(index.Find("dword", "v1000"), nullptr);
  EXPECT_EQ(index.Find("key", "v1"), nullptr);
  EXPECT_EQ(index.Find("dword", ""), nullptr);
  // A child without a name is found under the empty name.
  Node* unnamed = document.allocate_node(rapidxml::node_element, "string");
  VXmlChildIndex small(1);
  small.Add(unnamed);
  EXPECT_EQ(small.Find("string", ""), unnamed);
  EXPECT_EQ(small.Find("dword", ""), nullptr);
}

}  // namespace
