#include "tools/pad_composer.h"

#include <cstdio>

#include "core/command_line.h"
#include "core/cp932.h"
#include "core/files.h"
#include "core/paths.h"
#include "core/sjis.h"
#include "divide/line_recogniser.h"
#include "settings/settings.h"
#include "tools/conference_split_sort.h"
#include "tools/message_output.h"

namespace rkv {
namespace {

// Field sizes of the header record.
constexpr size_t kForumBytes = 11, kIdBytes = 8, kHandleBytes = 20, kConferenceBytes = 2, kNumberBytes = 5,
                 kTitleBytes = 49;
constexpr size_t kPadNameBytes = 79;
constexpr int kMaxSignatureBlanks = 80;

std::string Cut(std::string text, size_t bytes) {
  if (text.size() > bytes) FitWidth(text, static_cast<int>(bytes));
  return text;
}

std::string_view From(std::string_view line, size_t col) { return col < line.size() ? line.substr(col) : ""; }

// The word at col: up to the next blank.
std::string WordAt(std::string_view line, size_t col) { return CopyField(From(line, col), ' '); }

// Where a character-aware search finds needle, or npos.
size_t FindCharacter(std::string_view text, std::string_view needle) {
  for (size_t i = 0; i < text.size(); i += IsLeadByteValue(static_cast<unsigned char>(text[i])) ? 2 : 1) {
    if (text.substr(i, needle.size()) == needle) return i;
  }
  return std::string_view::npos;
}

// The forum of a bracketed room line: after its first "＞", the word that
// starts with the first "F" (else "S").
std::string ForumOfRoomLine(std::string_view text) {
  size_t mark = FindCharacter(text, SJ("＞"));
  if (mark == std::string_view::npos) return {};
  std::string_view rest = text.substr(mark + SJ("＞").size());
  size_t at = FindCharacter(rest, "F");
  if (at == std::string_view::npos) at = FindCharacter(rest, "S");
  return at == std::string_view::npos ? std::string() : WordAt(rest, at);
}

std::string ForumName(const PadSource& source) {
  if (source.fileType == 1) {
    std::string forum;
    if (!source.status.empty() && source.status[0] == '-') forum = WordAt(source.status, 2);
    if (forum.empty()) forum = CopyField(FileNamePart(source.path), '.');
    return forum;
  }
  if (source.fileType != 0 || !source.titles) return {};
  for (int i = std::min(source.titleIndex, source.titles->count() - 1); i >= 0; --i) {
    const TitleNode& node = source.titles->title(i);
    if (node.kind == LineKind::BracketedRoomLine) return ForumOfRoomLine(node.Text());
    if (node.kind == LineKind::ConferencePrompt) return WordAt(node.Text(), 2);
  }
  return {};
}

// Writes what the template makes, remembering whether the text so far ends
// with a line feed.
class PadWriter {
 public:
  explicit PadWriter(Stream& out) : out_(out) {}
  bool Write(std::string_view bytes) {
    if (failed_ || bytes.empty()) return !failed_;
    failed_ = !out_.Write(bytes);
    endsLine_ = bytes.back() == '\n';
    return !failed_;
  }
  bool failed() const { return failed_; }
  bool endsLine() const { return endsLine_; }

 private:
  Stream& out_;
  bool failed_ = false;
  bool endsLine_ = true;
};

// Copies a text file into the draft as it is; a file that does not open adds nothing.
void InsertFile(PadWriter& writer, std::string_view path) {
  auto in = OpenTextRead(path);
  if (!in) return;
  char buf[4096];
  while (size_t got = in->Read(buf, sizeof buf)) {
    if (!writer.Write(std::string_view(buf, got))) return;
  }
}

const std::string& PadTemplateOf(const RKVcfg& cfg, int slot) {
  const std::string& set = slot == 1 ? cfg.PadSay : slot == 2 ? cfg.PadRes : cfg.PadMail;
  if (!set.empty()) return set;
  return slot == 1 ? DefaultPadSay() : slot == 2 ? DefaultPadRes() : DefaultPadMail();
}

}  // namespace

PadFields PadHeaderFields(const PadSource& source) {
  PadFields f;
  f.forum = Cut(ForumName(source), kForumBytes);
  const std::vector<std::string>& lines = *source.message;
  std::string_view l1 = lines.empty() ? "" : std::string_view(lines[0]);
  std::string_view l2 = lines.size() < 2 ? "" : std::string_view(lines[1]);
  bool conference = source.titles && source.titleIndex >= 0 && source.titleIndex < source.titles->count() &&
                    source.titles->title(source.titleIndex).kind == LineKind::MessageHeader;
  if (conference) {
    bool wide = l1.size() > 5 && l1[5] == '/';
    size_t idCol = wide ? 12 : 10, handleCol = wide ? 22 : 20, titleCol = wide ? 39 : 38;
    f.number = Cut(std::to_string(MessageNumberOf(l1)), kNumberBytes);
    f.id = Cut(WordAt(l1, idCol), kIdBytes);
    f.handle = Cut(FullSpaceToBlanks(From(l1, handleCol), 16), kHandleBytes);
    f.title = Cut(std::string(From(l1, titleCol)), kTitleBytes);
    f.conference = Cut(std::to_string(ParseDecimal(From(l2, 1))), kConferenceBytes);
  } else {
    f.handle = Cut(WordAt(l1, 4), kHandleBytes);
    f.id = Cut(WordAt(l1, 22), kIdBytes);
    f.title = Cut(WordAt(l2, 10), kTitleBytes);
  }
  return f;
}

std::string ExpandSignature(std::string_view sign, const Date& date, const TimeOfDay& time) {
  std::string out;
  char buf[32];
  for (size_t i = 0; i < sign.size(); ++i) {
    if (sign[i] != '%') {
      out.push_back(sign[i]);
      continue;
    }
    if (++i >= sign.size()) break;
    switch (sign[i]) {
      case 'C':
      case 'c':
        out.push_back('\n');
        break;
      case 'D':
      case 'd':
        std::snprintf(buf, sizeof buf, "%02d/%02d/%02d", date.year, date.month, date.day);
        out += buf;
        break;
      case 'T':
      case 't':
        std::snprintf(buf, sizeof buf, "%02d:%02d", time.hour, time.minute);
        out += buf;
        break;
      case 'S':
      case 's': {
        std::string_view digits = sign.substr(i + 1, 2);
        i += digits.size();
        int n = ParseDecimal(digits);
        if (n > 0 && n <= kMaxSignatureBlanks) out.append(static_cast<size_t>(n), ' ');
        break;
      }
      default:
        break;
    }
  }
  return out;
}

bool ExpandPadTemplate(std::string_view padTemplate, const PadFields& fields, const std::vector<std::string>& message,
                       const RKVcfg& cfg, const Date& date, const TimeOfDay& time, Stream& out) {
  PadWriter writer(out);
  std::string line;
  auto flush = [&] {
    writer.Write(line);
    line.clear();
  };
  auto body = [&](std::string_view quote) {
    flush();
    for (size_t i = 2; i < message.size(); ++i) {
      writer.Write(quote);
      writer.Write(message[i]);
      writer.Write("\n");
    }
  };
  for (size_t i = 0; i < padTemplate.size() && !writer.failed(); ++i) {
    char c = padTemplate[i];
    if (c != '%') {
      line.push_back(c);
      continue;
    }
    if (++i >= padTemplate.size()) break;
    switch (padTemplate[i]) {
      case 'C':
      case 'c':
        line.push_back('\n');
        flush();
        break;
      case 'F':
      case 'f':
        line += fields.forum;
        break;
      case 'I':
      case 'i':
        line += fields.id;
        break;
      case 'H':
      case 'h':
        line += fields.handle;
        break;
      case 'M':
      case 'm':
        line += fields.conference;
        break;
      case 'N':
      case 'n':
        line += fields.number;
        break;
      case 'T':
      case 't':
        line += fields.title;
        break;
      case 'S':
      case 's':
        body("");
        break;
      case 'U':
      case 'u':
        body(cfg.PadQuot);
        break;
      case 'A':
      case 'a':
        flush();
        writer.Write(ExpandSignature(cfg.PadSign, date, time));
        break;
      case 'R':
      case 'r': {
        flush();
        size_t close = std::string_view::npos;
        if (i + 1 < padTemplate.size() && padTemplate[i + 1] == '"') close = padTemplate.find('"', i + 2);
        if (close == std::string_view::npos) break;  // reading goes on after the R
        std::string_view name = padTemplate.substr(i + 2, close - i - 2);
        if (!name.empty()) InsertFile(writer, PathInFolder(cfg.PadDir, name));
        i = close;
        break;
      }
      default:
        break;
    }
  }
  if (!line.empty()) line.push_back('\n');
  flush();
  if (!writer.endsLine()) writer.Write("\n");
  return !writer.failed();
}

bool ComposePad(const PadSource& source, int slot, const RKVcfg& cfg, Host& host) {
  const std::vector<std::string>& message = *source.message;
  std::string_view first = message.empty() ? "" : std::string_view(message[0]);
  bool header = IsMessageHeader(first);
  if (slot == 3 ? !(header || MailHeaderTest(first) != 0) : !header) {
    const std::string& caption = slot == 1 ? SJ("PAD: 発言") : slot == 2 ? SJ("PAD: レス") : SJ("PAD: メール返信");
    host.Message(slot == 3 ? SJ("ＰＡＤ(返信ﾒｰﾙ)作成機能は会議室発言またはメール対してのみ有効です")
                           : SJ("ＰＡＤ(発言、レス)作成機能は会議室発言に対してのみ有効です"),
                 caption, Buttons::Ok, BoxIcon::Information);
    return false;
  }
  PadFields fields = PadHeaderFields(source);
  std::string proposal = PathJoin(cfg.PadDir, cfg.PadName);
  // A proposed path longer than the field would be cut into another file's name.
  std::optional<std::string> name =
      host.AskText(SJ("ＰＡＤ作成"), SJ("出力ファイル名を入力して下さい"), proposal, std::max(kPadNameBytes, proposal.size()));
  if (!name) return false;
  std::string path = PathInFolder(cfg.PadDir, *name);
  auto out = path.empty() ? nullptr : OpenTextUpdate(path);
  if (!out || !out->Seek(0, SEEK_END)) {
    host.Message(SJ("ファイル名指定エラー"), SJ("ＰＡＤ作成"), Buttons::Ok);
    return false;
  }
  bool written = ExpandPadTemplate(PadTemplateOf(cfg, slot), fields, message, cfg, host.Today(), host.Now(), *out);
  written = out->Close() && written;
  // The editor still opens on what was written.
  host.Launch(FirstWord(cfg.Editor) + " " + CommandWord(path));
  return written;
}

}  // namespace rkv
