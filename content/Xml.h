#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "content/sdXMLnode.h"
#include "core/TColor.h"
#include "core/TVector.h"
#include "media/TStream.h"

// Reader and query functions for the game's XML content files (resource
// descriptions, dialog layouts, level and skin tables, effect files).
//
// The reader is forgiving: any input gives a best-effort tree and nothing is
// ever reported. Element and attribute names match ignoring case everywhere.
// Paths are slash-separated element names and always end with "/" ("PosX/",
// "Outer/Inner/"); a path without the trailing slash matches nothing.
//
// A loaded document belongs to whoever holds an XmlNode of it. Queries take
// and return plain node pointers, valid while the document is held; every
// query on a null node returns its not-found result (null or the default).

// Lets queries take either a plain node pointer or a shared handle.
struct XmlNodeArg {
    sdXMLnode* node;
    XmlNodeArg(sdXMLnode* n) : node(n) {}
    XmlNodeArg(const XmlNode& n) : node(n.get()) {}
    XmlNodeArg(std::nullptr_t) : node(nullptr) {}
};

// ClockMs() taken at the start of the most recent load; stamped into fileid.
extern int XmlLoadId;

// Reads the file (or the stream, from its current position to its end, then
// closes it) and returns the top-level element; the last one when several
// follow each other. Null when the source cannot be opened or holds no element.
XmlNode XmlLoad(const std::string& path);
XmlNode XmlLoad(StreamPtr stream);

// A new element with `tag`, appended to `parent`'s children; with a null parent
// the element starts a document of its own.
XmlNode XmlNewNode(XmlNodeArg parent, const std::string& tag);
// Appends `child` (a node not linked anywhere yet) to `parent`'s children;
// with a null parent the child becomes a top-level element.
void XmlAddChild(XmlNodeArg parent, XmlNodeArg child);
// Appends an attribute at the end of the node's chain.
sdXMLattr* XmlAddAttr(XmlNodeArg node, const std::string& name, const std::string& value);

// A shared handle that keeps the node's document alive on its own.
XmlNode XmlHold(XmlNodeArg node);

sdXMLnode* XmlParent(XmlNodeArg node);
sdXMLnode* XmlNextSibling(XmlNodeArg node);

// Searches `node` and its following siblings for the path's first segment,
// then that element's children for the rest. Later siblings with the same
// name are searched too when an earlier one lacks the rest of the path.
sdXMLnode* XmlFindPath(XmlNodeArg node, std::string_view path);
// The descendant of `node` reached by `path`.
sdXMLnode* XmlChild(XmlNodeArg node, std::string_view path);

sdXMLattr* XmlFindAttr(XmlNodeArg node, std::string_view name);
std::string XmlAttrString(XmlNodeArg node, std::string_view name, const std::string& def);
std::string XmlAttr(XmlNodeArg node, std::string_view name);
// A present attribute is always converted (an empty value is 0); the default
// is only for an absent attribute. Conversion rules: content/TextNumber.h.
int XmlAttrInt(XmlNodeArg node, std::string_view name, int def);
float XmlAttrFloat(XmlNodeArg node, std::string_view name, float def);

std::string XmlPathAttrString(XmlNodeArg node, std::string_view path, std::string_view name,
                              const std::string& def);
int XmlPathAttrInt(XmlNodeArg node, std::string_view path, std::string_view name, int def);
float XmlPathAttrFloat(XmlNodeArg node, std::string_view path, std::string_view name, float def);

// Two numbers separated by spaces ('10 20'). The value is tidied (trimmed,
// runs of spaces collapsed) and the tidy text written back into the
// attribute. A single number serves for both coordinates.
VectorPtr XmlAttrVector(XmlNodeArg node, std::string_view name, VectorPtr def);
// Four numbers separated by spaces: red, green, blue and an alpha read as an
// integer ('255 128 0 1' is opaque; '0.5' reads as 0). Tidied and written
// back like a vector. Missing fields repeat the first ones.
ColorPtr XmlAttrColor(XmlNodeArg node, std::string_view name, ColorPtr def);

// ASCII case-insensitive equality, the rule for every element and attribute name.
bool XmlNameEquals(std::string_view a, std::string_view b);
