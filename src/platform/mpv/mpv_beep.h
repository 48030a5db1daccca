#pragma once
// The system beep: a sine tone played through a libmpv handle of its own.
#include <string>

namespace tarvolin {

// Plays a tone of freq Hz for ms milliseconds and returns at once, also
// while the sound device or server keeps libmpv waiting. Tones asked for
// while one sounds follow it in turn. Returns false once libmpv could not be
// set up (the caller may fall back on another beep); a missing sound device
// is no failure: the tone then sounds nowhere.
bool beep(int freq, int ms);

// The address libmpv plays for such a tone (libavfilter's sine source).
std::string toneUrl(int freq, int ms);

}  // namespace tarvolin
