#include "capture/media_file.h"

#include "capture/av_check.h"
#include "records/mix_constants.h"

#include <algorithm>
#include <stdexcept>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
}

namespace omra::capture {

namespace {

constexpr int IoBufferBytes = 1 << 16;

// The muxer writes, and seeks back to fill in sizes and indexes, through the temporary file.
int writeToFile(void* file, std::uint8_t* bytes, int count) {
    std::ofstream& out = static_cast<tools::AtomicFile*>(file)->stream();
    out.write(reinterpret_cast<const char*>(bytes), count);
    // The MP4 muxer's last pass reads back, by name, what has been written.
    out.flush();
    return out ? count : AVERROR(EIO);
}

std::int64_t seekInFile(void* file, std::int64_t offset, int whence) {
    std::ofstream& out = static_cast<tools::AtomicFile*>(file)->stream();
    whence &= ~AVSEEK_FORCE;
    if (whence == AVSEEK_SIZE) {
        const std::streampos here = out.tellp();
        out.seekp(0, std::ios::end);
        const std::streampos size = out.tellp();
        out.seekp(here);
        return out ? static_cast<std::int64_t>(size) : AVERROR(EIO);
    }
    const std::ios::seekdir from = whence == SEEK_CUR   ? std::ios::cur
                                   : whence == SEEK_END ? std::ios::end
                                                        : std::ios::beg;
    out.seekp(offset, from);
    return out ? static_cast<std::int64_t>(out.tellp()) : AVERROR(EIO);
}

void setOption(AVCodecContext& context, const char* name, const char* value) {
    avCheck(av_opt_set(context.priv_data, name, value, 0),
            std::string(context.codec->name) + " option " + name);
}

void describePicture(AVCodecContext& context, const CaptureOptions& options) {
    context.width = options.outputWidth();
    context.height = options.outputHeight();
    context.sample_aspect_ratio = AVRational{1, 1};
    context.time_base = AVRational{1, static_cast<int>(options.fps)};
    context.framerate = AVRational{static_cast<int>(options.fps), 1};
    context.color_primaries = AVCOL_PRI_BT709;
}

// For video sites: they re-encode whatever they get, so this keeps nearly all there is.
void configureH264(AVCodecContext& context, const CaptureOptions& options) {
    describePicture(context, options);
    context.pix_fmt = AV_PIX_FMT_YUV420P;
    context.color_trc = AVCOL_TRC_BT709;
    context.colorspace = AVCOL_SPC_BT709;
    context.color_range = AVCOL_RANGE_MPEG;
    // What video sites ask for: High profile, a closed GOP of half the frame rate and two
    // B-frames in a row, key frames at fixed places rather than at scene cuts.
    const int gop = std::max(1, static_cast<int>(options.fps) / 2);
    context.gop_size = gop;
    context.keyint_min = gop;
    context.max_b_frames = 2;
    context.flags |= AV_CODEC_FLAG_CLOSED_GOP;
    setOption(context, "preset", "medium");
    setOption(context, "profile", "high");
    setOption(context, "crf", "18");
    setOption(context, "x264-params", "scenecut=0:b-adapt=0:open-gop=0");
}

// For editing and archives: every frame whole and self-contained, with checksums per slice.
void configureFfv1(AVCodecContext& context, const CaptureOptions& options) {
    describePicture(context, options);
    context.pix_fmt = AV_PIX_FMT_BGR0;
    context.color_trc = AVCOL_TRC_IEC61966_2_1;
    context.colorspace = AVCOL_SPC_RGB;
    context.color_range = AVCOL_RANGE_JPEG;
    context.gop_size = 1;
    context.level = 3;
    setOption(context, "slicecrc", "1");
}

void describeSound(AVCodecContext& context) {
    context.sample_rate = MixRate;
    context.time_base = AVRational{1, MixRate};
    const AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    avCheck(av_channel_layout_copy(&context.ch_layout, &stereo), "the sound's channel layout");
}

void configureAac(AVCodecContext& context) {
    describeSound(context);
    context.profile = FF_PROFILE_AAC_LOW;
    context.sample_fmt = AV_SAMPLE_FMT_FLTP;
    context.bit_rate = 320'000;
}

void configureFlac(AVCodecContext& context) {
    describeSound(context);
    context.sample_fmt = AV_SAMPLE_FMT_S16;
}

AVStream* addStream(AVFormatContext& muxer, const Encoder& encoder, const std::string& path) {
    AVStream* stream = avformat_new_stream(&muxer, nullptr);
    if (stream == nullptr) {
        throw std::runtime_error(path + ": out of memory for a stream");
    }
    const AVCodecContext& context = encoder.context();
    avCheck(avcodec_parameters_from_context(stream->codecpar, &context), path);
    stream->time_base = context.time_base;
    stream->avg_frame_rate = context.framerate;
    return stream;
}

} // namespace

void MediaFile::IoRelease::operator()(AVIOContext* io) const {
    av_freep(&io->buffer);
    avio_context_free(&io);
}

void MediaFile::MuxerRelease::operator()(AVFormatContext* muxer) const {
    avformat_free_context(muxer);
}

MediaFile::MediaFile(const CaptureOptions& options) : file_(options.output) {
    const bool mp4 = options.kind == OutputKind::Mp4;
    const std::string path = options.output;
    auto* buffer = static_cast<std::uint8_t*>(av_malloc(IoBufferBytes));
    io_.reset(buffer == nullptr ? nullptr
                                : avio_alloc_context(buffer, IoBufferBytes, 1, &file_, nullptr,
                                                     writeToFile, seekInFile));
    if (io_ == nullptr) {
        av_free(buffer);
        throw std::runtime_error(path + ": out of memory for writing");
    }
    AVFormatContext* muxer = nullptr;
    avCheck(avformat_alloc_output_context2(&muxer, nullptr, mp4 ? "mp4" : "matroska", nullptr),
            path);
    muxer_.reset(muxer);
    muxer_->pb = io_.get();
    muxer_->flags |= AVFMT_FLAG_CUSTOM_IO;
    av_dict_set(&muxer_->metadata, "title", "Omra", 0);
    // The index goes in front of the media, so players and video sites can start before the
    // whole file is there; the muxer moves it there in a last pass over the temporary file.
    AVDictionary* muxerOptions = nullptr;
    if (mp4) {
        av_freep(&muxer_->url);
        muxer_->url = av_strdup(file_.temporary().c_str());
        av_dict_set(&muxerOptions, "movflags", "+faststart", 0);
    }

    const bool globalHeader = (muxer_->oformat->flags & AVFMT_GLOBALHEADER) != 0;
    const auto headers = [globalHeader](AVCodecContext& context) {
        if (globalHeader) {
            context.flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        }
    };
    video_ = std::make_unique<Encoder>(
        findEncoder(mp4 ? "libx264" : "ffv1"), [&](AVCodecContext& context) {
            mp4 ? configureH264(context, options) : configureFfv1(context, options);
            headers(context);
        });
    sound_ =
        std::make_unique<Encoder>(findEncoder(mp4 ? "aac" : "flac"), [&](AVCodecContext& context) {
            mp4 ? configureAac(context) : configureFlac(context);
            headers(context);
        });
    videoStream_ = addStream(*muxer_, *video_, path);
    soundStream_ = addStream(*muxer_, *sound_, path);
    const int written = avformat_write_header(muxer_.get(), &muxerOptions);
    av_dict_free(&muxerOptions);
    avCheck(written, path);
    converter_ = std::make_unique<PictureConverter>(options.outputWidth(), options.outputHeight(),
                                                    video_->context().pix_fmt);
    framer_ = std::make_unique<SoundFramer>(sound_->context());
}

void MediaFile::add(const Picture& picture, std::span<const std::int16_t> sound) {
    video_->encode(converter_->convert(picture, frames_++),
                   [this](AVPacket& packet) { write(packet, *video_, *videoStream_); });
    framer_->add(sound, [this](const AVFrame& frame) { encodeSound(&frame); });
}

void MediaFile::finish() {
    video_->encode(nullptr, [this](AVPacket& packet) { write(packet, *video_, *videoStream_); });
    framer_->finish([this](const AVFrame& frame) { encodeSound(&frame); });
    encodeSound(nullptr);
    avCheck(av_write_trailer(muxer_.get()), file_.target().string());
    avio_flush(io_.get());
    avCheck(io_->error, file_.target().string());
    file_.commit();
}

void MediaFile::encodeSound(const AVFrame* frame) {
    sound_->encode(frame, [this](AVPacket& packet) { write(packet, *sound_, *soundStream_); });
}

void MediaFile::write(AVPacket& packet, const Encoder& encoder, const AVStream& stream) {
    av_packet_rescale_ts(&packet, encoder.context().time_base, stream.time_base);
    packet.stream_index = stream.index;
    avCheck(av_interleaved_write_frame(muxer_.get(), &packet), file_.target().string());
}

} // namespace omra::capture
