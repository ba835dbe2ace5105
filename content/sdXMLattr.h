#pragma once
#include <string>

class sdXMLnode;

// One attribute of an element, linked into the element's chain in document
// order. Attributes belong to the element's document and live as long as it.
class sdXMLattr {
public:
    std::string name;       // as written in the file
    std::string Value;
    sdXMLattr* sibattr = nullptr;  // next attribute of the same element
    sdXMLnode* parent = nullptr;
};
