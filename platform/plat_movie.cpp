#include "platform/plat_movie.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/plat_files.h"

constexpr int MOVIE_TIME_SCALE = 600;

struct PLAT_movie {
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
    SwsContext* scaler = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    int width = 0;
    int height = 0;
    int64_t next_time = 0;   // the next sample's start in time-scale units
    bool header_written = false;
    bool file_open = false;
    std::string path;
    int64_t whole_bytes = 0;   // the file's length up to the end of its last whole frame
    bool torn = false;         // a write failed part-way: the file is cut back to whole_bytes
};

namespace {

bool fail(PLAT_movie_error* err, const char* step, int code, bool writing = false)
{
    if (err) {
        err->step = step;
        err->code = code;
        err->writing = writing;
        if (av_strerror(code, err->text, sizeof err->text) < 0)
            std::snprintf(err->text, sizeof err->text, "error %d", code);
    }
    return false;
}

// Hands what the muxer holds of the current fragment to the file and the
// file's buffer to the disk, so the file on disk ends with a whole frame.
bool write_through(PLAT_movie* m, PLAT_movie_error* err)
{
    int r = av_write_frame(m->format, nullptr);
    if (r >= 0) {
        avio_flush(m->format->pb);
        r = m->format->pb->error;
    }
    if (r < 0) {
        m->torn = true;
        return fail(err, "adding the sample to the movie", r, true);
    }
    m->whole_bytes = avio_tell(m->format->pb);
    return true;
}

// Writes every packet the encoder has ready.
bool drain(PLAT_movie* m, PLAT_movie_error* err)
{
    for (;;) {
        int r = avcodec_receive_packet(m->codec, m->packet);
        if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return true;
        if (r < 0) return fail(err, "compressing the frame", r);
        m->packet->stream_index = m->stream->index;
        av_packet_rescale_ts(m->packet, m->codec->time_base, m->stream->time_base);
        r = av_write_frame(m->format, m->packet);
        av_packet_unref(m->packet);
        if (r < 0) {
            m->torn = true;
            return fail(err, "adding the sample to the movie", r, true);
        }
    }
}

}  // namespace

bool PLAT_movie_available()
{
    return avcodec_find_encoder(AV_CODEC_ID_MJPEG) != nullptr && av_guess_format("mov", nullptr, nullptr) != nullptr;
}

void PLAT_movie_discard(PLAT_movie* m)
{
    if (!m) return;
    if (m->format && m->file_open) avio_closep(&m->format->pb);
    // A frame or an ending written part-way is taken off again, so the file
    // ends with its last whole frame.
    if (m->torn && m->header_written) {
        const int cut = ::truncate(m->path.c_str(), static_cast<off_t>(m->whole_bytes));
        (void)cut;   // a file that cannot be cut keeps its torn end, which readers stop before
    }
    avformat_free_context(m->format);
    avcodec_free_context(&m->codec);
    sws_freeContext(m->scaler);
    av_frame_free(&m->frame);
    av_packet_free(&m->packet);
    delete m;
}

PLAT_movie* PLAT_movie_create(const char* path, int width, int height, PLAT_movie_error* err)
{
    const PLAT_size_limit_hold hold;
    if (!path || width < 2 || height < 2 || width > 4096 || height > 4096) {
        fail(err, "checking the frame size", AVERROR(EINVAL));
        return nullptr;
    }
    const AVCodec* jpeg = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
    if (!jpeg) {
        fail(err, "finding the JPEG compressor", AVERROR_ENCODER_NOT_FOUND);
        return nullptr;
    }
    PLAT_movie* m = new PLAT_movie;
    m->width = width;
    m->height = height;
    int r = avformat_alloc_output_context2(&m->format, nullptr, "mov", path);
    if (r < 0 || !m->format) {
        fail(err, "creating the movie", r < 0 ? r : AVERROR(ENOMEM));
        PLAT_movie_discard(m);
        return nullptr;
    }
    m->stream = avformat_new_stream(m->format, nullptr);
    m->codec = avcodec_alloc_context3(jpeg);
    m->frame = av_frame_alloc();
    m->packet = av_packet_alloc();
    if (!m->stream || !m->codec || !m->frame || !m->packet) {
        fail(err, "adding the video track", AVERROR(ENOMEM));
        PLAT_movie_discard(m);
        return nullptr;
    }
    m->codec->width = width;
    m->codec->height = height;
    m->codec->pix_fmt = AV_PIX_FMT_YUVJ420P;
    m->codec->time_base = AVRational{1, MOVIE_TIME_SCALE};
    m->codec->flags |= AV_CODEC_FLAG_QSCALE;
    m->codec->global_quality = FF_QP2LAMBDA * 4;   // a normal quality
    if (m->format->oformat->flags & AVFMT_GLOBALHEADER) m->codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    r = avcodec_open2(m->codec, jpeg, nullptr);
    if (r < 0) {
        fail(err, "starting the compression", r);
        PLAT_movie_discard(m);
        return nullptr;
    }
    r = avcodec_parameters_from_context(m->stream->codecpar, m->codec);
    if (r < 0) {
        fail(err, "describing the video track", r);
        PLAT_movie_discard(m);
        return nullptr;
    }
    m->stream->time_base = AVRational{1, MOVIE_TIME_SCALE};

    m->frame->format = AV_PIX_FMT_YUVJ420P;
    m->frame->width = width;
    m->frame->height = height;
    r = av_frame_get_buffer(m->frame, 0);
    if (r < 0) {
        fail(err, "making the frame buffer", r);
        PLAT_movie_discard(m);
        return nullptr;
    }
    m->scaler = sws_getContext(width, height, AV_PIX_FMT_0RGB, width, height, AV_PIX_FMT_YUVJ420P, SWS_BILINEAR,
                               nullptr, nullptr, nullptr);
    if (!m->scaler) {
        fail(err, "preparing the colour conversion", AVERROR(ENOMEM));
        PLAT_movie_discard(m);
        return nullptr;
    }

    r = avio_open(&m->format->pb, path, AVIO_FLAG_WRITE);
    if (r < 0) {
        fail(err, "creating the movie file", r, true);
        PLAT_movie_discard(m);
        return nullptr;
    }
    m->file_open = true;
    m->path = path;
    // An index without samples at the start, then one fragment per frame,
    // each fragment's offsets counted from its own start.
    AVDictionary* options = nullptr;
    av_dict_set_int(&options, "video_track_timescale", MOVIE_TIME_SCALE, 0);
    av_dict_set(&options, "movflags", "frag_keyframe+empty_moov+default_base_moof", 0);
    r = avformat_write_header(m->format, &options);
    av_dict_free(&options);
    if (r >= 0) {
        avio_flush(m->format->pb);
        r = m->format->pb->error;
    }
    if (r < 0) {
        fail(err, "writing the movie header", r, true);
        PLAT_movie_discard(m);
        return nullptr;
    }
    m->header_written = true;
    m->whole_bytes = avio_tell(m->format->pb);
    return m;
}

bool PLAT_movie_add_frame(PLAT_movie* m, const uint8_t* xrgb, int duration, PLAT_movie_error* err)
{
    if (!m || !xrgb) return fail(err, "adding a frame to no movie", AVERROR(EINVAL));
    const PLAT_size_limit_hold hold;
    if (duration < 1) duration = 1;
    int r = av_frame_make_writable(m->frame);
    if (r < 0) return fail(err, "making the frame buffer", r);
    const uint8_t* src[4] = {xrgb, nullptr, nullptr, nullptr};
    const int src_stride[4] = {m->width * 4, 0, 0, 0};
    sws_scale(m->scaler, src, src_stride, 0, m->height, m->frame->data, m->frame->linesize);
    m->frame->pts = m->next_time;
    m->frame->pkt_duration = duration;
    m->next_time += duration;
    r = avcodec_send_frame(m->codec, m->frame);
    if (r < 0) return fail(err, "compressing the frame", r);
    // The JPEG compressor hands each frame straight back; its packet keeps
    // the frame's duration.
    for (;;) {
        r = avcodec_receive_packet(m->codec, m->packet);
        if (r == AVERROR(EAGAIN)) return write_through(m, err);
        if (r < 0) return fail(err, "compressing the frame", r);
        m->packet->stream_index = m->stream->index;
        m->packet->duration = duration;
        av_packet_rescale_ts(m->packet, m->codec->time_base, m->stream->time_base);
        r = av_write_frame(m->format, m->packet);
        av_packet_unref(m->packet);
        if (r < 0) {
            m->torn = true;
            return fail(err, "adding the sample to the movie", r, true);
        }
    }
}

bool PLAT_movie_finish(PLAT_movie* m, PLAT_movie_error* err)
{
    if (!m) return fail(err, "finishing no movie", AVERROR(EINVAL));
    const PLAT_size_limit_hold hold;
    bool ok = true;
    int r = avcodec_send_frame(m->codec, nullptr);
    if (r < 0 && r != AVERROR_EOF) ok = fail(err, "ending the compression", r);
    if (ok) ok = drain(m, err);
    if (ok) {
        r = av_write_trailer(m->format);
        if (r >= 0) {
            avio_flush(m->format->pb);
            r = m->format->pb->error;
        }
        if (r < 0) {
            m->torn = true;
            ok = fail(err, "writing the movie index", r, true);
        }
    }
    if (m->file_open) {
        r = avio_closep(&m->format->pb);
        m->file_open = false;
        if (ok && r < 0) ok = fail(err, "closing the movie file", r, true);
    }
    PLAT_movie_discard(m);
    return ok;
}
