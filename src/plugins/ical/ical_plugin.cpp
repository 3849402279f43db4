// The iCalendar plugin's table of functions. libical's work runs in a child process: a
// rule that libical takes seconds over, or a fault inside libical, then costs the run at
// most kHardLimit and the days marked until then, never the run itself. The child writes
// the masks into memory it shares with this process as it goes.

#include "plugins/holiday_plugins.h"
#include "plugins/plugin_descriptor.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <new>

#include "plugins/ical/ical_days.h"
#include "plugins/month_masks.h"

namespace {

using orvendale::plugins::IcalClock;
using orvendale::plugins::IcalTexts;
using orvendale::plugins::ListIcalEvents;
using orvendale::plugins::kMaxWindowMonths;
using orvendale::plugins::MarkIcalDays;

// No libical work starts later than this after the call.
constexpr std::chrono::milliseconds kWorkLimit{4000};
// The child is stopped this long after the call, whatever it is doing.
constexpr std::chrono::milliseconds kHardLimit{5000};

// The memory the child shares with this process: its progress, then the masks.
struct SharedResult {
  std::atomic<int> eventsRead;
  std::atomic<int> finished;
  std::atomic<int> result;
  std::uint32_t masks[1];  // `months` of them in the mapping
};
static_assert(std::atomic<int>::is_always_lock_free, "the counters are shared between processes");

class SharedMapping {
 public:
  explicit SharedMapping(std::size_t bytes)
      : bytes_(bytes), address_(mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0)) {}
  ~SharedMapping() {
    if (address_ != MAP_FAILED) munmap(address_, bytes_);
  }
  SharedMapping(const SharedMapping&) = delete;
  SharedMapping& operator=(const SharedMapping&) = delete;
  SharedResult* result() const { return address_ == MAP_FAILED ? nullptr : static_cast<SharedResult*>(address_); }

 private:
  std::size_t bytes_;
  void* address_;
};

class Pipe {
 public:
  Pipe() {
    if (pipe2(ends_, O_CLOEXEC) != 0) ends_[0] = ends_[1] = -1;
  }
  ~Pipe() {
    CloseRead();
    CloseWrite();
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;
  bool valid() const { return ends_[0] >= 0; }
  int read() const { return ends_[0]; }
  void CloseRead() { Close(ends_[0]); }
  void CloseWrite() { Close(ends_[1]); }

 private:
  static void Close(int& end) {
    if (end >= 0) close(end);
    end = -1;
  }
  int ends_[2];
};

// Waits until the child has closed its end of the pipe (by ending) or the time is up.
void AwaitChild(const Pipe& pipe, IcalClock::time_point until) {
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - IcalClock::now()).count();
    if (left <= 0) return;
    pollfd end{pipe.read(), POLLIN, 0};
    const int ready = poll(&end, 1, static_cast<int>(left));
    if (ready > 0) return;
    if (ready < 0 && errno != EINTR) return;
  }
}

void ReapChild(pid_t child) {
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
}

int IsolatedIcalDays(const char* text, std::size_t length, int year, int month, int months, std::uint32_t* masks) {
  const IcalClock::time_point start = IcalClock::now();
  const SharedMapping mapping(sizeof(SharedResult) + sizeof(std::uint32_t) * static_cast<std::size_t>(months));
  SharedResult* shared = mapping.result();
  Pipe pipe;
  const pid_t child = shared != nullptr && pipe.valid() ? fork() : -1;
  if (child < 0) {
    // No child to be had: the work runs here, still bounded by its limits.
    std::atomic<int> eventsRead{-1};
    return MarkIcalDays(text, length, year, month, months, masks, start + kWorkLimit, eventsRead);
  }
  if (child == 0) {
    // The child only computes: _exit skips the handlers and buffers it shares with the
    // parent.
    pipe.CloseRead();
    int result = -1;
    try {
      result = MarkIcalDays(text, length, year, month, months, shared->masks, start + kWorkLimit, shared->eventsRead);
    } catch (...) {
    }
    shared->result.store(result);
    shared->finished.store(1);
    _exit(0);
  }
  pipe.CloseWrite();
  AwaitChild(pipe, start + kHardLimit);
  if (shared->finished.load() == 0) kill(child, SIGKILL);
  ReapChild(child);
  std::copy(shared->masks, shared->masks + months, masks);
  return shared->finished.load() != 0 ? shared->result.load() : shared->eventsRead.load();
}

// The child's share of a call that lists events: the counters, then the masks, the events
// read per text, the instances and the summaries, each aligned for its type.
class EventsLayout {
 public:
  EventsLayout(int months, int textCount, int capacity, std::uint32_t summaryCapacity) {
    masks_ = Reserve(sizeof(SharedResult), alignof(std::uint32_t));
    bytes_ = masks_ + sizeof(std::uint32_t) * static_cast<std::size_t>(months);
    perText_ = Reserve(bytes_, alignof(int));
    bytes_ = perText_ + sizeof(int) * static_cast<std::size_t>(textCount);
    events_ = Reserve(bytes_, alignof(OrvendaleIcalEvent));
    bytes_ = events_ + sizeof(OrvendaleIcalEvent) * static_cast<std::size_t>(capacity);
    summaries_ = bytes_;
    bytes_ += summaryCapacity;
  }
  std::size_t bytes() const { return bytes_; }
  template <typename T>
  static T* At(SharedResult* base, std::size_t offset) {
    return reinterpret_cast<T*>(reinterpret_cast<char*>(base) + offset);
  }
  std::uint32_t* masks(SharedResult* base) const { return At<std::uint32_t>(base, masks_); }
  int* perText(SharedResult* base) const { return At<int>(base, perText_); }
  OrvendaleIcalEvent* events(SharedResult* base) const { return At<OrvendaleIcalEvent>(base, events_); }
  char* summaries(SharedResult* base) const { return At<char>(base, summaries_); }

 private:
  static std::size_t Reserve(std::size_t at, std::size_t alignment) { return (at + alignment - 1) / alignment * alignment; }
  std::size_t masks_ = 0, perText_ = 0, events_ = 0, summaries_ = 0, bytes_ = 0;
};

// The child's list, kept where the parent can see it as it grows.
struct SharedList {
  OrvendaleIcalEventList list;
};

int IsolatedIcalEvents(const IcalTexts& texts, int year, int month, int months, std::uint32_t* masks,
                       OrvendaleIcalEventList* list) {
  const IcalClock::time_point start = IcalClock::now();
  const EventsLayout layout(months, texts.count, list->capacity, list->summaryCapacity);
  const SharedMapping mapping(layout.bytes() + sizeof(SharedList) + alignof(SharedList));
  SharedResult* shared = mapping.result();
  Pipe pipe;
  const pid_t child = shared != nullptr && pipe.valid() ? fork() : -1;
  if (child < 0) {
    std::atomic<int> eventsRead{-1};
    return ListIcalEvents(texts, year, month, months, masks, list, start + kWorkLimit, eventsRead);
  }
  const std::size_t listOffset = (layout.bytes() + alignof(SharedList) - 1) / alignof(SharedList) * alignof(SharedList);
  SharedList* sharedList = EventsLayout::At<SharedList>(shared, listOffset);
  if (child == 0) {
    pipe.CloseRead();
    OrvendaleIcalEventList& childList = sharedList->list;
    childList = *list;
    childList.events = layout.events(shared);
    childList.summaries = layout.summaries(shared);
    const IcalTexts childTexts{texts.texts, texts.lengths, texts.count, layout.perText(shared)};
    int result = -1;
    try {
      result = ListIcalEvents(childTexts, year, month, months, layout.masks(shared), &childList, start + kWorkLimit,
                              shared->eventsRead);
    } catch (...) {
    }
    shared->result.store(result);
    shared->finished.store(1);
    _exit(0);
  }
  pipe.CloseWrite();
  AwaitChild(pipe, start + kHardLimit);
  const bool finished = shared->finished.load() != 0;
  if (!finished) kill(child, SIGKILL);
  ReapChild(child);
  std::copy(layout.masks(shared), layout.masks(shared) + months, masks);
  std::copy(layout.perText(shared), layout.perText(shared) + texts.count, texts.eventsRead);
  // A child stopped while it wrote may leave an instance half written: keep only whole
  // ones whose summary lies in what was written.
  const OrvendaleIcalEventList& childList = sharedList->list;
  const std::int32_t count = std::clamp(childList.count, 0, list->capacity);
  list->summaryBytes = std::min(childList.summaryBytes, list->summaryCapacity);
  std::copy(layout.summaries(shared), layout.summaries(shared) + list->summaryBytes, list->summaries);
  list->count = 0;
  for (std::int32_t i = 0; i < count; ++i) {
    const OrvendaleIcalEvent& event = layout.events(shared)[i];
    if (event.summary > list->summaryBytes || event.summaryBytes > list->summaryBytes - event.summary ||
        event.lastDay < event.firstDay || event.startMinute < -1 || event.startMinute >= 24 * 60) {
      continue;
    }
    list->events[list->count++] = event;
  }
  list->cut = childList.cut | (finished ? 0u : std::uint32_t{kOrvendaleIcalCutTime});
  if (finished) return shared->result.load();
  // Texts the child never reached count as read by nothing.
  return std::max(shared->eventsRead.load(), 0);
}

int Days(const char* text, std::size_t length, int year, int month, int months, std::uint32_t* masks) {
  if (masks == nullptr || months <= 0) return -1;
  orvendale::plugins::MonthMasks cleared(year, month, months, masks);
  if (text == nullptr || month < 1 || month > 12 || months > kMaxWindowMonths) return -1;
  try {
    return IsolatedIcalDays(text, length, year, month, months, masks);
  } catch (...) {
    orvendale::plugins::MonthMasks clearedAgain(year, month, months, masks);
    return -1;
  }
}

int Events(const char* const* texts, const std::size_t* lengths, int textCount, int year, int month, int months,
           std::uint32_t* masks, OrvendaleIcalEventList* list, int* eventsPerText) {
  if (masks == nullptr || months <= 0 || list == nullptr || textCount < 0 || eventsPerText == nullptr ||
      (textCount > 0 && (texts == nullptr || lengths == nullptr))) {
    return -1;
  }
  orvendale::plugins::MonthMasks cleared(year, month, months, masks);
  list->count = 0;
  list->summaryBytes = 0;
  list->cut = 0;
  if (list->events == nullptr || list->capacity < 0) list->capacity = 0;
  if (list->summaries == nullptr) list->summaryCapacity = 0;
  for (int i = 0; i < textCount; ++i) eventsPerText[i] = -1;
  if (month < 1 || month > 12 || months > kMaxWindowMonths) return -1;
  const IcalTexts all{texts, lengths, textCount, eventsPerText};
  try {
    return IsolatedIcalEvents(all, year, month, months, masks, list);
  } catch (...) {
    orvendale::plugins::MonthMasks clearedAgain(year, month, months, masks);
    list->count = 0;
    return -1;
  }
}

}  // namespace

ORVENDALE_PLUGIN_DESCRIPTOR(OrvendaleIcalPlugin, {&Days, &Events});
