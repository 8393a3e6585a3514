// A viewer without its window: the titles of one split file in three display
// modes, the message view, the cursor and the page, and what every key,
// click, scroll and command does to them. The window gives the row counts,
// draws EntryText / MessageLine and acts on the ViewerResult.
#pragma once

#include <string>
#include <vector>

#include "core/host.h"
#include "index/title_info.h"
#include "settings/settings.h"
#include "tools/conference_split_sort.h"
#include "viewer/id_name_info.h"
#include "viewer/viewer_keys.h"

namespace rkv {

enum class ViewerView { TitleList = 0, Message = 1, Failed = -1 };
enum DisplayMode { kNormalMode = 0, kTreeMode = 1, kIdMode = 2 };

// The scroll bar's actions, as the window reports them.
enum class ScrollAction { LineUp, LineDown, PageUp, PageDown, Top, Bottom, ThumbReleased, ThumbTrack };

struct ViewerResult {
  bool repaint = true;
  bool close = false;           // close the window
  std::vector<int> post;        // commands to post to the viewer itself
  bool statusChanged = false;   // show statusText() on the frame again
};

// What the scroll bar shows: positions 0 .. max, a page of `page`.
struct ScrollState {
  int max = 0;
  int page = 1;
  int pos = 0;
};

class ViewerModel {
 public:
  // fileType 1 is a conference file (with its title information file); other
  // values scan the file on every opening.
  ViewerModel(const RKVcfg& cfg, Host& host, std::string path, int fileType);

  // Loads the titles. False after telling the user there are none (the
  // window then closes).
  bool Open();
  // Stores how far the user read (conference files with a title file only).
  void SaveReadPosition();

  // Rows of the window: whole rows and rows with a partial last one.
  void SetRows(int fullRows, int visibleRows);
  int fullRows() const { return fullRows_; }
  int visibleRows() const { return visibleRows_; }

  const std::string& path() const { return path_; }
  int fileType() const { return fileType_; }
  ViewerView view() const { return view_; }
  int mode() const { return mode_; }
  int cursor() const { return cursor_; }
  int previousCursor() const { return previousCursor_; }
  int currentMessage() const { return currentMessage_; }
  // The first entry shown in the title list of the mode in force.
  int top() const;
  // The list of the mode in force.
  int ListCount() const;
  std::string EntryText(int i) const;
  int EntryTitle(int i) const;  // index into the title table
  bool EntryMarked(int i) const;
  int MarkedCount() const;
  // The message view: its lines and the first line shown.
  const std::vector<std::string>& message() const { return message_; }
  int messagePos() const { return messagePos_; }
  ScrollState Scroll() const;
  // The conference file's first line, for the frame's message bar.
  std::string StatusLine() const;
  bool idListShown() const { return idListShown_; }
  bool idListCreated() const { return idListCreated_; }

  const TitleInfo& titles() const { return titles_; }
  const IdNameInfo& ids() const { return ids_; }

  ViewerResult Key(int virtualKey);
  ViewerResult Command(int id);  // handled ids only; see Handles()
  // Whether the last command was a message tool that failed (the user has been told).
  bool toolFailed() const { return toolFailed_; }
  bool Handles(int id) const;
  ViewerResult Scroll(ScrollAction action, int position);
  // A left click at (x, y) of the client area, and a double click.
  ViewerResult LeftClick(int x, int y, int lineHeight, int clientHeight);
  ViewerResult DoubleClick(int x, int y, int lineHeight);
  // The ID list window chose a member: list that title's ID.
  ViewerResult ChooseHandle(int titleIndex);
  std::vector<PopupItem> PopupMenu() const;
  // The split and sort of the viewed file at the cursor message.
  ConferenceJob FileJob() const;
  // The text of the title information box.
  std::string TitleInformation() const;

 private:
  void SetTop(int top);
  int MaxTop() const;
  void MoveCursor(int to);
  ViewerResult ListKey(int k);
  ViewerResult MessageKey(int k);
  void ListDown();
  void ListUp();
  void ListPage(int direction);
  void OpenMessage();
  void CloseMessage(bool toCurrent);
  void ReadMessage();
  void MessagePageDown(bool click);
  void MessagePageUp(bool click);
  void ScrollMessage(int pos);
  int MessageMax() const;
  void ToTree();
  void ToId();
  void ToNormal();
  void SaveNormal();
  void ClearTitleSelection();
  // The message the tools act on: the one shown in the message view, else the
  // cursor's (clamped to the list).
  int MessageIndexInHand() const;
  std::vector<std::string> MessageInHand() const;
  void OutputSelection();
  void RunProgram(int id);  // 371 and 381-388
  void ComposePadFor(int slot);

  const RKVcfg& cfg_;
  Host& host_;
  std::string path_;
  int fileType_;
  ViewerView view_ = ViewerView::TitleList;
  int mode_ = kNormalMode;
  int cursor_ = 0;
  int previousCursor_ = 0;
  int currentMessage_ = 0;
  struct Saved {
    int cursor = 0, previousCursor = 0, top = 0;
  } saved_;
  std::vector<std::string> message_;
  int messagePos_ = 0;
  std::string status_;
  TitleInfo titles_;
  IdNameInfo ids_;
  bool idListShown_ = false;
  bool idListCreated_ = false;
  int fullRows_ = 20;
  int visibleRows_ = 20;
  bool toolFailed_ = false;
};

}  // namespace rkv
