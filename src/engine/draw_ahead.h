// Draws taken from the random source ahead of their use, so that a loop can see the draws of its
// coming steps and fetch the records they will touch before it gets there.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/random_source.h"

namespace evo {

// The floor of x for 0 <= x < 2^63, where it is the truncation: a conversion, not a call.
inline std::int64_t WholePart(double x) {
  return static_cast<std::int64_t>(x);
}

// The fraction in [0, 1) that the two draws of a record pick make: the coarse part from the second
// draw, the fine part from the first.
inline double FineFraction(float fine, float coarse) {
  return (static_cast<double>(WholePart(static_cast<double>(coarse) * 1000000.0)) +
          static_cast<double>(fine)) /
         1000000.0;
}

// Record k among 1 to count (count >= 0) for the two draws of a pick.
inline std::int64_t PickAmong(std::int64_t count, float fine, float coarse) {
  return WholePart(static_cast<double>(count) * FineFraction(fine, coarse)) + 1;
}

// Within a record or two of the pick, for a fetch into the cache: the fine part, which moves the
// pick by less than count / 1000000 records, is left out, and so is the division.
inline std::int64_t PickNear(std::int64_t count, float coarse) {
  return WholePart(static_cast<double>(count) * static_cast<double>(coarse)) + 1;
}

// A window on the coming draws of one operation. It never takes a draw that the operation is not
// sure to use: the caller says, whenever it looks ahead, how many draws it will take at least from
// then on. So when the operation ends every draw taken has been used, and the next operation (or a
// reseeded source) goes on from exactly where a draw-by-draw loop would have left the source.
class DrawAhead {
 public:
  explicit DrawAhead(RandomSource& random) : random_(random) {}
  DrawAhead(const DrawAhead&) = delete;
  DrawAhead& operator=(const DrawAhead&) = delete;

  std::size_t Available() const { return end_ - next_; }

  // Keeps count draws in sight, refilling when fewer are left, as far as the operation is
  // certain to take that many; true when count draws can be peeked at.
  bool SeesAhead(std::size_t count, std::uint64_t certain) {
    if (Available() < count) Refill(certain);
    return Available() >= count;
  }

  // The draw that Next would give after ahead further draws; ahead < Available().
  float Peek(std::size_t ahead) const { return draws_[next_ + ahead]; }
  // The next draw, used up; Available() > 0.
  float Next() { return draws_[next_++]; }
  // A record among 1 to count, from the next two draws; Available() > 1.
  std::int64_t NextPick(std::int64_t count) {
    const float fine = Next();
    return PickAmong(count, fine, Next());
  }

 private:
  // Tops the window up, up to its capacity, with no more draws than certain in all.
  void Refill(std::uint64_t certain) {
    const std::size_t kept = Available();
    std::memmove(draws_.data(), draws_.data() + next_, kept * sizeof(float));
    next_ = 0;
    end_ = kept;
    const std::size_t wanted =
        static_cast<std::size_t>(std::min<std::uint64_t>(draws_.size(), certain));
    if (wanted > kept) {
      random_.DrawMany(draws_.data() + kept, wanted - kept);
      end_ = wanted;
    }
  }

  RandomSource& random_;
  std::array<float, 1024> draws_{};
  std::size_t next_ = 0;
  std::size_t end_ = 0;
};

}  // namespace evo
