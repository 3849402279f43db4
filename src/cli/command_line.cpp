#include "cli/command_line.h"

#include <cstring>
#include <span>
#include <string_view>
#include <vector>

#include "calendar/packed_date.h"
#include "cli/option_table.h"

namespace orvendale {
namespace {

constexpr const char* kMonthNames[12] = {"January", "February", "March",     "April",
                                         "May",     "June",     "July",      "August",
                                         "September", "October", "November", "December"};

// Every argument that begins with "--" is an option (an unknown one is an error), and so
// is a short name of the table ("-h").
bool IsOption(const char* argument) {
  return argument != nullptr && ((argument[0] == '-' && argument[1] == '-') || FindOption(argument) != nullptr);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number of `count` digits at `text`, or -1 when one of them is not a digit.
int ReadDigits(const char* text, int count) {
  int value = 0;
  for (int i = 0; i < count; ++i) {
    if (!IsDigit(text[i])) return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

// Arguments are quoted in messages so that blanks and empty text stay visible.
std::string Quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

}  // namespace

bool HasOptions(int argc, const char* const* argv) {
  return argc > 1 && argv != nullptr && IsOption(argv[1]);
}

bool ParseDateOption(const char* text, DateRecord* out, std::string* error) {
  const std::string_view shown = text != nullptr ? text : "";
  const bool shaped = text != nullptr && std::strlen(text) == 10 && text[4] == '-' && text[7] == '-';
  const int year = shaped ? ReadDigits(text, 4) : -1;
  const int month = shaped ? ReadDigits(text + 5, 2) : -1;
  const int day = shaped ? ReadDigits(text + 8, 2) : -1;
  if (year < 0 || month < 0 || day < 0) {
    *error = "--date " + Quoted(shown) + ": not a date of the form YYYY-MM-DD";
    return false;
  }
  if (year < kFirstYear || year > kLastYear) {
    *error = "--date " + Quoted(shown) + ": dates run from 1904-01-01 to 2031-12-31";
    return false;
  }
  if (month < 1 || month > 12) {
    *error = "--date " + Quoted(shown) + ": there is no month " + std::to_string(month);
    return false;
  }
  const int days = DaysInMonth(static_cast<std::int16_t>(month), static_cast<std::int16_t>(year));
  if (day < 1 || day > days) {
    *error = "--date " + Quoted(shown) + ": " + kMonthNames[month - 1] + " " +
             std::to_string(year) + " has " + std::to_string(days) + " days";
    return false;
  }
  *out = DateRecord{};
  out->year = static_cast<std::uint16_t>(year);
  out->month = static_cast<std::uint16_t>(month);
  out->day = static_cast<std::uint16_t>(day);
  out->dayOfWeek = static_cast<std::uint16_t>(
      WeekdayOf(static_cast<std::int16_t>(month), static_cast<std::int16_t>(day),
                static_cast<std::int16_t>(year)));
  // Noon, as the tests fix the clock: no field reads it, but it is a time of that day.
  out->hour = 12;
  return true;
}

CommandLine ParseCommandLine(int argc, const char* const* argv) {
  CommandLine result;
  const auto fail = [&result](std::string message) {
    result.action = CommandAction::kError;
    result.error = std::move(message);
    return result;
  };
  const std::span<const OptionSpec> options = OptionTable();
  std::vector<bool> given(options.size(), false);
  const OptionSpec* acting = nullptr;  // the option given whose action comes first

  int index = 1;
  for (; index < argc && IsOption(argv[index]); ++index) {
    const std::string_view argument = argv[index];
    // "--name=value" gives the value inside the argument.
    const std::size_t equals = argument.find('=');
    const std::string_view name = argument.substr(0, equals);
    const bool valueInside = equals != std::string_view::npos;
    const OptionSpec* option = FindOption(name);
    if (option != nullptr && option->kind == OptionKind::kEndOfOptions && !valueInside) {
      ++index;
      break;
    }
    if (option == nullptr || option->kind == OptionKind::kEndOfOptions) {
      return fail("unknown option " + Quoted(argument));
    }
    if (option->kind == OptionKind::kFlag && valueInside) {
      return fail("option " + Quoted(name) + " takes no value (" + Quoted(argument) + ")");
    }
    const std::size_t row = static_cast<std::size_t>(option - options.data());
    if (given[row]) return fail("option " + Quoted(name) + " is given twice");
    given[row] = true;
    if (option->kind == OptionKind::kValue) {
      const char* value = nullptr;
      if (valueInside) {
        value = argv[index] + equals + 1;
      } else if (index + 1 < argc) {
        value = argv[++index];
      } else {
        return fail("option " + Quoted(option->name) + " needs " + option->valueNoun + ", " + option->valueName);
      }
      std::string error;
      if (!option->readValue(value, &result, &error)) return fail(error);
    }
    if (acting == nullptr || option->action < acting->action) acting = option;
  }

  if (index < argc) result.settingsPath = argv[index++];
  if (acting != nullptr && !acting->takesSettings && result.settingsPath != nullptr) {
    return fail("option " + Quoted(acting->name) + " takes no settings file (" + Quoted(result.settingsPath) + ")");
  }
  if (index < argc) {
    return fail("unexpected argument " + Quoted(argv[index]) + " after the settings file " +
                Quoted(result.settingsPath) + " (options go before it)");
  }
  if (acting != nullptr) result.action = acting->action;
  return result;
}

}  // namespace orvendale
