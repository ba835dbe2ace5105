#include "content/XmlDocument.h"

std::shared_ptr<XmlDocument> XmlDocument::Create() {
    return std::shared_ptr<XmlDocument>(new XmlDocument());
}

sdXMLnode* XmlDocument::NewNode() {
    sdXMLnode& node = nodes_.emplace_back();
    node.document = this;
    return &node;
}

sdXMLattr* XmlDocument::NewAttr() { return &attrs_.emplace_back(); }

XmlNode XmlDocument::Hold(sdXMLnode* node) {
    if (!node) return nullptr;
    return XmlNode(shared_from_this(), node);
}

void XmlDocument::KeepAlive(std::shared_ptr<XmlDocument> other) {
    if (other && other.get() != this) kept_.push_back(std::move(other));
}
