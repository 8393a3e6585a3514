// Times the keyword search proper on a conference file whose titles are loaded
// once, as in an open viewer:  rkv_searchrun FILE KEY OUT [RUNS]
// Prints the count and the median milliseconds of the runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "index/title_file.h"
#include "platform/os.h"
#include "tools/message_output.h"

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: rkv_searchrun FILE KEY OUT [RUNS]\n");
    return 2;
  }
  std::string file = rkv::os::FromNative(argv[1]);
  std::string key = rkv::os::FromNative(argv[2]);
  std::string out = rkv::os::FromNative(argv[3]);
  int runs = argc > 4 ? std::max(1, std::atoi(argv[4])) : 9;
  rkv::TitleInfo titles;
  // The title file goes beside the conference file, never into the working folder.
  std::string dir = file.substr(0, file.find_last_of('/') + 1);
  rkv::LoadConferenceTitles(titles, file, rkv::TitleFileName(file, dir));
  rkv::ViewedFile viewed{file, &titles, 1};
  std::vector<double> ms;
  int count = 0;
  for (int i = 0; i < runs; ++i) {
    auto t = std::chrono::steady_clock::now();
    count = rkv::WriteMatchingMessages(viewed, key, "", out);
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count());
  }
  std::sort(ms.begin(), ms.end());
  std::printf("%d %.1f\n", count, ms[ms.size() / 2]);
  return count < 0 ? 1 : 0;
}
