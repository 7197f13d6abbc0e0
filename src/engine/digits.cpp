#include "engine/digits.h"

#include <algorithm>
#include <cstring>

#include "engine/processor_levels.h"

namespace evo {
namespace {

// 32 bytes at a time in vector registers: per digit, a lane adds one for every byte equal to it.
using Lanes = unsigned char __attribute__((vector_size(32)));
constexpr std::size_t kLanes = sizeof(Lanes);
// A lane of 8 bits counts at most 255 blocks before it is added into the totals.
constexpr std::size_t kBlocksPerRound = 255;

void AddLanes(const std::array<Lanes, 10>& lanes, DigitCounts& counts) {
  for (std::size_t d = 0; d < 10; ++d) {
    for (std::size_t lane = 0; lane < kLanes; ++lane) counts[d] += lanes[d][lane];
  }
}

}  // namespace

// Built for two processor levels, the wider chosen at start-up where the processor has it.
EVO_FOR_EACH_PROCESSOR_LEVEL DigitCounts CountDigits(std::string_view bytes) {
  DigitCounts counts{};
  const char* data = bytes.data();
  std::size_t blocks = bytes.size() / kLanes;
  while (blocks > 0) {
    const std::size_t round = std::min(blocks, kBlocksPerRound);
    std::array<Lanes, 10> lanes{};
    for (std::size_t b = 0; b < round; ++b, data += kLanes) {
      Lanes block;
      std::memcpy(&block, data, kLanes);
      for (std::size_t d = 0; d < 10; ++d) {
        // A lane compares to -1 where equal, 0 elsewhere.
        lanes[d] -= reinterpret_cast<Lanes>(block == static_cast<unsigned char>('0' + d));
      }
    }
    AddLanes(lanes, counts);
    blocks -= round;
  }
  for (const char* end = bytes.data() + bytes.size(); data != end; ++data) {
    if (*data >= '0' && *data <= '9') ++counts[static_cast<std::size_t>(*data - '0')];
  }
  return counts;
}

// Built like CountDigits; one comparison a byte instead of ten, and no early exit, since an
// intact population, the usual case, is read to its end anyway.
EVO_FOR_EACH_PROCESSOR_LEVEL bool AllDigits(std::string_view bytes) {
  const char* data = bytes.data();
  Lanes outside{};
  for (std::size_t blocks = bytes.size() / kLanes; blocks > 0; --blocks, data += kLanes) {
    Lanes block;
    std::memcpy(&block, data, kLanes);
    // Below '0' wraps round to above 9 as well.
    outside |= reinterpret_cast<Lanes>(static_cast<Lanes>(block - '0') > 9);
  }
  unsigned char any = 0;
  for (std::size_t lane = 0; lane < kLanes; ++lane) any |= outside[lane];
  for (const char* end = bytes.data() + bytes.size(); data != end; ++data) {
    any |= static_cast<unsigned char>(*data < '0' || *data > '9');
  }
  return any == 0;
}

}  // namespace evo
