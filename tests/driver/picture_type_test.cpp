#include "driver/picture_type.h"

#include <gtest/gtest.h>

#include <string>

#include "driver/run.h"
#include "settings/settings_table.h"

namespace orvendale {
namespace {

Surface DrawNothing(const RenderParams&) { return nullptr; }
Surface DrawNothingEither(const RenderParams&) { return nullptr; }
Surface DrawNothingAtAll(const RenderParams&) { return nullptr; }
Surface ListNothing(const RenderParams&) { return nullptr; }

// The type is the exact name, letter case and length included; the renderer a run
// selects is the one of that type.
TEST(PictureType, ParsesTheExactNameAndSelectsItsRenderer) {
  RunServices services;
  services.calendarHeader = DrawNothing;
  services.calendar = DrawNothingEither;
  services.date = DrawNothingAtAll;
  services.agenda = ListNothing;
  const struct {
    const char* text;
    PictureType type;
    Renderer renderer;
  } cases[] = {
      {"Date", PictureType::kDate, DrawNothingAtAll},
      {"CalendarHeader", PictureType::kCalendarHeader, DrawNothing},
      {"Calendar", PictureType::kCalendar, DrawNothingEither},
      {"Agenda", PictureType::kAgenda, ListNothing},
      {"calendar", PictureType::kNone, nullptr},
      {"agenda", PictureType::kNone, nullptr},
      {"Calendar ", PictureType::kNone, nullptr},
      {"CalendarHeaderX", PictureType::kNone, nullptr},
      {"", PictureType::kNone, nullptr},
      {nullptr, PictureType::kNone, nullptr},
  };
  for (const auto& c : cases) {
    const std::string label = c.text != nullptr ? c.text : "null";
    EXPECT_EQ(ParsePictureType(c.text), c.type) << label;
    EXPECT_EQ(SelectRenderer(c.text, services), c.renderer) << label;
    EXPECT_EQ(InfoOf(c.type).type, c.type) << label;
  }
  EXPECT_STREQ(InfoOf(PictureType::kNone).name, "");
}

// What --check asks of a type's row: only the grid and the agenda show events, only the
// agenda has its own keys, and the agenda needs no Format.
TEST(PictureType, RowsSayWhichPicturesShowEvents) {
  for (const PictureTypeInfo& info : kPictureTypes) {
    const std::string name = info.name;
    EXPECT_EQ(info.readsEvents, name == "Calendar" || name == "Agenda") << name;
    EXPECT_EQ(info.listsEvents, name == "Agenda") << name;
    EXPECT_STREQ(info.article, name == "Agenda" ? "an" : "a") << name;
  }
  EXPECT_FALSE(InfoOf(PictureType::kAgenda).readsFormat);
  EXPECT_FALSE(InfoOf(PictureType::kAgenda).isMonthGrid);
  EXPECT_FALSE(InfoOf(PictureType::kNone).readsEvents);
}

// The settings table lists exactly the types' names as the values of Type.
TEST(PictureType, TheSettingsTableNamesEveryType) {
  std::string names;
  for (const PictureTypeInfo& info : kPictureTypes) {
    EXPECT_EQ(ParsePictureType(info.name), info.type);
    names += std::string(names.empty() ? "" : "|") + info.name;
  }
  std::string values = Setting("Contents", "Type").values;
  // Same words, in any order.
  for (const PictureTypeInfo& info : kPictureTypes) {
    EXPECT_NE(("|" + values + "|").find(std::string("|") + info.name + "|"), std::string::npos) << info.name;
  }
  EXPECT_EQ(values.size(), names.size());
}

}  // namespace
}  // namespace orvendale
