// Every line recogniser and both classifiers on arbitrary lines.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "divide/line_recogniser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace rkv;
  std::string_view all(reinterpret_cast<const char*>(data), size);
  FindHeader state;
  while (!all.empty()) {
    size_t end = all.find('\n');
    std::string_view line = all.substr(0, end == std::string_view::npos ? all.size() : end + 1);
    all.remove_prefix(line.size());
    ClassifyBlock(state, line);
    for (int mode : {0, 1, 5, 7}) ClassifyFull(state, line, mode);
    for (int rule : {0, 1, 2}) {
      IsServicePrompt(line, rule);
      IsMailEnd(line, rule);
    }
    IsEndReply(line);
    IsConferenceStart(line);
    IsMaskedId(line, line.size() > 10 ? 10 : 0);
    DateLineTest(line);
    MorePromptTest(line);
    LibraryListLineTest(line);
  }
  return 0;
}
