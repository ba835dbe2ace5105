// libFuzzer entry point for the chart reader: any bytes must load or be
// reported in one line, never crash, hang or read outside the input, and a
// loaded chart must hold only the notes the game understands.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "game/TMidiFile.h"
#include "media/TStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    StreamPtr chart = OpenMemory(std::vector<uint8_t>(data, data + size), "fuzz.mid");
    int lines = 0;
    TMidiFile file;
    file.Log = [&lines](const std::string&) { ++lines; };
    const int shift = size > 0 ? int(data[size - 1] % 5) - 2 : 0;
    if (file.Load(*chart, shift) != 0) {
        if (lines != 1 || file.Error.empty() || !file.notes.empty()) std::abort();
        return 0;
    }
    for (const MidiNotePtr& n : file.notes) {
        const bool known = (n->note >= 84 && n->note <= 89) || n->note == 91 || n->note == 92;
        if (!known || n->StartTime < 0 || n->Length < 0) std::abort();
    }
    for (const MidiNotePtr& m : file.Messages) {
        // Message lengths are whole 30 ms steps unless held at the largest time.
        if (m->note != 90 || (m->Length % 30 != 0 && m->Length != INT32_MAX)) std::abort();
    }
    return 0;
}
