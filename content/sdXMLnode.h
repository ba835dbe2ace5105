#pragma once
#include <memory>
#include <string>

#include "content/sdXMLattr.h"

class XmlDocument;

// One element of a parsed XML document. The links between elements are plain
// pointers into the document that owns every node; a caller keeps a document
// alive by holding an XmlNode (a shared handle) to any node of it.
class sdXMLnode {
public:
    std::string Tag;     // element name as written (case kept)
    std::string Value;   // text between the start tag and the first child or end tag
    sdXMLattr* firstattr = nullptr;
    sdXMLattr* lastattr = nullptr;
    int attrcount = 0;
    int fileid = 0;      // XmlLoadId of the load that created the node
    std::string endtag;  // the closing tag as read, not checked against Tag
    sdXMLnode* firstchild = nullptr;
    sdXMLnode* lastchild = nullptr;
    int childcount = 0;
    sdXMLnode* NextNode = nullptr;
    sdXMLnode* PrevNode = nullptr;
    sdXMLnode* parent = nullptr;

    // The slash path of the parent: "/" at the top level, else the parent's
    // path + the parent's Tag + "/" (a child of a top-level res has "/res/").
    // Worked out from the parent chain when asked: storing it in every node
    // would let a small file of deeply nested or long-named elements demand
    // memory growing with the square of its size.
    std::string path() const;

    // The document this node was created in.
    XmlDocument* document = nullptr;
};

using XmlNode = std::shared_ptr<sdXMLnode>;
