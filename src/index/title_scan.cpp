#include "index/title_scan.h"

#include <new>
#include <string>

#include "core/cp932.h"
#include "divide/line_recogniser.h"
#include "index/header_parse.h"
#include "index/mail_title.h"
#include "index/piece_reader.h"

namespace rkv {

int ScanConferenceTitles(Stream& in, int64_t firstLine, std::vector<TitleNode>& titles, int64_t& lastLine) {
  PieceReader reader(in, kConferenceReadBytes);
  int64_t lineNo = firstLine - 1;
  try {
    while (titles.size() < static_cast<size_t>(kMaxTitles) && reader.Next()) {
      ++lineNo;
      if (!IsMessageHeader(reader.line())) continue;
      // The line after a header belongs to the message whatever it is.
      TitleNode node = HeaderTitle(reader.line(), reader.offset(), lineNo, std::nullopt);
      if (reader.Next()) {
        ++lineNo;
        node.commentTo = CommentReference(reader.line());
      }
      titles.push_back(node);
    }
  } catch (const std::bad_alloc&) {
    lastLine = lineNo;
    return -1;  // the titles found so far stay
  }
  lastLine = lineNo;
  return reader.failed() ? -1 : 0;
}

namespace {

// The scan of a split file that is not a conference file. Lines are numbered
// once, when the scan itself reads them; lines read ahead to build a title are
// read again afterwards.
class OtherScan {
 public:
  OtherScan(Stream& in, int promptRule, std::vector<TitleNode>& titles)
      : reader_(in, kOtherReadBytes), state_(promptRule), titles_(titles) {}

  int Run(int64_t& lastLine) {
    try {
      while (!Full() && Read()) Handle();
    } catch (const std::bad_alloc&) {
      lastLine = lineNo_;
      return -1;  // the titles found so far stay
    }
    lastLine = lineNo_;
    return reader_.failed() ? -1 : 0;
  }

 private:
  bool Full() const { return titles_.size() >= static_cast<size_t>(kMaxTitles); }
  bool Read() {
    if (!reader_.Next()) return false;
    ++lineNo_;
    return true;
  }
  void Add(const TitleNode& node) {
    if (!Full()) titles_.push_back(node);
  }
  TitleNode Here(int kind) const {
    TitleNode node;
    node.kind = static_cast<uint8_t>(kind);
    node.offset = reader_.offset();
    node.line = lineNo_;
    return node;
  }
  TitleNode WithText(TitleNode node, std::string_view text) const {
    SetTitleText(node, text);
    return node;
  }
  std::vector<std::string> ReadAhead(size_t n);

  void Handle();
  void PendingPrompt();
  void MessageHeader();
  void MailHeader();
  void Composed();
  void LibraryHeading();

  PieceReader reader_;
  FindHeader state_;
  std::vector<TitleNode>& titles_;
  MailState mail_;
  int64_t lineNo_ = 0;
};

std::vector<std::string> OtherScan::ReadAhead(size_t n) {
  int64_t resume = reader_.after();
  std::vector<std::string> lines;
  while (lines.size() < n && reader_.Next()) lines.emplace_back(reader_.line());
  reader_.Seek(resume);
  return lines;
}

std::string Heading(std::string_view title) { return std::string(15, ' ') + std::string(title); }

void OtherScan::Handle() {
  std::string_view line = reader_.line();
  int kind = ClassifyFull(state_, line, 0);
  if (kind == 0) kind = DateFieldTest(line);
  if (kind == 0) kind = FromFieldTest(line);
  switch (kind) {
    case LineKind::None:
      return;
    case LineKind::ConferencePrompt:
      return PendingPrompt();
    case LineKind::MessageHeader:
      return MessageHeader();
    case LineKind::MailHeader:
      return MailHeader();
    case LineKind::ComposedAddressee:
      return Composed();
    case LineKind::LibraryListHeading:
      return LibraryHeading();
    case LineKind::SentMailListHeading:
      return Add(WithText(Here(kind), Heading(SJ(" ＝＝＝ 送信メール リスト ＝＝＝"))));
    case LineKind::ReceivedMailListHeading:
      return Add(WithText(Here(kind), Heading(SJ(" ＝＝＝ 受信メール リスト ＝＝＝"))));
    case LineKind::RemittanceListHeading:
      return Add(WithText(Here(kind), Heading(SJ(" ＝＝＝ ＳＷ送金者 リスト ＝＝＝"))));
    case LineKind::DateField:
      return ParseDateField(line, mail_);
    case LineKind::FromField:
      return ParseFromField(line, mail_);
    default:
      return Add(WithText(Here(kind), line));
  }
}

// A prompt becomes an entry only when a message header follows it; another
// prompt replaces it, and any other line drops it (that line is used up).
void OtherScan::PendingPrompt() {
  TitleNode prompt = WithText(Here(LineKind::ConferencePrompt), reader_.line());
  while (Read()) {
    std::string_view line = reader_.line();
    if (IsConferencePrompt(line)) {
      prompt = WithText(Here(LineKind::ConferencePrompt), line);
      continue;
    }
    if (IsMessageHeader(line)) {
      Add(prompt);
      TitleNode header = HeaderTitle(line, reader_.offset(), lineNo_, std::nullopt);
      if (Read()) header.commentTo = CommentReference(reader_.line());
      Add(header);
    }
    return;
  }
}

// Outside conference files a header counts only with its date line after it.
void OtherScan::MessageHeader() {
  TitleNode header = HeaderTitle(reader_.line(), reader_.offset(), lineNo_, std::nullopt);
  if (!Read() || !DateLineTest(reader_.line())) return;
  header.commentTo = CommentReference(reader_.line());
  Add(header);
}

void OtherScan::MailHeader() {
  std::string line(reader_.line());
  TitleNode node = Here(LineKind::MailHeader);
  if (BeginsWith(line, "Subject:")) {
    Add(WithText(node, SubjectTitle(line, ReadAhead(5), mail_)));
  } else if (IsMailHeaderShapeA(line)) {
    std::vector<std::string> next = ReadAhead(1);
    Add(WithText(node, MailListTitle(line, next.empty() ? std::string_view() : next[0])));
  } else {
    Add(WithText(node, line));
  }
}

void OtherScan::Composed() {
  std::string line(reader_.line());
  TitleNode node = Here(LineKind::ComposedAddressee);
  std::vector<std::string> following = ReadAhead(5);
  if (following.empty() || !BeginsWith(following[0], "SUB:")) return;
  Add(WithText(node, ComposedTitle(line, following)));
}

void OtherScan::LibraryHeading() {
  TitleNode node = Here(LineKind::LibraryListHeading);
  std::vector<std::string> next = ReadAhead(1);
  if (next.empty() || !LibraryListLineTest(next[0])) return;
  Add(WithText(node, Heading(SJ(" ＝＝＝ ライブラリ リスト ＝＝＝"))));
}

}  // namespace

int ScanOtherTitles(Stream& in, int promptRule, std::vector<TitleNode>& titles, int64_t& lastLine) {
  return OtherScan(in, promptRule, titles).Run(lastLine);
}

int LoadOtherTitles(TitleInfo& table, std::string_view path, int promptRule) {
  std::vector<TitleNode> titles;
  int64_t lastLine = 0;
  auto in = OpenTextRead(path);
  int rc = in ? ScanOtherTitles(*in, promptRule, titles, lastLine) : -1;
  table.fileSize = in ? in->Size() : 0;
  table.lineCount = lastLine;
  table.Assign(std::move(titles));
  return rc;
}

}  // namespace rkv
