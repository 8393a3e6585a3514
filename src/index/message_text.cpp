#include "index/message_text.h"

#include "core/files.h"
#include "divide/line_recogniser.h"
#include "index/piece_reader.h"

namespace rkv {
namespace {

// 80-byte reads, except that the line feed of a line of exactly 80 bytes,
// which arrives alone after the full piece, ends that piece instead of showing
// as an empty line of its own.
class SlotReader {
 public:
  explicit SlotReader(Stream& stream) : reader_(stream, kSlotBytes) {}

  bool Next() {
    while (reader_.Next()) {
      std::string_view line = reader_.line();
      bool endsFullPiece = afterFullPiece_ && line == "\n";
      afterFullPiece_ = line.size() == kSlotBytes && line.back() != '\n';
      if (!endsFullPiece) return true;
    }
    return false;
  }
  std::string_view line() const { return reader_.line(); }

 private:
  PieceReader reader_;
  bool afterFullPiece_ = false;
};

class MessageSink {
 public:
  explicit MessageSink(std::vector<std::string>& lines) : lines_(lines) { lines_.clear(); }
  bool full() const { return lines_.size() >= kMessageSlots; }
  void Add(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    lines_.emplace_back(line);
  }
  int count() const { return static_cast<int>(lines_.size()); }

 private:
  std::vector<std::string>& lines_;
};

std::unique_ptr<Stream> OpenAt(std::string_view path, int64_t offset) {
  auto stream = OpenTextRead(path);
  if (!stream || offset < 1 || !stream->Seek(offset - 1, SEEK_SET)) return nullptr;
  return stream;
}

// A line that belongs to what follows the message, not to it.
bool EndsMessage(FindHeader& state, std::string_view line, int promptRule) {
  return IsServicePrompt(line, promptRule) != 0 || IsConferenceStart(line) ||
         ClassifyFull(state, line, 0) != 0 || IsMailEnd(line, promptRule);
}

}  // namespace

int ReadMessageText(std::string_view path, int64_t offset, int promptRule, std::vector<std::string>& lines) {
  MessageSink sink(lines);
  auto stream = OpenAt(path, offset);
  if (!stream) return 0;
  SlotReader reader(*stream);
  if (!reader.Next()) return 0;
  sink.Add(reader.line());
  FindHeader state(promptRule);
  while (!sink.full() && reader.Next()) {
    std::string_view line = reader.line();
    if (MorePromptTest(line)) {
      // The service paged the message; the reply to the paging prompt decides.
      sink.Add(line);
      if (sink.full() || !reader.Next() || IsEndReply(reader.line())) break;
      sink.Add(reader.line());
      continue;
    }
    if (ComposedAddresseeTest(line)) {
      // "SUB:" after an addressee starts a message the user composed.
      sink.Add(line);
      if (sink.full() || !reader.Next() || BeginsWith(reader.line(), "SUB:")) break;
      sink.Add(reader.line());
      continue;
    }
    if (EndsMessage(state, line, promptRule)) break;
    sink.Add(line);
  }
  return sink.count();
}

int ReadMessageForSearch(std::string_view path, const TitleNode& title, int promptRule,
                         std::vector<std::string>& lines) {
  MessageSink sink(lines);
  if (title.kind != LineKind::MessageHeader) return 0;
  auto stream = OpenAt(path, title.offset);
  if (!stream) return 0;
  SlotReader reader(*stream);
  if (!reader.Next()) return 0;
  sink.Add(reader.line());
  if (reader.Next()) sink.Add(reader.line());
  FindHeader state(promptRule);
  while (!sink.full() && reader.Next()) {
    std::string_view line = reader.line();
    if (IsEndReply(line) || IsServicePrompt(line, promptRule) != 0 || ClassifyFull(state, line, 0) != 0 ||
        IsConferencePrompt(line) || IsMailEnd(line, promptRule)) {
      break;
    }
    sink.Add(line);
  }
  return sink.count();
}

}  // namespace rkv
