// libFuzzer entry point for the XML reader: any bytes must give some tree (or
// none) without crashing, hanging or touching memory outside the input.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "content/Xml.h"
#include "media/TStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    XmlNode root = XmlLoad(OpenMemory(std::vector<uint8_t>(data, data + size), "fuzz.xml"));
    if (!root) return 0;
    // Walk the whole tree without recursion and query every element.
    std::vector<sdXMLnode*> pending{root.get()};
    size_t visited = 0;
    while (!pending.empty() && visited < 100000) {
        sdXMLnode* node = pending.back();
        pending.pop_back();
        ++visited;
        XmlAttrInt(node, "id", 0);
        XmlAttrFloat(node, "x", 0.0f);
        XmlChild(node, "a/b/");
        if (visited < 64) node->path();
        for (sdXMLnode* c = node->firstchild; c; c = XmlNextSibling(c)) pending.push_back(c);
    }
    return 0;
}
