#include "binding/uuid.hpp"

#include <array>
#include <cstdint>
#include <random>

namespace talvoran {

std::string new_uuid4() {
  // One generator per thread, seeded from the system's entropy: workers make identifiers too.
  thread_local std::mt19937_64 gen = [] {
    std::random_device rd;
    std::seed_seq seq{rd(), rd(), rd(), rd(), rd(), rd(), rd(), rd()};
    return std::mt19937_64(seq);
  }();
  std::array<std::uint8_t, 16> b{};
  for (std::size_t i = 0; i < b.size(); i += 8) {
    std::uint64_t r = gen();
    for (std::size_t j = 0; j < 8; ++j) b[i + j] = static_cast<std::uint8_t>(r >> (8 * j));
  }
  b[6] = static_cast<std::uint8_t>((b[6] & 0x0F) | 0x40);  // version 4
  b[8] = static_cast<std::uint8_t>((b[8] & 0x3F) | 0x80);  // RFC 4122 variant
  static constexpr char kHex[] = "0123456789abcdef";
  std::string s;
  s.reserve(36);
  for (std::size_t i = 0; i < b.size(); ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) s.push_back('-');
    s.push_back(kHex[b[i] >> 4]);
    s.push_back(kHex[b[i] & 0x0F]);
  }
  return s;
}

}  // namespace talvoran
