#pragma once
// Shared between the media layer's own modules only; never included outside media/.
#include <vorbis/vorbisfile.h>

#include <cstdint>

#include "media/TStream.h"

namespace media_detail {

// Gives vorbisfile a reader over a TStream with a read position of its own.
// Several readers may share one stream (one per playing channel of a streamed
// sound, all over the same file or data-pack window): each seeks to its own
// offset before reading, so they never disturb one another. Readers of one
// stream must all be used from the same thread.
class OggSource {
public:
    explicit OggSource(StreamPtr stream) : stream_(std::move(stream)) {}
    OggSource(const OggSource&) = delete;
    OggSource& operator=(const OggSource&) = delete;

    // Opens `file` over this reader; vorbisfile's result code (0 = success).
    // On success the caller must ov_clear the file before this reader dies.
    int Open(OggVorbis_File& file);

private:
    static size_t ReadCb(void* ptr, size_t size, size_t count, void* self);
    static int SeekCb(void* self, ogg_int64_t offset, int whence);
    static long TellCb(void* self);

    StreamPtr stream_;
    int64_t offset_ = 0;
};

// True when the stream's last Ogg page is complete, undamaged and marks the
// end of its bitstream. A cut-off download or copy fails this even when the
// headers and the first pages are intact. Leaves the stream's position alone.
bool OggEndsCleanly(TStream& stream);

}  // namespace media_detail
