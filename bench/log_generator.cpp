// Writes a large, realistic session log for the division benchmark: evening
// sessions one after another, each visiting conference rooms (message numbers
// continue from session to session, so no gap question stops a division),
// reading and sending mail, and seeing notices, home pages and a patio room.
// "few" (the default) writes long visits, so a log has few large blocks;
// "many" writes sessions as members mostly captured them: many rooms visited
// for a handful of messages, mail lists and single mails in between, home
// pages and patio rooms, about one block every 1.4 KB.
// Usage: rkv_loggen MEGABYTES OUTPUT [few|many]
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "core/cp932.h"

namespace {

struct Room {
  std::string prompt;
  int total = 0;
  bool wide = false;
};

class Generator {
 public:
  Generator(std::FILE* out, bool many) : out_(out), many_(many), random_(1997) {
    const char* topics[] = {"料理全般", "お菓子作り", "初心者質問室", "新刊情報", "鉄道の旅", "将棋の部屋",
                            "映画評", "音楽談話室", "山歩き", "パソコン通信雑談"};
    for (int i = 0; i < (many ? 160 : 40); ++i) {
      char prompt[96];
      std::snprintf(prompt, sizeof prompt, "- FRM%02d  MES(%2d):%s", i, 1 + i % 20, topics[i % 10]);
      bool wide = i % 4 != 1;
      rooms_.push_back(Room{Sj(prompt), static_cast<int>(wide ? Pick(50, 20000) : Pick(50, 400)), wide});
    }
    const char* sentences[] = {
        "こんばんは。いつも楽しく読ませていただいています。", "昨日は久しぶりに早く帰れたので、少し試してみました。",
        "週末は雨の予報ですが、予定どおり出かけるつもりです。", "私も同じことで悩んでいましたが、設定を変えたら直りました。",
        "詳しい方がいらっしゃったら教えていただけないでしょうか。", "ありがとうございました、おかげさまで助かりました。",
        "写真をライブラリに登録しておきましたので、ご覧ください。", "次のオフ会の日程は、また改めてお知らせします。",
        "手順を書いておきます。まず電源を切ってください。", "ＲＥＡＤＭＥもよく読んでからお試しください。",
        "それはいい考えですね。私もやってみようと思います。", "では、また。"};
    for (const char* s : sentences) sentences_.push_back(Sj(s));
  }

  void Session(int day) {
    if (many_) return ShortSession(day);
    Line("ようこそ　オンラインサービスへ");
    Line(Printf("26/%02d/%02d 20:00 LOG IN  － ABC12345", 1 + day / 28 % 12, 1 + day % 28));
    Line("今週のお知らせ    NEW");
    Line("  5/09  メンテナンスのお知らせ");
    Line("CCS(01>");
    for (int visits = static_cast<int>(Pick(5, 12)); visits > 0; --visits) {
      Room& room = rooms_[Pick(0, 39)];
      Conference(room, Pick(5, 40), 3, 15);
    }
    Line("CCS(01>MAIL");
    for (int mails = static_cast<int>(Pick(1, 4)); mails > 0; --mails) {
      Line("Subject: お知らせ");
      Line("From: \"Friend\" <friend@example.ne.jp>");
      Body(Pick(3, 12));
      Line("X-Status: read");
    }
    Line("MAIL>SEND");
    Line("TO:DEF67890");
    Line("SUB:Re:お知らせ");
    Body(Pick(2, 6));
    Line("MAIL>");
    Line("CCS(01>PATIO");
    Line("- MES( 3):YAMANOHA");
    Line("001/001   DEF67890  はなこ            山の会の相談");
    Body(Pick(3, 8));
    Line("CCS(01>BILL");
    Line("利用料金情報    BILL");
    Line("  今月のご利用  1,980円");
    Line("CCS(01>OFF");
    Line("ご利用ありがとうございました");
  }

  std::vector<std::string> sentences_;

 private:
  // Short visits between mail, lists, home pages and patio rooms.
  void ShortSession(int day) {
    Line(Printf("26/%02d/%02d 20:00 LOG IN  － ABC12345", 1 + day / 28 % 12, 1 + day % 28));
    Line("CCS(01>");
    for (int step = static_cast<int>(Pick(20, 40)); step > 0; --step) {
      switch (Pick(0, 9)) {
        case 0:
          Line("CCS(01>MAIL");
          Line("受信日  送信者ID  名前");
          for (long n = Pick(3, 10); n > 0; --n) {
            Line(Printf(" 5/%02d  DEF%05d  はなこ", 1 + day % 28, static_cast<int>(Pick(0, 99999))));
          }
          Line("MAIL>");
          break;
        case 1:
          Line("Subject: お知らせ");
          Line("From: \"Friend\" <friend@example.ne.jp>");
          Body(Pick(3, 10));
          Line("X-Status: read");
          Line("CCS(01>");
          break;
        case 2:
          Line("CCS(01>HP");
          Line(Printf("%03d  [26/05/%02d 10:00]  DEF%05d      ホームページ", static_cast<int>(Pick(1, 999)),
                      1 + day % 28, static_cast<int>(Pick(0, 99999))));
          Body(Pick(3, 10));
          Line("HP>");
          break;
        case 3:
          Line("CCS(01>PATIO");
          Line(Printf("- MES( 3):PAT%d", static_cast<int>(Pick(0, 9))));
          Line("001/001   DEF67890  はなこ            山の会の相談");
          Body(Pick(3, 10));
          Line("CCS(01>");
          break;
        default: {
          Room& room = rooms_[Pick(0, static_cast<long>(rooms_.size()) - 1)];
          Conference(room, Pick(3, 10), 2, 6);
          Line("CCS(01>");
        }
      }
    }
    Line("CCS(01>OFF");
  }

  void Conference(Room& room, long messages, long fewestLines, long mostLines) {
    int count = static_cast<int>(messages);
    // Three-digit rooms stop being visited before their numbers would run out.
    if (!room.wide && room.total + count > 999) return;
    Raw(room.prompt);
    int first = room.total + 1;
    room.total += count;
    for (int n = first; n <= room.total; ++n) {
      const char* format = room.wide ? "%05d/%05d ABC%05d  けんじ            題名その%d" : "%03d/%03d   ABC%05d  けんじ            題名その%d";
      Line(Printf(format, n, room.total, static_cast<int>(Pick(0, 99999)), n));
      Line(Printf("       26/05/09 21:%02d  %05d へのコメント", n % 60, n - 1));
      Body(Pick(fewestLines, mostLines));
      Line("");
    }
    Line("＞E");
  }

  void Body(long lines) {
    for (; lines > 0; --lines) Raw(sentences_[Pick(0, static_cast<long>(sentences_.size()) - 1)]);
  }

  long Pick(long low, long high) { return std::uniform_int_distribution<long>(low, high)(random_); }

  static std::string Sj(const char* utf8) { return rkv::cp932::FromUtf8(utf8); }
  template <typename... Args>
  static std::string Printf(const char* format, Args... args) {
    char buf[256];
    std::snprintf(buf, sizeof buf, format, args...);
    return buf;
  }
  void Line(const std::string& utf8) { Raw(Sj(utf8.c_str())); }
  void Raw(const std::string& cp932) {
    std::fwrite(cp932.data(), 1, cp932.size(), out_);
    std::fwrite("\r\n", 1, 2, out_);
  }

  std::FILE* out_;
  bool many_;
  std::mt19937 random_;
  std::vector<Room> rooms_;
};

}  // namespace

int main(int argc, char** argv) {
  std::string shape = argc == 4 ? argv[3] : "few";
  if ((argc != 3 && argc != 4) || (shape != "few" && shape != "many")) {
    std::fprintf(stderr, "usage: rkv_loggen MEGABYTES OUTPUT [few|many]\n");
    return 2;
  }
  long long target = std::atoll(argv[1]) * 1000 * 1000;
  std::FILE* out = std::fopen(argv[2], "wb");
  if (!out) {
    std::perror(argv[2]);
    return 1;
  }
  Generator generator(out, shape == "many");
  for (int day = 0; std::ftell(out) < target; ++day) generator.Session(day);
  return std::fclose(out) == 0 ? 0 : 1;
}
