// One filer's state without any window: its listing, path, cursor and top, and
// what every key, click, button and command does to them. A window draws
// RowText(top() .. top() + rows), marks and the cursor row, forwards input here
// as virtual-key codes, rows and command ids, and acts on the FilerResult.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/host.h"
#include "filer/associations.h"
#include "filer/dir_listing.h"
#include "filer/filer_keys.h"
#include "filer/filer_result.h"
#include "settings/settings.h"

namespace rkv {

class FilerModel {
 public:
  // Opens on startPath (the first directory of the kind's list, usually); an
  // empty startPath means the process's working directory.
  FilerModel(int kind, const RKVcfg& cfg, Host& host, std::string startPath);

  // --- what the window draws
  int kind() const { return listing_.kind(); }
  int count() const { return listing_.count(); }
  const std::string& RowText(int index) const { return listing_.at(index).line; }
  bool IsMarked(int index) const { return listing_.marked(index); }
  bool IsDirectory(int index) const { return listing_.at(index).IsDirectory(); }
  int cursor() const { return cursor_; }
  int previousCursor() const { return previousCursor_; }
  int top() const { return top_; }
  const std::string& path() const { return listing_.path(); }
  const std::string& Title() const { return listing_.path(); }
  std::string StatusLine() const { return listing_.StatusLine(); }
  std::vector<FilerMenuItem> PopupMenu() const { return FilerPopupMenu(cfg_); }

  // Rows that fit the window: whole rows, and rows with a partial last one.
  void SetPageRows(int wholeRows, int rowsWithPartial);
  int pageRows() const { return pageRows_; }
  int visibleRows() const { return pageRowsPartial_; }  // rows to draw

  // --- input from the window
  FilerResult Key(int virtualKey);
  FilerResult Command(int id);
  FilerResult Button(int id);
  // A left click on a row of the page (0 = the top row shown); inMarkZone when
  // it lies within 30 pixels of the left edge.
  FilerResult Click(int rowOnPage, bool inMarkZone);
  FilerResult DoubleClick(int rowOnPage);
  // The scroll bar moved the page.
  FilerResult ScrollTo(int top);
  // The display settings changed: every line is rebuilt.
  FilerResult DisplaySettingsChanged();

  // --- used by the operations
  DirInfo& listing() { return listing_; }
  const DirInfo& listing() const { return listing_; }
  Host& host() { return host_; }
  const RKVcfg& cfg() const { return cfg_; }
  const DspMode& dspMode() const;
  // The kind's ";"-separated directory list and its non-empty entries.
  const std::string& DirectoryList() const;
  std::vector<std::string> DirectoryChoices() const;

  // Rereads the directory and places cursor and top: 0 first entry; 1 kept,
  // pulled back when they stood past the end; 2 each less the marks at or
  // above it; 3 on the directory named dirName.
  FilerResult Reload(int mode, std::string_view dirName = {});
  // Makes pathOrPattern (resolved against the current path) the filer's path
  // and rereads it with cursor and top on the first entry.
  FilerResult GoTo(std::string_view pathOrPattern);
  // Rereads keeping cursor and top where they are (as far as they still fit).
  FilerResult Reread();

  // The single-file rule: more than one mark refuses; one mark gives that
  // entry and clears the mark; none gives the cursor entry (index -1 when the
  // listing is empty).
  struct SingleTarget {
    bool refused = false;
    int index = -1;
    bool directory = false;
  };
  SingleTarget TakeSingleTarget();

  const ExtensionAssociations& associations() const { return associations_; }

 private:
  void MoveCursor(int index);
  void Clamp();
  FilerResult Move(KeyAction action);
  FilerResult Open();
  FilerResult Parent();
  FilerResult ToListDir(int position);
  FilerResult SortCommand(int order);
  FilerResult MarkAll();

  const RKVcfg& cfg_;
  Host& host_;
  DirInfo listing_;
  ExtensionAssociations associations_;
  int cursor_ = 0;
  int previousCursor_ = 0;
  int top_ = 0;
  int pageRows_ = 15;
  int pageRowsPartial_ = 15;
};

// Resolves a typed path against the filer's path: relative paths start there,
// "." and ".." are resolved, repeated and trailing "/" removed.
std::string NormalizeFilerPath(std::string_view base, std::string_view typed);

}  // namespace rkv
