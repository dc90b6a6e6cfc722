#include "platform/graphics/sha256.h"

#include <algorithm>
#include <cstring>
#include <immintrin.h>

namespace {

constexpr std::uint32_t K[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

bool portableOnly = false;

inline std::uint32_t rotr(std::uint32_t x, int n) {
    return (x >> n) | (x << (32 - n));
}

void blocksPortable(std::uint32_t* state, const std::uint8_t* data, std::size_t count) {
    for (; count--; data += 64) {
        std::uint32_t w[64];
        for (int i = 0; i < 16; ++i)
            w[i] = std::uint32_t(data[4 * i]) << 24 | std::uint32_t(data[4 * i + 1]) << 16 |
                   std::uint32_t(data[4 * i + 2]) << 8 | data[4 * i + 3];
        for (int i = 16; i < 64; ++i) {
            std::uint32_t s0 = rotr(w[i - 15], 7) ^ rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
            std::uint32_t s1 = rotr(w[i - 2], 17) ^ rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
            w[i] = w[i - 16] + s0 + w[i - 7] + s1;
        }
        std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
        std::uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
        for (int i = 0; i < 64; ++i) {
            std::uint32_t t1 =
                h + (rotr(e, 6) ^ rotr(e, 11) ^ rotr(e, 25)) + ((e & f) ^ (~e & g)) + K[i] + w[i];
            std::uint32_t t2 =
                (rotr(a, 2) ^ rotr(a, 13) ^ rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
            h = g, g = f, f = e, e = d + t1, d = c, c = b, b = a, a = t1 + t2;
        }
        state[0] += a, state[1] += b, state[2] += c, state[3] += d;
        state[4] += e, state[5] += f, state[6] += g, state[7] += h;
    }
}

__attribute__((target("sha,sse4.1"))) void blocksSHA(std::uint32_t* state, const std::uint8_t* data,
                                                     std::size_t count) {
    const __m128i mask = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
    __m128i tmp = _mm_loadu_si128(reinterpret_cast<const __m128i*>(state));
    __m128i s1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(state + 4));
    tmp = _mm_shuffle_epi32(tmp, 0xB1);
    s1 = _mm_shuffle_epi32(s1, 0x1B);
    __m128i s0 = _mm_alignr_epi8(tmp, s1, 8);
    s1 = _mm_blend_epi16(s1, tmp, 0xF0);
    for (; count--; data += 64) {
        const __m128i abef = s0, cdgh = s1;
        __m128i w[4];
#pragma GCC unroll 16
        for (int g = 0; g < 16; ++g) {
            if (g < 4)
                w[g] = _mm_shuffle_epi8(
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * g)), mask);
            __m128i msg = _mm_add_epi32(
                w[g % 4], _mm_loadu_si128(reinterpret_cast<const __m128i*>(K + 4 * g)));
            s1 = _mm_sha256rnds2_epu32(s1, s0, msg);
            if (g >= 3 && g <= 14) {
                __m128i t = _mm_alignr_epi8(w[g % 4], w[(g + 3) % 4], 4);
                w[(g + 1) % 4] = _mm_add_epi32(w[(g + 1) % 4], t);
                w[(g + 1) % 4] = _mm_sha256msg2_epu32(w[(g + 1) % 4], w[g % 4]);
            }
            msg = _mm_shuffle_epi32(msg, 0x0E);
            s0 = _mm_sha256rnds2_epu32(s0, s1, msg);
            if (g >= 1 && g <= 12) w[(g + 3) % 4] = _mm_sha256msg1_epu32(w[(g + 3) % 4], w[g % 4]);
        }
        s0 = _mm_add_epi32(s0, abef);
        s1 = _mm_add_epi32(s1, cdgh);
    }
    tmp = _mm_shuffle_epi32(s0, 0x1B);
    s1 = _mm_shuffle_epi32(s1, 0xB1);
    s0 = _mm_blend_epi16(tmp, s1, 0xF0);
    s1 = _mm_alignr_epi8(s1, tmp, 8);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state), s0);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state + 4), s1);
}

// Four independent lanes, interleaved so that the SHA units are kept busy: lane l takes the
// 64-byte blocks at data + (4 j + l) * 64.
__attribute__((target("sha,sse4.1"))) void
blocksSHA4(std::uint32_t* const states[4], const std::uint8_t* data, std::size_t groups) {
    const __m128i mask = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
    __m128i s0[4], s1[4];
    for (int l = 0; l < 4; ++l) {
        __m128i tmp = _mm_loadu_si128(reinterpret_cast<const __m128i*>(states[l]));
        s1[l] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(states[l] + 4));
        tmp = _mm_shuffle_epi32(tmp, 0xB1);
        s1[l] = _mm_shuffle_epi32(s1[l], 0x1B);
        s0[l] = _mm_alignr_epi8(tmp, s1[l], 8);
        s1[l] = _mm_blend_epi16(s1[l], tmp, 0xF0);
    }
    for (; groups--; data += 256) {
        __m128i abef[4], cdgh[4], w[4][4];
        for (int l = 0; l < 4; ++l)
            abef[l] = s0[l], cdgh[l] = s1[l];
#pragma GCC unroll 16
        for (int g = 0; g < 16; ++g) {
            const __m128i k = _mm_loadu_si128(reinterpret_cast<const __m128i*>(K + 4 * g));
#pragma GCC unroll 4
            for (int l = 0; l < 4; ++l) {
                if (g < 4)
                    w[l][g] = _mm_shuffle_epi8(
                        _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 64 * l + 16 * g)),
                        mask);
                __m128i msg = _mm_add_epi32(w[l][g % 4], k);
                s1[l] = _mm_sha256rnds2_epu32(s1[l], s0[l], msg);
                if (g >= 3 && g <= 14) {
                    __m128i t = _mm_alignr_epi8(w[l][g % 4], w[l][(g + 3) % 4], 4);
                    w[l][(g + 1) % 4] = _mm_add_epi32(w[l][(g + 1) % 4], t);
                    w[l][(g + 1) % 4] = _mm_sha256msg2_epu32(w[l][(g + 1) % 4], w[l][g % 4]);
                }
                msg = _mm_shuffle_epi32(msg, 0x0E);
                s0[l] = _mm_sha256rnds2_epu32(s0[l], s1[l], msg);
                if (g >= 1 && g <= 12)
                    w[l][(g + 3) % 4] = _mm_sha256msg1_epu32(w[l][(g + 3) % 4], w[l][g % 4]);
            }
        }
        for (int l = 0; l < 4; ++l) {
            s0[l] = _mm_add_epi32(s0[l], abef[l]);
            s1[l] = _mm_add_epi32(s1[l], cdgh[l]);
        }
    }
    for (int l = 0; l < 4; ++l) {
        __m128i tmp = _mm_shuffle_epi32(s0[l], 0x1B);
        __m128i b = _mm_shuffle_epi32(s1[l], 0xB1);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(states[l]), _mm_blend_epi16(tmp, b, 0xF0));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(states[l] + 4), _mm_alignr_epi8(b, tmp, 8));
    }
}

bool hasSHA() {
    static const bool has = __builtin_cpu_supports("sha") && __builtin_cpu_supports("sse4.1");
    return has;
}

} // namespace

Sha256::Sha256()
    : state_{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
             0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19} {}

void Sha256::forcePortable(bool portable) {
    portableOnly = portable;
}

void Sha256::blocks(const std::uint8_t* data, std::size_t count) {
    if (hasSHA() && !portableOnly)
        blocksSHA(state_, data, count);
    else
        blocksPortable(state_, data, count);
}

void Sha256::update(const void* data, std::size_t length) {
    auto* p = static_cast<const std::uint8_t*>(data);
    length_ += length;
    if (buffered_) {
        std::size_t take = std::min(length, 64 - buffered_);
        std::memcpy(buffer_ + buffered_, p, take);
        buffered_ += take, p += take, length -= take;
        if (buffered_ < 64) return;
        blocks(buffer_, 1);
        buffered_ = 0;
    }
    if (length >= 64) {
        blocks(p, length / 64);
        p += length / 64 * 64;
        length %= 64;
    }
    std::memcpy(buffer_, p, length);
    buffered_ = length;
}

Digest256 Sha256::finish() {
    std::uint64_t bits = length_ * 8;
    std::uint8_t pad[72] = {0x80};
    std::size_t padLength = (buffered_ < 56 ? 56 : 120) - buffered_;
    for (int i = 0; i < 8; ++i)
        pad[padLength + i] = std::uint8_t(bits >> (56 - 8 * i));
    update(pad, padLength + 8);
    Digest256 out;
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 4; ++j)
            out[4 * i + j] = std::uint8_t(state_[i] >> (24 - 8 * j));
    return out;
}

Digest256 sha256(const void* data, std::size_t length) {
    Sha256 h;
    h.update(data, length);
    return h.finish();
}

void Sha256Tree::update(const void* data, std::size_t length) {
    auto* p = static_cast<const std::uint8_t*>(data);
    if (buffered_) {
        std::size_t take = std::min(length, sizeof buffer_ - buffered_);
        std::memcpy(buffer_ + buffered_, p, take);
        buffered_ += take, p += take, length -= take;
        if (buffered_ < sizeof buffer_) return;
        buffered_ = 0;
        update(buffer_, sizeof buffer_);
    }
    std::size_t groups = length / 256;
    if (groups) {
        // Lanes take whole blocks only, so each lane's buffer stays empty here.
        if (hasSHA() && !portableOnly) {
            std::uint32_t* states[4] = {lanes_[0].state_, lanes_[1].state_, lanes_[2].state_,
                                        lanes_[3].state_};
            blocksSHA4(states, p, groups);
            for (auto& lane : lanes_)
                lane.length_ += groups * 64;
        } else {
            for (std::size_t g = 0; g < groups; ++g)
                for (int l = 0; l < 4; ++l)
                    lanes_[l].update(p + g * 256 + l * 64, 64);
        }
        p += groups * 256, length -= groups * 256;
    }
    std::memcpy(buffer_, p, length);
    buffered_ = length;
}

Digest256 Sha256Tree::finish() {
    // The tail: whole blocks go on being dealt round-robin, the last partial block to the next.
    for (std::size_t i = 0, l = 0; i < buffered_; i += 64, l = (l + 1) % 4)
        lanes_[l].update(buffer_ + i, std::min<std::size_t>(64, buffered_ - i));
    Sha256 root;
    for (auto& lane : lanes_) {
        Digest256 d = lane.finish();
        root.update(d.data(), d.size());
    }
    return root.finish();
}
