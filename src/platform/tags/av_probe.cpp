#include "platform/tags/av_probe.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/log.h>
}

#include <mutex>
#include <string>

namespace tarvolin::av {

namespace {

void quietLogs() {
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

std::string firstOf(AVDictionary* dict, std::initializer_list<const char*> keys) {
    for (const char* k : keys) {
        const AVDictionaryEntry* e = av_dict_get(dict, k, nullptr, 0);  // keys match in any case
        if (e && e->value && *e->value) return e->value;
    }
    return {};
}

struct Closer {
    AVFormatContext* ctx = nullptr;
    ~Closer() {
        if (ctx) avformat_close_input(&ctx);
    }
};

}  // namespace

Probe probeFile(const std::string& path) {
    quietLogs();
    Probe p;
    Closer c;
    // Through the file protocol only, so that no part of a file name is ever
    // taken for another protocol.
    const std::string url = "file:" + path;
    if (avformat_open_input(&c.ctx, url.c_str(), nullptr, nullptr) < 0) {
        c.ctx = nullptr;
        return p;
    }
    if (avformat_find_stream_info(c.ctx, nullptr) < 0) return p;
    p.opened = true;
    if (c.ctx->duration != AV_NOPTS_VALUE && c.ctx->duration > 0)
        p.duration = static_cast<double>(c.ctx->duration) / AV_TIME_BASE;
    if (c.ctx->bit_rate > 0) p.bitRate = c.ctx->bit_rate;

    // The container's tags, else those of its first audio stream: Ogg keeps
    // the comments of Vorbis, Opus and Speex on the stream.
    AVDictionary* md = c.ctx->metadata;
    const int audio = av_find_best_stream(c.ctx, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    AVDictionary* stream = audio >= 0 ? c.ctx->streams[audio]->metadata : nullptr;
    const auto tag = [&](std::initializer_list<const char*> keys) {
        std::string value = firstOf(md, keys);
        return value.empty() ? firstOf(stream, keys) : value;
    };
    p.title = tag({"title"});
    p.artist = tag({"artist", "author", "album_artist"});
    p.album = tag({"album"});
    p.comment = tag({"comment", "description"});
    p.genre = tag({"genre"});
    p.date = tag({"date", "year", "WM/Year", "creation_time"});

    int audioStreams = 0, mpegAudioStreams = 0, others = 0;
    for (unsigned i = 0; i < c.ctx->nb_streams; ++i) {
        const AVStream* s = c.ctx->streams[i];
        const AVCodecParameters* cp = s->codecpar;
        if (cp->codec_type == AVMEDIA_TYPE_VIDEO) {
            if (!(s->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
                p.hasVideo = true;
                ++others;
            }
        } else if (cp->codec_type == AVMEDIA_TYPE_AUDIO) {
            p.hasAudio = true;
            ++audioStreams;
            if (cp->codec_id == AV_CODEC_ID_MP1 || cp->codec_id == AV_CODEC_ID_MP2 || cp->codec_id == AV_CODEC_ID_MP3)
                ++mpegAudioStreams;
        } else {
            ++others;
        }
    }
    // Only the elementary-stream demuxer counts: MPEG audio inside a program
    // stream or any other container is not a file TagLib's MPEG class reads.
    p.mpegAudioOnly = audioStreams == 1 && mpegAudioStreams == 1 && others == 0 &&
                      std::string(c.ctx->iformat->name) == "mp3";
    return p;
}

std::string mediaTypeOf(const Probe& p) {
    if (!p.opened) return {};
    if (p.hasVideo) return "video";
    if (p.hasAudio) return "audio";
    return "other";
}

}  // namespace tarvolin::av
