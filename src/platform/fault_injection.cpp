#include "platform/fault_injection.h"

#include <array>

namespace orvendale::platform {
namespace {

constexpr int kDisarmed = -1;

// Calls still to pass before the failing one, per point; kDisarmed when none is armed.
std::array<int, static_cast<std::size_t>(FaultPoint::kCount)> countdown = [] {
  std::array<int, static_cast<std::size_t>(FaultPoint::kCount)> all{};
  all.fill(kDisarmed);
  return all;
}();

}  // namespace

void ArmFault(FaultPoint point, int skip) {
  countdown[static_cast<std::size_t>(point)] = skip < 0 ? 0 : skip;
}

void ClearFaults() { countdown.fill(kDisarmed); }

bool ShouldFail(FaultPoint point) {
  int& remaining = countdown[static_cast<std::size_t>(point)];
  if (remaining == kDisarmed) return false;
  if (remaining > 0) {
    --remaining;
    return false;
  }
  remaining = kDisarmed;
  return true;
}

}  // namespace orvendale::platform
