#include "tools/conference_split_sort.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <new>
#include <vector>

#include "core/cp932.h"
#include "core/files.h"
#include "core/sjis.h"
#include "divide/line_recogniser.h"

namespace rkv {
namespace {

// Lines are copied whole: a line cut in pieces could lose its line feed and
// join the next header, and a cut message end would be lost.
constexpr size_t kWholeLine = std::numeric_limits<size_t>::max();

const std::string& TextNoMemory() { return SJ("メモリ不足で実行できません"); }
const std::string& TextDone() { return SJ("正常に終了しました"); }
const std::string& TextWriteError() { return SJ("ファイル書き込み中にエラーが発生しました"); }
const std::string& SplitCaption() { return SJ("会議室ファイル二分割"); }
const std::string& SplitQuestion() {
  return SJ("会議室ファイルを反転行位置で２分割します\n(元のファイルは残して新たに２ファイルを出力)\n\n  実行してもよろしいですか？");
}
const std::string& ConferenceOnly() { return SJ("この機能は会議室ファイルに対してのみ有効です"); }
const std::string& SortCaption() { return SJ("会議室ファイル並べ替え"); }
const std::string& SortQuestion() {
  return SJ("発言を発言番号順に並べ替えます\n番号が重複した場合、先に見つけた発言のみ出力します\n\n  実行してもよろしいですか？");
}

// Creates the next free output file; never opens one that exists.
std::unique_ptr<Stream> CreateOutput(const ConferenceJob& job) {
  std::optional<std::string> name = FreeOutputName(job.path);
  if (!name) return nullptr;
  auto out = Stream::Open(*name, "wtx");
  if (out && job.created) job.created(*name);
  return out;
}

// Told after the wait cursor has gone.
int Finish(Host& host, bool ok, const std::string& caption) {
  host.Message(ok ? TextDone() : TextWriteError(), caption, Buttons::Ok,
               ok ? BoxIcon::Information : BoxIcon::Error);
  return ok ? 0 : -1;
}

}  // namespace

int MessageNumberOf(std::string_view text) {
  if (text.substr(0, 3) == "No.") return NumberPrefix(text.substr(std::min<size_t>(4, text.size())), 11);
  return NumberPrefix(text, 11);
}

std::optional<std::string> FreeOutputName(std::string_view source) {
  std::string name = UniqueName(source, 0);
  // UniqueName leaves the last name when every one exists.
  if (PathExists(name)) return std::nullopt;
  return name;
}

int SplitConference(const ConferenceJob& job, Host& host) {
  if (host.Message(SplitQuestion(), SplitCaption(), Buttons::YesNo, BoxIcon::Warning) != Answer::Yes) return -2;
  if (!job.titles || job.cursorTitle < 0 || job.cursorTitle >= job.titles->count()) return -1;
  const int64_t start = job.titles->title(job.cursorTitle).offset - 1;
  auto source = OpenTextRead(job.path);
  std::unique_ptr<Stream> first = source ? CreateOutput(job) : nullptr;
  if (!first) return Finish(host, false, SplitCaption());

  bool ok = true;
  {
    WaitCursor wait(host);
    std::string line;
    std::string prompt;
    // Checked before each read, so a cursor message at byte 0 leaves the first file empty.
    while (ok && source->Tell() < start && source->Gets(line, kWholeLine)) {
      ok = first->Write(line);
      if (IsConferencePrompt(line)) prompt = line;
    }
    ok = !source->Failed() && first->Close() && ok;
    std::unique_ptr<Stream> second = ok ? CreateOutput(job) : nullptr;
    ok = ok && second && source->Seek(start, SEEK_SET);
    if (ok && job.conference && !prompt.empty()) ok = second->Write(prompt);
    while (ok && source->Gets(line, kWholeLine)) ok = second->Write(line);
    ok = ok && !source->Failed() && second->Close();
  }
  return Finish(host, ok, SplitCaption());
}

int SortConference(const ConferenceJob& job, Host& host) {
  if (!job.conference) {
    host.Message(ConferenceOnly(), SortCaption(), Buttons::Ok, BoxIcon::Warning);
    return -1;
  }
  if (host.Message(SortQuestion(), SortCaption(), Buttons::YesNo, BoxIcon::Warning) != Answer::Yes) return -2;
  struct Entry {
    int number;
    int64_t start;
  };
  std::vector<Entry> table;
  const int count = job.titles ? std::min(job.titles->count(), kMaxTitles) : 0;
  try {
    table.reserve(static_cast<size_t>(count));
  } catch (const std::bad_alloc&) {
    host.Message(TextNoMemory(), SortCaption(), Buttons::Ok, BoxIcon::Error);
    return -1;
  }
  for (int i = 0; i < count; ++i) {
    const TitleNode& t = job.titles->title(i);
    table.push_back({MessageNumberOf(t.Text()), t.offset - 1});
  }
  std::stable_sort(table.begin(), table.end(), [](const Entry& a, const Entry& b) { return a.number < b.number; });

  auto source = OpenTextRead(job.path);
  std::unique_ptr<Stream> out = source ? CreateOutput(job) : nullptr;
  if (!out) return Finish(host, false, SortCaption());

  bool ok = true;
  {
    WaitCursor wait(host);
    std::string line;
    // The conference prompt that opens the file; a message header there is
    // copied with its message instead.
    if (source->Gets(line, kWholeLine) && !IsMessageHeader(line)) ok = out->Write(line);
    for (size_t i = 0; ok && i < table.size(); ++i) {
      if (i > 0 && table[i].number == table[i - 1].number) continue;
      ok = source->Seek(table[i].start, SEEK_SET);
      for (int n = 1; ok && source->Gets(line, kWholeLine); ++n) {
        if (n >= 3 && (IsMessageHeader(line) || IsConferenceStart(line))) break;
        ok = out->Write(line);
      }
      ok = ok && !source->Failed();
    }
    ok = out->Close() && ok;
  }
  return Finish(host, ok, SortCaption());
}

}  // namespace rkv
