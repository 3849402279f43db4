// The regions of the KDE holidays library behind the region plugin's table of functions
// (holiday_plugins.h).
// The region files are compiled into the library; it needs no Qt application object.
// Qt reports through its message handler, which writes to stderr: the plugin installs
// one that drops every message, so that a run stays silent.

#include "plugins/holiday_plugins.h"

#include <KHolidays/HolidayRegion>
#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <cstring>

#include "plugins/plugin_descriptor.h"
#include "plugins/month_masks.h"

namespace {

using KHolidays::Holiday;
using KHolidays::HolidayRegion;
using orvendale::plugins::kMaxWindowMonths;
using orvendale::plugins::MonthMasks;

// Longest region word looked at; the longest code of the library has 24 bytes.
constexpr std::size_t kMaxWordBytes = 64;
// Years the library's dates cover comfortably; others are refused.
constexpr int kMinYear = 1;
constexpr int kMaxYear = 9999;

void DropMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

// Installs the silent message handler once, before the first call into Qt.
void SilenceQt() {
  static const bool installed = (qInstallMessageHandler(DropMessage), true);
  static_cast<void>(installed);
}

// Every region code of the library, listed once per process.
const QStringList& RegionCodes() {
  static const QStringList codes = HolidayRegion::regionCodes();
  return codes;
}

// The part of a region code before its first underscore: "de-by" of "de-by_de".
QStringView CodeStem(const QString& code) {
  const qsizetype underscore = code.indexOf(QLatin1Char('_'));
  return underscore < 0 ? QStringView(code) : QStringView(code).left(underscore);
}

// The full region code a user's word names, or a null string when it names none or more
// than one.
QString ResolveWord(const QString& word) {
  const QStringList& codes = RegionCodes();
  for (const QString& code : codes) {
    if (code.compare(word, Qt::CaseInsensitive) == 0) return code;
  }
  QString found;
  int matches = 0;
  for (const QString& code : codes) {
    if (CodeStem(code).compare(word, Qt::CaseInsensitive) == 0) {
      found = code;
      ++matches;
    }
  }
  return matches == 1 ? found : QString();
}

int ResolveRegion(const char* word, char* code, int capacity) {
  const std::size_t length = strnlen(word, kMaxWordBytes + 1);
  if (length == 0 || length > kMaxWordBytes) return 0;
  const QString resolved = ResolveWord(QString::fromUtf8(word, static_cast<int>(length)));
  if (resolved.isEmpty()) return 0;
  const QByteArray bytes = resolved.toUtf8();
  if (bytes.size() >= capacity) return 0;
  std::memcpy(code, bytes.constData(), static_cast<std::size_t>(bytes.size()) + 1);
  return 1;
}

int RegionDaysOff(const char* code, int year, int month, int months, MonthMasks& masks) {
  if (month < 1 || month > 12 || months > kMaxWindowMonths || year < kMinYear || year > kMaxYear) return 0;
  const std::size_t length = strnlen(code, kMaxWordBytes + 1);
  if (length > kMaxWordBytes) return 0;
  // Only the library's own codes reach it: the code becomes part of a resource path.
  const QString wanted = QString::fromUtf8(code, static_cast<int>(length));
  if (!RegionCodes().contains(wanted)) return 0;
  const HolidayRegion region(wanted);
  if (!region.isValid()) return 0;

  const QDate first(year, month, 1);
  const QDate last = first.addMonths(months).addDays(-1);
  for (const Holiday& holiday : region.rawHolidays(first, last)) {
    // Observances (Mother's Day, the Advent Sundays, the change to summer time) are
    // workdays to the library.
    if (holiday.dayType() != Holiday::NonWorkday) continue;
    const QDate start = std::max(holiday.observedStartDate(), first);
    const QDate end = std::min(holiday.observedEndDate(), last);
    if (!start.isValid() || !end.isValid()) continue;
    for (QDate day = start; day <= end; day = day.addDays(1)) masks.Mark(day.year(), day.month(), day.day());
  }
  return 1;
}

// Qt reports failures by return values here; only memory exhaustion throws, and no
// exception may cross the C boundary.

int ResolveRegionWord(const char* word, char* code, int capacity) {
  if (code == nullptr || capacity <= 0) return 0;
  code[0] = 0;
  if (word == nullptr) return 0;
  try {
    SilenceQt();
    return ResolveRegion(word, code, capacity);
  } catch (...) {
    code[0] = 0;
    return 0;
  }
}

int DaysOff(const char* code, int year, int month, int months, std::uint32_t* masks) {
  if (masks == nullptr || months <= 0) return 0;
  MonthMasks window(year, month, months, masks);
  if (code == nullptr) return 0;
  try {
    SilenceQt();
    if (RegionDaysOff(code, year, month, months, window) == 1) return 1;
  } catch (...) {
  }
  MonthMasks cleared(year, month, months, masks);
  return 0;
}

int ListRegions(void (*each)(const char* code, const char* name, void* context), void* context) {
  try {
    SilenceQt();
    const QStringList& codes = RegionCodes();
    if (each != nullptr) {
      for (const QString& code : codes) {
        each(code.toUtf8().constData(), HolidayRegion::name(code).toUtf8().constData(), context);
      }
    }
    return static_cast<int>(codes.size());
  } catch (...) {
    return 0;
  }
}

}  // namespace

ORVENDALE_PLUGIN_DESCRIPTOR(OrvendaleHolidaysKdePlugin, {&ResolveRegionWord, &DaysOff, &ListRegions});
