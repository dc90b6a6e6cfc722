#include "sim/render/frame_writer.h"

#include "sim/render/render.h"

#include <exception>

namespace render {

FrameWriter::FrameWriter() : thread_([this] { run(); }) {}

FrameWriter::~FrameWriter() {
    finish(nullptr);
}

bool FrameWriter::write(CGImageRef image, std::string path) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !waiting_ || failure_; });
    if (failure_) return false;
    waiting_.emplace(std::move(image), std::move(path));
    changed_.notify_all();
    return true;
}

std::vector<std::string> FrameWriter::finish(std::optional<std::string>* failure) {
    {
        std::unique_lock lock(mutex_);
        closing_ = true;
        changed_.notify_all();
    }
    if (thread_.joinable()) thread_.join();
    if (failure) *failure = failure_;
    return written_;
}

void FrameWriter::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return waiting_ || closing_; });
        if (!waiting_) return;
        auto [image, path] = std::move(*waiting_);
        waiting_.reset();
        changed_.notify_all();
        if (failure_) continue;
        lock.unlock();
        std::string error;
        bool ok = false;
        try {
            ok = writePNG(image, path, &error);
        } catch (const std::exception& e) { // out of memory: a failed write, not the end
            error = "cannot write " + path + ": " + e.what();
        }
        image.reset(); // the pixels go back to the pool before the next frame is taken
        lock.lock();
        if (ok)
            written_.push_back(std::move(path));
        else
            failure_ = std::move(error);
    }
}

} // namespace render
