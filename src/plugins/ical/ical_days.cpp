// The days that the events of an iCalendar text cover. libical parses the text and
// expands the recurrence rules; this file decides which local days each instance touches,
// and bounds the work a hostile file can ask for: the size of the text, the nesting of
// its components, the number of events, the range each rule is expanded over, the
// instances taken, the days marked, and the time spent.

#include "plugins/ical/ical_days.h"

#include <libical/ical.h>
#include <strings.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "plugins/holiday_plugins.h"
#include "plugins/month_masks.h"

namespace orvendale::plugins {
namespace {

// Text read at most; a longer text is cut at the last line end before this size, so that
// the events before the cut still count. libical reads about 20 MB a second.
constexpr std::size_t kMaxTextBytes = kMaxIcalTextBytes;
// Components nested deeper are refused: libical frees a component tree recursively.
constexpr int kMaxNesting = 32;
// Instances taken from one recurrence rule. A daily event over 1904..2031 has 46,751; a
// rule with a larger COUNT is read as endless.
constexpr int kMaxInstancesPerRule = 50000;
// The work libical does for the whole text, in units of about 10 microseconds: one
// instance, or one candidate day that a rule's expansion steps through. A rule whose
// range would overdraw what is left is not expanded. 200,000 units take about 2 s.
constexpr std::int64_t kMaxRuleWork = 200'000;
// A yearly rule steps through whole years, each costing about this many units.
constexpr std::int64_t kYearlyRuleWorkPerYear = 10;
// Days marked over the whole text.
constexpr std::int64_t kMaxMarkedDays = 2'000'000;
// An instance is looked for this many days around the window: the event's own time zone
// and the process's may be a day apart.
constexpr std::int64_t kSlackDays = 2;
// Years of the window; libical's times are meant for these.
constexpr int kMinYear = 1;
constexpr int kMaxYear = 9999;
constexpr std::int64_t kSecondsPerDay = 86400;

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's days_from_civil).
std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t yearOfEra = year - era * 400;                                     // [0, 399]
  const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;  // [0, 365]
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;  // [0, 146096]
  return era * 146097 + dayOfEra - 719468;
}

struct CivilDate {
  std::int64_t year;
  int month, day;
};

CivilDate CivilFromDays(std::int64_t days) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t dayOfEra = days - era * 146097;                                            // [0, 146096]
  const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;  // [0, 399]
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);  // [0, 365]
  const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;                                 // [0, 11]
  const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  return {yearOfEra + era * 400 + (month <= 2), month, day};
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

// The wall-clock day of a time, as written, ignoring its zone.
std::int64_t WallDay(const icaltimetype& time) { return DaysFromCivil(time.year, time.month, time.day); }

// Seconds since 1970 of a time's wall clock, read as if it were UTC.
std::int64_t WallSeconds(const icaltimetype& time) {
  return WallDay(time) * kSecondsPerDay + time.hour * 3600 + time.minute * 60 + time.second;
}

// The instant of a time in seconds since 1970: through its zone, or its wall clock
// when it has none (a floating time).
std::int64_t Instant(const icaltimetype& time) {
  if (time.zone == nullptr) return WallSeconds(time);
  return static_cast<std::int64_t>(icaltime_as_timet_with_zone(time, time.zone));
}

// The local day (in the process's time zone) of an instant, and the minute of that day.
std::int64_t LocalDay(std::int64_t seconds, std::int32_t* minute = nullptr) {
  const std::time_t time = static_cast<std::time_t>(seconds);
  std::tm local{};
  if (localtime_r(&time, &local) == nullptr) {
    if (minute != nullptr) *minute = static_cast<std::int32_t>((seconds - FloorDiv(seconds, kSecondsPerDay) * kSecondsPerDay) / 60);
    return FloorDiv(seconds, kSecondsPerDay);
  }
  if (minute != nullptr) *minute = local.tm_hour * 60 + local.tm_min;
  return DaysFromCivil(std::int64_t{local.tm_year} + 1900, local.tm_mon + 1, local.tm_mday);
}

std::int64_t DurationSeconds(const icaldurationtype& duration) {
  const std::int64_t seconds = (std::int64_t{duration.weeks} * 7 + duration.days) * kSecondsPerDay +
                               std::int64_t{duration.hours} * 3600 + std::int64_t{duration.minutes} * 60 +
                               duration.seconds;
  return duration.is_neg ? -seconds : seconds;
}

bool UsableTime(const icaltimetype& time) {
  return !icaltime_is_null_time(time) && time.year >= kMinYear && time.year <= kMaxYear && time.month >= 1 &&
         time.month <= 12 && time.day >= 1 && time.day <= 31 && time.hour >= 0 && time.hour < 24 &&
         time.minute >= 0 && time.minute < 60 && time.second >= 0 && time.second <= 60;
}

// The instances listed for the caller: while the list has room every one, then only
// those that start before the latest kept (the list is then a heap with the latest on top).
class InstanceList {
 public:
  explicit InstanceList(OrvendaleIcalEventList* list) : list_(list) {
    if (list_ == nullptr) return;
    list_->count = 0;
    list_->summaryBytes = 0;
    list_->cut = 0;
    if (list_->events == nullptr || list_->capacity < 0) list_->capacity = 0;
    if (list_->summaries == nullptr) list_->summaryCapacity = 0;
  }

  bool active() const { return list_ != nullptr; }
  std::int64_t listFrom() const { return list_->listFrom; }
  void Cut(std::uint32_t reason) {
    if (list_ != nullptr) list_->cut |= reason;
  }

  // The summary of the event whose instances come next; stored with its first instance.
  void BeginEvent(const char* summary) {
    summary_ = summary == nullptr ? "" : summary;
    summaryStored_ = false;
  }

  void Add(std::int64_t firstDay, std::int64_t lastDay, std::int32_t startMinute) {
    if (list_ == nullptr || lastDay < list_->listFrom) return;
    OrvendaleIcalEvent event{static_cast<std::int32_t>(firstDay), static_cast<std::int32_t>(lastDay), startMinute, 0, 0};
    const auto earlier = [this](const OrvendaleIcalEvent& a, const OrvendaleIcalEvent& b) { return Earlier(a, b); };
    if (list_->count == list_->capacity) {
      Cut(kOrvendaleIcalCutList);
      if (list_->capacity == 0 || !Earlier(event, list_->events[0])) return;
      std::pop_heap(list_->events, list_->events + list_->count, earlier);
      --list_->count;
    }
    StoreSummary(event);
    list_->events[list_->count++] = event;
    if (list_->count == list_->capacity) {
      if (heap_) {
        std::push_heap(list_->events, list_->events + list_->count, earlier);
      } else {
        std::make_heap(list_->events, list_->events + list_->count, earlier);
      }
      heap_ = true;
    }
  }

 private:
  // The order the list keeps by: the first day the caller sees, then the start time.
  bool Earlier(const OrvendaleIcalEvent& a, const OrvendaleIcalEvent& b) const {
    const std::int64_t dayA = std::max<std::int64_t>(a.firstDay, list_->listFrom);
    const std::int64_t dayB = std::max<std::int64_t>(b.firstDay, list_->listFrom);
    if (dayA != dayB) return dayA < dayB;
    return (a.firstDay < list_->listFrom ? -1 : a.startMinute) < (b.firstDay < list_->listFrom ? -1 : b.startMinute);
  }

  void StoreSummary(OrvendaleIcalEvent& event) {
    if (!summaryStored_) {
      std::size_t bytes = std::min<std::size_t>(std::strlen(summary_), kOrvendaleIcalSummaryBytes);
      // Cut at a character boundary: never before a UTF-8 continuation byte.
      if (bytes < std::strlen(summary_)) {
        while (bytes > 0 && (static_cast<unsigned char>(summary_[bytes]) & 0xC0) == 0x80) --bytes;
      }
      if (bytes > list_->summaryCapacity - list_->summaryBytes) {
        Cut(kOrvendaleIcalCutList);
        bytes = 0;
      }
      std::memcpy(list_->summaries + list_->summaryBytes, summary_, bytes);
      summaryOffset_ = list_->summaryBytes;
      summaryLength_ = static_cast<std::uint32_t>(bytes);
      list_->summaryBytes += summaryLength_;
      summaryStored_ = true;
    }
    event.summary = summaryOffset_;
    event.summaryBytes = summaryLength_;
  }

  OrvendaleIcalEventList* list_;
  bool heap_ = false;
  const char* summary_ = "";
  bool summaryStored_ = false;
  std::uint32_t summaryOffset_ = 0;
  std::uint32_t summaryLength_ = 0;
};

// Marks local days into the masks and lists the instances, counting the work.
class DayMarker {
 public:
  DayMarker(int year, int month, int months, std::uint32_t* masks, OrvendaleIcalEventList* list,
            IcalDeadline deadline)
      : deadline_(deadline),
        masks_(year, month, months, masks),
        list_(list),
        firstDay_(DaysFromCivil(year, month, 1)),
        endDay_(DaysFromCivil(year + (month - 1 + months) / 12, (month - 1 + months) % 12 + 1, 1)) {}

  std::int64_t firstDay() const { return firstDay_; }
  std::int64_t endDay() const { return endDay_; }
  InstanceList& list() { return list_; }
  std::uint32_t cut() const { return cut_; }
  // True once the time is up or the days marked reach their limit: then no more events
  // are read. The rules' budget alone stops only the rules (Charge): the events after it
  // still mark their own days.
  bool Spent() {
    if (IcalClock::now() > deadline_) cut_ |= kOrvendaleIcalCutTime;
    if (markedDays_ >= kMaxMarkedDays) cut_ |= kOrvendaleIcalCutWork;
    return IcalClock::now() > deadline_ || markedDays_ >= kMaxMarkedDays;
  }

  // Takes `units` of libical work from the budget; false, taking nothing, when fewer are
  // left or the time is up.
  bool Charge(std::int64_t units) {
    if (IcalClock::now() > deadline_) {
      cut_ |= kOrvendaleIcalCutTime;
      return false;
    }
    if (units > kMaxRuleWork - ruleWork_) {
      cut_ |= kOrvendaleIcalCutWork;
      return false;
    }
    ruleWork_ += units;
    return true;
  }

  // Marks the days first..last (inclusive) that lie in the window, and lists the instance
  // that covers them when it touches the window. `startMinute` is -1 for an all-day one.
  void MarkInstance(std::int64_t first, std::int64_t last, std::int32_t startMinute) {
    if (last < firstDay_ || first >= endDay_) return;
    list_.Add(first, last, startMinute);
    first = std::max(first, firstDay_);
    last = std::min(last, endDay_ - 1);
    for (std::int64_t day = first; day <= last; ++day) {
      if (markedDays_ >= kMaxMarkedDays) {
        cut_ |= kOrvendaleIcalCutWork;
        return;
      }
      const CivilDate date = CivilFromDays(day);
      masks_.Mark(static_cast<int>(date.year), date.month, date.day);
      ++markedDays_;
    }
  }

 private:
  IcalDeadline deadline_;
  MonthMasks masks_;
  InstanceList list_;
  std::int64_t firstDay_;
  std::int64_t endDay_;  // the day after the window
  std::int64_t ruleWork_ = 0;
  std::int64_t markedDays_ = 0;
  std::uint32_t cut_ = 0;
};

// The zone a property's TZID names: the calendar's own VTIMEZONE, else a zone of the
// system's time zone database; null when the property has none or it is unknown (the
// time is then read as floating, in local time).
const icaltimezone* ZoneOf(icalcomponent* calendar, icalproperty* property) {
  icalparameter* parameter = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
  const char* tzid = parameter == nullptr ? nullptr : icalparameter_get_tzid(parameter);
  if (tzid == nullptr || tzid[0] == 0) return nullptr;
  if (const icaltimezone* zone = icalcomponent_get_timezone(calendar, tzid)) return zone;
  if (const icaltimezone* zone = icaltimezone_get_builtin_timezone(tzid)) return zone;
  return icaltimezone_get_builtin_timezone_from_tzid(tzid);
}

// A time of a property with its zone attached; UTC times keep the zone libical gave.
icaltimetype WithZone(icaltimetype time, icalcomponent* calendar, icalproperty* property) {
  if (!time.is_date && !icaltime_is_utc(time)) time.zone = ZoneOf(calendar, property);
  if (time.is_date) time.zone = nullptr;
  return time;
}

// How long each instance of an event lasts.
struct Span {
  std::int64_t days = 1;     // for all-day instances, at least 1
  std::int64_t seconds = 0;  // for timed instances, at least 0
};

Span EventSpan(icalcomponent* calendar, icalcomponent* event, const icaltimetype& start) {
  Span span;
  if (icalproperty* end = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY)) {
    const icaltimetype endTime = WithZone(icalproperty_get_dtend(end), calendar, end);
    if (UsableTime(endTime)) {
      span.days = WallDay(endTime) - WallDay(start);
      if (!start.is_date && !endTime.is_date) span.seconds = Instant(endTime) - Instant(start);
    }
  } else if (icalproperty* duration = icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY)) {
    span.seconds = DurationSeconds(icalproperty_get_duration(duration));
    span.days = span.seconds / kSecondsPerDay;
  }
  // An end before the start leaves the start alone. Years 1..9999 keep every sum in range.
  span.days = std::max<std::int64_t>(span.days, 1);
  span.seconds = std::max<std::int64_t>(span.seconds, 0);
  return span;
}

// The local days of one instance starting at `start`: an all-day instance covers its
// days as written; a timed one every local day from its start to just before its end.
void MarkInstance(const icaltimetype& start, const Span& span, DayMarker& marker) {
  if (start.is_date) {
    const std::int64_t first = WallDay(start);
    marker.MarkInstance(first, first + span.days - 1, -1);
    return;
  }
  const std::int64_t from = Instant(start);
  const std::int64_t last = from + span.seconds - (span.seconds > 0 ? 1 : 0);
  if (start.zone == nullptr) {
    const std::int64_t firstDay = FloorDiv(from, kSecondsPerDay);
    marker.MarkInstance(firstDay, FloorDiv(last, kSecondsPerDay),
                        static_cast<std::int32_t>((from - firstDay * kSecondsPerDay) / 60));
  } else {
    std::int32_t minute = 0;
    const std::int64_t firstDay = LocalDay(from, &minute);
    marker.MarkInstance(firstDay, LocalDay(last), minute);
  }
}

// Instances left out of an event: whole days, and instants.
struct Exclusions {
  std::vector<std::int64_t> days;
  std::vector<std::int64_t> instants;

  void Add(const icaltimetype& time) {
    if (!UsableTime(time)) return;
    if (time.is_date) {
      days.push_back(WallDay(time));
    } else {
      instants.push_back(Instant(time));
    }
  }
  void Sort() {
    std::sort(days.begin(), days.end());
    std::sort(instants.begin(), instants.end());
  }
  bool Excludes(const icaltimetype& time) const {
    if (std::binary_search(days.begin(), days.end(), WallDay(time))) return true;
    return !time.is_date && std::binary_search(instants.begin(), instants.end(), Instant(time));
  }
};

// The instances that other VEVENTs of a calendar replace, by UID: a VEVENT with a
// RECURRENCE-ID stands for the instance of the event with its UID that starts then (a
// moved or changed occurrence), and marks its own days instead.
using Replacements = std::unordered_map<std::string, Exclusions>;

Replacements ReplacedInstances(icalcomponent* calendar) {
  Replacements replacements;
  for (icalcomponent* event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
       event != nullptr; event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
    icalproperty* replaced = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY);
    const char* uid = icalcomponent_get_uid(event);
    if (replaced == nullptr || uid == nullptr) continue;
    replacements[uid].Add(WithZone(icalproperty_get_recurrenceid(replaced), calendar, replaced));
  }
  for (auto& [uid, exclusions] : replacements) exclusions.Sort();
  return replacements;
}

// The EXDATEs of an event, and the instances other events replace.
Exclusions EventExclusions(icalcomponent* calendar, icalcomponent* event, const Replacements& replacements) {
  Exclusions exclusions;
  if (icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY) == nullptr) {
    const char* uid = icalcomponent_get_uid(event);
    const auto found = uid == nullptr ? replacements.end() : replacements.find(uid);
    if (found != replacements.end()) exclusions = found->second;
  }
  for (icalproperty* property = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY);
       property != nullptr; property = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY)) {
    exclusions.Add(WithZone(icalproperty_get_exdate(property), calendar, property));
  }
  exclusions.Sort();
  return exclusions;
}

struct IteratorDeleter {
  void operator()(icalrecur_iterator* iterator) const { icalrecur_iterator_free(iterator); }
};

// `time` moved to wall day `day`, keeping its time of day, zone and kind.
icaltimetype OnDay(icaltimetype time, std::int64_t day) {
  const CivilDate date = CivilFromDays(day);
  time.year = static_cast<int>(date.year);
  time.month = date.month;
  time.day = date.day;
  return time;
}

// True when every BY part of the rule lies in its range. libical looks for the first
// instance of some impossible rules (the ninth Monday of a month) until its last year,
// which takes seconds; out-of-range values are the common way to write one.
bool RuleInRange(const icalrecurrencetype& rule) {
  const auto allIn = [](const short* values, std::size_t size, int low, int high, bool zero) {
    for (std::size_t i = 0; i < size && values[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i) {
      if (values[i] < low || values[i] > high || (!zero && values[i] == 0)) return false;
    }
    return true;
  };
  // An ordinal weekday ("the second Monday") counts within a month, or within a year;
  // other rules take none.
  int maxPosition = 0;
  if (rule.freq == ICAL_MONTHLY_RECURRENCE) maxPosition = 5;
  if (rule.freq == ICAL_YEARLY_RECURRENCE) maxPosition = rule.by_month[0] != ICAL_RECURRENCE_ARRAY_MAX ? 5 : 53;
  for (std::size_t i = 0; i < ICAL_BY_DAY_SIZE && rule.by_day[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i) {
    const int position = icalrecurrencetype_day_position(rule.by_day[i]);
    if (position < -maxPosition || position > maxPosition) return false;
  }
  return rule.interval >= 1 && allIn(rule.by_second, ICAL_BY_SECOND_SIZE, 0, 60, true) &&
         allIn(rule.by_minute, ICAL_BY_MINUTE_SIZE, 0, 59, true) && allIn(rule.by_hour, ICAL_BY_HOUR_SIZE, 0, 23, true) &&
         allIn(rule.by_month_day, ICAL_BY_MONTHDAY_SIZE, -31, 31, false) &&
         allIn(rule.by_year_day, ICAL_BY_YEARDAY_SIZE, -366, 366, false) &&
         allIn(rule.by_week_no, ICAL_BY_WEEKNO_SIZE, -53, 53, false) &&
         allIn(rule.by_month, ICAL_BY_MONTH_SIZE, 1, 12, false) &&
         allIn(rule.by_set_pos, ICAL_BY_SETPOS_SIZE, -366, 366, false);
}

// The instances of one RRULE that can touch the window.
//
// libical looks for the next instance day by day (year by year for a yearly rule) until
// it finds one or passes the rule's UNTIL, and only a rule without COUNT may start
// anywhere but at DTSTART. So the rule gets an UNTIL just after the window, its COUNT is
// counted here instead, and an endless rule starts just before the window; the range left
// is paid for before libical sees it.
void MarkRule(const icalrecurrencetype& rule, const icaltimetype& start, const Span& span,
              const Exclusions& exclusions, DayMarker& marker) {
  // libical steps through a rule repeating within a day hour by hour, minute by minute
  // or second by second: its range costs that many steps a day.
  std::int64_t stepsPerDay = 1;
  switch (rule.freq) {
    case ICAL_YEARLY_RECURRENCE:
    case ICAL_MONTHLY_RECURRENCE:
    case ICAL_WEEKLY_RECURRENCE:
    case ICAL_DAILY_RECURRENCE:
      break;
    case ICAL_HOURLY_RECURRENCE:
      stepsPerDay = 24;
      break;
    case ICAL_MINUTELY_RECURRENCE:
      stepsPerDay = 24 * 60;
      break;
    case ICAL_SECONDLY_RECURRENCE:
      stepsPerDay = kSecondsPerDay;
      break;
    default:
      return;
  }
  if (!RuleInRange(rule)) return;
  const bool counted = rule.count > 0 && rule.count <= kMaxInstancesPerRule;
  const int instances = counted ? rule.count : kMaxInstancesPerRule;
  std::int64_t lastDay = marker.endDay() + kSlackDays;
  if (counted && stepsPerDay > 1) {
    // A counted rule within a day ends when its steps do, whatever its BY parts.
    lastDay = std::min(lastDay, WallDay(start) + (std::int64_t{rule.count} * rule.interval) / stepsPerDay + 1);
  }
  icalrecurrencetype bounded = rule;
  bounded.count = 0;
  if (icaltime_is_null_time(rule.until) || WallDay(rule.until) > lastDay) bounded.until = OnDay(start, lastDay);

  // An instance that starts before `earliest` ends before the window.
  const std::int64_t earliest = marker.firstDay() - span.days - span.seconds / kSecondsPerDay - kSlackDays;
  const std::int64_t from = counted ? WallDay(start) : std::max(WallDay(start), earliest);
  const std::int64_t until = std::min(WallDay(bounded.until), lastDay);
  const std::int64_t range = std::max<std::int64_t>(until - from + 1, 1);
  if (!marker.Charge(rule.freq == ICAL_YEARLY_RECURRENCE ? (range / 365 + 1) * kYearlyRuleWorkPerYear
                                                        : range * stepsPerDay)) {
    return;
  }

  std::unique_ptr<icalrecur_iterator, IteratorDeleter> iterator(icalrecur_iterator_new(bounded, start));
  if (iterator == nullptr) return;
  if (from > WallDay(start)) icalrecur_iterator_set_start(iterator.get(), OnDay(start, from));
  for (int taken = 0; taken < instances && marker.Charge(1); ++taken) {
    icaltimetype instance = icalrecur_iterator_next(iterator.get());
    if (icaltime_is_null_time(instance) || !UsableTime(instance)) break;
    if (WallDay(instance) > lastDay) break;
    instance.zone = start.zone;
    instance.is_date = start.is_date;
    // DTSTART counted already: a rule that gives it too lists it once.
    if (icaltime_compare(instance, start) == 0) continue;
    if (!exclusions.Excludes(instance)) MarkInstance(instance, span, marker);
  }
}

// Marks every instance of one VEVENT; false when it has no usable start or is cancelled
// (a cancelled replacement still takes the place of the instance it replaces).
bool MarkEvent(icalcomponent* calendar, icalcomponent* event, const Replacements& replacements, DayMarker& marker) {
  if (icalcomponent_get_status(event) == ICAL_STATUS_CANCELLED) return false;
  icalproperty* startProperty = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
  if (startProperty == nullptr) return false;
  if (marker.list().active()) {
    icalproperty* summary = icalcomponent_get_first_property(event, ICAL_SUMMARY_PROPERTY);
    marker.list().BeginEvent(summary == nullptr ? nullptr : icalproperty_get_summary(summary));
  }
  const icaltimetype start = WithZone(icalproperty_get_dtstart(startProperty), calendar, startProperty);
  if (!UsableTime(start)) return false;
  const Span span = EventSpan(calendar, event, start);
  const Exclusions exclusions = EventExclusions(calendar, event, replacements);

  // DTSTART is always the first instance, whether the rule would give it or not.
  if (marker.Spent()) return true;
  if (!exclusions.Excludes(start)) MarkInstance(start, span, marker);

  for (icalproperty* property = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
       property != nullptr && !marker.Spent();
       property = icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY)) {
    MarkRule(icalproperty_get_rrule(property), start, span, exclusions, marker);
  }
  for (icalproperty* property = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY);
       property != nullptr && !marker.Spent();
       property = icalcomponent_get_next_property(event, ICAL_RDATE_PROPERTY)) {
    const icaldatetimeperiodtype rdate = icalproperty_get_rdate(property);
    Span instanceSpan = span;
    icaltimetype time = rdate.time;
    if (icaltime_is_null_time(time)) {
      // A period: its own start and length.
      time = rdate.period.start;
      const icaltimetype periodEnd = WithZone(rdate.period.end, calendar, property);
      time = WithZone(time, calendar, property);
      instanceSpan.seconds = UsableTime(periodEnd) ? Instant(periodEnd) - Instant(time)
                                                   : DurationSeconds(rdate.period.duration);
      instanceSpan.seconds = std::max<std::int64_t>(instanceSpan.seconds, 0);
    } else {
      time = WithZone(time, calendar, property);
    }
    if (!UsableTime(time)) continue;
    if (!marker.Charge(1)) break;
    if (!exclusions.Excludes(time)) MarkInstance(time, instanceSpan, marker);
  }
  return true;
}

// True when the VTIMEZONE repeats its changes only yearly. libical expands a zone's rules
// from their start up to the year asked for; a rule repeating every second would never
// finish, and real zones change at most a few times a year.
bool PlainTimeZone(icalcomponent* zone) {
  for (icalcomponent* observance = icalcomponent_get_first_component(zone, ICAL_ANY_COMPONENT);
       observance != nullptr; observance = icalcomponent_get_next_component(zone, ICAL_ANY_COMPONENT)) {
    for (icalproperty* property = icalcomponent_get_first_property(observance, ICAL_RRULE_PROPERTY);
         property != nullptr; property = icalcomponent_get_next_property(observance, ICAL_RRULE_PROPERTY)) {
      if (icalproperty_get_rrule(property).freq != ICAL_YEARLY_RECURRENCE) return false;
    }
    for (icalproperty* property = icalcomponent_get_first_property(observance, ICAL_DTSTART_PROPERTY);
         property != nullptr; property = icalcomponent_get_next_property(observance, ICAL_DTSTART_PROPERTY)) {
      if (!UsableTime(icalproperty_get_dtstart(property))) return false;
    }
  }
  return true;
}

// Removes the calendar's VTIMEZONEs that are not plain: times in them read as floating.
void DropUnusualTimeZones(icalcomponent* calendar) {
  std::vector<icalcomponent*> unusual;
  for (icalcomponent* zone = icalcomponent_get_first_component(calendar, ICAL_VTIMEZONE_COMPONENT);
       zone != nullptr; zone = icalcomponent_get_next_component(calendar, ICAL_VTIMEZONE_COMPONENT)) {
    if (!PlainTimeZone(zone)) unusual.push_back(zone);
  }
  for (icalcomponent* zone : unusual) {
    icalcomponent_remove_component(calendar, zone);
    icalcomponent_free(zone);
  }
}

// Marks the events of one VCALENDAR, counting them in `eventsRead`.
void MarkCalendar(icalcomponent* calendar, DayMarker& marker, std::atomic<int>& eventsRead) {
  DropUnusualTimeZones(calendar);
  const Replacements replacements = ReplacedInstances(calendar);
  for (icalcomponent* event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
       event != nullptr && !marker.Spent();
       event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
    if (MarkEvent(calendar, event, replacements, marker)) eventsRead.fetch_add(1, std::memory_order_relaxed);
  }
}

// Where the line at `start` ends: its content ends at `contentEnd`, the next line starts
// at `next`. Lines end in CR LF, LF or CR.
void FindLineEnd(std::string_view text, std::size_t start, std::size_t& contentEnd, std::size_t& next) {
  contentEnd = std::min(text.find_first_of("\r\n", start), text.size());
  next = contentEnd;
  if (next < text.size() && text[next] == '\r') ++next;
  if (next < text.size() && text[next] == '\n') ++next;
}

enum class LineKind { kProperty, kBegin, kEnd };

// What a line is to libical's nesting: a BEGIN or END line, with the name of its component
// in capitals and without trailing blanks (empty when it has none), or any other line.
// libical reads the property name up to the first ';' or ':', and the value after the
// first ':' outside double quotes.
LineKind ReadLineKind(std::string_view line, std::string& name) {
  name.clear();
  const std::size_t nameEnd = std::min(line.find_first_of(";:"), line.size());
  const std::string_view property = line.substr(0, nameEnd);
  LineKind kind = LineKind::kProperty;
  if (property.size() == 5 && strncasecmp(property.data(), "BEGIN", 5) == 0) kind = LineKind::kBegin;
  if (property.size() == 3 && strncasecmp(property.data(), "END", 3) == 0) kind = LineKind::kEnd;
  if (kind == LineKind::kProperty) return kind;
  bool quoted = false;
  std::size_t colon = nameEnd;
  for (; colon < line.size() && (quoted || line[colon] != ':'); ++colon) {
    if (line[colon] == '"') quoted = !quoted;
  }
  if (colon >= line.size()) return kind;
  name = line.substr(colon + 1);
  while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.pop_back();
  for (char& c : name) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  return kind;
}

// The text as libical gets it. Lines end in CR LF, LF or CR; libical splits at LF only,
// so every line is passed on ending in CR LF. libical reads every line itself, but takes
// the BEGIN and END lines on trust: it prints a warning for an END with nothing open, closes whatever
// is open at an END of another name, and drops a component left open by a cut text. Here
// an END closes the innermost open component of its name (and those inside it) or is
// left out, lines outside every component are left out, and the components still open at
// the end of the text are closed. The text is cut before a component nested deeper than
// kMaxNesting (libical frees a component tree recursively), and at the last line end
// before kMaxTextBytes.
std::string BalancedText(const char* text, std::size_t length) {
  std::string_view input(text, std::min(length, kMaxTextBytes));
  if (length > kMaxTextBytes) input = input.substr(0, input.find_last_of("\r\n") + 1);
  input = input.substr(0, input.find('\0'));  // libical stops at a NUL
  if (input.substr(0, 3) == "\xEF\xBB\xBF") input.remove_prefix(3);  // a byte-order mark

  // Longest start of an unfolded line looked at for a component name.
  constexpr std::size_t kMaxNameLine = 128;
  std::string balanced;
  balanced.reserve(input.size() + 64);
  std::vector<std::string> open;
  std::string name;
  // The lines of one logical line: the first, then its continuation lines, without ends.
  std::vector<std::string_view> lines;
  const auto passOn = [&] {
    for (const std::string_view line : lines) {
      balanced += line;
      balanced += "\r\n";
    }
  };
  const auto closeDownTo = [&](std::size_t depth) {
    for (; open.size() > depth; open.pop_back()) balanced += "END:" + open.back() + "\r\n";
  };
  std::size_t position = 0;
  while (position < input.size()) {
    std::size_t contentEnd = 0, next = 0;
    FindLineEnd(input, position, contentEnd, next);
    lines.assign(1, input.substr(position, contentEnd - position));
    std::string unfolded(lines[0].substr(0, kMaxNameLine));
    // Continuation lines begin with a space or a tab, which folding added.
    while (next < input.size() && (input[next] == ' ' || input[next] == '\t')) {
      const std::size_t continuation = next;
      FindLineEnd(input, continuation, contentEnd, next);
      lines.push_back(input.substr(continuation, contentEnd - continuation));
      if (unfolded.size() < kMaxNameLine) unfolded += lines.back().substr(1, kMaxNameLine);
    }
    position = next;

    switch (ReadLineKind(unfolded, name)) {
      case LineKind::kBegin:
        if (name.empty()) continue;
        if (open.size() >= static_cast<std::size_t>(kMaxNesting)) {
          position = input.size();
          continue;
        }
        open.push_back(name);
        passOn();
        break;
      case LineKind::kEnd: {
        const auto match = std::find(open.rbegin(), open.rend(), name);
        if (name.empty() || match == open.rend()) continue;
        closeDownTo(static_cast<std::size_t>(open.rend() - match));
        open.pop_back();
        passOn();
        break;
      }
      case LineKind::kProperty:
        if (!open.empty()) passOn();
        break;
    }
  }
  closeDownTo(0);
  return balanced;
}

struct ComponentDeleter {
  void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};

// Marks the events of one text; returns the events read, -1 for a text that is no calendar.
int MarkText(const char* text, std::size_t length, DayMarker& marker, std::atomic<int>& eventsRead) {
  if (length > kMaxTextBytes) marker.list().Cut(kOrvendaleIcalCutText);
  const std::string readable = BalancedText(text, length);
  if (readable.empty()) return -1;
  std::unique_ptr<icalcomponent, ComponentDeleter> root(icalparser_parse_string(readable.c_str()));
  if (root == nullptr) return -1;
  // One calendar is the root itself; several come inside a root of their own.
  std::vector<icalcomponent*> calendars;
  if (icalcomponent_isa(root.get()) == ICAL_VCALENDAR_COMPONENT) {
    calendars.push_back(root.get());
  } else {
    for (icalcomponent* calendar = icalcomponent_get_first_component(root.get(), ICAL_VCALENDAR_COMPONENT);
         calendar != nullptr; calendar = icalcomponent_get_next_component(root.get(), ICAL_VCALENDAR_COMPONENT)) {
      calendars.push_back(calendar);
    }
  }
  if (calendars.empty()) return -1;
  if (eventsRead.load(std::memory_order_relaxed) < 0) eventsRead.store(0, std::memory_order_relaxed);
  const int before = eventsRead.load(std::memory_order_relaxed);
  for (icalcomponent* calendar : calendars) MarkCalendar(calendar, marker, eventsRead);
  return eventsRead.load(std::memory_order_relaxed) - before;
}

bool ValidWindow(int year, int month, int months) {
  return month >= 1 && month <= 12 && months > 0 && months <= kMaxWindowMonths && year >= kMinYear && year <= kMaxYear;
}

}  // namespace

int MarkIcalDays(const char* text, std::size_t length, int year, int month, int months, std::uint32_t* masks,
                 IcalDeadline deadline, std::atomic<int>& eventsRead) {
  eventsRead.store(-1, std::memory_order_relaxed);
  if (masks == nullptr || months <= 0) return -1;
  MonthMasks cleared(year, month, months, masks);
  if (text == nullptr || !ValidWindow(year, month, months)) return -1;
  // libical reports errors through its error number; with errors not fatal it neither
  // prints nor aborts.
  icalerror_set_errors_are_fatal(0);
  tzset();
  DayMarker marker(year, month, months, masks, nullptr, deadline);
  MarkText(text, length, marker, eventsRead);
  icalerror_clear_errno();
  return eventsRead.load(std::memory_order_relaxed);
}

int ListIcalEvents(const IcalTexts& texts, int year, int month, int months, std::uint32_t* masks,
                   OrvendaleIcalEventList* list, IcalDeadline deadline, std::atomic<int>& eventsRead) {
  eventsRead.store(-1, std::memory_order_relaxed);
  for (int i = 0; i < texts.count; ++i) texts.eventsRead[i] = -1;
  if (masks == nullptr || months <= 0 || list == nullptr) return -1;
  MonthMasks cleared(year, month, months, masks);
  DayMarker marker(year, month, months, masks, list, deadline);
  if (!ValidWindow(year, month, months)) return -1;
  icalerror_set_errors_are_fatal(0);
  tzset();
  for (int i = 0; i < texts.count && !marker.Spent(); ++i) {
    if (texts.texts[i] != nullptr) texts.eventsRead[i] = MarkText(texts.texts[i], texts.lengths[i], marker, eventsRead);
  }
  marker.Spent();
  marker.list().Cut(marker.cut());
  icalerror_clear_errno();
  return std::max(eventsRead.load(std::memory_order_relaxed), 0);
}

}  // namespace orvendale::plugins
