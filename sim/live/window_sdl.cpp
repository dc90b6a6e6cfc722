// The live window on SDL2: reads the person's input, runs the session on the real clock and
// shows the screen, redrawn only when something changed or moves, at most 60 times a second.
#include "sim/live/window.h"

#include "sim/render/render.h"

#include <SDL.h>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>

namespace sim {

namespace {

constexpr std::int64_t kFrameNanos = 1'000'000'000 / 60;
// Even with nothing scheduled the loop looks round now and then.
constexpr int kIdleMillis = 500;
// Room left around the window on the display.
constexpr double kDisplayShare = 0.9;

std::int64_t clockNanos() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

LiveKey keyOf(SDL_Keycode key) {
    switch (key) {
    case SDLK_SPACE:
        return LiveKey::Space;
    case SDLK_RIGHT:
        return LiveKey::Right;
    case SDLK_LEFT:
        return LiveKey::Left;
    case SDLK_r:
        return LiveKey::R;
    case SDLK_t:
        return LiveKey::T;
    case SDLK_l:
        return LiveKey::L;
    case SDLK_s:
        return LiveKey::S;
    case SDLK_d:
        return LiveKey::D;
    case SDLK_q:
        return LiveKey::Q;
    default:
        return LiveKey::Other;
    }
}

class SdlWindow : public LiveWindow {
  public:
    SdlWindow(CGSize screen, SDL_Window* window, SDL_Renderer* renderer)
        : screen_(screen), window_(window), renderer_(renderer) {}
    ~SdlWindow() override {
        if (texture_) SDL_DestroyTexture(texture_);
        SDL_DestroyRenderer(renderer_);
        SDL_DestroyWindow(window_);
        SDL_Quit();
    }

    void run(LiveSession& session) override {
        LivePointer pointer;
        bool dirty = true, animatedBefore = false;
        std::int64_t last = clockNanos(), nextFrame = last;
        for (;;) {
            std::int64_t now = clockNanos();
            int timeout;
            if (dirty || animatedBefore) {
                timeout = int(std::max<std::int64_t>(0, nextFrame - now) / 1'000'000);
            } else {
                std::int64_t due = session.nanosUntilDue();
                timeout = due < 0 ? kIdleMillis
                                  : int(std::min<std::int64_t>(due / 1'000'000 + 1, kIdleMillis));
            }
            std::vector<LiveEvent> events;
            bool exposed = false;
            collect(timeout, events, dirty, exposed);
            now = clockNanos();
            session.advance(now - last);
            last = now;
            if (!events.empty()) {
                LiveGeometry geometry = session.geometry(area_);
                for (const LiveCommand& c : translateEvents(events, geometry, pointer))
                    if (!session.perform(c)) return;
            }
            bool animating = session.animating();
            dirty = session.takeChanged() || dirty || animating || animatedBefore;
            animatedBefore = animating;
            if (dirty && clockNanos() >= nextFrame) {
                draw();
                dirty = false;
                nextFrame = clockNanos() + kFrameNanos;
            } else if (exposed) {
                present();
            }
        }
    }

  private:
    // Waits up to `timeout` ms for the first event, then takes every one that is waiting.
    void collect(int timeout, std::vector<LiveEvent>& events, bool& dirty, bool& exposed) {
        SDL_Event e;
        bool got = timeout > 0 ? SDL_WaitEventTimeout(&e, timeout) : SDL_PollEvent(&e);
        for (; got; got = SDL_PollEvent(&e)) {
            using K = LiveEvent::Kind;
            switch (e.type) {
            case SDL_QUIT:
                events.push_back({K::Close});
                break;
            case SDL_WINDOWEVENT:
                if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) dirty = true;
                if (e.window.event == SDL_WINDOWEVENT_EXPOSED) exposed = true;
                break;
            case SDL_KEYDOWN:
                if (!e.key.repeat) events.push_back({K::Key, 0, 0, keyOf(e.key.keysym.sym)});
                break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP:
                if (e.button.button == SDL_BUTTON_LEFT)
                    events.push_back({e.type == SDL_MOUSEBUTTONDOWN ? K::Press : K::Release,
                                      double(e.button.x), double(e.button.y)});
                break;
            case SDL_MOUSEMOTION:
                if (e.motion.state & SDL_BUTTON_LMASK)
                    events.push_back({K::Move, double(e.motion.x), double(e.motion.y)});
                break;
            default:
                break;
            }
        }
    }

    // Renders the screen at the size it shows in the window (not at the device's scale: the
    // window is smaller, and fewer pixels keep the frame rate).
    void draw() {
        int w = 0, h = 0;
        SDL_GetRendererOutputSize(renderer_, &w, &h);
        double fit = std::min(w / screen_.width, h / screen_.height);
        RenderOptions options;
        options.scale = std::clamp(fit, 0.05, 4.0);
        options.quickImages = true;
        std::string problem;
        CGImageRef image = renderScreen(options, &problem);
        if (!image) return;
        if (!texture_ || image->width != textureWidth_ || image->height != textureHeight_) {
            if (texture_) SDL_DestroyTexture(texture_);
            // Cairo's pixel word is SDL's ARGB8888.
            texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888,
                                         SDL_TEXTUREACCESS_STREAMING, image->width, image->height);
            textureWidth_ = image->width;
            textureHeight_ = image->height;
        }
        if (!texture_) return;
        SDL_UpdateTexture(texture_, nullptr, image->pixels(), int(image->bytesPerRow()));
        double dw = screen_.width * options.scale, dh = screen_.height * options.scale;
        area_ = CGRectMake(std::round((w - dw) / 2), std::round((h - dh) / 2), std::round(dw),
                           std::round(dh));
        present();
    }

    void present() {
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
        if (texture_) {
            SDL_Rect dst{int(area_.origin.x), int(area_.origin.y), int(area_.size.width),
                         int(area_.size.height)};
            SDL_RenderCopy(renderer_, texture_, nullptr, &dst);
        }
        SDL_RenderPresent(renderer_);
    }

    CGSize screen_;
    SDL_Window* window_;
    SDL_Renderer* renderer_;
    SDL_Texture* texture_ = nullptr;
    int textureWidth_ = 0, textureHeight_ = 0;
    CGRect area_ = CGRectZero;
};

} // namespace

std::unique_ptr<LiveWindow> openLiveWindow(CGSize screen, const std::string& title,
                                           std::string* problem) {
    const char* kNoDisplay = "cannot open a window: no display (DISPLAY and WAYLAND_DISPLAY are "
                             "not set, or name no display)";
    auto set = [](const char* name) { return std::getenv(name) && *std::getenv(name); };
    // Checked first: SDL's probing would print its own complaints.
    if (!set("DISPLAY") && !set("WAYLAND_DISPLAY") && !set("SDL_VIDEODRIVER")) {
        *problem = kNoDisplay;
        return nullptr;
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        *problem = std::string("cannot open a window: no display (") + SDL_GetError() + ")";
        return nullptr;
    }
    // Without a display SDL falls back to drivers that draw nowhere.
    std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
    if (driver.empty() || driver == "offscreen" || driver == "dummy") {
        *problem = kNoDisplay;
        SDL_Quit();
        return nullptr;
    }
    SDL_Rect usable{0, 0, 0, 0};
    double fit = 1;
    if (SDL_GetDisplayUsableBounds(0, &usable) == 0 && usable.w > 0 && usable.h > 0)
        fit = std::min({kDisplayShare * usable.w / screen.width,
                        kDisplayShare * usable.h / screen.height, 2.0});
    int w = std::max(1, int(std::lround(screen.width * fit)));
    int h = std::max(1, int(std::lround(screen.height * fit)));
    SDL_Window* window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED,
                                          SDL_WINDOWPOS_CENTERED, w, h, SDL_WINDOW_RESIZABLE);
    SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, 0) : nullptr;
    if (!renderer) {
        *problem = std::string("cannot open a window: ") + SDL_GetError();
        if (window) SDL_DestroyWindow(window);
        SDL_Quit();
        return nullptr;
    }
    return std::make_unique<SdlWindow>(screen, window, renderer);
}

} // namespace sim
