// Film frames written as PNG on a second thread while the next frame is drawn. Frames are
// encoded and written one at a time in the order given, so the files and their bytes are the
// same as when written in turn; after a failed write nothing more is written.
#pragma once

#include "platform/graphics/bitmap.h"

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace render {

class FrameWriter {
  public:
    FrameWriter();
    // Waits for the frames given so far.
    ~FrameWriter();
    FrameWriter(const FrameWriter&) = delete;
    FrameWriter& operator=(const FrameWriter&) = delete;

    // Queues a frame; waits while one is already waiting. False (and nothing queued) once a
    // write has failed.
    bool write(CGImageRef image, std::string path);
    // Waits for every queued frame. The paths written, in order, and the first failure's
    // message (none when every write succeeded).
    std::vector<std::string> finish(std::optional<std::string>* failure);

  private:
    void run();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<std::pair<CGImageRef, std::string>> waiting_;
    bool closing_ = false;
    std::vector<std::string> written_;
    std::optional<std::string> failure_;
    std::thread thread_;
};

} // namespace render
