// The title table of one viewer: the titles of its file in file order, the
// user's selection, the values kept in the title information file and the
// comment tree built after every load.
#pragma once

#include <cstdint>
#include <vector>

#include "index/comment_tree.h"
#include "index/title_node.h"

namespace rkv {

class TitleInfo {
 public:
  // Values of the title information file (conference files only).
  int64_t fileSize = 0;      // size of the conference file when the table was built
  int64_t lineCount = 0;     // lines counted by the last scan
  int32_t readPosition = 0;  // the message the user had reached
  int32_t value4 = 1000;     // kept and written back unchanged
  int32_t value6 = 0;        // kept and written back unchanged
  // First title shown at the top of the title display (not stored).
  int topIndex = 0;

  int count() const { return static_cast<int>(titles_.size()); }
  const TitleNode& title(int i) const { return titles_[static_cast<size_t>(i)]; }
  const std::vector<TitleNode>& titles() const { return titles_; }

  // Replaces the titles (at most kMaxTitles are kept), clears the selection
  // and builds the comment tree (none when memory for it ran out).
  void Assign(std::vector<TitleNode> titles);
  void Clear() { Assign({}); }

  bool selected(int i) const { return flags_[static_cast<size_t>(i)] != 0; }
  int markedCount() const { return marked_; }
  void SetSelected(int i, bool on);
  void ToggleSelected(int i) { SetSelected(i, !selected(i)); }
  void SelectAll();
  void SelectNone();
  void InvertSelection();
  const std::vector<uint8_t>& selectionFlags() const { return flags_; }

  // The comment tree, or nothing when it could not be built.
  const CommentTree* tree() const { return hasTree_ ? &tree_ : nullptr; }

 private:
  std::vector<TitleNode> titles_;
  std::vector<uint8_t> flags_;
  int marked_ = 0;
  CommentTree tree_;
  bool hasTree_ = false;
};

}  // namespace rkv
