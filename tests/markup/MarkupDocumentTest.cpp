#include "markup/MarkupDocument.h"
#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <random>

namespace trazmark {
namespace {

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

class AnsiPage {
 public:
  explicit AnsiPage(int page) { setAnsiCodePageOverride(page); }
  ~AnsiPage() { setAnsiCodePageOverride(0); }
};

std::vector<std::string> resultNames(const MarkupDocument& doc) {
  std::vector<std::string> names;
  for (const auto& entry : doc.result()) names.push_back(entry.name);
  return names;
}

// The tree as the navigation sees it: "name=data" per element, nested in [];
// the line ends between elements are left out of the data.
std::string describe(MarkupDocument& doc) {
  std::string out;
  while (doc.findElement()) {
    std::string data = doc.elementData();
    std::erase(data, '\r');
    std::erase(data, '\n');
    out += doc.elementName() + "=" + data + "[";
    doc.enterElement();
    out += describe(doc);
    doc.leaveElement();
    out += "]";
  }
  return out;
}

std::string describeFromTop(MarkupDocument& doc) {
  doc.resetPositions();
  std::string tree = describe(doc);
  doc.resetPositions();
  return tree;
}

TEST(MarkupCreation, WritesOneElementPerLineWithCrLf) {
  MarkupDocument doc;
  ASSERT_TRUE(doc.addElement("HEAD"));
  ASSERT_TRUE(doc.enterElement());
  ASSERT_TRUE(doc.addElement("Ver", "1.0.1.1"));
  EXPECT_EQ(doc.text(), "<HEAD>\r\n<Ver>1.0.1.1</Ver>\r\n</HEAD>\r\n");

  doc.setText(kDeclaration);
  doc.addElement("HEAD");
  doc.enterElement();
  doc.addElement("RoadLibrary");
  doc.enterElement();
  doc.addElement("Ver", "1.0.1.1");
  doc.addElement("Scisson");
  doc.enterElement();
  doc.leaveElement();
  doc.addElement("Flat_Curve");
  doc.enterElement();
  doc.addElement("FlatcurveType", "0");
  doc.addElement("CROSSPT");
  doc.addChildElement("Name", "");
  doc.addChildElement("Dx", "1.0000");
  doc.leaveElement();
  doc.addElement("Vertical_Curve");
  EXPECT_EQ(doc.text(), kDeclaration +
                            "<HEAD>\r\n<RoadLibrary>\r\n<Ver>1.0.1.1</Ver>\r\n<Scisson/>\r\n"
                            "<Flat_Curve>\r\n<FlatcurveType>0</FlatcurveType>\r\n<CROSSPT>\r\n"
                            "<Name/>\r\n<Dx>1.0000</Dx>\r\n</CROSSPT>\r\n</Flat_Curve>\r\n"
                            "<Vertical_Curve/>\r\n</RoadLibrary>\r\n</HEAD>\r\n");
  EXPECT_TRUE(doc.isWellFormed());
}

TEST(MarkupCreation, InsertsInTheMiddleAndKeepsTheIndexRight) {
  MarkupDocument doc;
  doc.setText(kDeclaration + "<r>\r\n<a>1</a>\r\n<c>3</c>\r\n<d x=\"1\"/>\r\n</r>\r\n");
  doc.findElement("r");
  doc.findChildElement("a");
  ASSERT_TRUE(doc.addChildElement("b", "2"));  // after the child position
  doc.enterElement();
  doc.findElement("d");
  ASSERT_TRUE(doc.addChildElement("e", "5"));  // <d x="1"/> opens
  EXPECT_EQ(doc.text(), kDeclaration +
                            "<r>\r\n<a>1</a>\r\n<b>2</b>\r\n<c>3</c>\r\n<d x=\"1\">\r\n<e>5</e>\r\n"
                            "</d>\r\n</r>\r\n");
  EXPECT_EQ(describeFromTop(doc), "r=[a=1[]b=2[]c=3[]d=[e=5[]]]");
  doc.resetPositions();
  doc.findElement("r");
  EXPECT_EQ(doc.elementData(), "\r\n\r\n\r\n\r\n\r\n");  // only the line ends between children
  MarkupDocument reparsed;
  ASSERT_TRUE(reparsed.setText(doc.text()));
  EXPECT_EQ(describeFromTop(reparsed), describeFromTop(doc));
}

TEST(MarkupCreation, OpensEmptyTagsOfAnyShape) {
  // Found by the fuzzer: "<b//>" once opened into "<b/>", still an empty tag.
  for (const char* text : {"<r><b/></r>", "<r><b x=\"/\" /></r>", "<r><b//></r>"}) {
    MarkupDocument doc;
    ASSERT_TRUE(doc.setText(text)) << text;
    doc.findElement("r");
    doc.findChildElement("b");
    ASSERT_TRUE(doc.enterElement());
    ASSERT_TRUE(doc.addChildElement("c", "1"));
    MarkupDocument reparsed;
    ASSERT_TRUE(reparsed.setText(doc.text())) << doc.text();
    EXPECT_EQ(describeFromTop(reparsed), "r=[b=[c=1[]]]") << doc.text();
    EXPECT_EQ(describeFromTop(doc), "r=[b=[c=1[]]]") << doc.text();
  }
}

// Random building against a fresh parse of the text built: every offset that
// the add operations move must agree with what the parser finds.
TEST(MarkupCreation, RandomBuildsAgreeWithAFreshParse) {
  std::mt19937 random(12345);
  for (int round = 0; round < 40; ++round) {
    MarkupDocument doc;
    doc.setText(kDeclaration);
    doc.addElement("root");
    for (int step = 0; step < 60; ++step) {
      std::string name = "n" + std::to_string(random() % 5);
      std::string data = (random() % 3 == 0) ? "" : "v&<" + std::to_string(step);
      switch (random() % 7) {
        case 0: doc.addElement(name, data); break;
        case 1: doc.addChildElement(name, data); break;
        case 2: doc.enterElement(); break;
        case 3: doc.leaveElement(); break;
        case 4: doc.findElement(); break;
        case 5: doc.findChildElement(); break;
        case 6: doc.resetPositions(); doc.findElement("root"); break;
      }
    }
    MarkupDocument reparsed;
    reparsed.setText(doc.text());
    EXPECT_EQ(reparsed.isWellFormed(), doc.isWellFormed()) << doc.text();
    EXPECT_EQ(reparsed.elementCount(), doc.elementCount());
    EXPECT_EQ(describeFromTop(reparsed), describeFromTop(doc)) << doc.text();
  }
}

TEST(MarkupCreation, RefusesBadNamesAndChildWithoutMainPosition) {
  MarkupDocument doc;
  doc.setText("<r/>");
  EXPECT_FALSE(doc.addChildElement("x"));  // no main position
  for (const char* bad : {"", "a b", "a>", "a/b", "<a", "a&b", "a=\"1\""}) EXPECT_FALSE(doc.addElement(bad)) << bad;
  EXPECT_EQ(doc.text(), "<r/>");
}

TEST(MarkupData, EscapingRoundTrips) {
  MarkupDocument doc;
  doc.addElement("v", "a<b&c>\"d'");
  EXPECT_EQ(doc.text(), "<v>a&lt;b&amp;c&gt;\"d'</v>\r\n");
  MarkupDocument back;
  ASSERT_TRUE(back.setText(doc.text()));
  ASSERT_TRUE(back.findElement("v"));
  EXPECT_EQ(back.elementData(), "a<b&c>\"d'");
}

TEST(MarkupData, GbkTextIsEscapedByWholeCharacters) {
  AnsiPage page(936);
  // 中 then a GB18030-style four-byte character whose trail bytes are digits.
  const std::string data = "\xD6\xD0&\x81\x30\x81\x30<";
  MarkupDocument doc;
  doc.addElement("v", data);
  EXPECT_EQ(doc.text(), "<v>\xD6\xD0&amp;\x81\x30\x81\x30&lt;</v>\r\n");
  doc.resetPositions();
  doc.findElement("v");
  EXPECT_EQ(doc.elementData(), data);
}

TEST(MarkupData, DecodesReferencesAndCdata) {
  struct Case {
    const char* content;
    const char* data;  // UTF-8 page
  };
  const Case cases[] = {
      {"&lt;&gt;&amp;&quot;&apos;", "<>&\"'"},
      {"&#65;&#x42;&#X43;&#x4E2D;", "ABC\xE4\xB8\xAD"},
      {"&eacute;&Eacute;&euro;&thetasym;", "\xC3\xA9\xC3\x89\xE2\x82\xAC\xCF\x91"},
      {"&unknown;&amp &#;&#x;&#12a;&#0;", "&unknown;&amp &#;&#x;&#12a;&#0;"},
      {"&#1114112;&verylongname;", "&#1114112;&verylongname;"},
      {"a<![CDATA[<b>&amp;]]>c", "a<b>&amp;c"},
      {"a<!-- note -->b<?pi x?>c", "abc"},
      {"a<child>inner</child>b<empty/>c", "abc"},
      {"", ""},
  };
  for (const auto& c : cases) {
    MarkupDocument doc;
    ASSERT_TRUE(doc.setText(std::string("<r>") + c.content + "</r>")) << c.content;
    ASSERT_TRUE(doc.findElement("r"));
    EXPECT_EQ(doc.elementData(), c.data) << c.content;
  }
  AnsiPage page(936);
  MarkupDocument doc;
  doc.setText("<r>&#x4E2D;&#x0E01;</r>");  // 中 and a Thai letter GBK lacks
  doc.findElement("r");
  EXPECT_EQ(doc.elementData(), "\xD6\xD0?");
}

TEST(MarkupParse, RecordsEachFaultByName) {
  struct Case {
    const char* text;
    bool wellFormed;
    const char* firstRecord;  // "" when nothing is recorded
  };
  const Case cases[] = {
      {"<a/>", true, ""},
      {"<?xml version=\"1.0\"?>\r\n<!DOCTYPE a [<!ENTITY e 'x>'>]>\r\n<!-- c -->\r\n<a/>\r\n", true, ""},
      {"<a x='1>2' y=\"</a>\">t</a>", true, ""},
      {"<a >x</a\r\n>", true, ""},
      {"", false, "no_root_element"},
      {"<!-- only -->", false, "no_root_element"},
      {"<a/><b/>", false, "root_has_sibling"},
      {"<a></b></a>", false, "lone_end_tag"},
      {"<a><b></a>", false, "unended_start_tag"},
      {"<a>", false, "unended_start_tag"},
      {"<a><ab></a>", false, "unended_start_tag"},
      {"<a>< b/></a>", false, "first_tag_syntax"},
      {"<a><1/></a>", false, "first_tag_syntax"},
      {"<a", false, "unterminated_tag_syntax"},
      {"<a x=\"1>", false, "unterminated_tag_syntax"},
      {"<a></a", false, "unterminated_tag_syntax"},
      {"<a><?pi </a>", false, "unterminated_tag_syntax"},
      {"<a>x<</a>", false, "first_tag_syntax"},
      {"<a><!-- x </a>", false, "comment_tag_syntax"},
      {"<a><![CDATA[ x </a>", false, "cdata_section_syntax"},
      {"<!DOCTYPE a [ <a/>", false, "doctype_tag_syntax"},
      {"<!ELEMENT x><a/>", false, "exclamation_tag_syntax"},
      {"<a/>\r\n<", false, "unterminated_tag_syntax"},
  };
  for (const auto& c : cases) {
    MarkupDocument doc;
    EXPECT_EQ(doc.setText(c.text), c.wellFormed) << c.text;
    EXPECT_EQ(doc.isWellFormed(), c.wellFormed) << c.text;
    auto names = resultNames(doc);
    if (*c.firstRecord == '\0') EXPECT_TRUE(names.empty()) << c.text << ": " << doc.resultText();
    else ASSERT_FALSE(names.empty()) << c.text;
    if (!names.empty()) {
      EXPECT_EQ(names.front(), c.firstRecord) << c.text;
    }
    EXPECT_EQ(doc.text(), c.text);  // the text stays loaded
  }
}

TEST(MarkupParse, AnEndTagOfAnOuterElementClosesTheInnerOnes) {
  MarkupDocument doc;
  EXPECT_FALSE(doc.setText("<a><b><c>x</a>"));
  EXPECT_EQ(resultNames(doc), (std::vector<std::string>{"unended_start_tag", "unended_start_tag"}));
  EXPECT_EQ(describeFromTop(doc), "a=[b=[c=x[]]]");
}

TEST(MarkupNavigation, FindsEnterAndLeaveAsTheRoadReaderNeedsThem) {
  MarkupDocument doc;
  ASSERT_TRUE(doc.setText(kDeclaration +
                          "<HEAD >\r\n<RoadLibrary>\r\n<Ver\t>1.0.1.1</Ver >\r\n<Scisson>\r\n"
                          "<Item><Type>0</Type><Length>1</Length></Item>\r\n"
                          "<Item><Type>1</Type><Length>2</Length></Item>\r\n</Scisson>\r\n"
                          "<Widen/>\r\n</RoadLibrary>\r\n</HEAD\r\n>\r\n"));
  ASSERT_TRUE(doc.findElement("HEAD"));  // white space before '>' is no part of the name
  EXPECT_FALSE(doc.findElement("HEAD"));  // only siblings after the main position
  EXPECT_EQ(doc.elementName(), "HEAD");   // a failed search moves nothing
  ASSERT_TRUE(doc.enterElement());
  ASSERT_TRUE(doc.findElement("RoadLibrary"));
  ASSERT_TRUE(doc.findChildElement("Ver"));
  EXPECT_EQ(doc.childData(), "1.0.1.1");
  EXPECT_EQ(doc.childName(), "Ver");
  ASSERT_TRUE(doc.enterElement());  // continues after Ver
  EXPECT_FALSE(doc.findElement("ver"));  // case-sensitive
  ASSERT_TRUE(doc.findElement("Scisson"));
  ASSERT_TRUE(doc.enterElement());
  std::string seen;
  while (doc.findElement("Item")) {
    ASSERT_TRUE(doc.findChildElement("Type"));
    seen += doc.childData();
    EXPECT_FALSE(doc.findChildElement("Type"));  // forward only
    ASSERT_TRUE(doc.findChildElement("Length"));
    seen += doc.childData();
  }
  EXPECT_EQ(seen, "0112");
  ASSERT_TRUE(doc.leaveElement());
  EXPECT_EQ(doc.elementName(), "Scisson");
  EXPECT_EQ(doc.childName(), "Item");
  ASSERT_TRUE(doc.findElement("Widen"));
  EXPECT_EQ(doc.elementData(), "");
  EXPECT_TRUE(doc.leaveElement());
  EXPECT_TRUE(doc.leaveElement());
  EXPECT_EQ(doc.elementName(), "HEAD");
  EXPECT_FALSE(doc.leaveElement());  // already at the top level

  doc.resetPositions();
  EXPECT_EQ(doc.elementName(), "");
  EXPECT_EQ(doc.elementData(), "");
  ASSERT_TRUE(doc.findChildElement("RoadLibrary"));  // finds the root first
  EXPECT_EQ(doc.elementName(), "HEAD");
  doc.resetPositions();
  EXPECT_FALSE(doc.findChildElement("Nothing"));
  EXPECT_EQ(doc.elementName(), "");  // nothing moved
  EXPECT_FALSE(doc.enterElement());
}

TEST(MarkupParse, RootWithASiblingStaysReadable) {
  MarkupDocument doc;
  EXPECT_FALSE(doc.setText("<a>1</a>\r\n<b>2</b>\r\n"));
  EXPECT_EQ(resultNames(doc), std::vector<std::string>{"root_has_sibling"});
  EXPECT_EQ(describeFromTop(doc), "a=1[]b=2[]");
}

}  // namespace
}  // namespace trazmark
