// Opening a large conference file (building its title list through the title
// file) and building the comment tree of a full table with deep chains.
// Prints the best of several runs and the memory the load added.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "core/cp932.h"
#include "core/files.h"
#include "index/comment_tree.h"
#include "index/header_parse.h"
#include "index/title_file.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

long MaxRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Writes a conference file of `messages` messages of about `bytesPerMessage`
// bytes each, message by message, so the generator holds no copy of it.
void WriteConference(const std::string& path, int messages, size_t bytesPerMessage) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  std::mt19937 rng(7);
  const std::string body = rkv::cp932::FromUtf8("　会議室の発言本文です。テストのための文章が続きます。abcdefg 12345\r\n");
  std::fputs((rkv::cp932::FromUtf8("- BENCH  MES( 5):ベンチマーク会議室") + "\r\n").c_str(), f);
  for (int n = 1; n <= messages; ++n) {
    int commentTo = n > 1 && rng() % 3 ? static_cast<int>(1 + rng() % static_cast<unsigned>(n - 1)) : 0;
    char head[200];
    std::snprintf(head, sizeof head,
                  "%05d/%05d ABC%05d  handle%-10d  subject of message %d\r\n       97/05/12 10:30  %05d  \r\n", n,
                  messages, n % 100000, n, n, commentTo);
    std::string message = head;
    while (message.size() < bytesPerMessage) message += body;
    std::fwrite(message.data(), 1, message.size(), f);
  }
  std::fclose(f);
}

void BenchTitleList(const std::string& dir, const char* name, size_t bytesPerMessage) {
  std::string conf = dir + "/" + name;
  WriteConference(conf, 10000, bytesPerMessage);
  std::string ttl = rkv::TitleFileName(conf, dir);
  double best = 1e9, bestReopen = 1e9;
  long rssBefore = MaxRssKb();
  int count = 0;
  for (int run = 0; run < 5; ++run) {
    std::filesystem::remove(ttl);
    auto start = Clock::now();
    rkv::TitleInfo table;
    rkv::LoadConferenceTitles(table, conf, ttl);
    best = std::min(best, Seconds(start));
    count = table.count();
    // Opening again with the title file in place (what every later opening does).
    start = Clock::now();
    rkv::TitleInfo again;
    rkv::LoadConferenceTitles(again, conf, ttl);
    bestReopen = std::min(bestReopen, Seconds(start));
  }
  long rssAfter = MaxRssKb();
  std::printf("title list: %s, %.1f MB, %d titles: first opening %.3f s, reopening %.3f s, "
              "peak memory added %ld KB\n",
              name, static_cast<double>(std::filesystem::file_size(conf)) / 1e6, count, best, bestReopen,
              rssAfter - rssBefore);
}

rkv::TitleNode Title(int number, int commentTo) {
  char text[80];
  std::snprintf(text, sizeof text, "%05d/10000 ABC12345  handle            subject", number);
  rkv::TitleNode t = rkv::HeaderTitle(text, 1, 1, std::nullopt);
  t.commentTo = commentTo;
  return t;
}

void BenchTree(const char* shape, const std::vector<rkv::TitleNode>& titles) {
  double best = 1e9;
  int depth = 0;
  for (int run = 0; run < 20; ++run) {
    auto start = Clock::now();
    rkv::CommentTree tree;
    tree.Build(titles);
    best = std::min(best, Seconds(start));
    depth = tree.maxDepth();
  }
  std::printf("comment tree: %s, %zu titles, largest depth %d: %.2f ms\n", shape, titles.size(), depth, best * 1e3);
}

}  // namespace

int main() {
  std::string dir = std::filesystem::temp_directory_path() / "rkv_index_bench";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  BenchTitleList(dir, "BENCH05.CNF", 2000);
  BenchTitleList(dir, "BIG05.CNF", 4000);  // same titles, twice the bytes
  std::filesystem::remove_all(dir);

  std::vector<rkv::TitleNode> chain, chains, fan, mixed;
  for (int n = 1; n <= 10000; ++n) {
    chain.push_back(Title(n, n - 1));
    chains.push_back(Title(n, n % 100 == 1 ? 0 : n - 1));
    fan.push_back(Title(n, n == 1 ? 0 : 1));
  }
  std::mt19937 rng(3);
  for (int n = 1; n <= 10000; ++n) {
    int parent = n > 1 && rng() % 4 ? static_cast<int>(n - 1 - rng() % std::min(n - 1, 5)) : 0;
    mixed.push_back(Title(n, parent));
  }
  BenchTree("one chain", chain);
  BenchTree("chains of 100", chains);
  BenchTree("all on message 1", fan);
  BenchTree("random near parents", mixed);
  return 0;
}
