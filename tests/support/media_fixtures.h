#pragma once
// Builders of small media files for tests, written byte by byte (no encoder):
// WAV and AIFF (16-bit PCM, silence or a sine), silent MPEG-1 Layer III, each
// optionally tagged. Other formats come from the ffmpeg tool through
// makeWithFfmpeg, which fails the calling test loudly when ffmpeg is missing.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tarvolin::fixtures {

// How the text frames of an ID3v2 tag are encoded.
enum class TextEncoding {
    Latin1,   // the strings' bytes are written as they are (use this for old
              // Windows-1253 tags: give the strings in that code page)
    Utf16,    // UTF-16 with byte order mark (strings given in UTF-8)
    Utf8,     // ID3v2.4 only
};

struct Popm {
    std::string email;
    uint8_t rating = 0;
    std::optional<uint32_t> counter;  // play counter; absent when not set
};

// An ID3v2 tag. Empty strings are left out of the tag.
struct Id3Tag {
    int version = 3;  // 2, 3 or 4
    TextEncoding encoding = TextEncoding::Utf16;
    std::string title, artist, album, genre, year, comment;
    std::vector<Popm> popm;
    // Frames put first, as given: id and body (an empty body makes a frame
    // of size 0).
    std::vector<std::pair<std::string, std::string>> frames;
    uint32_t padding = 64;  // zero bytes after the frames
};

// An ID3v1 tag (128 bytes at the file's end); strings are cut to their
// fields and written byte for byte.
struct Id3v1Tag {
    std::string title, artist, album, year, comment;
    uint8_t genre = 255;
};

// RIFF INFO texts (INAM, IART, IPRD, ICMT, IGNR, ICRD), UTF-8 bytes as given.
struct InfoTag {
    std::string title, artist, album, comment, genre, date;
};

struct PcmOptions {
    double seconds = 1.0;
    int sampleRate = 44100;
    int channels = 2;
    double sineHz = 0;  // 0 = silence
};

struct Mp3Options {
    double seconds = 1.0;  // rounded to whole frames of 1152 samples
    int kbps = 128;        // 32..320, a valid MPEG-1 Layer III rate
    int sampleRate = 44100;
    bool mono = false;
    std::optional<Id3Tag> id3;
    std::optional<Id3v1Tag> id3v1;
};

struct WavOptions {
    PcmOptions pcm;
    std::optional<InfoTag> info;  // LIST INFO chunk
    std::optional<Id3Tag> id3;    // "id3 " chunk
};

struct AiffOptions {
    PcmOptions pcm;
    std::optional<Id3Tag> id3;  // "ID3 " chunk
};

// The bytes of the pieces, for tests that check or assemble files themselves.
std::string id3v2Bytes(const Id3Tag& tag);
std::string id3v1Bytes(const Id3v1Tag& tag);
std::string mp3FrameBytes(const Mp3Options& opts, bool padding);
// Number of frames an Mp3Options's stream holds, and its exact duration.
int mp3FrameCount(const Mp3Options& opts);
double mp3Duration(const Mp3Options& opts);

// Writers; each returns the path written and throws std::runtime_error when
// the file cannot be written.
std::string writeMp3(const std::string& path, const Mp3Options& opts = {});
std::string writeWav(const std::string& path, const WavOptions& opts = {});
std::string writeAiff(const std::string& path, const AiffOptions& opts = {});
// size bytes of deterministic noise (no valid media header at the start).
std::string writeGarbage(const std::string& path, size_t size = 4096, uint32_t seed = 1);
std::string writeEmpty(const std::string& path);
// Writes bytes as they are.
std::string writeBytes(const std::string& path, const std::string& bytes);
std::string readBytes(const std::string& path);

// A 32-bit number's four bytes, and the number four bytes from `at` hold.
std::string uint32Bytes(uint32_t value, bool bigEndian);
uint32_t uint32At(const std::string& bytes, size_t at, bool bigEndian);

// A short tone ffmpeg makes in the format the path's extension names, its
// title "Old", its bytes then changed by damage (none when empty).
std::string writeDamaged(const std::string& path, const std::function<void(std::string&)>& damage);
// Headers that announce more than their files hold: an M4A whose chunk-offset
// table announces 4,294,967,295 entries, a WMA whose header holds forty
// attribute lists that each announce 65,535 attributes.
std::string writeM4aOfEndlessOffsets(const std::string& path);
std::string writeWmaOfEndlessAttributes(const std::string& path);

// Runs `ffmpeg -nostdin -hide_banner -loglevel error -y <args...> outPath`.
// A missing ffmpeg or a failed run is reported as a test failure (never a
// skip); the result tells whether outPath was made.
bool makeWithFfmpeg(const std::string& outPath, const std::vector<std::string>& ffmpegArgs);
// Input arguments for ffmpeg's generators: a sine tone, a test picture.
std::vector<std::string> ffmpegSineInput(double seconds, int sampleRate = 44100);
std::vector<std::string> ffmpegVideoInput(double seconds, int width = 64, int height = 48, int fps = 10);

}  // namespace tarvolin::fixtures
