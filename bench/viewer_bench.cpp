// A viewer on a conference file of 10,000 messages: opening it (titles through
// the title file), paging through the whole title list, and reading every
// message in turn in the message view as a user paging with Space does.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/cp932.h"
#include "core/host.h"
#include "core/virtual_keys.h"
#include "settings/settings.h"
#include "viewer/viewer_model.h"

namespace {

using Clock = std::chrono::steady_clock;
double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

class QuietHost : public rkv::Host {
 public:
  rkv::Answer Message(std::string_view, std::string_view, rkv::Buttons, rkv::BoxIcon) override {
    return rkv::Answer::Ok;
  }
  std::optional<std::string> AskText(std::string_view, std::string_view, std::string_view, size_t) override {
    return std::nullopt;
  }
  std::optional<std::string> AskPath(std::string_view, std::string_view, const std::vector<std::string>&) override {
    return std::nullopt;
  }
  std::optional<std::string> AskOpenFile(const rkv::OpenFileRequest&) override { return std::nullopt; }
  bool SetClipboard(std::string_view) override { return true; }
  std::optional<std::string> Clipboard() override { return std::nullopt; }
  int Launch(std::string_view) override { return 33; }
  rkv::Date Today() override { return rkv::Date{2026, 12, 8}; }
};

void WriteConference(const std::string& path, int messages) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  const std::string body = rkv::cp932::FromUtf8("　会議室の発言本文です。テストのための文章が続きます。\r\n");
  std::fputs((rkv::cp932::FromUtf8("- BENCH  MES( 5):ベンチマーク会議室") + "\r\n").c_str(), f);
  for (int n = 1; n <= messages; ++n) {
    char head[200];
    std::snprintf(head, sizeof head, "%05d/%05d ABC%05d  handle%-10d subject %d\r\n       97/05/12 10:30  %05d\r\n", n,
                  messages, n % 97, n % 97, n, n > 1 && n % 3 ? n - 1 : 0);
    std::fputs(head, f);
    for (int line = 0; line < 30; ++line) std::fputs(body.c_str(), f);
  }
  std::fclose(f);
}

}  // namespace

int main(int argc, char** argv) {
  std::string dir = argc > 1 ? argv[1] : "/tmp/rkv-viewer-bench";
  std::filesystem::create_directories(dir);
  std::string path = dir + "/BENCH.CNF";
  WriteConference(path, 10000);
  std::printf("conference file: %.1f MB, 10000 messages\n", std::filesystem::file_size(path) / 1e6);

  rkv::RKVcfg cfg;
  cfg.TtlDir = dir;
  QuietHost host;
  double bestOpen = 1e9, bestList = 1e9, bestMessages = 1e9;
  for (int run = 0; run < 3; ++run) {
    std::filesystem::remove(dir + "/BENCH.TTL");
    auto start = Clock::now();
    rkv::ViewerModel model(cfg, host, path, 1);
    if (!model.Open()) return 1;
    bestOpen = std::min(bestOpen, Seconds(start));
    model.SetRows(30, 31);

    start = Clock::now();
    int pages = 0;
    while (model.top() < model.ListCount() - 30) {
      model.Key(rkv::vk::kPageDown);
      ++pages;
    }
    bestList = std::min(bestList, Seconds(start));

    model.Key(rkv::vk::kHome);
    model.Key(rkv::vk::kEnter);
    start = Clock::now();
    int steps = 0;
    while (model.currentMessage() < model.ListCount() - 1) {
      model.Key(rkv::vk::kSpace);
      ++steps;
    }
    bestMessages = std::min(bestMessages, Seconds(start));
    if (run == 0) std::printf("title list: %d pages; message view: %d Space presses\n", pages, steps);
  }
  std::printf("open (titles + title file): %.3f s\n", bestOpen);
  std::printf("page through the title list: %.3f ms in all\n", bestList * 1e3);
  std::printf("read all 10000 messages with Space: %.3f s (%.1f us per message)\n", bestMessages,
              bestMessages / 10000 * 1e6);
  return 0;
}
