#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "content/Xml.h"
#include "media/Clock.h"
#include "media/TStream.h"

namespace {

XmlNode Parse(const std::string& text) {
    return XmlLoad(OpenMemory(std::vector<uint8_t>(text.begin(), text.end()), "test.xml"));
}

std::vector<std::string> ChildTags(sdXMLnode* node) {
    std::vector<std::string> tags;
    for (sdXMLnode* c = node ? node->firstchild : nullptr; c; c = XmlNextSibling(c)) tags.push_back(c->Tag);
    return tags;
}

TEST(Xml, DeclarationAndCommentAreSkippedAndTheElementTreeIsBuilt) {
    XmlNode root = Parse(
        "<?xml version=\"1.0\"?>\r\n<!-- resources -->\r\n<res>\r\n  <a id=\"x\"/>\r\n</res>\r\n");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->Tag, "res");
    EXPECT_EQ(root->path(), "/");
    EXPECT_EQ(root->parent, nullptr);
    EXPECT_EQ(root->endtag, "/res");
    ASSERT_EQ(root->childcount, 1);
    sdXMLnode* a = root->firstchild;
    EXPECT_EQ(a, root->lastchild);
    EXPECT_EQ(a->Tag, "a");
    EXPECT_EQ(a->path(), "/res/");
    EXPECT_EQ(XmlParent(a), root.get());
    EXPECT_EQ(a->attrcount, 1);
    EXPECT_EQ(XmlAttr(a, "id"), "x");
    EXPECT_EQ(a->firstattr->parent, a);
    EXPECT_EQ(a->endtag, "/");
}

TEST(Xml, PathsAndAttributeNamesIgnoreCase) {
    XmlNode root = Parse("<Res><IMAGE Id=\"q\"/></Res>");
    sdXMLnode* image = XmlChild(root, "image/");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Tag, "IMAGE");
    EXPECT_EQ(XmlAttr(image, "ID"), "q");
    EXPECT_EQ(XmlAttr(image, "iD"), "q");
    EXPECT_EQ(XmlFindAttr(image, "idx"), nullptr);
}

TEST(Xml, PathQueriesNeedTheTrailingSlash) {
    XmlNode root = Parse(
        "<root><PosX min=\"-5\" max=\"5\"/><Outer><Inner v=\"7\"/></Outer>"
        "<twin/><twin><leaf v=\"2\"/></twin></root>");
    struct Case {
        const char* path;
        const char* attr;
        float expected;
    };
    const Case cases[] = {
        {"PosX/", "min", -5.0f},      {"posx/", "max", 5.0f},        {"PosX", "min", 0.0f},
        {"Outer/Inner/", "v", 7.0f},  {"outer/inner/", "v", 7.0f},   {"Outer/Inner", "v", 0.0f},
        {"Inner/", "v", 0.0f},        {"", "v", 0.0f},               {"/", "v", 0.0f},
        {"twin/leaf/", "v", 2.0f},  // the first twin lacks the leaf; the search goes on
        {"PosX/", "absent", 0.0f},
    };
    for (const Case& c : cases) {
        EXPECT_FLOAT_EQ(XmlPathAttrFloat(root, c.path, c.attr, 0.0f), c.expected) << c.path;
    }
    EXPECT_EQ(XmlPathAttrInt(root, "Outer/Inner/", "v", -1), 7);
    EXPECT_EQ(XmlPathAttrInt(root, "Outer/Missing/", "v", -1), -1);
    EXPECT_EQ(XmlPathAttrString(root, "Outer/Inner/", "v", "d"), "7");
    EXPECT_EQ(XmlPathAttrString(root, "Nope/", "v", "d"), "d");
    EXPECT_EQ(XmlFindPath(root, "root/Outer/")->Tag, "Outer");
    EXPECT_EQ(XmlFindPath(root, "Outer/"), nullptr);  // the walk starts at the node itself
}

TEST(Xml, AttributeValuesFollowTheQuotingRules) {
    struct Case {
        const char* xml;
        std::vector<std::pair<std::string, std::string>> attrs;  // name, value in order
    };
    const Case cases[] = {
        {"<a x=1 y=\"2\">", {{"x", "1"}, {"y", "2"}}},
        {"<a x='1' y=\"a b\">", {{"x", "'1'"}, {"y", "a b"}}},
        {"<a flag y=\"2\">", {{"flag y", "2"}}},        // no "=": the name runs on
        {"<a 1x=\"2\" -z=\"3\">", {{"x", "2"}, {"z", "3"}}},  // names start at a letter
        {"<a x=\"\" y=>", {{"x", ""}}},                  // y's value never ends
        {"<a\tx=\"1\"\ny=\"2\">", {{"x", "1"}, {"y", "2"}}},
        {"<a x=\"<&amp;>\">", {{"x", "<&amp;>"}}},       // no entities decoded
    };
    for (const Case& c : cases) {
        XmlNode a = Parse(c.xml);
        ASSERT_TRUE(a) << c.xml;
        std::vector<std::pair<std::string, std::string>> got;
        for (sdXMLattr* at = a->firstattr; at; at = at->sibattr) got.emplace_back(at->name, at->Value);
        EXPECT_EQ(got, c.attrs) << c.xml;
        EXPECT_EQ(a->attrcount, static_cast<int>(c.attrs.size())) << c.xml;
    }
}

TEST(Xml, UnquotedValueSwallowsTheSlashAndLeavesTheElementOpen) {
    XmlNode root = Parse("<r><a x=1/> >inside</a><b/></r>");
    ASSERT_TRUE(root);
    sdXMLnode* a = XmlChild(root, "a/");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(XmlAttr(a, "x"), "1/>");
    EXPECT_EQ(a->Value, "inside");  // the content went into a: it was still open
    EXPECT_EQ(ChildTags(root.get()), (std::vector<std::string>{"a", "b"}));
}

TEST(Xml, ValueKeepsTextUpToTheFirstChildOnly) {
    XmlNode root = Parse("<r>hello <c/>world</r>");
    EXPECT_EQ(root->Value, "hello ");
    EXPECT_EQ(root->firstchild->Value, "");

    XmlNode controls = Parse("<r>\ta\r\nb </r>");
    EXPECT_EQ(controls->Value, " a  b ");
}

TEST(Xml, AnyEndTagClosesTheOpenElement) {
    XmlNode a = Parse("<a><b></a></b>");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->Tag, "a");
    EXPECT_EQ(ChildTags(a.get()), std::vector<std::string>{"b"});
    EXPECT_EQ(a->firstchild->endtag, "/a");
    EXPECT_EQ(a->endtag, "/b");
}

TEST(Xml, SelfClosingTagsAreEmptyElements) {
    XmlNode r = Parse("<r><a/><b x=\"1\"/><c></c></r>");
    EXPECT_EQ(ChildTags(r.get()), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(r->firstchild->endtag, "a");
    EXPECT_EQ(r->firstchild->NextNode->endtag, "/");
    EXPECT_EQ(r->lastchild->endtag, "/c");
    EXPECT_EQ(r->lastchild->PrevNode, r->firstchild->NextNode);
    for (sdXMLnode* c = r->firstchild; c; c = c->NextNode) EXPECT_EQ(c->childcount, 0);
}

TEST(Xml, TopLevelOddities) {
    struct Case {
        const char* xml;
        const char* rootTag;  // nullptr: no element
        std::vector<std::string> children;
    };
    const Case cases[] = {
        {"<a/><b/>", "b", {}},                         // the last top-level element wins
        {"text <a/> more", "a", {}},                   // text outside elements is ignored
        {"</z></y><a><c/></a>", "a", {"c"}},           // stray end tags are ignored
        {"<!-- <x> --><r/>", "x", {"r"}},              // "<" in a comment opens an element
        {"<!DOCTYPE r><r/>", "r", {}},
        {"", nullptr, {}},
        {"just text", nullptr, {}},
        {"<", nullptr, {}},
        {"<a", "a", {}},                               // unclosed: still an element
        {"<a><b><c", "a", {"b"}},
        {"<a x=\"unterminated", "a", {}},
    };
    for (const Case& c : cases) {
        XmlNode root = Parse(c.xml);
        if (!c.rootTag) {
            EXPECT_FALSE(root) << c.xml;
            continue;
        }
        ASSERT_TRUE(root) << c.xml;
        EXPECT_EQ(root->Tag, c.rootTag) << c.xml;
        EXPECT_EQ(ChildTags(root.get()), c.children) << c.xml;
    }
}

TEST(Xml, EightBitTextBecomesUtf8) {
    XmlNode a = Parse("<a n=\"caf\xE9\">\xFF</a>");
    EXPECT_EQ(XmlAttr(a, "n"), "caf\xC3\xA9");
    EXPECT_EQ(a->Value, "\xC3\xBF");
}

TEST(Xml, NodesCarryTheLoadStamp) {
    UseDrivenClock(4321);
    XmlNode r = Parse("<r><a/></r>");
    UseRealClock();
    EXPECT_EQ(XmlLoadId, 4321);
    EXPECT_EQ(r->fileid, 4321);
    EXPECT_EQ(r->firstchild->fileid, 4321);
}

TEST(Xml, NumbersFromAttributesAreConvertedNotDefaulted) {
    XmlNode a = Parse("<a e=\"\" w=\"12px\" h=\"0x10\" d=\"$10\" b=\"%110\" f=\"1.9\" n=\"abc\"/>");
    struct Case {
        const char* name;
        int asInt;
        float asFloat;
    };
    const Case cases[] = {
        {"e", 0, 0.0f},  {"w", 12, 12.0f}, {"h", 0, 0.0f},   {"d", 16, 0.0f},
        {"b", 6, 0.0f},  {"f", 1, 1.9f},   {"n", 0, 0.0f},   {"missing", 99, 9.5f},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(XmlAttrInt(a, c.name, 99), c.asInt) << c.name;
        EXPECT_FLOAT_EQ(XmlAttrFloat(a, c.name, 9.5f), c.asFloat) << c.name;
    }
    EXPECT_EQ(XmlAttrString(a, "missing", "dflt"), "dflt");
    EXPECT_EQ(XmlAttrString(a, "E", "dflt"), "");
}

TEST(Xml, QueriesOnNothingGiveTheirDefaults) {
    EXPECT_FALSE(XmlLoad(std::string("no/such/file.xml")));
    EXPECT_FALSE(XmlLoad(StreamPtr()));
    sdXMLnode* none = nullptr;
    EXPECT_EQ(XmlChild(none, "a/"), nullptr);
    EXPECT_EQ(XmlFindPath(none, "a/"), nullptr);
    EXPECT_EQ(XmlFindAttr(none, "a"), nullptr);
    EXPECT_EQ(XmlAttr(none, "a"), "");
    EXPECT_EQ(XmlAttrString(none, "a", "d"), "d");
    EXPECT_EQ(XmlAttrInt(none, "a", 3), 3);
    EXPECT_FLOAT_EQ(XmlAttrFloat(none, "a", 2.5f), 2.5f);
    EXPECT_EQ(XmlPathAttrInt(none, "a/", "b", 4), 4);
    EXPECT_EQ(XmlParent(none), nullptr);
    EXPECT_EQ(XmlNextSibling(none), nullptr);
    EXPECT_FALSE(XmlHold(none));
}

TEST(Xml, BuildingByHandSetsLinksCountsAndPaths) {
    XmlNode root = XmlNewNode(nullptr, "root");
    XmlNode first = XmlNewNode(root, "first");
    XmlNode second = XmlNewNode(root, "second");
    XmlNode deep = XmlNewNode(second, "deep");
    XmlAddAttr(deep, "k", "v");
    XmlAddAttr(deep, "k2", "v2");
    EXPECT_EQ(root->path(), "/");
    EXPECT_EQ(first->path(), "/root/");
    EXPECT_EQ(deep->path(), "/root/second/");
    EXPECT_EQ(root->childcount, 2);
    EXPECT_EQ(root->firstchild, first.get());
    EXPECT_EQ(first->NextNode, second.get());
    EXPECT_EQ(second->PrevNode, first.get());
    EXPECT_EQ(deep->attrcount, 2);
    EXPECT_EQ(deep->lastattr->name, "k2");
    EXPECT_EQ(XmlPathAttrString(root, "second/deep/", "K2", ""), "v2");

    // A node from another document joins the tree and stays alive with it.
    XmlNode stranger = XmlNewNode(nullptr, "stranger");
    XmlAddChild(first, stranger);
    stranger.reset();
    EXPECT_EQ(XmlChild(root, "first/stranger/")->path(), "/root/first/");
}

TEST(Xml, AHeldNodeKeepsItsDocumentAlive) {
    XmlNode leaf;
    {
        XmlNode root = Parse("<r><a><b v=\"1\"/></a></r>");
        leaf = XmlHold(XmlChild(root, "a/b/"));
    }
    ASSERT_TRUE(leaf);
    EXPECT_EQ(XmlAttr(leaf, "v"), "1");
    EXPECT_EQ(XmlParent(leaf)->Tag, "a");
    EXPECT_EQ(XmlParent(XmlParent(leaf))->Tag, "r");
}

TEST(Xml, DeepNestingAndLongSiblingChainsAreReadAndReleased) {
    const int depth = 200000;
    std::string deep;
    for (int i = 0; i < depth; ++i) deep += "<a>";
    XmlNode root = Parse(deep);
    ASSERT_TRUE(root);
    int levels = 1;
    for (sdXMLnode* n = root.get(); n->firstchild; n = n->firstchild) ++levels;
    EXPECT_EQ(levels, depth);
    root.reset();  // released without recursion

    std::string wide = "<r>";
    for (int i = 0; i < depth; ++i) wide += "<b/>";
    root = Parse(wide + "</r>");
    EXPECT_EQ(root->childcount, depth);
    EXPECT_EQ(root->lastchild->Tag, "b");
}

TEST(Xml, BinaryGarbageGivesSomeTreeWithoutHarm) {
    uint32_t seed = 12345;
    for (int round = 0; round < 50; ++round) {
        std::string bytes(4096, '\0');
        for (char& c : bytes) {
            seed = seed * 1664525u + 1013904223u;
            // Bias towards markup characters so every state is visited.
            const char markup[] = "<>/=\" !?ab";
            c = (seed >> 28) < 6 ? markup[(seed >> 8) % 10] : static_cast<char>(seed >> 16);
        }
        XmlNode root = Parse(bytes);
        if (root) {
            EXPECT_EQ(root->path(), "/");
            XmlChild(root, "a/b/");
            XmlAttrInt(root, "a", 0);
        }
    }
}

TEST(Xml, VectorAttributesAreTidiedAndWrittenBack) {
    XmlNode a = Parse("<a pos=\"  10   20 \" one=\"7\" neg=\"-1.5 2.25\" bad=\"x y\" empty=\"\"/>");
    struct Case {
        const char* name;
        float x, y;
        const char* written;
    };
    const Case cases[] = {
        {"pos", 10, 20, "10 20"},
        {"one", 7, 7, "7"},  // the second field wraps round to the first
        {"neg", -1.5f, 2.25f, "-1.5 2.25"},
        {"bad", 0, 0, "x y"},
        {"empty", 0, 0, ""},
    };
    for (const Case& c : cases) {
        VectorPtr v = XmlAttrVector(a, c.name, nullptr);
        ASSERT_TRUE(v) << c.name;
        EXPECT_FLOAT_EQ(v->x, c.x) << c.name;
        EXPECT_FLOAT_EQ(v->y, c.y) << c.name;
        EXPECT_EQ(XmlAttr(a, c.name), c.written) << c.name;
    }
    VectorPtr fallback = MakeVector(3, 4);
    EXPECT_EQ(XmlAttrVector(a, "missing", fallback), fallback);
    EXPECT_EQ(XmlAttrVector(nullptr, "pos", fallback), fallback);
    EXPECT_EQ(XmlFindAttr(a, "missing"), nullptr);  // nothing added for an absent attribute
}

TEST(Xml, ColourAttributesTakeAnIntegerAlpha) {
    XmlNode a = Parse("<a c=\" 255  128 0   1 \" half=\"10 20 30 0.5\" three=\"200 100 50\" "
                      "hex=\"$ff $80 0 1\"/>");
    struct Case {
        const char* name;
        int r, g, b;
        float alpha;
        const char* written;
    };
    const Case cases[] = {
        {"c", 255, 128, 0, 1.0f, "255 128 0 1"},
        {"half", 10, 20, 30, 0.0f, "10 20 30 0.5"},    // alpha is read as an integer
        {"three", 200, 100, 50, 200.0f, "200 100 50"},  // the fourth field wraps to the first
        {"hex", 255, 128, 0, 1.0f, "$ff $80 0 1"},
    };
    for (const Case& c : cases) {
        ColorPtr col = XmlAttrColor(a, c.name, nullptr);
        ASSERT_TRUE(col) << c.name;
        EXPECT_EQ(col->r, c.r) << c.name;
        EXPECT_EQ(col->g, c.g) << c.name;
        EXPECT_EQ(col->b, c.b) << c.name;
        EXPECT_FLOAT_EQ(col->a, c.alpha) << c.name;
        EXPECT_FLOAT_EQ(col->a0, c.alpha) << c.name;
        EXPECT_EQ(col->UseAlpha, 1) << c.name;
        EXPECT_EQ(XmlAttr(a, c.name), c.written) << c.name;
    }
    ColorPtr fallback = MakeColor(1, 2, 3);
    EXPECT_EQ(XmlAttrColor(a, "missing", fallback), fallback);
    EXPECT_EQ(XmlAttrColor(nullptr, "c", fallback), fallback);
}

}  // namespace
