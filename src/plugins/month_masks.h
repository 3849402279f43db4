#pragma once
// The month bit masks the holiday plugins fill: one 32-bit mask per month of a window of
// consecutive months, bit d-1 for day d.

#include <cstdint>

namespace orvendale::plugins {

// Months a plugin evaluates in one call at most: 128 years, every month of 1904..2031 at
// once. A longer window is refused.
inline constexpr int kMaxWindowMonths = 128 * 12;

// A window of `months` months from month `month` (1-12) of `year` over the caller's
// `masks` (months entries), all cleared on construction. Marks outside the window are
// ignored.
class MonthMasks {
 public:
  MonthMasks(int year, int month, int months, std::uint32_t* masks)
      : firstIndex_(MonthIndex(year, month)), months_(masks == nullptr || months < 0 ? 0 : months),
        masks_(masks) {
    for (int i = 0; i < months_; ++i) masks_[i] = 0;
  }

  // Marks day `day` (1-31) of month `month` (1-12) of `year` when it lies in the window.
  void Mark(int year, int month, int day) {
    if (month < 1 || month > 12 || day < 1 || day > 31) return;
    const std::int64_t offset = MonthIndex(year, month) - firstIndex_;
    if (offset < 0 || offset >= months_) return;
    masks_[offset] |= std::uint32_t{1} << (day - 1);
  }

 private:
  // Months since January of year 0; exact for every int year.
  static std::int64_t MonthIndex(int year, int month) { return std::int64_t{year} * 12 + (month - 1); }

  std::int64_t firstIndex_;
  int months_;
  std::uint32_t* masks_;
};

}  // namespace orvendale::plugins
