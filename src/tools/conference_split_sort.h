// Rewriting a viewed conference file into new files beside it: split in two
// at the cursor message, or sorted by message number with duplicates dropped.
// The source file is never changed; every outcome is told through the host.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/host.h"
#include "index/title_info.h"

namespace rkv {

struct ConferenceJob {
  std::string path;         // the viewed file
  bool conference = false;  // the viewer shows it as a conference file
  const TitleInfo* titles = nullptr;
  int cursorTitle = 0;      // title index of the cursor message (split)
  // Told the path of every output file when it has been created.
  std::function<void(const std::string&)> created;
};

// The message number a header line gives: the decimal number at its start,
// or after "No. " for that header shape; 0 when there is none.
int MessageNumberOf(std::string_view headerText);

// The next free numbered name for an output of the source; nothing when all
// 1000 names are taken.
std::optional<std::string> FreeOutputName(std::string_view source);

// 0 success, -1 failure, -2 the user said no.
int SplitConference(const ConferenceJob& job, Host& host);
int SortConference(const ConferenceJob& job, Host& host);

}  // namespace rkv
