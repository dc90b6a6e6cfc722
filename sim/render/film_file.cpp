#include "sim/render/film_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <webp/encode.h>
#include <webp/mux.h>

namespace {

// Small enough for a README, sharp enough for text at the device's scale.
constexpr float kQuality = 80;
// Every so often a whole frame, so a player can seek.
constexpr int kMinKeyFrameDistance = 31;
constexpr int kMaxKeyFrameDistance = 60;

void fail(std::string* error, std::string message) {
    if (error) *error = std::move(message);
}

} // namespace

bool filmIsAnimatedFile(const std::string& prefix) {
    return prefix.size() > 5 && prefix.compare(prefix.size() - 5, 5, ".webp") == 0;
}

struct AnimatedWebP::Encoder {
    WebPAnimEncoder* encoder = nullptr;
    WebPConfig config{};
    int width = 0, height = 0;
    int lastMs = 0;
    ~Encoder() {
        if (encoder) WebPAnimEncoderDelete(encoder);
    }
};

AnimatedWebP::AnimatedWebP() = default;
AnimatedWebP::~AnimatedWebP() = default;

bool AnimatedWebP::add(const CGImage& frame, int timestampMs, std::string* error) {
    if (!encoder_) {
        auto e = std::make_unique<Encoder>();
        WebPAnimEncoderOptions options;
        if (!WebPAnimEncoderOptionsInit(&options) || !WebPConfigInit(&e->config)) {
            fail(error, "the WebP library does not match the one this program was built with");
            return false;
        }
        options.anim_params.loop_count = 0; // forever
        options.anim_params.bgcolor = 0xff000000;
        options.kmin = kMinKeyFrameDistance;
        options.kmax = kMaxKeyFrameDistance;
        e->config.quality = kQuality;
        e->config.method = 4;
        e->config.thread_level = 0;
        e->encoder = WebPAnimEncoderNew(frame.width, frame.height, &options);
        if (!e->encoder) {
            fail(error, "cannot start a WebP animation of " + std::to_string(frame.width) + " x " +
                            std::to_string(frame.height) + " pixels");
            return false;
        }
        e->width = frame.width;
        e->height = frame.height;
        encoder_ = std::move(e);
    }
    if (frame.width != encoder_->width || frame.height != encoder_->height) {
        fail(error, "frames of an animated file must all have the first frame's size");
        return false;
    }
    if (timestampMs < encoder_->lastMs) {
        fail(error, "frame times must not go back");
        return false;
    }
    WebPPicture picture;
    if (!WebPPictureInit(&picture)) return false;
    picture.use_argb = 1;
    picture.width = frame.width;
    picture.height = frame.height;
    if (!WebPPictureAlloc(&picture)) {
        fail(error, "out of memory for a WebP frame");
        return false;
    }
    for (int y = 0; y < frame.height; y++) {
        const std::uint32_t* in = frame.row(y);
        std::uint32_t* out = picture.argb + std::size_t(y) * picture.argb_stride;
        for (int x = 0; x < frame.width; x++)
            out[x] = unpremultiplyPixel(in[x]);
    }
    bool ok = WebPAnimEncoderAdd(encoder_->encoder, &picture, timestampMs, &encoder_->config);
    WebPPictureFree(&picture);
    if (!ok) {
        fail(error, std::string("WebP: ") + WebPAnimEncoderGetError(encoder_->encoder));
        return false;
    }
    encoder_->lastMs = timestampMs;
    return true;
}

std::vector<std::uint8_t> AnimatedWebP::finish(int endMs, std::string* error) {
    if (!encoder_) {
        fail(error, "an animated file needs at least one frame");
        return {};
    }
    // The end marks the last frame's duration; it must come after that frame's start.
    endMs = std::max(endMs, encoder_->lastMs + 1);
    WebPData data;
    WebPDataInit(&data);
    std::vector<std::uint8_t> bytes;
    if (WebPAnimEncoderAdd(encoder_->encoder, nullptr, endMs, nullptr) &&
        WebPAnimEncoderAssemble(encoder_->encoder, &data))
        bytes.assign(data.bytes, data.bytes + data.size);
    else
        fail(error, std::string("WebP: ") + WebPAnimEncoderGetError(encoder_->encoder));
    WebPDataClear(&data);
    encoder_.reset();
    return bytes;
}

bool writeFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes,
                         std::string* error) {
    std::string temporary = path + ".partial";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) {
        fail(error, "cannot write " + path + ": " + std::strerror(errno));
        return false;
    }
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    int saved = errno;
    if (std::fclose(file) != 0 && written) {
        written = false;
        saved = errno;
    }
    if (written && std::rename(temporary.c_str(), path.c_str()) != 0) {
        written = false;
        saved = errno;
    }
    if (!written) {
        ::unlink(temporary.c_str());
        fail(error, "cannot write " + path + ": " + std::strerror(saved));
    }
    return written;
}
