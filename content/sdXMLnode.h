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
    std::string path;    // "/" at the top level, else parent's path + parent's Tag + "/"
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

    // The document this node was created in.
    XmlDocument* document = nullptr;
};

using XmlNode = std::shared_ptr<sdXMLnode>;
