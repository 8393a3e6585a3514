#include "viewer/id_name_info.h"

#include "divide/line_recogniser.h"

namespace rkv {

std::string HeaderId(std::string_view text) {
  size_t col = text.size() > 11 && text[11] == ' ' ? 12 : 10;
  return col < text.size() ? std::string(text.substr(col, 8)) : std::string();
}

int IdNameInfo::Fill(std::string_view titleText) {
  top = 0;
  if (!IsMessageHeader(titleText)) return 0;
  id_ = HeaderId(titleText);
  entries_.clear();
  for (int i = 0; i < titles_.count() && count() < kMaxEntries; ++i) {
    std::string_view text = titles_.title(i).Text();
    if (IsMessageHeader(text) && text.find(id_) != std::string_view::npos) entries_.push_back(i);
  }
  flags_.assign(entries_.size(), 0);
  marked_ = 0;
  return count();
}

void IdNameInfo::Clear() {
  flags_.assign(entries_.size(), 0);
  marked_ = 0;
}

void IdNameInfo::Toggle(int i) {
  uint8_t& f = flags_[static_cast<size_t>(i)];
  f = f ? 0 : 1;
  marked_ += f ? 1 : -1;
}

void IdNameInfo::SelectAll() {
  flags_.assign(entries_.size(), 1);
  marked_ = count();
}

void IdNameInfo::Invert() {
  marked_ = 0;
  for (auto& f : flags_) {
    f = f ? 0 : 1;
    marked_ += f;
  }
}

}  // namespace rkv
