// The output file: the path it resolves to, its folder missing or not writable, the file
// not writable. The same judgement decides the check's summary and exit code.

#include <string>

#include "check/checks.h"
#include "check/output_target.h"
#include "check/path_text.h"
#include "platform/system/output_file.h"

namespace orvendale {

OutputTarget JudgeOutput(const CheckContext& context) {
  OutputTarget target;
  const std::u16string& path = context.preview.outputPath;
  if (path.empty()) {
    target.problem = "the output path composed from [Image] Path and File is longer than 255 characters";
    return target;
  }
  target.shownPath = NarrowPath(path);
  // A run follows a symbolic link to the file it names: that file and its folder decide.
  std::string host = HostPath(path);
  std::string linked;
  switch (platform::FindOutputTarget(host.c_str(), &linked)) {
    case platform::OutputLinks::kFound:
      host = linked;
      break;
    case platform::OutputLinks::kLinkLoop:
      target.problem = "the output " + Quote(target.shownPath) + " is a symbolic link that leads round in a loop";
      return target;
    case platform::OutputLinks::kUnreachable:
      break;  // the facts of the path itself say why
  }
  const platform::FileFacts file = platform::QueryHostFile(host.c_str());
  const std::string folder = HostFolder(host);
  const std::string through =
      host == target.shownPath ? std::string() : " (where the link " + Quote(target.shownPath) + " leads)";
  const platform::FileFacts folderFacts = platform::QueryHostFile(folder.c_str());
  const bool folderWritable = folderFacts.kind == platform::FileKind::kFolder && folderFacts.writable;
  switch (file.kind) {
    case platform::FileKind::kFolder:
      target.problem = "the output " + Quote(target.shownPath) + " is a folder";
      return target;
    case platform::FileKind::kOther:
      target.problem = "the output " + Quote(target.shownPath) + " is not a regular file";
      return target;
    case platform::FileKind::kRegular:
      if (!file.writable) {
        target.problem = "the output file " + Quote(target.shownPath) + " is read-only: a run leaves it as it is";
        return target;
      }
      target.inPlace = !folderWritable;
      break;
    case platform::FileKind::kMissing:
      if (folderFacts.kind != platform::FileKind::kFolder) {
        target.problem = "the output folder " + Quote(folder) + through + " does not exist";
        return target;
      }
      if (!folderWritable) {
        target.problem = "the output folder " + Quote(folder) + through + " is not writable";
        return target;
      }
      break;
  }
  target.writable = true;
  return target;
}

void CheckOutput(const CheckContext& context, Report& report) {
  if (!context.preview.settingsLoaded) return;
  const OutputTarget target = JudgeOutput(context);
  int line = context.LineOf("Image", "File");
  if (line == 0) line = context.LineOf("Image", "Path");
  if (!target.writable) {
    report.Warn(line, target.problem + ": a run writes no picture");
  } else if (target.inPlace) {
    report.Note(line, "the output folder is not writable, but the file " + Quote(target.shownPath) +
                          " is: a run rewrites it in place");
  }
}

}  // namespace orvendale
