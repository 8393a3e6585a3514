#include "tools/message_output.h"

#include <string.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>

#include "core/command_line.h"
#include "core/cp932.h"
#include "core/files.h"
#include "core/paths.h"
#include "core/sjis.h"
#include "divide/line_recogniser.h"
#include "index/message_text.h"
#include "settings/settings.h"

namespace rkv {
namespace {

constexpr size_t kSearchPieceBytes = 79;
// The most bytes of the file a message's reading can cover: 300 pieces of 79
// characters, each with the CR of its line end.
constexpr int64_t kMessageSpan = static_cast<int64_t>(kMessageSlots) * (kSearchPieceBytes + 1);
// More hits than this and every message is read anyway.
constexpr size_t kMaxHits = 1 << 20;

const std::string& SearchCaption() { return SJ("■キーワード検索"); }

// Opens a file for appending, creating it when missing.
std::unique_ptr<Stream> OpenForAppend(std::string_view path) {
  if (path.empty()) return nullptr;
  auto out = OpenTextUpdate(path);
  if (out && !out->Seek(0, SEEK_END)) return nullptr;
  return out;
}

bool WriteLines(Stream& out, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    if (!out.Write(line) || !out.Write("\n")) return false;
  }
  return true;
}

// The search's reading of one message: pieces of at most 79 bytes that keep
// their line feeds, so the pieces joined are the message's text. Keywords are
// tested on whole physical lines, so one that a piece boundary cuts is found.
class SearchReader {
 public:
  SearchReader(Stream& in, int promptRule, std::string_view key1, std::string_view key2)
      : in_(in), promptRule_(promptRule), key1_(key1), key2_(key2) {}

  // Reads the message at the title; true when one of its lines holds a keyword.
  bool Read(const TitleNode& title) {
    text_.clear();
    matched_ = false;
    if (title.offset < 1 || !in_.Seek(title.offset - 1, SEEK_SET)) return false;
    FindHeader state(promptRule_);
    size_t lineStart = 0;
    for (size_t pieces = 0; pieces < kMessageSlots && in_.Gets(piece_, kSearchPieceBytes + 1); ++pieces) {
      if (pieces >= 2 && EndsMessage(state)) break;
      text_ += piece_;
      if (piece_.back() == '\n') {
        TestLine(lineStart, text_.size() - 1);
        lineStart = text_.size();
      }
    }
    if (lineStart < text_.size()) TestLine(lineStart, text_.size());
    return matched_;
  }
  const std::string& text() const { return text_; }

 private:
  bool EndsMessage(FindHeader& state) const {
    return IsEndReply(piece_) || IsServicePrompt(piece_, promptRule_) != 0 || ClassifyFull(state, piece_, 5) != 0 ||
           IsConferenceStart(piece_) || IsMailEnd(piece_, promptRule_);
  }
  void TestLine(size_t from, size_t to) {
    if (matched_) return;
    std::string_view line(text_.data() + from, to - from);
    matched_ = (!key1_.empty() && ContainsKeyword(line, key1_)) || (!key2_.empty() && ContainsKeyword(line, key2_));
  }

  Stream& in_;
  int promptRule_;
  std::string_view key1_, key2_;
  std::string piece_;
  std::string text_;
  bool matched_ = false;
};

// Where the keywords occur in the file's bytes, in order, so that only the
// messages that can hold one are read line by line. Nothing when the hits are
// too many to help or a keyword holds a line end (text reading changes those).
std::optional<std::vector<int64_t>> KeywordHits(std::string_view path, std::string_view key1,
                                                std::string_view key2) {
  std::vector<std::string_view> keys;
  for (std::string_view k : {key1, key2}) {
    if (k.find_first_of("\r\n") != std::string_view::npos) return std::nullopt;
    if (!k.empty()) keys.push_back(k);
  }
  auto in = Stream::Open(path, "rb");
  if (!in || keys.empty()) return std::nullopt;
  size_t keep = std::max(keys[0].size(), keys.back().size()) - 1;
  std::vector<int64_t> hits;
  std::string buf(1 << 20, '\0');
  size_t held = 0;     // bytes carried over from the previous block
  int64_t base = 0;    // file offset of buf[0]
  for (;;) {
    size_t got = in->Read(buf.data() + held, buf.size() - held);
    size_t size = held + got;
    for (std::string_view k : keys) {
      const char* p = buf.data();
      const char* end = buf.data() + size;
      while (auto hit = static_cast<const char*>(memmem(p, static_cast<size_t>(end - p), k.data(), k.size()))) {
        // A hit wholly inside the carried-over bytes was found in the last block.
        if (static_cast<size_t>(hit - buf.data()) + k.size() > held) hits.push_back(base + (hit - buf.data()));
        if (hits.size() > kMaxHits) return std::nullopt;
        p = hit + 1;
      }
    }
    if (got == 0) break;
    size_t carry = std::min(keep, size);
    std::memmove(buf.data(), buf.data() + size - carry, carry);
    base += static_cast<int64_t>(size - carry);
    held = carry;
  }
  if (in->Failed()) return std::nullopt;
  // Each keyword's hits come in file order; two keywords' need merging.
  if (keys.size() > 1) std::sort(hits.begin(), hits.end());
  return hits;
}

// Whether a hit lies where the message starting at start can reach.
bool MayHold(const std::vector<int64_t>& hits, int64_t start) {
  auto it = std::lower_bound(hits.begin(), hits.end(), start);
  return it != hits.end() && *it < start + kMessageSpan;
}

}  // namespace

SearchKeys& LastSearchKeys() {
  static SearchKeys keys;
  return keys;
}

std::string TrimKeyword(std::string_view key) {
  size_t end = key.find_last_not_of(' ');
  if (end == std::string_view::npos) return {};
  key = key.substr(0, end + 1);
  return std::string(key.substr(key.find_first_not_of(' ')));
}

bool ContainsKeyword(std::string_view text, std::string_view key) {
  if (key.empty()) return false;
  size_t boundary = 0;  // a known character start at or before the next candidate
  for (size_t at = text.find(key); at != std::string_view::npos; at = text.find(key, at + 1)) {
    while (boundary < at) boundary += IsLeadByteValue(static_cast<unsigned char>(text[boundary])) ? 2 : 1;
    if (boundary == at) return true;
  }
  return false;
}

std::string PathInFolder(std::string_view folder, std::string_view name) {
  if (name.empty() || name[0] == '/') return std::string(name);
  return PathJoin(folder, name);
}

ToolOutcome OutputMessages(const ViewedFile& file, const std::vector<int>& titleIndices, const RKVcfg& cfg, Host& host) {
  OpenFileRequest request;
  request.title = SJ("出力ファイル名");
  request.filters = {{SJ("すべてのﾌｧｲﾙ (*.*)"), "*.*"}};
  request.initialDirectory = cfg.EtcDir;
  request.mustExist = false;
  std::optional<std::string> chosen = host.AskOpenFile(request);
  if (!chosen) return ToolOutcome::Cancelled;
  bool written = false;
  if (auto out = OpenForAppend(PathInFolder(cfg.EtcDir, *chosen))) {
    written = true;
    std::vector<std::string> lines;
    for (int index : titleIndices) {
      ReadMessageText(file.path, file.titles->title(index).offset, file.promptRule, lines);
      if (!WriteLines(*out, lines)) break;
    }
    written = out->Close() && written;
  }
  // A file that would not open is told as well: the user chose it and would
  // otherwise look for output that was never written.
  host.Message(written ? SJ("ファイル出力を終了しました(^_^)") : SJ("ファイル出力に失敗しました！"), SJ("出力ファイル名"),
               Buttons::Ok);
  return written ? ToolOutcome::Done : ToolOutcome::Failed;
}

int WriteMatchingMessages(const ViewedFile& file, std::string_view key1, std::string_view key2,
                          std::string_view outPath) {
  auto in = OpenTextRead(file.path);
  if (!in || outPath.empty()) return -1;
  // Emptying the viewed file would lose it before it is read.
  std::optional<FileId> viewed = FileIdOf(file.path);
  if (viewed && FileIdOf(outPath) == viewed) return -1;
  auto out = Stream::Open(outPath, "wt");
  if (!out) return -1;
  std::optional<std::vector<int64_t>> hits = KeywordHits(file.path, key1, key2);
  SearchReader reader(*in, file.promptRule, key1, key2);
  int count = 0;
  for (int i = 0; i < file.titles->count(); ++i) {
    const TitleNode& title = file.titles->title(i);
    if (title.kind != LineKind::MessageHeader || (hits && !MayHold(*hits, title.offset - 1))) continue;
    if (!reader.Read(title)) continue;
    ++count;
    if (!out->Write(reader.text())) break;
  }
  out->Close();
  return count;
}

ToolOutcome SearchMessages(const ViewedFile& file, const RKVcfg& cfg, Host& host) {
  SearchKeys& keys = LastSearchKeys();
  if (!host.SearchKeyDlg(keys)) return ToolOutcome::Cancelled;
  keys.key1 = TrimKeyword(keys.key1);
  keys.key2 = TrimKeyword(keys.key2);
  if (keys.key1.empty() && keys.key2.empty()) {
    host.Message(SJ("検索キーワードが未入力です"), SearchCaption(), Buttons::Ok);
    return ToolOutcome::Failed;
  }
  int count;
  {
    WaitCursor wait(host);
    count = WriteMatchingMessages(file, keys.key1, keys.key2, PathInFolder(cfg.EtcDir, keys.outFile));
  }
  if (count < 0) {
    host.Message(SJ("ファイルオープン失敗"), SearchCaption(), Buttons::Ok);
    return ToolOutcome::Failed;
  }
  char text[64];
  std::snprintf(text, sizeof text, SJ("%d 個の発言を出力しました").c_str(), count);
  host.Message(text, SearchCaption(), Buttons::Ok);
  return ToolOutcome::Done;
}

std::string ClipboardText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

void EditMessageCopy(const std::vector<std::string>& lines, const RKVcfg& cfg, Host& host) {
  std::string path = PathJoin(cfg.EtcDir, "RKVTEMP.$$$");
  auto out = OpenForAppend(path);
  if (!out) return;
  WriteLines(*out, lines);
  out->Close();
  host.Launch(FirstWord(cfg.Editor) + " " + CommandWord(path));
}

}  // namespace rkv
