#include "platform/graphics/bitmap.h"

#include "platform/graphics/limits.h"

#include <cstdlib>
#include <mutex>
#include <new>
#include <sys/mman.h>
#include <vector>

namespace {

constexpr std::size_t kPooledFrom = 64 * 1024; // pixels (256 KiB)
constexpr std::size_t kGranule = 16 * 1024;    // pixels
constexpr std::size_t kMaxIdleBytes = std::size_t(48) << 20;
// Larger blocks (large artwork) go back to the system at once, so that the pool does not hold
// peak-sized memory once the track is shown; 2 MiB pages make getting them again cheap.
constexpr std::size_t kMaxIdleBlockBytes = std::size_t(16) << 20;
// Blocks from 4 MiB on are backed by 2 MiB pages where the system allows: one page fault per
// 2 MiB instead of 512, which otherwise costs more than the work done on a fresh bitmap.
constexpr std::size_t kHugePage = std::size_t(2) << 20;
constexpr std::size_t kHugeFrom = std::size_t(4) << 20;

// The pixels a block for `count` pixels holds: whole granules, whole 2 MiB pages when large.
std::size_t blockCapacity(std::size_t count) {
    std::size_t capacity = (count + kGranule - 1) / kGranule * kGranule;
    if (capacity * 4 >= kHugeFrom)
        capacity = (capacity * 4 + kHugePage - 1) / kHugePage * kHugePage / 4;
    return capacity;
}

std::uint32_t* allocateBlock(std::size_t capacity) {
    std::size_t bytes = capacity * 4;
    if (bytes < kHugeFrom) return new (std::nothrow) std::uint32_t[capacity];
    void* p = std::aligned_alloc(kHugePage, bytes);
#ifdef MADV_HUGEPAGE
    if (p) ::madvise(p, bytes, MADV_HUGEPAGE);
#endif
    return static_cast<std::uint32_t*>(p);
}

void freeBlock(std::uint32_t* p, std::size_t capacity) {
    if (capacity * 4 < kHugeFrom)
        delete[] p;
    else
        std::free(p);
}

struct Pool {
    std::mutex mutex;
    struct Block {
        std::size_t capacity;
        std::uint32_t* data;
    };
    std::vector<Block> idle; // oldest first
    std::size_t idleBytes = 0;

    std::uint32_t* take(std::size_t count, std::size_t* capacity) {
        count = blockCapacity(count);
        std::lock_guard lock(mutex);
        std::size_t best = idle.size();
        for (std::size_t i = 0; i < idle.size(); ++i)
            if (idle[i].capacity >= count && idle[i].capacity <= count + count / 4 &&
                (best == idle.size() || idle[i].capacity < idle[best].capacity))
                best = i;
        if (best == idle.size()) return nullptr;
        Block b = idle[best];
        idle.erase(idle.begin() + std::ptrdiff_t(best));
        idleBytes -= b.capacity * 4;
        *capacity = b.capacity;
        return b.data;
    }

    void give(std::uint32_t* data, std::size_t capacity) {
        if (capacity * 4 > kMaxIdleBlockBytes) {
            freeBlock(data, capacity);
            return;
        }
        std::vector<Block> freed;
        {
            std::lock_guard lock(mutex);
            idle.push_back({capacity, data});
            idleBytes += capacity * 4;
            while (idleBytes > kMaxIdleBytes) {
                freed.push_back(idle.front());
                idleBytes -= idle.front().capacity * 4;
                idle.erase(idle.begin());
            }
        }
        for (const Block& b : freed)
            freeBlock(b.data, b.capacity);
    }
};

Pool& pool() {
    static Pool* p = new Pool; // never destroyed: buffers may be released during exit
    return *p;
}

} // namespace

std::shared_ptr<std::uint32_t[]> allocatePixels(std::size_t count) {
    if (count < kPooledFrom)
        return std::shared_ptr<std::uint32_t[]>(new (std::nothrow)
                                                    std::uint32_t[count ? count : 1]);
    std::size_t capacity = 0;
    std::uint32_t* data = pool().take(count, &capacity);
    if (!data) {
        capacity = (count + kGranule - 1) / kGranule * kGranule;
        if (capacity * 4 >= kHugeFrom)
            capacity = (capacity * 4 + kHugePage - 1) / kHugePage * kHugePage / 4;
        data = allocateBlock(capacity);
        if (!data) return nullptr;
    }
    return std::shared_ptr<std::uint32_t[]>(
        data, [capacity](std::uint32_t* p) { pool().give(p, capacity); });
}

std::shared_ptr<CGImage> CGImageAllocate(int width, int height) {
    if (!imageSizeAllowed(width, height)) return nullptr;
    auto image = std::make_shared<CGImage>();
    image->width = width;
    image->height = height;
    image->data = allocatePixels(image->pixelCount());
    if (!image->data) return nullptr;
    return image;
}
