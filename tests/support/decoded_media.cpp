#include "support/decoded_media.h"

#include "capture/av_check.h"

#include <climits>
#include <fstream>
#include <memory>
#include <stdexcept>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

namespace omra::media {

namespace {

struct InputClose {
    void operator()(AVFormatContext* input) const { avformat_close_input(&input); }
};
struct DecoderFree {
    void operator()(AVCodecContext* decoder) const { avcodec_free_context(&decoder); }
};
struct FrameFree {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketFree {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
using Decoder = std::unique_ptr<AVCodecContext, DecoderFree>;

Decoder openDecoder(const AVStream& stream) {
    const AVCodec* codec = avcodec_find_decoder(stream.codecpar->codec_id);
    if (codec == nullptr) {
        throw std::runtime_error("no decoder for stream " + std::to_string(stream.index));
    }
    Decoder decoder(avcodec_alloc_context3(codec));
    capture::avCheck(avcodec_parameters_to_context(decoder.get(), stream.codecpar),
                     "decoder parameters");
    capture::avCheck(avcodec_open2(decoder.get(), codec, nullptr), "opening the decoder");
    return decoder;
}

void appendSound(const AVFrame& frame, std::vector<std::int16_t>& sound) {
    const int channels = frame.ch_layout.nb_channels;
    for (int i = 0; i < frame.nb_samples; ++i) {
        for (int c = 0; c < channels; ++c) {
            switch (frame.format) {
            case AV_SAMPLE_FMT_S16:
                sound.push_back(
                    reinterpret_cast<const std::int16_t*>(frame.data[0])[i * channels + c]);
                break;
            case AV_SAMPLE_FMT_FLTP: {
                const float value = reinterpret_cast<const float*>(frame.data[c])[i] * 32768.0f;
                sound.push_back(static_cast<std::int16_t>(
                    value > 32767.0f ? 32767.0f : (value < -32768.0f ? -32768.0f : value)));
                break;
            }
            default:
                throw std::runtime_error("sound in an unexpected sample format");
            }
        }
    }
}

std::string profileName(const AVStream& stream) {
    const char* name = avcodec_profile_name(stream.codecpar->codec_id, stream.codecpar->profile);
    return name == nullptr ? std::string() : name;
}

} // namespace

DecodedMedia decodeMedia(const std::filesystem::path& path,
                         const std::function<void(std::uint64_t, const AVFrame&)>& onFrame) {
    AVFormatContext* opened = nullptr;
    capture::avCheck(avformat_open_input(&opened, path.c_str(), nullptr, nullptr), path.string());
    const std::unique_ptr<AVFormatContext, InputClose> input(opened);
    capture::avCheck(avformat_find_stream_info(input.get(), nullptr), path.string());

    DecodedMedia media;
    std::vector<Decoder> decoders(input->nb_streams);
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVStream& stream = *input->streams[i];
        decoders[i] = openDecoder(stream);
        if (stream.codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
            media.videoCodec = decoders[i]->codec->name;
            media.videoProfile = profileName(stream);
            media.width = stream.codecpar->width;
            media.height = stream.codecpar->height;
            media.pixelFormat =
                av_get_pix_fmt_name(static_cast<AVPixelFormat>(stream.codecpar->format));
            if (stream.duration != AV_NOPTS_VALUE) {
                media.videoSeconds =
                    static_cast<double>(stream.duration) * av_q2d(stream.time_base);
            } else if (input->duration != AV_NOPTS_VALUE) {
                media.videoSeconds = static_cast<double>(input->duration) / AV_TIME_BASE;
            }
        } else if (stream.codecpar->codec_type == AVMEDIA_TYPE_AUDIO) {
            media.soundCodec = decoders[i]->codec->name;
            media.soundProfile = profileName(stream);
            media.sampleRate = stream.codecpar->sample_rate;
        }
    }

    const std::unique_ptr<AVPacket, PacketFree> packet(av_packet_alloc());
    const std::unique_ptr<AVFrame, FrameFree> frame(av_frame_alloc());
    const auto drain = [&](AVCodecContext& decoder) {
        while (avcodec_receive_frame(&decoder, frame.get()) >= 0) {
            if (decoder.codec_type == AVMEDIA_TYPE_VIDEO) {
                media.pictureTypes += av_get_picture_type_char(frame->pict_type);
                if (onFrame) {
                    onFrame(media.videoFrames, *frame);
                }
                ++media.videoFrames;
            } else {
                appendSound(*frame, media.sound);
            }
            av_frame_unref(frame.get());
        }
    };
    std::int64_t keyFrameTime = INT64_MIN;
    while (av_read_frame(input.get(), packet.get()) >= 0) {
        AVCodecContext& decoder = *decoders[static_cast<std::size_t>(packet->stream_index)];
        if (decoder.codec_type == AVMEDIA_TYPE_VIDEO) {
            if ((packet->flags & AV_PKT_FLAG_KEY) != 0) {
                keyFrameTime = packet->pts;
            } else if (packet->pts < keyFrameTime) {
                media.groupsClosed = false;
            }
        }
        capture::avCheck(avcodec_send_packet(&decoder, packet.get()), path.string() + ": decoding");
        av_packet_unref(packet.get());
        drain(decoder);
    }
    for (const Decoder& decoder : decoders) {
        avcodec_send_packet(decoder.get(), nullptr);
        drain(*decoder);
    }
    return media;
}

std::vector<std::string> topLevelBoxes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<std::string> boxes;
    std::uint64_t at = 0;
    const std::uint64_t end = std::filesystem::file_size(path);
    // Each box starts with its size (32 bits, big-endian; 1 means a 64-bit size follows, 0 that
    // the box runs to the end of the file) and its four-letter type.
    while (at + 8 <= end) {
        unsigned char header[16] = {};
        file.seekg(static_cast<std::streamoff>(at));
        file.read(reinterpret_cast<char*>(header), 16);
        std::uint64_t size = 0;
        for (int i = 0; i < 4; ++i) {
            size = size << 8 | header[i];
        }
        if (size == 1) {
            size = 0;
            for (int i = 8; i < 16; ++i) {
                size = size << 8 | header[i];
            }
        } else if (size == 0) {
            size = end - at;
        }
        boxes.emplace_back(reinterpret_cast<const char*>(header + 4), 4);
        if (size < 8) {
            break;
        }
        at += size;
    }
    return boxes;
}

std::vector<std::uint8_t> rgbOf(const AVFrame& frame) {
    SwsContext* converter = sws_getContext(
        frame.width, frame.height, static_cast<AVPixelFormat>(frame.format), frame.width,
        frame.height, AV_PIX_FMT_RGB24, SWS_POINT, nullptr, nullptr, nullptr);
    if (converter == nullptr) {
        throw std::runtime_error("cannot convert a decoded picture to RGB");
    }
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(frame.width) * frame.height * 3);
    std::uint8_t* planes[] = {rgb.data()};
    const int strides[] = {frame.width * 3};
    sws_scale(converter, frame.data, frame.linesize, 0, frame.height, planes, strides);
    sws_freeContext(converter);
    return rgb;
}

std::uint64_t pictureHash(const AVFrame& frame) {
    const AVPixFmtDescriptor* format =
        av_pix_fmt_desc_get(static_cast<AVPixelFormat>(frame.format));
    std::uint64_t hash = 14695981039346656037ull;
    for (int plane = 0; plane < 4 && frame.data[plane] != nullptr; ++plane) {
        const bool chroma = plane == 1 || plane == 2;
        const int rows =
            chroma ? AV_CEIL_RSHIFT(frame.height, format->log2_chroma_h) : frame.height;
        const int bytes =
            av_image_get_linesize(static_cast<AVPixelFormat>(frame.format), frame.width, plane);
        for (int y = 0; y < rows; ++y) {
            const std::uint8_t* row =
                frame.data[plane] + static_cast<std::ptrdiff_t>(y) * frame.linesize[plane];
            for (int x = 0; x < bytes; ++x) {
                hash = (hash ^ row[x]) * 1099511628211ull;
            }
        }
    }
    return hash;
}

} // namespace omra::media
