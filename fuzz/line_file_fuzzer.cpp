// The line file over arbitrary file bytes, read with arbitrary capacities, narrow and
// wide. The input's first bytes choose the reads (kind and capacity); the rest is the
// file. Each narrow line must be what splitting the file's UTF-8 twin at CR LF, LF and CR
// and cutting each line to capacity - 1 bytes gives; each wide line must be terminated
// within its capacity and never end in half a surrogate pair. The twin of a file with a
// UTF-8 mark is the file without it; of a UTF-16 file (by its mark), the text converted
// here unit by unit, U+FFFD for what is no character; of any other file, the file.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "settings/line_file.h"

namespace orvendale {
namespace {

using fuzzing::Check;

// The file's lines as a reader should see them, line ends removed.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\n' || c == '\r') {
      lines.push_back(line);
      line.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line.push_back(c);
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

void PutUtf8(char32_t c, std::string* out) {
  if (c < 0x80) {
    out->push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out->push_back(static_cast<char>(0xC0 | c >> 6));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | c >> 12));
    out->push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | c >> 18));
    out->push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::string Utf8Twin(const std::string& file) {
  const auto starts = [&](const char* mark) { return file.rfind(mark, 0) == 0; };
  if (starts("\xEF\xBB\xBF")) return file.substr(3);
  const bool little = starts("\xFF\xFE");
  if (!little && !starts("\xFE\xFF")) return file;
  std::vector<char32_t> units;
  for (std::size_t i = 2; i + 1 < file.size(); i += 2) {
    const auto a = static_cast<unsigned char>(file[i]);
    const auto b = static_cast<unsigned char>(file[i + 1]);
    units.push_back(little ? char32_t{b} << 8 | a : char32_t{a} << 8 | b);
  }
  std::string text;
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char32_t unit = units[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      PutUtf8(0x10000 + ((unit - 0xD800) << 10) + (units[++i] - 0xDC00), &text);
    } else {
      PutUtf8(unit >= 0xD800 && unit <= 0xDFFF ? 0xFFFD : unit, &text);
    }
  }
  if (file.size() % 2 != 0) PutUtf8(0xFFFD, &text);  // the odd last byte
  return text;
}

constexpr int kReadPlanBytes = 8;

}  // namespace
}  // namespace orvendale

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orvendale;
  if (size < kReadPlanBytes) return 0;
  const std::uint8_t* plan = data;
  const std::string content(reinterpret_cast<const char*>(data + kReadPlanBytes), size - kReadPlanBytes);
  const std::string hostPath = fuzzing::Scratch().Path("lines.txt");
  fuzzing::WriteHostFile(hostPath, data + kReadPlanBytes, size - kReadPlanBytes);
  const std::u16string path = fuzzing::PlatformPath(hostPath);

  const std::vector<std::string> expected = SplitLines(Utf8Twin(content));
  LineFile file;
  Check(file.Open(path.c_str(), LineFileMode::ReadExisting) == S_OK);
  std::size_t line = 0;
  for (int read = 0;; ++read) {
    // Bit 7 picks a wide read; the low bits a capacity of 0..127, or 128..639 in steps
    // of 4 when bit 6 is set. Capacities of 0 must be refused without reading.
    const std::uint8_t step = plan[read % kReadPlanBytes];
    const bool wide = (step & 0x80) != 0;
    const int capacity = (step & 0x40) != 0 ? 128 + (step & 0x3F) * 8 : step & 0x3F;
    if (capacity < 1) {
      Check(wide ? file.ReadWideLine(nullptr, 4) == E_FAIL : file.ReadLine(nullptr, 4) == E_FAIL);
      char16_t wideUnused[1] = {u'#'};
      char narrowUnused[1] = {'#'};
      Check(wide ? file.ReadWideLine(wideUnused, capacity) == E_FAIL
                 : file.ReadLine(narrowUnused, capacity) == E_FAIL);
      Check(wideUnused[0] == u'#' && narrowUnused[0] == '#');
      if (read > 4 * kReadPlanBytes && line == 0) return 0;  // a plan of refusals only
      continue;
    }
    // Exactly `capacity` units, so that a write past them is caught.
    HResult status;
    if (wide) {
      std::vector<char16_t> out(static_cast<std::size_t>(capacity), u'#');
      status = file.ReadWideLine(out.data(), capacity);
      if (status == S_OK) {
        const char16_t* end = std::char_traits<char16_t>::find(out.data(), out.size(), 0);
        Check(end != nullptr);
        const std::size_t length = static_cast<std::size_t>(end - out.data());
        if (length > 0) Check(out[length - 1] < 0xD800 || out[length - 1] > 0xDBFF);
      }
    } else {
      std::vector<char> out(static_cast<std::size_t>(capacity), '#');
      status = file.ReadLine(out.data(), capacity);
      if (status == S_OK) {
        Check(line < expected.size());
        const std::string cut = expected[line].substr(0, static_cast<std::size_t>(capacity - 1));
        Check(std::memcmp(out.data(), cut.data(), cut.size()) == 0);
        Check(out[cut.size()] == 0);
      }
    }
    if (status != S_OK) {
      Check(line == expected.size());
      break;
    }
    ++line;
  }
  Check(file.ReadLine(std::vector<char>(4).data(), 4) == E_FAIL);
  return 0;
}
