#pragma once
#include <deque>
#include <memory>
#include <vector>

#include "content/sdXMLnode.h"

// Owns every node and attribute of one parsed (or built) XML document. Nodes
// link to each other with plain pointers, so the whole tree is released in one
// flat step however deep it is nested. Callers never see this class directly:
// they hold an XmlNode, which shares ownership of the document.
class XmlDocument : public std::enable_shared_from_this<XmlDocument> {
public:
    static std::shared_ptr<XmlDocument> Create();

    sdXMLnode* NewNode();
    sdXMLattr* NewAttr();

    // A shared handle to `node` (which must belong to this document) that keeps
    // the document alive.
    XmlNode Hold(sdXMLnode* node);

    // Keeps another document alive as long as this one, for trees assembled
    // from nodes of several documents.
    void KeepAlive(std::shared_ptr<XmlDocument> other);

    size_t NodeCount() const { return nodes_.size(); }

private:
    XmlDocument() = default;

    std::deque<sdXMLnode> nodes_;
    std::deque<sdXMLattr> attrs_;
    std::vector<std::shared_ptr<XmlDocument>> kept_;
};
