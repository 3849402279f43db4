#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "calendar/packed_date.h"

namespace orvendale {
namespace {

CommandLine Parse(std::vector<const char*> arguments) {
  arguments.insert(arguments.begin(), "orvendale");
  return ParseCommandLine(static_cast<int>(arguments.size()), arguments.data());
}

TEST(CommandLine, PlainRunsHaveNoOptions) {
  const char* plain[] = {"orvendale", "settings.ini", "--check"};
  EXPECT_FALSE(HasOptions(1, plain));
  EXPECT_FALSE(HasOptions(3, plain));
  const char* single[] = {"orvendale", "-x.ini"};
  EXPECT_FALSE(HasOptions(2, single));  // only "-h" of the one-dash words is an option
  const char* help[] = {"orvendale", "-h"};
  EXPECT_TRUE(HasOptions(2, help));
}

TEST(CommandLine, ReadsEachForm) {
  const struct {
    std::vector<const char*> arguments;
    CommandAction action;
    const char* settings;  // null: none
    bool dated;
  } table[] = {
      {{"--help"}, CommandAction::kHelp, nullptr, false},
      {{"-h"}, CommandAction::kHelp, nullptr, false},
      {{"--version"}, CommandAction::kVersion, nullptr, false},
      {{"--version", "--help"}, CommandAction::kHelp, nullptr, false},
      {{"--holiday-regions"}, CommandAction::kHolidayRegions, nullptr, false},
      {{"--check", "--holiday-regions"}, CommandAction::kHolidayRegions, nullptr, false},
      {{"--check"}, CommandAction::kCheck, nullptr, false},
      {{"--check", "a.ini"}, CommandAction::kCheck, "a.ini", false},
      {{"--date", "2008-03-20", "--check", "a.ini"}, CommandAction::kCheck, "a.ini", true},
      {{"--check", "--date=2008-03-20", "a.ini"}, CommandAction::kCheck, "a.ini", true},
      {{"--date", "2008-03-20", "a.ini"}, CommandAction::kRun, "a.ini", true},
      {{"--date", "2008-03-20"}, CommandAction::kRun, nullptr, true},
      {{"--", "--x.ini"}, CommandAction::kRun, "--x.ini", false},
      {{"--check", "--", "-h"}, CommandAction::kCheck, "-h", false},
  };
  for (const auto& row : table) {
    const CommandLine command = Parse(row.arguments);
    SCOPED_TRACE(row.arguments.front());
    EXPECT_EQ(command.action, row.action) << command.error;
    EXPECT_EQ(command.dateGiven, row.dated);
    if (row.settings == nullptr) {
      EXPECT_EQ(command.settingsPath, nullptr);
    } else {
      ASSERT_NE(command.settingsPath, nullptr);
      EXPECT_STREQ(command.settingsPath, row.settings);
    }
  }
}

TEST(CommandLine, RefusesWrongUse) {
  const struct {
    std::vector<const char*> arguments;
    const char* message;
  } table[] = {
      {{"--frobnicate"}, "unknown option '--frobnicate'"},
      {{"--Check"}, "unknown option '--Check'"},
      {{"--date"}, "needs a date"},
      {{"--date", "2008-03-20", "--date", "2008-03-20"}, "given twice"},
      {{"-h", "--help"}, "given twice"},
      {{"--help=yes"}, "takes no value"},
      {{"--check=a.ini"}, "takes no value"},
      {{"--help", "a.ini"}, "takes no settings file"},
      {{"--version", "a.ini"}, "takes no settings file"},
      {{"--holiday-regions", "a.ini"}, "takes no settings file"},
      {{"--holiday-regions=de"}, "takes no value"},
      {{"--check", "a.ini", "b.ini"}, "unexpected argument 'b.ini'"},
      {{"--check", "a.ini", "--date", "2008-03-20"}, "options go before it"},
      {{"--date", "--check", "a.ini"}, "not a date"},
      {{"--date", "2008-02-30", "--help"}, "February 2008 has 29 days"},
  };
  for (const auto& row : table) {
    const CommandLine command = Parse(row.arguments);
    EXPECT_EQ(command.action, CommandAction::kError) << row.message;
    EXPECT_NE(command.error.find(row.message), std::string::npos) << command.error;
  }
}

TEST(DateOption, RefusesWhatIsNoDayOfTheRange) {
  const struct {
    const char* text;
    const char* message;
  } table[] = {
      {"2032-01-01", "dates run from 1904-01-01 to 2031-12-31"},
      {"1903-12-31", "dates run from 1904-01-01 to 2031-12-31"},
      {"2008-02-30", "February 2008 has 29 days"},
      {"1900-02-29", "dates run from"},
      {"2100-02-29", "dates run from"},
      {"2009-02-29", "February 2009 has 28 days"},
      {"2008-13-01", "there is no month 13"},
      {"2008-00-01", "there is no month 0"},
      {"2008-01-00", "January 2008 has 31 days"},
      {"2008-1-01", "not a date"},
      {"2008-01-1", "not a date"},
      {"20080101", "not a date"},
      {"2008/01/01", "not a date"},
      {"-008-01-01", "not a date"},
      {"2008-01-01 ", "not a date"},
      {"", "not a date"},
      {"today", "not a date"},
  };
  for (const auto& row : table) {
    DateRecord date;
    std::string error;
    EXPECT_FALSE(ParseDateOption(row.text, &date, &error)) << row.text;
    EXPECT_NE(error.find(row.message), std::string::npos) << row.text << ": " << error;
  }
  std::string error;
  DateRecord date;
  EXPECT_FALSE(ParseDateOption(nullptr, &date, &error));
}

// Every day of the range reads back as itself, with the weekday the standard library's
// calendar gives.
TEST(DateOption, ReadsEveryDayOfTheRange) {
  using namespace std::chrono;
  int days = 0;
  for (sys_days day = sys_days{year{1904} / January / 1}; day <= sys_days{year{2031} / December / 31};
       day += std::chrono::days{1}) {
    const year_month_day ymd{day};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
    DateRecord date;
    std::string error;
    ASSERT_TRUE(ParseDateOption(text, &date, &error)) << text << ": " << error;
    ASSERT_EQ(date.year, static_cast<int>(ymd.year()));
    ASSERT_EQ(date.month, static_cast<unsigned>(ymd.month()));
    ASSERT_EQ(date.day, static_cast<unsigned>(ymd.day()));
    ASSERT_EQ(date.dayOfWeek, weekday{day}.c_encoding()) << text;
    ++days;
  }
  EXPECT_EQ(days, 46752);
}

}  // namespace
}  // namespace orvendale
