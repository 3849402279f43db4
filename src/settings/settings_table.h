#pragma once
// Every setting the program reads, declared once: its section, key, kind, default, the
// values it takes and a line of help. The readers take their key names and defaults
// from here (through Setting(), which does not compile for a key missing from the
// table); --check takes its list of known keys from here; a test holds the README's
// settings table and the manual page to the same keys and defaults.
//
// The table describes the readers, it does not replace them: each reader keeps its own
// order of reading and its own quirks (16-bit cuts, letter case, fallbacks).
//
// To add a key: add ONE row below, in its section (a new section is a new group of
// rows; the order of sections is the order --check suggests names in). Then read it
// with Setting("Section", "Key") in its reader, give it a finding in a check file of
// src/check/, and describe it in the README's settings table and in man/orvendale.1
// with the same default text (the test of the documents says where they differ).

#include <cstdint>
#include <span>

namespace orvendale {

enum class SettingKind : std::uint8_t {
  kText,      // free text, read whole
  kPath,      // a file or folder name, platform text
  kNumber,    // a decimal number, saturated at the signed 32-bit range
  kNumber16,  // a number of which a run keeps the low 16 bits as a signed value
  kWord,      // one of a few words (see `values`)
  kColor,     // RGB(red, green, blue)
  kName,      // a weekday or month name, cut to its slot
};

struct SettingRow {
  const char* section;
  const char* key;
  SettingKind kind;
  // The default as the documents write it ("none": absent means the feature is off;
  // "empty": absent reads as empty text).
  const char* defaultText;
  std::int32_t defaultNumber;     // what a number reads as when its key is absent
  const char16_t* defaultWide;    // the text a reader uses when the key is absent, or null
  const char* values;             // the values it takes, "|" between words; "" for any
  const char* help;               // one line
};

// clang-format off
inline constexpr SettingRow kSettingsTable[] = {
    {"Image", "Path", SettingKind::kPath, "empty", 0, nullptr, "", "Folder of the output file; also where a relative TodayImage or HolidayFile is looked up."},
    {"Image", "File", SettingKind::kPath, "\\Program Files\\Orvendale\\default.png", 0, nullptr, "", "Name of the output file, or its full path."},
    {"Image", "Width", SettingKind::kNumber16, "0", 0, nullptr, "", "Picture width in pixels; 0 sizes it by its content."},
    {"Image", "Height", SettingKind::kNumber16, "0", 0, nullptr, "", "Picture height in pixels; 0 sizes it by its content."},
    {"Image", "MarginX", SettingKind::kNumber16, "0", 0, nullptr, "", "Blank pixels left and right of the content."},
    {"Image", "MarginY", SettingKind::kNumber16, "0", 0, nullptr, "", "Blank pixels above and below the content."},
    {"Image", "Scale", SettingKind::kWord, "1", 1, nullptr, "1|2|3|4", "Every length of the picture in pixels multiplied, for high-density screens."},
    {"Image", "Background", SettingKind::kColor, "none", 0, nullptr, "", "An opaque picture filled with this colour; absent, a transparent one."},

    {"Contents", "Type", SettingKind::kWord, "none", 0, nullptr, "Date|CalendarHeader|Calendar|Agenda", "The picture: a date line, a month heading, a month grid or an agenda of events."},
    {"Contents", "Format", SettingKind::kText, "none", 0, nullptr, "", "Date pattern of Date and CalendarHeader (needed there) and of the Agenda's day labels (ddd d MMM when absent), at most 63 characters."},
    {"Contents", "Alignment", SettingKind::kWord, "left", 0, nullptr, "left|center|right", "Horizontal placement of the text line."},
    {"Contents", "Offset", SettingKind::kNumber16, "0", 0, nullptr, "", "Months between the current month and the one shown."},
    {"Contents", "RasterX", SettingKind::kNumber, "24", 24, nullptr, "", "Cell width of the month grid in pixels."},
    {"Contents", "RasterY", SettingKind::kNumber, "20", 20, nullptr, "", "Cell height of the month grid in pixels."},
    {"Contents", "TodayImage", SettingKind::kPath, "none", 0, nullptr, "", "Image drawn centred on today's cell of the month grid."},
    {"Contents", "FirstDay", SettingKind::kWord, "Sun", 0, nullptr, "Sun|Mon|Tue|Wed|Thu|Fri|Sat|locale", "Weekday of the grid's first column."},
    {"Contents", "WeekNumbers", SettingKind::kWord, "none", 0, nullptr, "ISO|US", "A column of week numbers left of the days."},
    {"Contents", "OtherMonthDays", SettingKind::kWord, "hidden", 0, nullptr, "show", "Fill the empty cells with the neighbouring months' days."},
    {"Contents", "Rows", SettingKind::kWord, "6", 0, nullptr, "auto", "Only the week rows the month needs."},
    {"Contents", "Direction", SettingKind::kWord, "ltr", 0, nullptr, "ltr|rtl|locale", "Column order of the month grid: left to right, right to left, or by the Locale's script."},
    {"Contents", "Holidays", SettingKind::kWord, "the built-in table", 0, nullptr, "none|JP|a region code", "The public holidays coloured as Sundays."},
    {"Contents", "HolidayFile", SettingKind::kPath, "none", 0, nullptr, "", "A plain list or iCalendar file of days added to the holidays."},
    {"Contents", "Locale", SettingKind::kText, "none", 0, nullptr, "", "A locale whose weekday and month names fill the absent name keys."},
    {"Contents", "Days", SettingKind::kNumber, "7", 7, nullptr, "", "Agenda: the days listed from today on, 1 to 366."},
    {"Contents", "Lines", SettingKind::kNumber, "8", 8, nullptr, "", "Agenda: the most lines listed, 1 to 100."},
    {"Contents", "Clock", SettingKind::kNumber, "24", 24, nullptr, "12|24", "Agenda: 12 writes start times with am and pm, else 24-hour times."},

    {"Font", "Face", SettingKind::kText, "see Font", 0, nullptr, "", "Font family name, at most 31 characters."},
    {"Font", "Font", SettingKind::kText, "ＭＳ ゴシック", 0, u"ＭＳ ゴシック", "", "Font family name used when Face is absent."},
    {"Font", "Height", SettingKind::kNumber16, "0", 0, nullptr, "", "Font height: negative the character height, positive the cell height."},
    {"Font", "Size", SettingKind::kNumber16, "0", 0, nullptr, "", "The font height when Height is absent or 0."},
    {"Font", "Weight", SettingKind::kWord, "normal", 0, nullptr, "bold", "bold for a bold font."},
    {"Font", "Smooth", SettingKind::kWord, "no", 0, nullptr, "yes|no", "yes for anti-aliased text whose coverage is the picture's alpha."},

    {"ShortName", "Sun", SettingKind::kName, "Su", 0, u"Su", "", "Short weekday name."},
    {"ShortName", "Mon", SettingKind::kName, "Mo", 0, u"Mo", "", "Short weekday name."},
    {"ShortName", "Tue", SettingKind::kName, "Tu", 0, u"Tu", "", "Short weekday name."},
    {"ShortName", "Wed", SettingKind::kName, "We", 0, u"We", "", "Short weekday name."},
    {"ShortName", "Thu", SettingKind::kName, "Th", 0, u"Th", "", "Short weekday name."},
    {"ShortName", "Fri", SettingKind::kName, "Fr", 0, u"Fr", "", "Short weekday name."},
    {"ShortName", "Sat", SettingKind::kName, "Sa", 0, u"Sa", "", "Short weekday name."},
    {"ShortName", "Jan", SettingKind::kName, "Jan", 0, u"Jan", "", "Short month name."},
    {"ShortName", "Feb", SettingKind::kName, "Feb", 0, u"Feb", "", "Short month name."},
    {"ShortName", "Mar", SettingKind::kName, "Mar", 0, u"Mar", "", "Short month name."},
    {"ShortName", "Apr", SettingKind::kName, "Apr", 0, u"Apr", "", "Short month name."},
    {"ShortName", "May", SettingKind::kName, "May", 0, u"May", "", "Short month name."},
    {"ShortName", "Jun", SettingKind::kName, "Jun", 0, u"Jun", "", "Short month name."},
    {"ShortName", "Jul", SettingKind::kName, "Jul", 0, u"Jul", "", "Short month name."},
    {"ShortName", "Aug", SettingKind::kName, "Aug", 0, u"Aug", "", "Short month name."},
    {"ShortName", "Sep", SettingKind::kName, "Sep", 0, u"Sep", "", "Short month name."},
    {"ShortName", "Oct", SettingKind::kName, "Oct", 0, u"Oct", "", "Short month name."},
    {"ShortName", "Nov", SettingKind::kName, "Nov", 0, u"Nov", "", "Short month name."},
    {"ShortName", "Dec", SettingKind::kName, "Dec", 0, u"Dec", "", "Short month name."},
    {"ShortName", "Week", SettingKind::kName, "Wk", 0, u"Wk", "", "Heading of the grid's week-number column."},

    {"LongName", "Sun", SettingKind::kName, "Sunday", 0, u"Sunday", "", "Long weekday name."},
    {"LongName", "Mon", SettingKind::kName, "Monday", 0, u"Monday", "", "Long weekday name."},
    {"LongName", "Tue", SettingKind::kName, "Tuesday", 0, u"Tuesday", "", "Long weekday name."},
    {"LongName", "Wed", SettingKind::kName, "Wednesday", 0, u"Wednesday", "", "Long weekday name."},
    {"LongName", "Thu", SettingKind::kName, "Thursday", 0, u"Thursday", "", "Long weekday name."},
    {"LongName", "Fri", SettingKind::kName, "Friday", 0, u"Friday", "", "Long weekday name."},
    {"LongName", "Sat", SettingKind::kName, "Saturday", 0, u"Saturday", "", "Long weekday name."},
    {"LongName", "Jan", SettingKind::kName, "January", 0, u"January", "", "Long month name."},
    {"LongName", "Feb", SettingKind::kName, "February", 0, u"February", "", "Long month name."},
    {"LongName", "Mar", SettingKind::kName, "March", 0, u"March", "", "Long month name."},
    {"LongName", "Apr", SettingKind::kName, "April", 0, u"April", "", "Long month name."},
    {"LongName", "May", SettingKind::kName, "May", 0, u"May", "", "Long month name."},
    {"LongName", "Jun", SettingKind::kName, "June", 0, u"June", "", "Long month name."},
    {"LongName", "Jul", SettingKind::kName, "July", 0, u"July", "", "Long month name."},
    {"LongName", "Aug", SettingKind::kName, "August", 0, u"August", "", "Long month name."},
    {"LongName", "Sep", SettingKind::kName, "September", 0, u"September", "", "Long month name."},
    {"LongName", "Oct", SettingKind::kName, "October", 0, u"October", "", "Long month name."},
    {"LongName", "Nov", SettingKind::kName, "November", 0, u"November", "", "Long month name."},
    {"LongName", "Dec", SettingKind::kName, "December", 0, u"December", "", "Long month name."},
    {"LongName", "NoEvents", SettingKind::kText, "No events", 0, u"No events", "", "The one line of an Agenda without events in its days."},

    {"Text", "Color", SettingKind::kColor, "RGB(255, 255, 255)", 0, u"RGB(255, 255, 255)", "", "Colour of ordinary text and days."},
    {"Text", "SundayColor", SettingKind::kColor, "RGB(255, 255, 255)", 0, u"RGB(255, 255, 255)", "", "Colour of Sundays and public holidays."},
    {"Text", "SaturdayColor", SettingKind::kColor, "RGB(255, 255, 255)", 0, u"RGB(255, 255, 255)", "", "Colour of Saturdays."},
    {"Text", "TodayColor", SettingKind::kColor, "none", 0, nullptr, "", "Colour of today's number in the month grid."},
    {"Text", "WeekNumberColor", SettingKind::kColor, "the value of Color", 0, nullptr, "", "Colour of the week numbers."},
    {"Text", "OtherMonthColor", SettingKind::kColor, "RGB(160, 160, 160)", 0, u"RGB(160, 160, 160)", "", "Colour of the neighbouring months' days."},

    {"Events", "File1", SettingKind::kPath, "none", 0, nullptr, "", "A calendar: an iCalendar file or a folder of them, found as HolidayFile is."},
    {"Events", "File2", SettingKind::kPath, "none", 0, nullptr, "", "A calendar: an iCalendar file or a folder of them, found as HolidayFile is."},
    {"Events", "File3", SettingKind::kPath, "none", 0, nullptr, "", "A calendar: an iCalendar file or a folder of them, found as HolidayFile is."},
    {"Events", "File4", SettingKind::kPath, "none", 0, nullptr, "", "A calendar: an iCalendar file or a folder of them, found as HolidayFile is."},
    {"Events", "File5", SettingKind::kPath, "none", 0, nullptr, "", "A calendar: an iCalendar file or a folder of them, found as HolidayFile is."},
    {"Events", "File6", SettingKind::kPath, "none", 0, nullptr, "", "A calendar: an iCalendar file or a folder of them, found as HolidayFile is."},
    {"Events", "File7", SettingKind::kPath, "none", 0, nullptr, "", "A calendar: an iCalendar file or a folder of them, found as HolidayFile is."},
    {"Events", "File8", SettingKind::kPath, "none", 0, nullptr, "", "A calendar: an iCalendar file or a folder of them, found as HolidayFile is."},
    {"Events", "Color1", SettingKind::kColor, "the value of Color", 0, nullptr, "", "Colour of that calendar's marks and agenda text."},
    {"Events", "Color2", SettingKind::kColor, "the value of Color", 0, nullptr, "", "Colour of that calendar's marks and agenda text."},
    {"Events", "Color3", SettingKind::kColor, "the value of Color", 0, nullptr, "", "Colour of that calendar's marks and agenda text."},
    {"Events", "Color4", SettingKind::kColor, "the value of Color", 0, nullptr, "", "Colour of that calendar's marks and agenda text."},
    {"Events", "Color5", SettingKind::kColor, "the value of Color", 0, nullptr, "", "Colour of that calendar's marks and agenda text."},
    {"Events", "Color6", SettingKind::kColor, "the value of Color", 0, nullptr, "", "Colour of that calendar's marks and agenda text."},
    {"Events", "Color7", SettingKind::kColor, "the value of Color", 0, nullptr, "", "Colour of that calendar's marks and agenda text."},
    {"Events", "Color8", SettingKind::kColor, "the value of Color", 0, nullptr, "", "Colour of that calendar's marks and agenda text."},
    {"Events", "Mark", SettingKind::kWord, "dot", 0, nullptr, "dot|bar|none", "How the month grid marks a day with events."},
};
// clang-format on

namespace settings_table_detail {
constexpr bool SameText(const char* a, const char* b) {
  while (*a != 0 && *a == *b) {
    ++a;
    ++b;
  }
  return *a == *b;
}
}  // namespace settings_table_detail

// The row of `section` and `key` (letter case counts). Evaluated while compiling: a key
// that is not in the table is a compile error, so no reader reads an undeclared key.
consteval const SettingRow& Setting(const char* section, const char* key) {
  for (const SettingRow& row : kSettingsTable) {
    if (settings_table_detail::SameText(row.section, section) && settings_table_detail::SameText(row.key, key)) {
      return row;
    }
  }
  throw "no such setting in kSettingsTable";
}

inline std::span<const SettingRow> SettingsTable() { return kSettingsTable; }

// A name's key, read in [ShortName] and in [LongName], with the names used when the
// key is absent; taken from the table.
struct NameKey {
  const char* key;
  const char16_t* shortDefault;
  const char16_t* longDefault;
};

consteval NameKey NameKeyOf(const char* key) {
  return NameKey{key, Setting("ShortName", key).defaultWide, Setting("LongName", key).defaultWide};
}

inline constexpr NameKey kWeekdayNameKeys[7] = {
    NameKeyOf("Sun"), NameKeyOf("Mon"), NameKeyOf("Tue"), NameKeyOf("Wed"),
    NameKeyOf("Thu"), NameKeyOf("Fri"), NameKeyOf("Sat"),
};

// The heading of the month grid's week-number column, read in [ShortName] only.
inline constexpr NameKey kWeekNameKey = {"Week", Setting("ShortName", "Week").defaultWide, nullptr};

inline constexpr NameKey kMonthNameKeys[12] = {
    NameKeyOf("Jan"), NameKeyOf("Feb"), NameKeyOf("Mar"), NameKeyOf("Apr"), NameKeyOf("May"), NameKeyOf("Jun"),
    NameKeyOf("Jul"), NameKeyOf("Aug"), NameKeyOf("Sep"), NameKeyOf("Oct"), NameKeyOf("Nov"), NameKeyOf("Dec"),
};

}  // namespace orvendale
