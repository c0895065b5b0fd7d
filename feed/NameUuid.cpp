#include "feed/NameUuid.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>

const Uuid kUrlNamespace = {0x6b, 0xa7, 0xb8, 0x11, 0x9d, 0xad, 0x11, 0xd1,
                            0x80, 0xb4, 0x00, 0xc0, 0x4f, 0xd4, 0x30, 0xc8};

namespace {

uint32_t Rotate(uint32_t value, int bits) { return (value << bits) | (value >> (32 - bits)); }

void Sha1Block(const uint8_t* chunk, std::array<uint32_t, 5>* state) {
    uint32_t w[80];
    for (std::size_t i = 0; i < 16; ++i) {
        w[i] = uint32_t{chunk[4 * i]} << 24 | uint32_t{chunk[4 * i + 1]} << 16 |
               uint32_t{chunk[4 * i + 2]} << 8 | uint32_t{chunk[4 * i + 3]};
    }
    for (std::size_t i = 16; i < 80; ++i)
        w[i] = Rotate(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
    auto [a, b, c, d, e] = *state;
    for (int i = 0; i < 80; ++i) {
        uint32_t f = 0;
        uint32_t k = 0;
        if (i < 20) {
            f = (b & c) | (~b & d), k = 0x5A827999;
        } else if (i < 40) {
            f = b ^ c ^ d, k = 0x6ED9EBA1;
        } else if (i < 60) {
            f = (b & c) | (b & d) | (c & d), k = 0x8F1BBCDC;
        } else {
            f = b ^ c ^ d, k = 0xCA62C1D6;
        }
        const uint32_t next = Rotate(a, 5) + f + e + k + w[i];
        e = d, d = c, c = Rotate(b, 30), b = a, a = next;
    }
    (*state)[0] += a, (*state)[1] += b, (*state)[2] += c, (*state)[3] += d, (*state)[4] += e;
}

}  // namespace

std::array<uint8_t, 20> Sha1(const std::string& bytes) {
    std::string message = bytes;
    message.push_back(static_cast<char>(0x80));
    while (message.size() % 64 != 56) message.push_back('\0');
    const uint64_t bits = static_cast<uint64_t>(bytes.size()) * 8;
    for (int shift = 56; shift >= 0; shift -= 8) {
        message.push_back(static_cast<char>((bits >> shift) & 0xFF));
    }
    std::array<uint32_t, 5> state = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
    for (std::size_t at = 0; at < message.size(); at += 64) {
        Sha1Block(reinterpret_cast<const uint8_t*>(message.data() + at), &state);
    }
    std::array<uint8_t, 20> digest{};
    for (int i = 0; i < 20; ++i) {
        digest[i] = static_cast<uint8_t>(state[i / 4] >> (24 - 8 * (i % 4)));
    }
    return digest;
}

Uuid NameUuid(const Uuid& space, const std::string& name) {
    const std::array<uint8_t, 20> digest = Sha1(std::string(space.begin(), space.end()) + name);
    Uuid uuid{};
    std::copy_n(digest.begin(), uuid.size(), uuid.begin());
    uuid[6] = static_cast<uint8_t>((uuid[6] & 0x0F) | 0x50);
    uuid[8] = static_cast<uint8_t>((uuid[8] & 0x3F) | 0x80);
    return uuid;
}

std::string UuidUrn(const Uuid& uuid) {
    std::string text = "urn:uuid:";
    for (std::size_t i = 0; i < uuid.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) text += '-';
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02x", uuid[i]);
        text += hex;
    }
    return text;
}
