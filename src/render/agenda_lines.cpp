#include "render/agenda_lines.h"

#include <algorithm>
#include <tuple>

#include "settings/ini_document.h"
#include "settings/settings_table.h"

namespace orvendale {
namespace {

constexpr int kMinutesPerHour = 60;

}  // namespace

AgendaSettings ReadAgendaSettings(const IniDocument& document, const char* section) {
  AgendaSettings settings;
  constexpr const SettingRow& kClock = Setting("Contents", "Clock");
  settings.days = std::clamp(document.GetInt(section, Setting("Contents", "Days").key, kDefaultAgendaDays), 1, kMaxAgendaDays);
  settings.lines =
      std::clamp(document.GetInt(section, Setting("Contents", "Lines").key, kDefaultAgendaLines), 1, kMaxAgendaLines);
  settings.clock12 = document.GetInt(section, kClock.key, kClock.defaultNumber) == 12;
  return settings;
}

std::vector<AgendaLine> ListAgenda(const std::vector<EventInstance>& instances, std::int64_t first, int days,
                                   int maxLines) {
  std::vector<AgendaLine> lines;
  const auto key = [](const AgendaLine& line) { return std::tie(line.startMinute, line.calendar, line.summary); };
  std::vector<AgendaLine> today;
  // Day by day, until the lines are full: the work stays within days x instances.
  for (std::int64_t day = first; day < first + days && static_cast<int>(lines.size()) < maxLines; ++day) {
    today.clear();
    for (const EventInstance& instance : instances) {
      if (instance.firstDay > day || instance.lastDay < day) continue;
      AgendaLine line;
      line.day = day;
      line.startMinute = day == instance.firstDay ? instance.startMinute : -1;
      line.calendar = instance.calendar;
      line.summary = instance.summary;
      today.push_back(std::move(line));
    }
    std::sort(today.begin(), today.end(), [&](const AgendaLine& a, const AgendaLine& b) { return key(a) < key(b); });
    for (std::size_t i = 0; i < today.size() && static_cast<int>(lines.size()) < maxLines; ++i) {
      today[i].firstOfDay = i == 0;
      lines.push_back(std::move(today[i]));
    }
  }
  return lines;
}

std::u16string ClockText(int minute, bool twelveHour) {
  if (minute < 0) return {};
  int hour = minute / kMinutesPerHour % 24;
  const int minutes = minute % kMinutesPerHour;
  std::u16string text;
  const auto two = [&](int value) {
    text += static_cast<char16_t>(u'0' + value / 10);
    text += static_cast<char16_t>(u'0' + value % 10);
  };
  if (!twelveHour) {
    two(hour);
    text += u':';
    two(minutes);
    return text;
  }
  const bool afternoon = hour >= 12;
  hour %= 12;
  if (hour == 0) hour = 12;
  if (hour >= 10) text += static_cast<char16_t>(u'0' + hour / 10);
  text += static_cast<char16_t>(u'0' + hour % 10);
  text += u':';
  two(minutes);
  text += afternoon ? u"pm" : u"am";
  return text;
}

}  // namespace orvendale
