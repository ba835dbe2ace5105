#include "content/Xml.h"

#include <vector>

#include "content/TextNumber.h"
#include "content/XmlDocument.h"
#include "media/Clock.h"

int XmlLoadId = 0;

namespace {

// Content files are 8-bit text: each byte is one character of that code,
// kept in memory as UTF-8.
void AppendChar(std::string& s, unsigned char c) {
    if (c < 0x80) {
        s.push_back(static_cast<char>(c));
    } else {
        s.push_back(static_cast<char>(0xC0 | (c >> 6)));
        s.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

sdXMLnode* NewNodeIn(XmlDocument& doc, sdXMLnode* parent, const std::string& tag) {
    sdXMLnode* node = doc.NewNode();
    node->Tag = tag;
    node->fileid = XmlLoadId;
    XmlAddChild(parent, node);
    return node;
}

enum State {
    Outside = 0,
    AfterOpen = 1,
    InEndTag = 2,
    InTagName = 3,
    InStartTag = 4,
    InAttrName = 5,
    AfterEquals = 6,
    InQuotedValue = 7,
    InContent = 20,
};

// The single-pass parser: one byte at a time through a small state machine.
// Nothing is checked; whatever the bytes say becomes the tree.
XmlNode Parse(const std::vector<uint8_t>& bytes) {
    std::shared_ptr<XmlDocument> doc;  // document of the element being read
    sdXMLnode* current = nullptr;
    XmlNode result;
    std::string attrName;
    std::string attrValue;
    State state = Outside;

    for (uint8_t byte : bytes) {
        const unsigned char c = byte < 32 ? ' ' : byte;
        switch (state) {
        case Outside:
            if (c == '<') state = AfterOpen;
            break;
        case AfterOpen:
            if (c == '?' || c == '!') {
                state = Outside;
            } else if (c == '/') {
                if (current) current->endtag = "/";
                state = InEndTag;
            } else {
                if (!current) {
                    doc = XmlDocument::Create();
                    current = NewNodeIn(*doc, nullptr, "");
                    result = doc->Hold(current);
                } else {
                    current = NewNodeIn(*current->document, current, "");
                }
                AppendChar(current->Tag, c);
                state = InTagName;
            }
            break;
        case InEndTag:
            if (c == '>') {
                if (current) current = current->parent;
                state = Outside;
            } else if (current) {
                AppendChar(current->endtag, c);
            }
            break;
        case InTagName:
            if (c == ' ') {
                state = InStartTag;
            } else if (c == '/') {
                current->endtag = current->Tag;
                state = InEndTag;
            } else if (c == '>') {
                state = InContent;
            } else {
                AppendChar(current->Tag, c);
            }
            break;
        case InStartTag:
            if (LowerAscii(static_cast<char>(c)) >= 'a' && LowerAscii(static_cast<char>(c)) <= 'z') {
                attrName.clear();
                AppendChar(attrName, c);
                state = InAttrName;
            } else if (c == '>') {
                current->Value.clear();
                state = InContent;
            } else if (c == '/') {
                current->endtag = "/";
                state = InEndTag;
            }
            break;
        case InAttrName:
            if (c == '=') {
                attrValue.clear();
                state = AfterEquals;
            } else {
                AppendChar(attrName, c);
            }
            break;
        case AfterEquals:
            if (c == '"') {
                state = InQuotedValue;
            } else if (c == ' ') {
                XmlAddAttr(current, attrName, attrValue);
                state = InStartTag;
            } else {
                AppendChar(attrValue, c);
            }
            break;
        case InQuotedValue:
            if (c == '"') {
                XmlAddAttr(current, attrName, attrValue);
                state = InStartTag;
            } else {
                AppendChar(attrValue, c);
            }
            break;
        case InContent:
            if (c == '<') {
                state = AfterOpen;
            } else {
                AppendChar(current->Value, c);
            }
            break;
        }
    }
    return result;
}

}  // namespace

bool XmlNameEquals(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

XmlNode XmlLoad(StreamPtr stream) {
    XmlLoadId = ClockMs();
    if (!stream) return nullptr;
    std::vector<uint8_t> bytes = stream->ReadAll();
    stream->Close();
    return Parse(bytes);
}

XmlNode XmlLoad(const std::string& path) {
    XmlLoadId = ClockMs();
    StreamPtr stream = OpenRead(path);
    if (!stream) return nullptr;
    return XmlLoad(stream);
}

XmlNode XmlNewNode(XmlNodeArg parent, const std::string& tag) {
    if (parent.node) {
        XmlDocument& doc = *parent.node->document;
        return doc.Hold(NewNodeIn(doc, parent.node, tag));
    }
    std::shared_ptr<XmlDocument> doc = XmlDocument::Create();
    return doc->Hold(NewNodeIn(*doc, nullptr, tag));
}

void XmlAddChild(XmlNodeArg parentArg, XmlNodeArg childArg) {
    sdXMLnode* parent = parentArg.node;
    sdXMLnode* child = childArg.node;
    if (!child) return;
    if (parent) {
        if (parent->lastchild) {
            parent->lastchild->NextNode = child;
        } else {
            parent->firstchild = child;
        }
        child->PrevNode = parent->lastchild;
        parent->lastchild = child;
        ++parent->childcount;
        if (child->document != parent->document && child->document && parent->document) {
            parent->document->KeepAlive(child->document->shared_from_this());
        }
    }
    child->parent = parent;
}

std::string sdXMLnode::path() const {
    std::vector<const sdXMLnode*> chain;
    for (const sdXMLnode* up = parent; up; up = up->parent) chain.push_back(up);
    std::string result = "/";
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        result += (*it)->Tag;
        result += '/';
    }
    return result;
}

sdXMLattr* XmlAddAttr(XmlNodeArg nodeArg, const std::string& name, const std::string& value) {
    sdXMLnode* node = nodeArg.node;
    if (!node || !node->document) return nullptr;
    sdXMLattr* attr = node->document->NewAttr();
    attr->name = name;
    attr->Value = value;
    attr->parent = node;
    if (node->lastattr) {
        node->lastattr->sibattr = attr;
    } else {
        node->firstattr = attr;
    }
    node->lastattr = attr;
    ++node->attrcount;
    return attr;
}

XmlNode XmlHold(XmlNodeArg node) {
    if (!node.node || !node.node->document) return nullptr;
    return node.node->document->Hold(node.node);
}

sdXMLnode* XmlParent(XmlNodeArg node) { return node.node ? node.node->parent : nullptr; }

sdXMLnode* XmlNextSibling(XmlNodeArg node) { return node.node ? node.node->NextNode : nullptr; }

sdXMLnode* XmlFindPath(XmlNodeArg nodeArg, std::string_view path) {
    const size_t slash = path.find('/');
    if (slash == std::string_view::npos) return nullptr;
    const std::string_view segment = path.substr(0, slash);
    const std::string_view rest = path.substr(slash + 1);
    for (sdXMLnode* node = nodeArg.node; node; node = node->NextNode) {
        if (!XmlNameEquals(node->Tag, segment)) continue;
        if (rest.empty()) return node;
        if (node->firstchild) {
            if (sdXMLnode* found = XmlFindPath(node->firstchild, rest)) return found;
        }
    }
    return nullptr;
}

sdXMLnode* XmlChild(XmlNodeArg node, std::string_view path) {
    if (!node.node) return nullptr;
    std::string full = node.node->Tag;
    full += '/';
    full.append(path);
    return XmlFindPath(node, full);
}

sdXMLattr* XmlFindAttr(XmlNodeArg node, std::string_view name) {
    if (!node.node) return nullptr;
    for (sdXMLattr* attr = node.node->firstattr; attr; attr = attr->sibattr) {
        if (XmlNameEquals(attr->name, name)) return attr;
    }
    return nullptr;
}

std::string XmlAttrString(XmlNodeArg node, std::string_view name, const std::string& def) {
    sdXMLattr* attr = XmlFindAttr(node, name);
    return attr ? attr->Value : def;
}

std::string XmlAttr(XmlNodeArg node, std::string_view name) { return XmlAttrString(node, name, ""); }

int XmlAttrInt(XmlNodeArg node, std::string_view name, int def) {
    sdXMLattr* attr = XmlFindAttr(node, name);
    return attr ? TextToInt(attr->Value) : def;
}

float XmlAttrFloat(XmlNodeArg node, std::string_view name, float def) {
    sdXMLattr* attr = XmlFindAttr(node, name);
    return attr ? TextToFloat(attr->Value) : def;
}

std::string XmlPathAttrString(XmlNodeArg node, std::string_view path, std::string_view name,
                              const std::string& def) {
    sdXMLnode* child = XmlChild(node, path);
    return child ? XmlAttrString(child, name, def) : def;
}

int XmlPathAttrInt(XmlNodeArg node, std::string_view path, std::string_view name, int def) {
    sdXMLnode* child = XmlChild(node, path);
    return child ? XmlAttrInt(child, name, def) : def;
}

float XmlPathAttrFloat(XmlNodeArg node, std::string_view path, std::string_view name, float def) {
    sdXMLnode* child = XmlChild(node, path);
    return child ? XmlAttrFloat(child, name, def) : def;
}

#include "core/TextHelpers.h"

namespace {

// Tidies the attribute's value in place, as later readers of the document see it.
const std::string& NormaliseFields(sdXMLattr& attr) {
    attr.Value = CollapseRepeats(attr.Value, " ");
    return attr.Value;
}

}  // namespace

VectorPtr XmlAttrVector(XmlNodeArg node, std::string_view name, VectorPtr def) {
    sdXMLattr* attr = XmlFindAttr(node, name);
    if (!attr) return def;
    const std::string& value = NormaliseFields(*attr);
    return MakeVector(TextToFloat(GetField(1, value, " ")), TextToFloat(GetField(2, value, " ")));
}

ColorPtr XmlAttrColor(XmlNodeArg node, std::string_view name, ColorPtr def) {
    sdXMLattr* attr = XmlFindAttr(node, name);
    if (!attr) return def;
    const std::string& value = NormaliseFields(*attr);
    return MakeColorAlpha(TextToInt(GetField(1, value, " ")), TextToInt(GetField(2, value, " ")),
                          TextToInt(GetField(3, value, " ")),
                          static_cast<float>(TextToInt(GetField(4, value, " "))));
}
