#include "game/TMidiNote.h"

TMidiNote::~TMidiNote() {
    MidiNotePtr link = std::move(next_);
    while (link && link.use_count() == 1) link = std::move(link->next_);
}
