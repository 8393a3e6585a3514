// The message tools on hostile input: a conference file searched for two
// keywords, and a PAD template expanded over a message. The input holds the
// lengths of the keywords and the template in its first three bytes, then
// those texts, then the conference file (also the message's lines).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/files.h"
#include "fuzz/fuzz_support.h"
#include "index/title_file.h"
#include "index/title_info.h"
#include "settings/settings.h"
#include "tools/message_output.h"
#include "tools/pad_composer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace rkv;
  if (size < 3) return 0;
  std::string_view in(reinterpret_cast<const char*>(data) + 3, size - 3);
  auto take = [&in](size_t n) {
    std::string_view part = in.substr(0, std::min(n, in.size()));
    in.remove_prefix(part.size());
    return part;
  };
  std::string_view key1 = take(data[0] % 12), key2 = take(data[1] % 12), padTemplate = take(data[2] % 96);
  std::filesystem::path root = fuzz::Scratch();
  std::string conference = (root / "ROOM.CNF").string();
  fuzz::WriteBytes(conference, in);

  TitleInfo titles;
  LoadConferenceTitles(titles, conference, (root / "ROOM.TTL").string(), nullptr);
  int headers = 0;
  for (int i = 0; i < titles.count(); ++i) headers += titles.title(i).kind == 16;
  int count = WriteMatchingMessages(ViewedFile{conference, &titles, 1}, TrimKeyword(key1), TrimKeyword(key2),
                                    (root / "FOUND.TXT").string());
  if (count > headers) __builtin_trap();

  // The message: the file's first lines, 80 bytes at most each.
  std::vector<std::string> message;
  for (size_t at = 0; at < in.size() && message.size() < 300;) {
    size_t end = std::min(in.find('\n', at), in.size());
    message.emplace_back(in.substr(at, std::min<size_t>(end - at, 80)));
    at = end + 1;
  }
  RKVcfg cfg;
  cfg.PadDir = root.string();
  cfg.PadQuot = ">";
  cfg.PadSign = std::string(key1) + "%S05%D%T%C";
  PadFields fields{"F", "ABC12345", "handle", "5", "123", "title"};
  std::string pad = (root / "PAD").string();
  {
    auto out = Stream::Open(pad, "wt");
    if (!out) return 0;
    ExpandPadTemplate(padTemplate, fields, message, cfg, Date{1997, 3, 5}, TimeOfDay{9, 7}, *out);
    out->Close();
  }
  // Whatever the template, a draft that says anything ends its last line.
  std::optional<std::string> text = ReadWholeFile(pad);
  if (text && !text->empty() && text->back() != '\n') __builtin_trap();
  return 0;
}
