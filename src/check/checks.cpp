#include "check/checks.h"

#include <array>

namespace orvendale {
namespace {

constexpr std::array kChecks = {
    SettingsCheck{CheckFileEncoding}, SettingsCheck{CheckLoaderLimits},
    SettingsCheck{CheckKnownNames},   SettingsCheck{CheckDuplicateKeys},
    SettingsCheck{CheckBlanksKept},   SettingsCheck{CheckNumbers},
    SettingsCheck{CheckContents},     SettingsCheck{CheckTextColors},
    SettingsCheck{CheckNames},        SettingsCheck{CheckFont},
    SettingsCheck{CheckTodayImage},   SettingsCheck{CheckOutput},
    SettingsCheck{CheckGridOptions},  SettingsCheck{CheckLocale},     SettingsCheck{CheckGlyphCoverage},
    SettingsCheck{CheckHolidays},     SettingsCheck{CheckBackgroundColor},
    SettingsCheck{CheckPictureStyle}, SettingsCheck{CheckGridFit},
    SettingsCheck{CheckEvents},
};

}  // namespace

std::span<const SettingsCheck> AllChecks() { return kChecks; }

}  // namespace orvendale
