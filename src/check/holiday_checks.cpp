// [Contents] Holidays and HolidayFile: a word that names no set, a region plugin that
// does not load, a holiday file that a run cannot use, and the lines of a plain list
// that a run skips (reported on the list's own lines).

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/holiday_list.h"
#include "calendar/holiday_set.h"
#include "check/checks.h"
#include "check/known_keys.h"
#include "check/path_text.h"
#include "driver/holiday_settings.h"
#include "platform/system/file.h"
#include "platform/system/file_info.h"
#include "platform/system/path.h"
#include "platform/system/plugin.h"
#include "platform/system/text.h"

namespace orvendale {
namespace {

// Skipped lines reported one by one; the rest are counted.
constexpr std::size_t kSkippedLinesShown = 10;

// "1 date", "2 dates".
std::string Count(int count, const char* thing) {
  return std::to_string(count) + " " + thing + (count == 1 ? "" : "s");
}

// Every region code of the holiday library.
std::vector<std::string> RegionCodes() {
  std::vector<std::string> codes;
  ListHolidayRegions(
      [](const char* code, const char*, void* context) {
        static_cast<std::vector<std::string>*>(context)->emplace_back(code);
      },
      &codes);
  return codes;
}

// The part of a code before "_" ("gb-eaw" of "gb-eaw_en-gb", "be" of "be_fr"), and its
// country, the part before "-" or "_" ("gb", "be").
std::string_view RegionStem(std::string_view code) { return code.substr(0, code.find('_')); }
std::string_view RegionCountry(std::string_view code) { return code.substr(0, code.find_first_of("-_")); }

// Equal but for the letter case of ASCII letters, as region codes are compared.
bool SameLetters(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

// The codes `word` is the stem or country of, when more than one code has it: the
// word then names no single region.
std::vector<std::string> RegionsOfStem(const std::vector<std::string>& codes, std::string_view word) {
  std::vector<std::string> matches;
  for (const std::string& code : codes) {
    if (SameLetters(RegionStem(code), word) || SameLetters(RegionCountry(code), word)) matches.push_back(code);
  }
  if (matches.size() < 2) matches.clear();
  return matches;
}

// The words a run knows: the keywords, every region code and a code's part before "_"
// where only one code has it (that part then names the region).
std::string NearestHolidayWord(const std::vector<std::string>& codes, const std::string& word) {
  std::vector<std::string> words = {"none", "JP"};
  for (const std::string& code : codes) {
    words.push_back(code);
    const std::string_view stem = RegionStem(code);
    const auto sameStem = [&](const std::string& other) { return RegionStem(other) == stem; };
    if (stem.size() < code.size() && std::count_if(codes.begin(), codes.end(), sameStem) == 1) {
      words.emplace_back(stem);
    }
  }
  std::vector<const char*> candidates;
  candidates.reserve(words.size());
  for (const std::string& candidate : words) candidates.push_back(candidate.c_str());
  return NearestName(word, candidates);
}

// "a, b and c", at most `shown` of them, then how many more.
std::string ListOf(const std::vector<std::string>& items, std::size_t shown) {
  std::string text;
  const std::size_t count = std::min(items.size(), shown);
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) text += i + 1 == count && count == items.size() ? " and " : ", ";
    text += Quote(items[i]);
  }
  if (count < items.size()) text += " and " + std::to_string(items.size() - count) + " more";
  return text;
}

void CheckRules(const CheckContext& context, const HolidayReport& holidays, Report& report) {
  const char* word = context.Value("Contents", "Holidays");
  if (word == nullptr || word[0] == 0) return;
  const int line = context.LineOf("Contents", "Holidays");
  const std::string what = "[Contents] Holidays " + Quote(word);
  switch (holidays.rules) {
    case HolidayRulesStatus::kUnknownRegion: {
      std::string message = what;
      if (std::strlen(word) >= kRegionCodeCapacity) {
        message += " is longer than 63 bytes, so it names no region";
      } else {
        message += " is not none, JP or a region of the holiday library (or names more than one)";
      }
      message += ": a run colours no public holidays; 'orvendale --holiday-regions' lists the region codes";
      const std::vector<std::string> codes = RegionCodes();
      const std::vector<std::string> regions = RegionsOfStem(codes, word);
      if (!regions.empty()) {
        message += "; " + Quote(word) + " is the start of " + std::to_string(regions.size()) +
                   " region codes: " + ListOf(regions, 10);
      } else if (const std::string nearest = NearestHolidayWord(codes, word); !nearest.empty()) {
        message += "; did you mean " + Quote(nearest) + "?";
      }
      report.Warn(line, message);
      return;
    }
    case HolidayRulesStatus::kNoRegionLibrary:
      report.Warn(line, what + " names a region, but the region plugin " +
                            platform::PluginAbsence<OrvendaleHolidaysKdePlugin>() + ": a run colours no public holidays");
      return;
    case HolidayRulesStatus::kRegion:
      if (std::strncmp(holidays.regionCode, "jp", 2) == 0) {
        report.Note(line, what + " is the holiday library's region " + Quote(holidays.regionCode) +
                              "; JP is this program's own set of Japan's holidays, exact by the law of each year");
      } else if (!platform::KeywordEquals(word, holidays.regionCode)) {
        report.Note(line, what + " is the region " + Quote(holidays.regionCode));
      }
      return;
    default:
      return;
  }
}

// `text` after its first `count` lines (a line ends in CR LF, LF or CR, as the list reads).
std::string_view AfterLines(std::string_view text, int count) {
  for (int i = 0; i < count && !text.empty(); ++i) {
    const std::size_t end = text.find_first_of("\r\n");
    if (end == std::string_view::npos) return std::string_view();
    text.remove_prefix(text.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1);
  }
  return text;
}

// The numbers of the first `limit` lines a plain list skips, found by the list itself: it
// reads the text from each skipped line on, so a list of 4 MiB is read at most `limit`
// times.
std::vector<int> SkippedLines(std::string_view text, std::size_t limit) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  std::vector<int> lines;
  HolidayList list;
  int before = 0;  // lines of the text before `text`
  while (lines.size() < limit && !text.empty()) {
    int skipped = 0;
    if (before > 0 && text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
      skipped = 1;  // a mark is skipped only at the start of the file; elsewhere the line is no date
    } else {
      list.Parse(text);
      skipped = list.firstSkippedLine();
      if (skipped == 0) break;
    }
    lines.push_back(before + skipped);
    before += skipped;
    text = AfterLines(text, skipped);
  }
  return lines;
}

void CheckListLines(const std::u16string& path, const HolidayReport& holidays, int settingsLine,
                    const std::string& what, Report& report) {
  const std::string name = NarrowPath(path);
  std::string text;
  ReadHolidayFile(path, &text);  // the list the run read: its skipped lines are counted
  const std::vector<int> lines = SkippedLines(text, kSkippedLinesShown + 1);
  const std::size_t total = static_cast<std::size_t>(holidays.skippedLines);
  // Reported on the list's lines only when they agree with what the run's list counted.
  if (lines.size() != std::min(total, kSkippedLinesShown + 1) || lines.empty() ||
      lines.front() != holidays.firstSkippedLine) {
    report.Warn(settingsLine, what + " has " + Count(holidays.skippedLines, "line") +
                                  (holidays.skippedLines == 1 ? " that is" : " that are") +
                                  " neither a date nor a comment (the first is line " +
                                  std::to_string(holidays.firstSkippedLine) + "): a run skips them");
    return;
  }
  for (std::size_t i = 0; i < lines.size() && i < kSkippedLinesShown; ++i) {
    report.AddInFile(name, lines[i], Severity::kWarning,
                     "not a holiday: a line holds YYYY-MM-DD or MM-DD (a real day of 1904 to 2031), then "
                     "optionally a blank and a name; a run skips this line");
  }
  if (total > kSkippedLinesShown) {
    report.AddInFile(name, lines[kSkippedLinesShown], Severity::kWarning,
                     "and " + std::to_string(total - kSkippedLinesShown) +
                         " more lines from here on that are not holidays: a run skips them");
  }
}

// What the limits of the iCalendar plugin's work leave out of the month a run shows.
void CheckCalendarLimits(const CheckContext& context, int line, const std::string& what, Report& report) {
  const std::uint32_t cut = InspectHolidayCalendarLimits(context.today.year, context.today.month);
  if (cut & kOrvendaleIcalCutText) {
    report.Warn(line, what + ": the file is longer than the 64 MiB the iCalendar plugin reads; the events after "
                             "that point colour no days");
  }
  if (cut & kOrvendaleIcalCutTime) {
    report.Warn(line, what + ": reading it takes longer than the iCalendar plugin's time limit (4 s of work, "
                             "5 s in all); the events not reached by then colour no days");
  }
  if (cut & kOrvendaleIcalCutWork) {
    report.Warn(line, what + ": its recurrence rules ask for more work than a run does for a month; the "
                             "instances of the rules over that limit colour no days");
  }
}

void CheckFile(const CheckContext& context, const HolidaySettings& settings, const HolidayReport& holidays,
               Report& report) {
  const char* value = context.Value("Contents", "HolidayFile");
  if (value == nullptr || value[0] == 0) return;
  const int line = context.LineOf("Contents", "HolidayFile");
  const std::u16string name = settings.fileName;
  const std::u16string& folder = context.preview.imageFolder;
  if (platform::JoinsWithoutSeparator(folder.c_str(), name.c_str())) {
    report.Warn(line, "HolidayFile " + Quote(value) + " is joined to [Image] Path " + Quote(NarrowPath(folder)) +
                          " without a separator: a run looks for " + Quote(NarrowPath(folder + name)) +
                          "; end Path with '/' (or write a full path)");
  }
  if (settings.filePathTooLong) {
    report.Warn(line, "HolidayFile resolves to a path longer than 255 characters: a run reads no holiday file");
    return;
  }
  const std::u16string path = settings.filePath;
  const std::string what = "HolidayFile " + Quote(NarrowPath(path));
  const std::string none = ": a run colours no days from it";
  switch (holidays.file) {
    case HolidayFileStatus::kNone:
      return;
    case HolidayFileStatus::kUnreadable: {
      const platform::FileFacts facts = platform::QueryHostFile(HostPath(path).c_str());
      const char* why = facts.kind == platform::FileKind::kMissing  ? " does not exist"
                        : facts.kind == platform::FileKind::kFolder ? " is a folder"
                        : facts.kind == platform::FileKind::kOther  ? " is not a regular file"
                                                                    : " cannot be read";
      report.Warn(line, what + why + none);
      return;
    }
    case HolidayFileStatus::kTooLarge:
      report.Warn(line, what + " is larger than the " + std::to_string(kMaxHolidayFileBytes >> 20) +
                            " MiB a run reads: it is refused whole, and a run colours no days from it");
      return;
    case HolidayFileStatus::kBadCalendar:
      report.Warn(line, what + " begins as iCalendar text (BEGIN:VCALENDAR), but the iCalendar plugin cannot "
                               "read it" + none);
      return;
    case HolidayFileStatus::kNoCalendarLibrary:
      report.Warn(line, what + " is iCalendar text, but the iCalendar plugin " +
                            platform::PluginAbsence<OrvendaleIcalPlugin>() + none);
      return;
    case HolidayFileStatus::kCalendar:
      if (holidays.entries == 0) {
        report.Warn(line, what + " is iCalendar text, but it holds no event the iCalendar plugin can read" + none);
      } else {
        report.Note(line, what + " is iCalendar text with " + Count(holidays.entries, "event"));
      }
      CheckCalendarLimits(context, line, what, report);
      return;
    case HolidayFileStatus::kList:
      break;
  }
  if (holidays.fileBytes == 0) {
    report.Warn(line, what + " is empty" + none);
    return;
  }
  if (holidays.skippedLines > 0) CheckListLines(path, holidays, line, what, report);
  if (holidays.entries == 0) {
    report.Warn(line, what + " holds no date" + none);
  } else {
    report.Note(line, what + " is a plain list of " + Count(holidays.entries, "date"));
  }
}

}  // namespace

void CheckHolidays(const CheckContext& context, Report& report) {
  if (context.document == nullptr) return;
  const char* word = context.Value("Contents", "Holidays");
  const char* file = context.Value("Contents", "HolidayFile");
  const bool wordGiven = word != nullptr && word[0] != 0;
  const bool fileGiven = file != nullptr && file[0] != 0;
  if (!wordGiven && !fileGiven) return;
  // Without a picture type a run reads neither key, but the findings about them still
  // show: the file is meant to draw some picture.
  const PictureTypeInfo& picture = context.PictureInfo();
  if (picture.type != PictureType::kNone && !picture.coloursDays) {
    report.Note(context.LineOf("Contents", wordGiven ? "Holidays" : "HolidayFile"),
                "[Contents] Holidays and HolidayFile colour the days of a Date or Calendar picture: a " +
                    std::string(picture.name) + " picture does not use them");
    return;
  }
  // The set exactly as a run chooses it, prepared now (a run prepares it on the first
  // day it colours).
  const HolidaySettings settings = ChooseHolidaysFromSettings(*context.document, "Contents");
  const HolidayReport holidays = InspectHolidays();
  CheckRules(context, holidays, report);
  CheckFile(context, settings, holidays, report);
}

}  // namespace orvendale
