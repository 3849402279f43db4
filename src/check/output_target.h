#pragma once
// Whether a run can write its picture where the settings send it.

#include <string>

#include "check/check_context.h"

namespace orvendale {

struct OutputTarget {
  bool writable = false;  // a run can write the picture there
  bool inPlace = false;   // only by rewriting the existing file in place
  std::string shownPath;  // the output path as the settings compose it
  std::string problem;    // why not, when not writable
};

OutputTarget JudgeOutput(const CheckContext& context);

}  // namespace orvendale
