#include "index/comment_tree.h"

#include <algorithm>
#include <new>

#include "core/sjis.h"

namespace rkv {

int32_t TitleNumber(const TitleNode& title) {
  char first = title.text[0];
  if (first < '0' || first > '9') return kNoNumber;
  int32_t number = NumberPrefix(title.Text(), 5);
  return number == 0 ? kNoNumber : number;
}

namespace {

void Put(std::string& row, size_t col, std::string_view bytes) {
  if (col >= row.size()) return;
  bytes = bytes.substr(0, row.size() - col);
  row.replace(col, bytes.size(), bytes);
}

// The work of one build. Comments are grouped by the number they name, in file
// order, so finding "the first unused comment on p at or after i" is a search
// in that group; used entries are skipped by links that only move forward.
// Gives the same rows as searching the whole table for every parent.
class TreeBuilder {
 public:
  explicit TreeBuilder(const std::vector<TitleNode>& titles);
  void Run(std::vector<TreeRow>& rows, int& maxDepth);

 private:
  struct Group {
    int32_t number;
    size_t begin, end;  // slots; end is the group's sentinel
  };
  struct Frame {
    size_t slot, end;
    int32_t depth;
  };

  void MarkUsed(size_t i);
  size_t FirstFree(size_t slot);
  // The frame that searches the comments on `parent` from title `from` on.
  bool Open(int32_t parent, size_t from, int32_t depth, Frame& frame) const;
  void Append(size_t i, int32_t depth, std::vector<TreeRow>& rows, int& maxDepth);

  size_t n_;
  std::vector<int32_t> number_;
  std::vector<bool> used_;
  std::vector<int32_t> slots_;  // title indexes by group, each group ended by -1
  std::vector<size_t> link_;    // slot -> a slot at or before the next unused one
  std::vector<size_t> slotOf_;  // title -> its slot, or SIZE_MAX
  std::vector<Group> groups_;
};

TreeBuilder::TreeBuilder(const std::vector<TitleNode>& titles)
    : n_(titles.size()), number_(n_), used_(n_, false), slotOf_(n_, SIZE_MAX) {
  std::vector<std::pair<int32_t, int32_t>> byParent;
  for (size_t i = 0; i < n_; ++i) {
    number_[i] = TitleNumber(titles[i]);
    int32_t parent = titles[i].commentTo;
    // Only numbers that a title can carry can be commented on.
    if (parent >= 1 && parent <= kNumberLimit) byParent.emplace_back(parent, static_cast<int32_t>(i));
  }
  std::sort(byParent.begin(), byParent.end());
  for (size_t k = 0; k < byParent.size(); ++k) {
    if (k == 0 || byParent[k].first != byParent[k - 1].first) {
      if (k > 0) slots_.push_back(-1);
      groups_.push_back(Group{byParent[k].first, slots_.size(), 0});
    }
    slotOf_[static_cast<size_t>(byParent[k].second)] = slots_.size();
    slots_.push_back(byParent[k].second);
    groups_.back().end = slots_.size();
  }
  if (!byParent.empty()) slots_.push_back(-1);
  link_.resize(slots_.size());
  for (size_t s = 0; s < link_.size(); ++s) link_[s] = s;
}

void TreeBuilder::MarkUsed(size_t i) {
  used_[i] = true;
  if (slotOf_[i] != SIZE_MAX) link_[slotOf_[i]] = slotOf_[i] + 1;
}

size_t TreeBuilder::FirstFree(size_t slot) {
  while (link_[slot] != slot) {
    link_[slot] = link_[link_[slot]];
    slot = link_[slot];
  }
  return slot;
}

bool TreeBuilder::Open(int32_t parent, size_t from, int32_t depth, Frame& frame) const {
  if (parent > kNumberLimit) return false;
  auto g = std::lower_bound(groups_.begin(), groups_.end(), parent,
                            [](const Group& a, int32_t p) { return a.number < p; });
  if (g == groups_.end() || g->number != parent) return false;
  auto first = std::lower_bound(slots_.begin() + static_cast<std::ptrdiff_t>(g->begin),
                                slots_.begin() + static_cast<std::ptrdiff_t>(g->end),
                                static_cast<int32_t>(from));
  frame = Frame{static_cast<size_t>(first - slots_.begin()), g->end, depth};
  return true;
}

void TreeBuilder::Append(size_t i, int32_t depth, std::vector<TreeRow>& rows, int& maxDepth) {
  rows.push_back(TreeRow{static_cast<int32_t>(i), number_[i], depth});
  maxDepth = std::max(maxDepth, static_cast<int>(depth));
  MarkUsed(i);
}

void TreeBuilder::Run(std::vector<TreeRow>& rows, int& maxDepth) {
  rows.reserve(n_);
  std::vector<Frame> stack;
  for (size_t i = 0; i < n_; ++i) {
    if (!used_[i]) Append(i, 0, rows, maxDepth);
    // Comments on an entry already placed may still be waiting when its number
    // occurs twice, so every entry looks for its comments.
    Frame top;
    if (Open(number_[i], i + 1, 1, top)) stack.push_back(top);
    while (!stack.empty()) {
      Frame& frame = stack.back();
      size_t slot = FirstFree(frame.slot);
      if (slot >= frame.end) {
        stack.pop_back();
        continue;
      }
      frame.slot = slot;
      auto k = static_cast<size_t>(slots_[slot]);
      int32_t depth = frame.depth;
      Append(k, depth, rows, maxDepth);
      Frame child;
      if (Open(number_[k], k + 1, depth + 1, child)) stack.push_back(child);
    }
  }
}

}  // namespace

bool CommentTree::Build(const std::vector<TitleNode>& titles) {
  Clear();
  try {
    TreeBuilder builder(titles);
    builder.Run(rows_, maxDepth_);
    rowOf_.assign(titles.size(), static_cast<int32_t>(titles.size()));
    for (size_t r = rows_.size(); r-- > 0;) rowOf_[static_cast<size_t>(rows_[r].titleIndex)] = static_cast<int32_t>(r);
  } catch (const std::bad_alloc&) {
    Clear();
    return false;
  }
  return true;
}

void CommentTree::Clear() {
  rows_.clear();
  rowOf_.clear();
  maxDepth_ = 0;
}

int CommentTree::RowOf(int titleIndex) const {
  if (titleIndex < 0 || static_cast<size_t>(titleIndex) >= rowOf_.size()) return rowCount();
  return rowOf_[static_cast<size_t>(titleIndex)];
}

std::string CommentTree::RowText(int r, const std::vector<TitleNode>& titles) const {
  const TreeRow& tr = row(r);
  return TreeRowText(titles[static_cast<size_t>(tr.titleIndex)], tr.depth);
}

std::string TreeRowText(const TitleNode& title, int depth) {
  std::string_view t = title.Text();
  if (title.commentTo > kNumberLimit) return std::string(t.substr(0, kTitleTake));
  size_t d = static_cast<size_t>(std::clamp(depth, 0, 30));
  bool wide = t[5] == '/';  // five-digit message numbers
  std::string row(99, ' ');
  if (d > 0) Put(row, 2 * (d - 1), "+-");
  Put(row, 2 * d, t.substr(0, wide ? 5 : 3));
  size_t idCol = wide ? 22 : 20;
  std::string_view author = t.substr(idCol, IsLeadByteAt(t, idCol + 5) ? 5 : 6);
  Put(row, 2 * d + (wide ? 6 : 4), author);
  std::string rest(t.substr(wide ? 39 : 38));
  size_t last = rest.find_last_not_of(' ');
  if (last != std::string::npos && rest[last] == '\n') rest[last] = ' ';
  if (d > 9) {
    int limit = (wide ? 64 : 66) - 2 * static_cast<int>(d);
    if (limit < static_cast<int>(rest.size())) rest.resize(static_cast<size_t>(std::max(limit, 0)));
  }
  Put(row, 2 * d + (wide ? 14 : 12), rest);
  if (IsLeadByteAt(row, 77)) row[77] = ' ';
  row.resize(kTitleTake);
  return row;
}

}  // namespace rkv
