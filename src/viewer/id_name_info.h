// The ID table of a viewer: the messages of one member ID, in file order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "index/title_info.h"

namespace rkv {

class IdNameInfo {
 public:
  static constexpr int kMaxEntries = 1000;

  explicit IdNameInfo(const TitleInfo& titles) : titles_(titles) {}

  // Lists the messages whose header contains the member ID of the given title
  // text (the 8 bytes at column 12 of a 5-digit header, else at column 10).
  // Returns the count; 0 when the text is no message header, and the entries
  // stay as they were then.
  int Fill(std::string_view titleText);
  // Marks and marked count to zero; the entries stay.
  void Clear();

  int count() const { return static_cast<int>(entries_.size()); }
  int titleIndex(int i) const { return entries_[static_cast<size_t>(i)]; }
  const std::string& id() const { return id_; }
  int top = 0;

  bool selected(int i) const { return flags_[static_cast<size_t>(i)] != 0; }
  int markedCount() const { return marked_; }
  void Toggle(int i);
  void SelectAll();
  void SelectNone() { Clear(); }
  void Invert();

 private:
  const TitleInfo& titles_;
  std::string id_;
  std::vector<int> entries_;
  std::vector<uint8_t> flags_;
  int marked_ = 0;
};

// The member ID of a header title: column 12 when column 11 is a blank, else 10.
std::string HeaderId(std::string_view titleText);

}  // namespace rkv
