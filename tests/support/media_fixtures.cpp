#include "support/media_fixtures.h"

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace tarvolin::fixtures {

namespace {

void putBE(std::string& out, uint64_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void putLE(std::string& out, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void putSyncsafe(std::string& out, uint32_t v) {
    for (int i = 3; i >= 0; --i) out.push_back(static_cast<char>((v >> (7 * i)) & 0x7F));
}

// UTF-8 to UTF-16LE; malformed bytes become U+FFFD.
std::string utf16le(const std::string& s) {
    std::string out;
    size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        uint32_t cp = 0xFFFD;
        size_t len = 1;
        if (c < 0x80) {
            cp = c;
        } else if ((c >> 5) == 6 && i + 1 < s.size()) {
            cp = ((c & 0x1F) << 6) | (s[i + 1] & 0x3F);
            len = 2;
        } else if ((c >> 4) == 14 && i + 2 < s.size()) {
            cp = ((c & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F);
            len = 3;
        } else if ((c >> 3) == 30 && i + 3 < s.size()) {
            cp = ((c & 0x07) << 18) | ((s[i + 1] & 0x3F) << 12) | ((s[i + 2] & 0x3F) << 6) | (s[i + 3] & 0x3F);
            len = 4;
        }
        i += len;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            putLE(out, 0xD800 + (cp >> 10), 2);
            putLE(out, 0xDC00 + (cp & 0x3FF), 2);
        } else {
            putLE(out, cp, 2);
        }
    }
    return out;
}

// Encoding byte and the encoded text (with BOM for UTF-16), no terminator.
std::string encodeText(TextEncoding enc, const std::string& s) {
    switch (enc) {
        case TextEncoding::Latin1: return s;
        case TextEncoding::Utf16: return std::string("\xFF\xFE", 2) + utf16le(s);
        case TextEncoding::Utf8: return s;
    }
    return s;
}
char encodingByte(TextEncoding enc) {
    switch (enc) {
        case TextEncoding::Latin1: return 0;
        case TextEncoding::Utf16: return 1;
        case TextEncoding::Utf8: return 3;
    }
    return 0;
}
std::string terminator(TextEncoding enc) {
    return enc == TextEncoding::Utf16 ? std::string(2, '\0') : std::string(1, '\0');
}

void putFrame(std::string& out, int version, const std::string& id, const std::string& body) {
    // ID3v2.2 names the frames with three letters.
    static const std::map<std::string, std::string> v22 = {
        {"TIT2", "TT2"}, {"TPE1", "TP1"}, {"TALB", "TAL"}, {"TCON", "TCO"}, {"TYER", "TYE"}, {"COMM", "COM"}, {"POPM", "POP"}};
    if (version == 2) {
        out += v22.count(id) ? v22.at(id) : id;
        putBE(out, body.size(), 3);
        out += body;
        return;
    }
    out += id;
    if (version >= 4)
        putSyncsafe(out, static_cast<uint32_t>(body.size()));
    else
        putBE(out, body.size(), 4);
    out.append(2, '\0');
    out += body;
}

void putTextFrame(std::string& out, const Id3Tag& tag, const char* id, const std::string& text) {
    if (text.empty()) return;
    std::string body(1, encodingByte(tag.encoding));
    body += encodeText(tag.encoding, text);
    putFrame(out, tag.version, id, body);
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    if (!f) throw std::runtime_error("cannot write " + path);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!f) throw std::runtime_error("cannot write " + path);
}

int bitrateIndex(int kbps) {
    static const int rates[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    for (int i = 1; i < 15; ++i)
        if (rates[i] == kbps) return i;
    throw std::invalid_argument("not an MPEG-1 Layer III bit rate");
}
int sampleRateIndex(int rate) {
    switch (rate) {
        case 44100: return 0;
        case 48000: return 1;
        case 32000: return 2;
    }
    throw std::invalid_argument("not an MPEG-1 sample rate");
}

std::string pcmSamples(const PcmOptions& pcm, bool bigEndian, uint32_t& frames) {
    frames = static_cast<uint32_t>(std::lround(pcm.seconds * pcm.sampleRate));
    std::string out;
    out.reserve(static_cast<size_t>(frames) * pcm.channels * 2);
    for (uint32_t i = 0; i < frames; ++i) {
        int16_t v = 0;
        if (pcm.sineHz > 0)
            v = static_cast<int16_t>(std::lround(16000.0 * std::sin(2 * M_PI * pcm.sineHz * i / pcm.sampleRate)));
        for (int c = 0; c < pcm.channels; ++c) {
            if (bigEndian)
                putBE(out, static_cast<uint16_t>(v), 2);
            else
                putLE(out, static_cast<uint16_t>(v), 2);
        }
    }
    return out;
}

void putChunk(std::string& out, const char* id, const std::string& body, bool bigEndian) {
    out.append(id, 4);
    if (bigEndian)
        putBE(out, body.size(), 4);
    else
        putLE(out, body.size(), 4);
    out += body;
    if (body.size() % 2) out.push_back('\0');
}

std::string infoChunkBody(const InfoTag& info) {
    std::string body = "INFO";
    auto sub = [&](const char* id, const std::string& text) {
        if (text.empty()) return;
        putChunk(body, id, text + std::string(1, '\0'), false);
    };
    sub("INAM", info.title);
    sub("IART", info.artist);
    sub("IPRD", info.album);
    sub("ICMT", info.comment);
    sub("IGNR", info.genre);
    sub("ICRD", info.date);
    return body;
}

// 80-bit IEEE extended, as AIFF stores its sample rate.
void putExtended(std::string& out, uint32_t value) {
    if (value == 0) {
        out.append(10, '\0');
        return;
    }
    int exp = 0;
    while ((value >> exp) > 1) ++exp;
    putBE(out, 16383 + exp, 2);
    putBE(out, static_cast<uint64_t>(value) << (63 - exp), 8);
}

bool findOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream ss(path ? path : "/usr/bin:/bin");
    std::string dir;
    while (std::getline(ss, dir, ':')) {
        if (dir.empty()) dir = ".";
        if (access((dir + "/" + name).c_str(), X_OK) == 0) return true;
    }
    return false;
}

}  // namespace

std::string id3v2Bytes(const Id3Tag& tag) {
    std::string frames;
    for (const auto& [id, body] : tag.frames) putFrame(frames, tag.version, id, body);
    putTextFrame(frames, tag, "TIT2", tag.title);
    putTextFrame(frames, tag, "TPE1", tag.artist);
    putTextFrame(frames, tag, "TALB", tag.album);
    putTextFrame(frames, tag, "TCON", tag.genre);
    putTextFrame(frames, tag, tag.version >= 4 ? "TDRC" : "TYER", tag.year);
    if (!tag.comment.empty()) {
        std::string body(1, encodingByte(tag.encoding));
        body += "eng";
        body += encodeText(tag.encoding, "") + terminator(tag.encoding);
        body += encodeText(tag.encoding, tag.comment);
        putFrame(frames, tag.version, "COMM", body);
    }
    for (const Popm& p : tag.popm) {
        std::string body = p.email;
        body.push_back('\0');
        body.push_back(static_cast<char>(p.rating));
        if (p.counter) putBE(body, *p.counter, 4);
        putFrame(frames, tag.version, "POPM", body);
    }
    frames.append(tag.padding, '\0');
    std::string out = "ID3";
    out.push_back(static_cast<char>(tag.version));
    out.push_back('\0');
    out.push_back('\0');
    putSyncsafe(out, static_cast<uint32_t>(frames.size()));
    return out + frames;
}

std::string id3v1Bytes(const Id3v1Tag& tag) {
    auto field = [](const std::string& s, size_t n) {
        std::string f = s.substr(0, n);
        f.resize(n, '\0');
        return f;
    };
    std::string out = "TAG";
    out += field(tag.title, 30);
    out += field(tag.artist, 30);
    out += field(tag.album, 30);
    out += field(tag.year, 4);
    out += field(tag.comment, 30);
    out.push_back(static_cast<char>(tag.genre));
    return out;
}

std::string mp3FrameBytes(const Mp3Options& opts, bool padding) {
    int kbps = opts.kbps;
    int size = 144 * kbps * 1000 / opts.sampleRate + (padding ? 1 : 0);
    std::string frame(static_cast<size_t>(size), '\0');
    frame[0] = static_cast<char>(0xFF);
    frame[1] = static_cast<char>(0xFB);  // MPEG-1, Layer III, no CRC
    frame[2] = static_cast<char>((bitrateIndex(kbps) << 4) | (sampleRateIndex(opts.sampleRate) << 2) |
                                 (padding ? 2 : 0));
    frame[3] = static_cast<char>(opts.mono ? 0xC0 : 0x00);
    // Side information and main data stay zero: every granule is silent.
    return frame;
}

int mp3FrameCount(const Mp3Options& opts) {
    return static_cast<int>(std::lround(opts.seconds * opts.sampleRate / 1152.0));
}

double mp3Duration(const Mp3Options& opts) {
    return mp3FrameCount(opts) * 1152.0 / opts.sampleRate;
}

std::string writeMp3(const std::string& path, const Mp3Options& opts) {
    std::string out;
    if (opts.id3) out += id3v2Bytes(*opts.id3);
    // Padding is spread as an encoder spreads it, so the stream's mean rate
    // is exactly the nominal one.
    const int64_t slot = 144LL * opts.kbps * 1000;
    const int frames = mp3FrameCount(opts);
    const std::string plain = mp3FrameBytes(opts, false);
    const std::string padded = mp3FrameBytes(opts, true);
    out.reserve(out.size() + static_cast<size_t>(frames) * padded.size() + 128);
    for (int64_t i = 0; i < frames; ++i) {
        int64_t bytes = (i + 1) * slot / opts.sampleRate - i * slot / opts.sampleRate;
        out += bytes > static_cast<int64_t>(plain.size()) ? padded : plain;
    }
    if (opts.id3v1) out += id3v1Bytes(*opts.id3v1);
    writeFile(path, out);
    return path;
}

std::string writeWav(const std::string& path, const WavOptions& opts) {
    const PcmOptions& pcm = opts.pcm;
    uint32_t frames = 0;
    std::string data = pcmSamples(pcm, false, frames);
    std::string fmt;
    putLE(fmt, 1, 2);
    putLE(fmt, pcm.channels, 2);
    putLE(fmt, pcm.sampleRate, 4);
    putLE(fmt, static_cast<uint64_t>(pcm.sampleRate) * pcm.channels * 2, 4);
    putLE(fmt, pcm.channels * 2, 2);
    putLE(fmt, 16, 2);
    std::string body = "WAVE";
    putChunk(body, "fmt ", fmt, false);
    putChunk(body, "data", data, false);
    if (opts.info) putChunk(body, "LIST", infoChunkBody(*opts.info), false);
    if (opts.id3) putChunk(body, "id3 ", id3v2Bytes(*opts.id3), false);
    std::string out = "RIFF";
    putLE(out, body.size(), 4);
    out += body;
    writeFile(path, out);
    return path;
}

std::string writeAiff(const std::string& path, const AiffOptions& opts) {
    const PcmOptions& pcm = opts.pcm;
    uint32_t frames = 0;
    std::string data = pcmSamples(pcm, true, frames);
    std::string comm;
    putBE(comm, pcm.channels, 2);
    putBE(comm, frames, 4);
    putBE(comm, 16, 2);
    putExtended(comm, static_cast<uint32_t>(pcm.sampleRate));
    std::string ssnd;
    putBE(ssnd, 0, 4);
    putBE(ssnd, 0, 4);
    ssnd += data;
    std::string body = "AIFF";
    putChunk(body, "COMM", comm, true);
    putChunk(body, "SSND", ssnd, true);
    if (opts.id3) putChunk(body, "ID3 ", id3v2Bytes(*opts.id3), true);
    std::string out = "FORM";
    putBE(out, body.size(), 4);
    out += body;
    writeFile(path, out);
    return path;
}

std::string writeGarbage(const std::string& path, size_t size, uint32_t seed) {
    std::string out(size, '\0');
    uint32_t x = seed ? seed : 1;
    for (size_t i = 0; i < size; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        out[i] = static_cast<char>(x & 0xFF);
    }
    // Never let the noise begin like a media file.
    if (size > 0) out[0] = 'G';
    writeFile(path, out);
    return path;
}

std::string writeEmpty(const std::string& path) {
    writeFile(path, std::string());
    return path;
}

std::string writeBytes(const std::string& path, const std::string& bytes) {
    writeFile(path, bytes);
    return path;
}

std::string readBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

bool makeWithFfmpeg(const std::string& outPath, const std::vector<std::string>& ffmpegArgs) {
    if (!findOnPath("ffmpeg")) {
        ADD_FAILURE() << "the ffmpeg tool is not installed (tools/packages-test.txt); cannot make " << outPath;
        return false;
    }
    std::vector<std::string> args = {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y"};
    args.insert(args.end(), ffmpegArgs.begin(), ffmpegArgs.end());
    args.push_back(outPath);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    int rc = posix_spawnp(&pid, "ffmpeg", nullptr, nullptr, argv.data(), environ);
    if (rc != 0) {
        ADD_FAILURE() << "cannot run ffmpeg (error " << rc << ") to make " << outPath;
        return false;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            ADD_FAILURE() << "lost the ffmpeg process making " << outPath;
            return false;
        }
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || access(outPath.c_str(), R_OK) != 0) {
        std::string joined;
        for (const std::string& a : args) joined += a + " ";
        ADD_FAILURE() << "ffmpeg failed: " << joined;
        return false;
    }
    return true;
}

std::string uint32Bytes(uint32_t value, bool bigEndian) {
    std::string out(4, '\0');
    for (int i = 0; i < 4; ++i) out[static_cast<size_t>(bigEndian ? 3 - i : i)] = static_cast<char>(value >> (8 * i));
    return out;
}

uint32_t uint32At(const std::string& bytes, size_t at, bool bigEndian) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<size_t>(bigEndian ? i : 3 - i)]);
    return value;
}

std::string writeDamaged(const std::string& path, const std::function<void(std::string&)>& damage) {
    std::vector<std::string> args = ffmpegSineInput(0.2);
    args.insert(args.end(), {"-metadata", "title=Old", "-b:a", "32k"});
    if (!makeWithFfmpeg(path, args)) throw std::runtime_error("cannot make " + path);
    std::string bytes = readBytes(path);
    if (damage) damage(bytes);
    return writeBytes(path, bytes);
}

std::string writeM4aOfEndlessOffsets(const std::string& path) {
    return writeDamaged(path, [](std::string& b) { b.replace(b.find("stco") + 8, 4, uint32Bytes(0xFFFFFFFF, true)); });
}

std::string writeWmaOfEndlessAttributes(const std::string& path) {
    return writeDamaged(path, [](std::string& b) {
        // Each list: the extended content description's GUID, its size (26
        // bytes) and its count; the header's size and count follow.
        const std::string list =
            std::string("\x40\xA4\xD0\xD2\x07\xE3\xD2\x11\x97\xF0\x00\xA0\xC9\x5E\xA8\x50", 16) +
            std::string("\x1A\0\0\0\0\0\0\0\xFF\xFF", 10);
        for (int i = 0; i < 40; ++i) b.insert(30, list);
        b.replace(16, 4, uint32Bytes(uint32At(b, 16, false) + 26 * 40, false));
        b.replace(24, 4, uint32Bytes(uint32At(b, 24, false) + 40, false));
    });
}

std::vector<std::string> ffmpegSineInput(double seconds, int sampleRate) {
    std::ostringstream f;
    f << "sine=frequency=440:sample_rate=" << sampleRate << ":duration=" << seconds;
    return {"-f", "lavfi", "-i", f.str()};
}

std::vector<std::string> ffmpegVideoInput(double seconds, int width, int height, int fps) {
    std::ostringstream f;
    f << "testsrc=size=" << width << "x" << height << ":rate=" << fps << ":duration=" << seconds;
    return {"-f", "lavfi", "-i", f.str()};
}

}  // namespace tarvolin::fixtures
