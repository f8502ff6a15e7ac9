#include "takeoff/Sha256.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace jwcount {

namespace {

// SHA-256 as FIPS 180-4 sets it out: the round constants, the initial hash value, and the compression of
// one 64-byte block.
constexpr std::array<uint32_t, 64> kRoundConstants = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2,
};

using HashState = std::array<uint32_t, 8>;

constexpr HashState kInitialHash = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                    0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

constexpr uint32_t RotateRight(uint32_t x, int n) {
  return (x >> n) | (x << (32 - n));
}

void Compress(HashState& hash, const unsigned char* block) {
  std::array<uint32_t, 64> w{};
  for (int t = 0; t < 16; ++t)
    w[t] = uint32_t{block[4 * t]} << 24 | uint32_t{block[4 * t + 1]} << 16 | uint32_t{block[4 * t + 2]} << 8 |
           uint32_t{block[4 * t + 3]};
  for (int t = 16; t < 64; ++t) {
    const uint32_t s0 = RotateRight(w[t - 15], 7) ^ RotateRight(w[t - 15], 18) ^ (w[t - 15] >> 3);
    const uint32_t s1 = RotateRight(w[t - 2], 17) ^ RotateRight(w[t - 2], 19) ^ (w[t - 2] >> 10);
    w[t] = w[t - 16] + s0 + w[t - 7] + s1;
  }
  HashState v = hash;  // a to h
  for (int t = 0; t < 64; ++t) {
    const uint32_t sum1 = RotateRight(v[4], 6) ^ RotateRight(v[4], 11) ^ RotateRight(v[4], 25);
    const uint32_t choose = (v[4] & v[5]) ^ (~v[4] & v[6]);
    const uint32_t t1 = v[7] + sum1 + choose + kRoundConstants[t] + w[t];
    const uint32_t sum0 = RotateRight(v[0], 2) ^ RotateRight(v[0], 13) ^ RotateRight(v[0], 22);
    const uint32_t majority = (v[0] & v[1]) ^ (v[0] & v[2]) ^ (v[1] & v[2]);
    const uint32_t t2 = sum0 + majority;
    v = {t1 + t2, v[0], v[1], v[2], v[3] + t1, v[4], v[5], v[6]};
  }
  for (std::size_t i = 0; i < hash.size(); ++i) hash[i] += v[i];
}

// The last one or two blocks: the bytes left over, the 0x80 that ends the message, zeros, and the
// message's length in bits as a big-endian 64-bit number.
void CompressTail(HashState& hash, std::string_view rest, uint64_t totalBytes) {
  std::array<unsigned char, 128> tail{};
  std::copy(rest.begin(), rest.end(), tail.begin());
  tail[rest.size()] = 0x80;
  const std::size_t blocks = rest.size() + 1 + 8 <= 64 ? 1 : 2;
  const uint64_t bits = totalBytes * 8;
  for (int i = 0; i < 8; ++i) tail[blocks * 64 - 1 - i] = static_cast<unsigned char>(bits >> (8 * i));
  for (std::size_t b = 0; b < blocks; ++b) Compress(hash, tail.data() + 64 * b);
}

}  // namespace

std::string Sha256Hex(std::string_view bytes) {
  HashState hash = kInitialHash;
  const std::size_t whole = bytes.size() / 64 * 64;
  for (std::size_t i = 0; i < whole; i += 64)
    Compress(hash, reinterpret_cast<const unsigned char*>(bytes.data() + i));
  CompressTail(hash, bytes.substr(whole), bytes.size());
  constexpr std::string_view kHexDigits = "0123456789abcdef";
  std::string hex;
  hex.reserve(64);
  for (const uint32_t word : hash)
    for (int shift = 28; shift >= 0; shift -= 4) hex += kHexDigits[(word >> shift) & 0xF];
  return hex;
}

}  // namespace jwcount
