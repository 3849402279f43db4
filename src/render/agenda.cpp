#include "render/agenda.h"

#include <algorithm>
#include <string>
#include <vector>

#include "calendar/date_pattern.h"
#include "calendar/event_set.h"
#include "calendar/holidays.h"
#include "calendar/packed_date.h"
#include "calendar/text_settings.h"
#include "platform/drawing/graphics.h"
#include "platform/system/text.h"
#include "render/agenda_lines.h"
#include "render/picture_extent.h"
#include "render/surface.h"
#include "settings/ini_document.h"
#include "settings/settings_table.h"

namespace orvendale {
namespace {

constexpr char16_t kDefaultFormat[] = u"ddd d MMM";
constexpr char16_t kEllipsis[] = u"…";
constexpr int kNoEventsCapacity = 256;
// A summary holds at most kOrvendaleIcalSummaryBytes bytes, so as many UTF-16 units.
constexpr int kSummaryCapacity = kOrvendaleIcalSummaryBytes + 1;
constexpr std::uint32_t kLineFlags = platform::TextFlags::kSingleLine | platform::TextFlags::kVerticalCenter;

std::int64_t TextWidth(platform::DrawingContext* context, const std::u16string& text, std::uint32_t flags) {
  if (text.empty()) return 0;
  Rect measured{0, 0, 0, 0};
  platform::DrawText(context, text.c_str(), static_cast<int>(text.size()), &measured,
                     platform::TextFlags::kCalculateRect | platform::TextFlags::kSingleLine | flags);
  return measured.right;
}

// The colour the grid gives the day: holidays and Sundays, Saturdays, the rest; today in
// TodayColor when one is given.
ColorRef DayColor(PackedDate day, PackedDate today) {
  if (day == today && textSettings.todayColorGiven == 1) return textSettings.todayColor;
  const std::int16_t month = PackedMonth(day), number = PackedDay(day), year = PackedYear(day);
  if (IsHoliday(month, number, year) == 1) return textSettings.sundayColor;
  if (WeekdayOf(month, number, year) == 6) return textSettings.saturdayColor;
  return textSettings.textColor;
}

}  // namespace

std::u16string FitAgendaText(platform::DrawingContext* context, const std::u16string& text, std::int64_t width) {
  if (TextWidth(context, text, platform::TextFlags::kNoPrefix) <= width) return text;
  // The longest start that fits, found by halving; never ends inside a surrogate pair.
  std::size_t fits = 0, tooLong = text.size();
  while (tooLong - fits > 1) {
    const std::size_t middle = (fits + tooLong) / 2;
    std::u16string candidate = text.substr(0, middle) + kEllipsis;
    if (TextWidth(context, candidate, platform::TextFlags::kNoPrefix) <= width) {
      fits = middle;
    } else {
      tooLong = middle;
    }
  }
  if (fits > 0 && text[fits - 1] >= 0xD800 && text[fits - 1] <= 0xDBFF) --fits;
  while (fits > 0 && text[fits - 1] == u' ') --fits;
  return text.substr(0, fits) + kEllipsis;
}

std::vector<AgendaTextLine> AgendaText(const IniDocument& document, const char* section, const DateRecord& date) {
  const AgendaSettings settings = ReadAgendaSettings(document, section);
  const PackedDate today = PackDate(date.month, date.day, date.year);
  const std::int64_t first = EpochDayOf(today);
  // No day after the calendar's last (2031-12-31) is listed.
  const int days = static_cast<int>(std::min<std::int64_t>(
      settings.days, EpochDayOf(PackDate(12, 31, static_cast<std::uint16_t>(kLastYear))) - first + 1));
  const std::vector<AgendaLine> lines = ListAgenda(EventsFrom(first, days), first, days, settings.lines);

  char16_t pattern[kPatternCapacity];
  if (document.GetWideString(section, Setting("Contents", "Format").key, pattern, kPatternCapacity, nullptr) == 0) {
    platform::WideCopy(pattern, kPatternCapacity, kDefaultFormat);
  }
  std::vector<AgendaTextLine> drawn;
  for (const AgendaLine& line : lines) {
    AgendaTextLine out;
    const PackedDate day = PackedDateOfEpochDay(line.day);
    if (line.firstOfDay) {
      DateRecord record;
      record.year = static_cast<std::uint16_t>(PackedYear(day));
      record.month = static_cast<std::uint16_t>(PackedMonth(day));
      record.day = static_cast<std::uint16_t>(PackedDay(day));
      char16_t label[kPatternCapacity];
      ExpandDatePattern(pattern, record, label);
      out.label = label;
    }
    out.labelColor = DayColor(day, today);
    out.time = ClockText(line.startMinute, settings.clock12);
    char16_t summary[kSummaryCapacity];
    if (platform::WideFromNarrow(line.summary.c_str(), summary, kSummaryCapacity) == 0) summary[0] = 0;
    out.summary = summary;
    out.eventColor = EventCalendarColor(line.calendar);
    drawn.push_back(std::move(out));
  }
  if (drawn.empty()) {
    char16_t text[kNoEventsCapacity];
    constexpr const SettingRow& kNoEvents = Setting("LongName", "NoEvents");
    document.GetWideString(kNoEvents.section, kNoEvents.key, text, kNoEventsCapacity, kNoEvents.defaultWide);
    AgendaTextLine none;
    none.summary = text;
    none.eventColor = textSettings.textColor;
    drawn.push_back(std::move(none));
  }
  return drawn;
}

Surface RenderAgenda(const RenderParams& params) {
  const IniDocument& document = *params.document;
  const char* section = params.contentSection;
  const std::vector<AgendaTextLine> lines = AgendaText(document, section, *params.date);

  // Smooth text, scale and background as for the other pictures: text is measured at the
  // scaled font, lengths from the settings are multiplied by the scale.
  DrawingSequence sequence(params.screenContext, document, params.style);
  const std::int64_t scale = params.style.scale;
  platform::DrawingContext* context = sequence.context();
  Rect measured{0, 0, 0, 0};
  platform::DrawText(context, u"0", 1, &measured, platform::TextFlags::kCalculateRect | platform::TextFlags::kSingleLine);
  const std::int32_t rasterY = document.GetInt(section, Setting("Contents", "RasterY").key, 0);
  const std::int64_t lineHeight = rasterY > 0 ? rasterY * scale : std::max<std::int32_t>(measured.bottom, 1);
  const std::int64_t gap = std::max<std::int64_t>(measured.bottom / 2, 1);

  std::int64_t labelWidth = 0, timeWidth = 0, summaryWidth = 0;
  for (const AgendaTextLine& line : lines) {
    labelWidth = std::max(labelWidth, TextWidth(context, line.label, 0));
    timeWidth = std::max(timeWidth, TextWidth(context, line.time, 0));
    summaryWidth = std::max(summaryWidth, TextWidth(context, line.summary, platform::TextFlags::kNoPrefix));
  }
  const std::int64_t timeLeft = labelWidth + (labelWidth > 0 ? gap : 0);
  const std::int64_t summaryLeft = timeLeft + timeWidth + (timeWidth > 0 ? gap : 0);

  const std::int16_t width = CutTo16Bits(params.width);
  const std::int16_t height = CutTo16Bits(params.height);
  const std::int64_t marginX = CutTo16Bits(params.marginX) * scale;
  const std::int64_t marginY = CutTo16Bits(params.marginY) * scale;
  const std::int64_t contentWidth = width != 0 ? width * scale : summaryLeft + summaryWidth;
  const std::int64_t contentHeight = height != 0 ? height * scale : lineHeight * static_cast<std::int64_t>(lines.size());
  const std::int32_t pictureWidth = PictureExtent(contentWidth + 2 * marginX);
  const std::int32_t pictureHeight = PictureExtent(contentHeight + 2 * marginY);
  if (!sequence.PrepareSurface(pictureWidth, pictureHeight)) return nullptr;

  std::int64_t top = marginY;
  for (const AgendaTextLine& line : lines) {
    const auto draw = [&](const std::u16string& text, std::int64_t left, std::int64_t right, ColorRef color,
                          std::uint32_t flags) {
      if (text.empty()) return;
      Rect rect{SaturateToInt32(marginX + left), SaturateToInt32(top), SaturateToInt32(marginX + right),
                SaturateToInt32(top + lineHeight)};
      platform::SetTextColor(context, color);
      platform::DrawText(context, text.c_str(), static_cast<int>(text.size()), &rect, kLineFlags | flags);
    };
    draw(line.label, 0, labelWidth, line.labelColor, 0);
    draw(line.time, timeLeft, timeLeft + timeWidth, line.eventColor, platform::TextFlags::kRight);
    const std::int64_t room = std::max<std::int64_t>(contentWidth - summaryLeft, 0);
    draw(FitAgendaText(context, line.summary, room), summaryLeft, summaryLeft + room, line.eventColor,
         platform::TextFlags::kNoPrefix);
    top += lineHeight;
  }
  return sequence.Close();
}

}  // namespace orvendale
