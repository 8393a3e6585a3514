// Shogi game records (棋譜) in a message: whether the message holds one, and
// the record alone, from its header to its end line, for the clipboard.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/host.h"

namespace rkv {

// A first-player line directly followed by a second-player line somewhere.
bool HasGameRecord(const std::vector<std::string>& lines);

// The line at which the first record starts (its handicap line when it has one).
std::optional<size_t> GameRecordStart(const std::vector<std::string>& lines);

// The record with CR LF line ends; nothing when the message holds none.
std::optional<std::string> GameRecordText(const std::vector<std::string>& lines);

// Puts the record on the clipboard; false when there is none or the
// clipboard would not take it.
bool CopyGameRecord(const std::vector<std::string>& lines, Host& host);

}  // namespace rkv
