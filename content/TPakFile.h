#pragma once
#include <cstdint>
#include <string>

// One directory entry of the data pack, as read from the pack.
struct TPakFile {
    std::string FileName;  // the decoded name field, all 100 characters with their padding
    int32_t Size = 0;      // length of the data in bytes
    int32_t Offset = 0;    // absolute position of the first data byte in the pack
};
