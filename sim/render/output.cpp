// The renderer's entry points: a view or the whole screen to a bitmap, PNG files, films.
#include "sim/render/render.h"

#include "platform/graphics/codec.h"
#include "platform/graphics/limits.h"
#include "platform/uikit/uikit.h"
#include "sim/render/canvas.h"
#include "sim/render/film_file.h"
#include "sim/render/frame_writer.h"

#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr double kMaxScale = 4;
constexpr double kMaxFilmSeconds = 600;
constexpr double kMaxFilmFPS = 120;
constexpr long kMaxFilmFrames = 3600;

std::atomic<PNGCompression> pngCompression = PNGCompression::Fast;

void fail(std::string* error, std::string message) {
    if (error) *error = std::move(message);
}

std::function<void(long, long)>& filmProgress() {
    static std::function<void(long, long)> progress;
    return progress;
}

bool resolve(RenderOptions& options, std::string* error) {
    if (options.scale == 0) options.scale = UIScreen::mainScreen()->scale();
    if (!(options.scale > 0 && options.scale <= kMaxScale)) {
        fail(error, "render: scale must be above 0 and at most 4");
        return false;
    }
    if (options.now < 0) options.now = MainQueue::shared().nowNanos();
    return true;
}

CGImageRef drawArea(CGRect area, const RenderOptions& options, std::string* error,
                    const std::function<void(render::Canvas&)>& draw, bool covered = false) {
    int w = render::pixelsFor(area.size.width, options.scale);
    int h = render::pixelsFor(area.size.height, options.scale);
    CGImageRef image = render::drawBitmap(
        w, h, options.scale,
        [&](render::Canvas& canvas) {
            canvas.quickImages = options.quickImages;
            draw(canvas);
        },
        covered);
    if (!image)
        fail(error, "render: cannot make a bitmap of " + std::to_string(w) + " x " +
                        std::to_string(h) + " pixels");
    return image;
}

// Renders the way the scenario asked: one view's tree, or the screen for none.
CGImageRef renderRootOrScreen(UIView* root, double scale, std::string* error) {
    RenderOptions options;
    options.scale = scale;
    return root ? renderView(root, options, error) : renderScreen(options, error);
}

} // namespace

CGImageRef renderView(UIView* root, RenderOptions options, std::string* error) {
    if (!root) {
        fail(error, "render: no view to draw");
        return nullptr;
    }
    if (!resolve(options, error)) return nullptr;
    Ref<UIView> keep = root;
    CGRect bounds = root->presentationBounds(options.now);
    std::shared_ptr<render::DisplayNode> body =
        render::recordBody(root, options.now, options.scale);
    return drawArea(bounds, options, error, [&](render::Canvas& canvas) {
        if (root->isHidden()) return;
        cairo_translate(canvas.cr, -bounds.origin.x, -bounds.origin.y);
        render::drawBody(canvas, *body, root->presentationAlpha(options.now));
    });
}

CGImageRef renderScreen(RenderOptions options, std::string* error) {
    if (!resolve(options, error)) return nullptr;
    CGRect screen = UIScreen::mainScreen()->bounds();
    // A copy: drawing may run view code.
    std::vector<Ref<UIWindow>> windows = UIApplication::sharedApplication()->windows();
    render::DisplayNode screenNode;
    screenNode.bounds = screen;
    for (const Ref<UIWindow>& window : windows)
        render::recordPlaced(screenNode.children, window, options.now, options.scale);
    return drawArea(
        screen, options, error,
        [&](render::Canvas& canvas) {
            cairo_set_source_rgb(canvas.cr, 0, 0, 0);
            cairo_set_operator(canvas.cr, CAIRO_OPERATOR_SOURCE); // over uncleared pixels
            cairo_paint(canvas.cr);
            cairo_set_operator(canvas.cr, CAIRO_OPERATOR_OVER);
            cairo_translate(canvas.cr, -screen.origin.x, -screen.origin.y);
            for (const render::DisplayNode& window : screenNode.children)
                render::drawPlaced(canvas, window);
        },
        true);
}

bool screenSizeRenderable(double width, double height, double scale) {
    return scale > 0 && scale <= kMaxScale &&
           imageSizeAllowed(render::pixelsFor(width, scale), render::pixelsFor(height, scale));
}

bool writeOutputFile(const std::string& path, std::string_view bytes, std::string* error) {
    static std::atomic<unsigned> serial = 0; // frames are written from a second thread
    std::string tmp = path + ".part-" + std::to_string(::getpid()) + "-" + std::to_string(++serial);
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    int saved = fd < 0 ? errno : 0;
    for (std::size_t done = 0; fd >= 0 && !saved && done < bytes.size();) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno != EINTR) saved = errno;
        if (n > 0) done += std::size_t(n);
    }
    if (fd >= 0 && ::close(fd) != 0 && !saved) saved = errno;
    if (!saved && ::rename(tmp.c_str(), path.c_str()) != 0) saved = errno;
    if (!saved) return true;
    if (fd >= 0) ::unlink(tmp.c_str());
    fail(error, "cannot write " + path + ": " + std::strerror(saved));
    return false;
}

bool writePNG(const CGImageRef& image, const std::string& path, std::string* error) {
    if (!image) {
        fail(error, "cannot write " + path + ": no image");
        return false;
    }
    std::vector<std::uint8_t> bytes = CGImageEncodePNG(*image, pngCompression);
    if (bytes.empty()) {
        fail(error, "cannot write " + path + ": the image does not encode");
        return false;
    }
    return writeOutputFile(
        path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), error);
}

void renderSetPNGCompression(PNGCompression compression) {
    pngCompression = compression;
}

bool renderSnapshot(UIView* root, double scale, const std::string& path, std::string* error,
                    bool* writeFailed) {
    CGImageRef image = renderRootOrScreen(root, scale, error);
    if (!image) return false;
    bool ok = writePNG(image, path, error);
    if (writeFailed) *writeFailed = !ok;
    return ok;
}

bool renderFilm(UIView* root, double scale, const std::string& prefix, double seconds, double fps,
                std::string* error, std::vector<std::string>* frames, bool* writeFailed) {
    if (prefix.empty()) {
        fail(error, "film: no file prefix");
        return false;
    }
    if (!(seconds > 0 && seconds <= kMaxFilmSeconds)) {
        fail(error, "film: seconds must be above 0 and at most 600");
        return false;
    }
    if (!(fps > 0 && fps <= kMaxFilmFPS)) {
        fail(error, "film: frames per second must be above 0 and at most 120");
        return false;
    }
    long count = std::max(1L, std::lround(seconds * fps));
    if (count > kMaxFilmFrames) {
        fail(error, "film: more than 3600 frames");
        return false;
    }
    Ref<UIView> keep = root;
    MainQueue& queue = MainQueue::shared();
    std::int64_t start = queue.nowNanos();
    render::FrameReuse reuse;
    const bool animated = filmIsAnimatedFile(prefix);
    AnimatedWebP webp;
    auto milliseconds = [](double t) { return int(std::lround(t * 1000)); };
    // PNG frames are encoded and written while the next one is drawn.
    render::FrameWriter writer;
    std::string renderError;
    bool drawn = true, encoded = true;
    for (long k = 0; k < count && drawn && encoded; ++k) {
        if (filmProgress()) filmProgress()(k + 1, count);
        if (k > 0) queue.runUntil(start + secondsToNanos(double(k) / fps));
        CGImageRef image = renderRootOrScreen(root, scale, &renderError);
        if (!image) {
            drawn = false;
            break;
        }
        if (animated) {
            std::string problem;
            encoded = webp.add(*image, milliseconds(double(k) / fps), &problem);
            if (!encoded) fail(error, "cannot write " + prefix + ": " + problem);
            continue;
        }
        char number[32]; // room for any long, so the frame name is never cut
        std::snprintf(number, sizeof number, "-%04ld.png", k + 1);
        drawn = writer.write(std::move(image), prefix + number);
    }
    std::optional<std::string> writeError;
    std::vector<std::string> written = writer.finish(&writeError);
    if (frames) frames->insert(frames->end(), written.begin(), written.end());
    queue.runUntil(start + secondsToNanos(seconds));
    // A failed write comes before any later frame that could not be drawn.
    if (writeError) {
        fail(error, *writeError);
        if (writeFailed) *writeFailed = true;
        return false;
    }
    if (!drawn) fail(error, renderError);
    if (!drawn || !encoded) return false;
    if (!animated) return true;
    std::string problem;
    std::vector<std::uint8_t> bytes = webp.finish(milliseconds(seconds), &problem);
    bool ok = !bytes.empty() && writeFileAtomically(prefix, bytes, &problem);
    if (!ok) fail(error, bytes.empty() ? "cannot write " + prefix + ": " + problem : problem);
    if (ok && frames) frames->push_back(prefix);
    return ok;
}

void setFilmProgress(std::function<void(long frame, long count)> progress) {
    filmProgress() = std::move(progress);
}

namespace {
// Any program that renders keeps the pictures transitions need, from its start.
[[maybe_unused]] const bool kTransitionSnapshots = (renderInstallTransitionSnapshots(), true);
} // namespace
