#pragma once
// The checks of a settings file: small and independent, each looking at one group of
// settings and adding its findings to the report. A new setting adds its check in a
// file of its own and one line in the table of checks.cpp.

#include <span>

#include "check/check_context.h"
#include "check/report.h"

namespace orvendale {

using SettingsCheck = void (*)(const CheckContext& context, Report& report);

// Every check, in the order they run.
std::span<const SettingsCheck> AllChecks();

// The checks, one group a file.
void CheckFileEncoding(const CheckContext& context, Report& report);   // file_checks.cpp
void CheckLoaderLimits(const CheckContext& context, Report& report);   // loader_checks.cpp
void CheckKnownNames(const CheckContext& context, Report& report);     // name_checks.cpp
void CheckDuplicateKeys(const CheckContext& context, Report& report);  // name_checks.cpp
void CheckBlanksKept(const CheckContext& context, Report& report);     // value_checks.cpp
void CheckNumbers(const CheckContext& context, Report& report);        // number_checks.cpp
void CheckGridFit(const CheckContext& context, Report& report);        // grid_fit_checks.cpp
void CheckContents(const CheckContext& context, Report& report);       // contents_checks.cpp
void CheckTextColors(const CheckContext& context, Report& report);     // color_checks.cpp
void CheckBackgroundColor(const CheckContext& context, Report& report);  // color_checks.cpp
void CheckPictureStyle(const CheckContext& context, Report& report);   // picture_style_checks.cpp
void CheckNames(const CheckContext& context, Report& report);          // weekday_month_checks.cpp
void CheckFont(const CheckContext& context, Report& report);           // font_checks.cpp
void CheckTodayImage(const CheckContext& context, Report& report);     // today_image_checks.cpp
void CheckOutput(const CheckContext& context, Report& report);         // output_checks.cpp
void CheckGridOptions(const CheckContext& context, Report& report);    // grid_option_checks.cpp
void CheckLocale(const CheckContext& context, Report& report);         // locale_checks.cpp
void CheckHolidays(const CheckContext& context, Report& report);       // holiday_checks.cpp
void CheckGlyphCoverage(const CheckContext& context, Report& report);  // glyph_coverage_checks.cpp
void CheckEvents(const CheckContext& context, Report& report);         // event_checks.cpp

}  // namespace orvendale
