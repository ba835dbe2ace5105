#pragma once
// Shared between the media layer's own modules only; never included outside media/.

namespace media_detail {
// ClockMs() with the fractions of a millisecond kept: the same time base and
// the same driven clock, for measurements finer than a whole millisecond
// (the time between presented frames).
double FineClockMs();
}
