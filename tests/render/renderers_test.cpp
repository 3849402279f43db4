#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "platform/drawing/graphics.h"
#include "render/month_grid.h"
#include "render/single_line.h"
#include "settings/ini_document.h"
#include "support/settings_text.h"

namespace orvendale {
namespace {

// What a renderer does to the driver's date, and whether it returns a picture: the
// heading and the grid move the date by Offset (the grid after taking today), the date
// line never does, and a missing Format still lets the heading's move happen first.
TEST(Renderers, MoveTheDateByOffsetOnlyWhereTheyShowAnotherMonth) {
  struct Case {
    Renderer renderer;
    const char* contents;
    DateRecord today;
    DateRecord after;
    bool picture;
  };
  const Case cases[] = {
      {RenderCalendarHeader, "Format=d\nOffset=1\n", {2008, 1, 4, 31}, {2008, 2, 4, 29}, true},
      {RenderCalendarHeader, "Format=d\nOffset=-1\n", {2008, 1, 2, 15}, {2007, 12, 2, 15}, true},
      {RenderCalendarHeader, "Format=d\nOffset=65535\n", {2008, 3, 4, 31}, {2008, 2, 4, 29}, true},
      {RenderCalendarHeader, "Format=d\n", {2008, 3, 4, 20}, {2008, 3, 4, 20}, true},
      {RenderCalendarHeader, "Offset=1\n", {2008, 3, 4, 20}, {2008, 4, 4, 20}, false},
      {RenderDate, "Format=d\nOffset=1\n", {2008, 3, 4, 20}, {2008, 3, 4, 20}, true},
      {RenderCalendar, "Offset=1\n", {2008, 1, 4, 31}, {2008, 2, 4, 29}, true},
      {RenderCalendar, "Offset=65536\n", {2008, 1, 4, 31}, {2008, 1, 4, 31}, true},
      {RenderCalendar, "Offset=-32768\n", {2008, 1, 4, 31}, {}, true},  // leaves 1904-2031
  };
  for (const Case& c : cases) {
    testing::SettingsText settings(std::string("[Contents]\n") + c.contents);
    const IniDocument& document = settings.document();
    DateRecord date = c.today;
    RenderParams params;
    params.screenContext = platform::GetScreenContext();
    params.date = &date;
    params.document = &document;
    params.contentSection = "Contents";
    Surface surface = c.renderer(params);
    const bool made = surface != nullptr;
    platform::DeleteBitmap(surface);
    const std::string label = c.contents;
    EXPECT_EQ(made, c.picture) << label;
    if (c.after.year == 0) continue;
    EXPECT_EQ(date.year, c.after.year) << label;
    EXPECT_EQ(date.month, c.after.month) << label;
    EXPECT_EQ(date.day, c.after.day) << label;
  }
}

TEST(MakeCellRect, OffsetsTheBaseAndSaturatesFarCells) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  struct Case {
    Rect base;
    std::int64_t dx, dy, width, height;
    Rect cell;
  };
  const Case cases[] = {
      {{0, 0, 168, 140}, 100, 40, 24, 20, {100, 40, 124, 60}},
      {{10, 5, 0, 0}, 4, 20, 24, 20, {14, 25, 38, 45}},
      {{0, 0, 0, 0}, -30, -30, -30, -30, {-30, -30, -60, -60}},
      {{0, 0, 0, 0}, std::int64_t{kMax} * 6, 0, kMax, 20, {kMax, 0, kMax, 20}},
      {{0, 0, 0, 0}, 0, std::int64_t{kMin} * 6, 24, kMin, {0, kMin, 24, kMin}},
  };
  for (const Case& c : cases) {
    const Rect cell = MakeCellRect(c.base, c.dx, c.dy, c.width, c.height);
    EXPECT_EQ(cell.left, c.cell.left) << c.dx;
    EXPECT_EQ(cell.top, c.cell.top) << c.dy;
    EXPECT_EQ(cell.right, c.cell.right) << c.dx;
    EXPECT_EQ(cell.bottom, c.cell.bottom) << c.dy;
  }
}

}  // namespace
}  // namespace orvendale

namespace orvendale {
namespace {

// The grid's measure is the size the renderer draws: the check relies on it.
TEST(MeasureMonthGrid, GivesTheSizeTheGridIsDrawnAt) {
  struct Case {
    const char* contents;
    std::int16_t width, height, marginX, marginY;
    DateRecord today;
    std::int64_t pictureWidth, pictureHeight;
  };
  const Case cases[] = {
      {"", 0, 0, 0, 0, {2008, 3, 4, 20}, 7 * 24, 7 * 20},
      {"RasterX=30\nRasterY=10\n", 0, 0, 2, 3, {2008, 3, 4, 20}, 7 * 30 + 4, 7 * 10 + 6},
      {"WeekNumbers=ISO\n", 0, 0, 0, 0, {2008, 3, 4, 20}, 8 * 24, 7 * 20},
      // February 2015 starts on a Sunday and fills four rows; Offset moves to it.
      {"Rows=auto\n", 0, 0, 0, 0, {2015, 2, 0, 10}, 7 * 24, 5 * 20},
      {"Rows=auto\nOffset=-1\n", 0, 0, 0, 0, {2015, 3, 0, 10}, 7 * 24, 5 * 20},
      {"Rows=auto\nFirstDay=Mon\n", 0, 0, 0, 0, {2015, 2, 0, 10}, 7 * 24, 6 * 20},
      {"", 100, 50, -10, 5, {2008, 3, 4, 20}, 80, 60},
      {"RasterX=-5\n", 0, 0, 0, 0, {2008, 3, 4, 20}, -35, 140},
  };
  for (const Case& c : cases) {
    testing::TempDirectory directory;
    directory.Write("s.ini", std::string("[Contents]\n") + c.contents);
    const std::u16string path = directory.PlatformPath("s.ini");
    IniDocument document(path.c_str());
    ASSERT_EQ(document.Load(), S_OK);
    const MonthGridMeasure measure =
        MeasureMonthGrid(document, "Contents", c.today, c.width, c.height, c.marginX, c.marginY);
    const std::string label = c.contents;
    EXPECT_EQ(measure.pictureWidth, c.pictureWidth) << label;
    EXPECT_EQ(measure.pictureHeight, c.pictureHeight) << label;
    if (c.pictureWidth <= 0) continue;

    DateRecord date = c.today;
    RenderParams params;
    params.screenContext = platform::GetScreenContext();
    params.date = &date;
    params.document = &document;
    params.contentSection = "Contents";
    params.width = c.width;
    params.height = c.height;
    params.marginX = c.marginX;
    params.marginY = c.marginY;
    Surface surface = RenderCalendar(params);
    ASSERT_NE(surface, nullptr) << label;
    platform::BitmapDescription description;
    ASSERT_TRUE(platform::GetBitmapDescription(surface, &description));
    EXPECT_EQ(description.width, c.pictureWidth) << label;
    EXPECT_EQ(description.height, c.pictureHeight) << label;
    platform::DeleteBitmap(surface);
  }
}

}  // namespace
}  // namespace orvendale
