#pragma once
// The process-wide text settings as they were when the guard was made, given back when it
// ends: a test that changes them leaves them as it found them, also when a failed
// assertion ends it early.

#include "calendar/text_settings.h"

namespace orvendale::testing {

class SavedTextSettings {
 public:
  SavedTextSettings() : saved_(textSettings) {}
  ~SavedTextSettings() { textSettings = saved_; }
  SavedTextSettings(const SavedTextSettings&) = delete;
  SavedTextSettings& operator=(const SavedTextSettings&) = delete;

 private:
  TextSettings saved_;
};

}  // namespace orvendale::testing
