// The nesting scan must see exactly the elements the parser opens, or the depth guard in front
// of the parser would let a deep file through (or refuse a sound one).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "storage/xml/xml_document.h"
#include "storage/xml/xml_nesting_scan.h"

namespace {

using Node = VXmlFileKey::Node;

// The depth of the tree the parser builds, or -1 when it refuses the text.
long ParsedDepth(std::string text) {
  std::vector<char> buffer(text.begin(), text.end());
  buffer.push_back('\0');
  auto document = std::make_unique<rapidxml::xml_document<char>>();
  try {
    document->parse<VXmlFileKey::XmlDocument::kParseFlags>(buffer.data());
  } catch (const rapidxml::parse_error&) {
    return -1;
  }
  long deepest = 0;
  std::vector<std::pair<const Node*, long>> pending{{document.get(), 0}};
  while (!pending.empty()) {
    auto [node, depth] = pending.back();
    pending.pop_back();
    deepest = std::max(deepest, depth);
    for (const Node* child = node->first_node(); child; child = child->next_sibling()) {
      if (child->type() == rapidxml::node_element) pending.emplace_back(child, depth + 1);
    }
  }
  return deepest;
}

VXmlNestingScan Scan(const std::string& text, size_t limit = 1000) {
  return VScanXmlNesting(text.c_str(), limit);
}

TEST(XmlNestingScan, AgreesWithTheParserOnMarkupThatHidesTags) {
  const std::vector<std::pair<std::string, size_t>> cases = {
      {"<a/>", 1},
      {"\xEF\xBB\xBF<a><b/></a>", 2},
      {"<a><b><c/></b></a>", 3},
      {"<a x='<b>' y=\"/>\"><c/></a>", 2},
      {"<a><!-- <b><c> --><d/></a>", 2},
      {"<a><![CDATA[<b><c>]]></a>", 1},
      {"<a><?pi <b><c>?></a>", 1},
      {"<?xml version='1.0'?><!DOCTYPE a [<!ELEMENT a (b)> <!-- > -->]><a><b/></a>", 2},
      {"<a><!weird <b> ><c/></a>", 2},
      {"<a>text &lt;b&gt; more<b>t</b>tail</a>", 2},
      {"<a\n  x = 'v' ><b\t/></a >", 2},
      {"<a><b></b  ><c></c></a>", 2},
      {"<?XML-stylesheet href='x'?><a/>", 1},
      {"<a><?>x?><?pi>x?></a>", 1},
  };
  for (const auto& [text, depth] : cases) {
    VXmlNestingScan scan = Scan(text);
    EXPECT_FALSE(scan.malformed) << text;
    EXPECT_FALSE(scan.tooDeep) << text;
    EXPECT_EQ(scan.maxDepth, depth) << text;
    EXPECT_EQ(ParsedDepth(text), static_cast<long>(depth)) << text;
  }
}

TEST(XmlNestingScan, StopsWhereTheParserStops) {
  for (const char* text :
       {"<a>", "<a><b>", "text<a/>", "<a/>text", "<a x=v/>", "<a x='v/>", "<a><!-- x</a>",
        "<a><![CDATA[x</a>", "<a><?pi x</a>", "<a></a x>", "<?xml version='1.0'", "<>",
        "<a><!DOCTYPE [x</a>", "</a>"}) {
    EXPECT_TRUE(Scan(text).malformed) << text;
    EXPECT_EQ(ParsedDepth(text), -1) << text;
  }
}

TEST(XmlNestingScan, RefusesTheFirstElementBeyondTheLimit) {
  EXPECT_FALSE(Scan("<a><b><c/></b></a>", 3).tooDeep);
  VXmlNestingScan scan = Scan("<a><b><c/></b></a>", 2);
  EXPECT_TRUE(scan.tooDeep);
  EXPECT_EQ(scan.offset, 6u);
  scan = Scan("<a><b/><c><d></d></c></a>", 2);
  EXPECT_TRUE(scan.tooDeep);
  EXPECT_EQ(scan.offset, 10u);
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += "<a>";
  scan = Scan(deep, 256);
  EXPECT_TRUE(scan.tooDeep);
  EXPECT_EQ(scan.offset, 256u * 3);
  EXPECT_EQ(scan.maxDepth, 256u);
}

}  // namespace
