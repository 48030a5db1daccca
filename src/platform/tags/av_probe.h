#pragma once
// What libavformat finds in a file: duration, bit rate, container tags and
// the kinds of streams. Used for the containers TagLib does not read and as
// the fallback for those it does.
#include <cstdint>
#include <string>

namespace tarvolin::av {

struct Probe {
    bool opened = false;      // libavformat recognised the file
    double duration = 0;      // seconds, 0 when unknown
    int64_t bitRate = 0;      // bits per second, 0 when unknown
    std::string title, artist, album, comment, genre, date;
    bool hasVideo = false;    // a video stream that is not an attached picture
    bool hasAudio = false;
    bool mpegAudioOnly = false;  // an MPEG audio elementary stream (layer I to III), nothing else
};

// Opens the file read-only and reads what it holds. Never throws.
Probe probeFile(const std::string& path);

// "video", "audio" or "other" for a probe that opened; "" otherwise.
std::string mediaTypeOf(const Probe& p);

}  // namespace tarvolin::av
