#include "index/title_info.h"

#include <algorithm>

namespace rkv {

void TitleInfo::Assign(std::vector<TitleNode> titles) {
  if (titles.size() > static_cast<size_t>(kMaxTitles)) titles.resize(static_cast<size_t>(kMaxTitles));
  titles_ = std::move(titles);
  flags_.assign(titles_.size(), 0);
  marked_ = 0;
  hasTree_ = tree_.Build(titles_);
}

void TitleInfo::SetSelected(int i, bool on) {
  uint8_t& flag = flags_[static_cast<size_t>(i)];
  if ((flag != 0) == on) return;
  flag = on ? 1 : 0;
  marked_ += on ? 1 : -1;
}

void TitleInfo::SelectAll() {
  std::fill(flags_.begin(), flags_.end(), 1);
  marked_ = count();
}

void TitleInfo::SelectNone() {
  std::fill(flags_.begin(), flags_.end(), 0);
  marked_ = 0;
}

void TitleInfo::InvertSelection() {
  for (uint8_t& flag : flags_) flag = flag ? 0 : 1;
  marked_ = count() - marked_;
}

}  // namespace rkv
