// The comment tree of a title table: every title once, each message followed
// by the messages that comment on it (depth first, siblings in file order).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "index/title_node.h"

namespace rkv {

struct TreeRow {
  int32_t titleIndex = 0;
  int32_t number = kNoNumber;
  int32_t depth = 0;  // 0 for a root
};

// The message number at the start of a title (its first five bytes), or
// kNoNumber when the text does not begin with a digit or the number is 0.
int32_t TitleNumber(const TitleNode& title);

// The row the comment tree shows for a title at a depth: the connector, the
// number, the author and the rest of the header, indented two columns a level
// (at most 30 levels shown); 78 bytes, or the title's first 78 bytes when it
// is not a message.
std::string TreeRowText(const TitleNode& title, int depth);

class CommentTree {
 public:
  // Builds the tree of the titles. False (and an empty tree) when memory for
  // it could not be had.
  bool Build(const std::vector<TitleNode>& titles);
  void Clear();

  int rowCount() const { return static_cast<int>(rows_.size()); }
  const TreeRow& row(int r) const { return rows_[static_cast<size_t>(r)]; }
  int maxDepth() const { return maxDepth_; }
  // The row of a title; rowCount() when the title has none.
  int RowOf(int titleIndex) const;
  std::string RowText(int r, const std::vector<TitleNode>& titles) const;

 private:
  std::vector<TreeRow> rows_;
  std::vector<int32_t> rowOf_;
  int maxDepth_ = 0;
};

}  // namespace rkv
