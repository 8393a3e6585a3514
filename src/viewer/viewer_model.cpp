#include "viewer/viewer_model.h"

#include <algorithm>
#include <cstdio>

#include "app/command_ids.h"
#include "core/command_line.h"
#include "core/cp932.h"
#include "core/files.h"
#include "divide/line_recogniser.h"
#include "index/message_text.h"
#include "index/title_file.h"
#include "index/title_scan.h"
#include "platform/os.h"
#include "tools/conference_split_sort.h"
#include "tools/game_record.h"
#include "tools/message_output.h"
#include "tools/pad_composer.h"

namespace rkv {

ViewerModel::ViewerModel(const RKVcfg& cfg, Host& host, std::string path, int fileType)
    : cfg_(cfg), host_(host), path_(std::move(path)), fileType_(fileType), ids_(titles_) {}

bool ViewerModel::Open() {
  if (os::Stat(path_).regular) {
    WaitCursor wait(host_);
    if (fileType_ == 1) {
      LoadConferenceTitles(titles_, path_, TitleFileName(path_, cfg_.TtlDir));
    } else {
      LoadOtherTitles(titles_, path_, cfg_.Prompt);
    }
  }
  if (titles_.count() == 0) {
    host_.Message(SJ("発言タイトルがありません"), SJ("ファイル処理エラー"), Buttons::Ok);
    view_ = ViewerView::Failed;
    return false;
  }
  if (fileType_ == 1) {
    if (auto in = OpenTextRead(path_)) {
      in->Gets(status_, 81);
      if (!status_.empty() && status_.back() == '\n') status_.pop_back();
    }
  }
  titles_.topIndex = 0;
  int p = titles_.readPosition;
  if (fileType_ == 1 && p > 3 && p < titles_.count()) {
    cursor_ = previousCursor_ = p;
    titles_.topIndex = p - 4;
  }
  return true;
}

void ViewerModel::SaveReadPosition() {
  if (fileType_ != 1 || view_ == ViewerView::Failed || titles_.count() == 0) return;
  // The position is stored as a title index whatever the display mode, so the
  // next opening shows the message the user was reading.
  int index = currentMessage_ < ListCount() ? EntryTitle(currentMessage_) : 0;
  rkv::SaveReadPosition(titles_, TitleFileName(path_, cfg_.TtlDir), index);
}

void ViewerModel::SetRows(int fullRows, int visibleRows) {
  fullRows_ = std::max(fullRows, 0);
  visibleRows_ = std::max(visibleRows, 1);
}

int ViewerModel::top() const { return mode_ == kIdMode ? ids_.top : titles_.topIndex; }

void ViewerModel::SetTop(int top) {
  top = std::clamp(top, 0, std::max(ListCount() - 1, 0));
  (mode_ == kIdMode ? ids_.top : titles_.topIndex) = top;
}

int ViewerModel::MaxTop() const { return std::max(ListCount() - fullRows_, 0); }

int ViewerModel::ListCount() const {
  switch (mode_) {
    case kTreeMode:
      return titles_.tree() ? titles_.tree()->rowCount() : 0;
    case kIdMode:
      return ids_.count();
    default:
      return titles_.count();
  }
}

int ViewerModel::EntryTitle(int i) const {
  switch (mode_) {
    case kTreeMode:
      return titles_.tree()->row(i).titleIndex;
    case kIdMode:
      return ids_.titleIndex(i);
    default:
      return i;
  }
}

std::string ViewerModel::EntryText(int i) const {
  if (mode_ == kTreeMode) return titles_.tree()->RowText(i, titles_.titles());
  return std::string(titles_.title(EntryTitle(i)).Text());
}

bool ViewerModel::EntryMarked(int i) const {
  return mode_ == kIdMode ? ids_.selected(i) : titles_.selected(EntryTitle(i));
}

int ViewerModel::MarkedCount() const { return mode_ == kIdMode ? ids_.markedCount() : titles_.markedCount(); }

ScrollState ViewerModel::Scroll() const {
  int page = std::max(fullRows_, 1);
  if (view_ == ViewerView::Message) return ScrollState{MessageMax(), page, messagePos_};
  return ScrollState{MaxTop(), page, std::min(top(), MaxTop())};
}

std::string ViewerModel::StatusLine() const {
  if (fileType_ == 1 && !status_.empty() && status_[0] == '-') return status_;
  return " ";
}

void ViewerModel::MoveCursor(int to) {
  previousCursor_ = cursor_;
  cursor_ = to;
}

// --- title list

void ViewerModel::ListDown() {
  int count = ListCount(), top = this->top(), f = fullRows_;
  bool onPage = cursor_ >= top && cursor_ < top + f - 1;
  if (cursor_ >= count - 1) return;
  if (onPage) {
    MoveCursor(cursor_ + 1);
  } else if (top + f == cursor_ + 1) {
    MoveCursor(cursor_ + 1);
    SetTop(top + 1);
  } else {
    MoveCursor(top);
  }
}

void ViewerModel::ListUp() {
  int top = this->top();
  if (cursor_ > top && cursor_ < top + visibleRows_) {
    MoveCursor(cursor_ - 1);
  } else if (cursor_ == top && cursor_ != 0) {
    MoveCursor(cursor_ - 1);
    SetTop(top - 1);
  } else {
    MoveCursor(top);
  }
}

void ViewerModel::ListPage(int direction) {
  int pos = std::min(top(), MaxTop());
  SetTop(std::clamp(pos + direction * std::max(fullRows_, 1), 0, MaxTop()));
  MoveCursor(top());
}

ViewerResult ViewerModel::ListKey(int k) {
  ViewerResult r;
  int count = ListCount();
  switch (k) {
    case vk::kDown:
      ListDown();
      break;
    case vk::kUp:
      ListUp();
      break;
    case vk::kLeft:
      MoveCursor(top());
      break;
    case vk::kPageDown:
      ListPage(1);
      break;
    case vk::kPageUp:
      ListPage(-1);
      break;
    case vk::kHome:
      SetTop(0);
      MoveCursor(0);
      break;
    case vk::kEnd:
      if (count > fullRows_) SetTop(count - fullRows_);
      MoveCursor(top());
      break;
    case vk::kSpace:
      if (cursor_ < count) {
        if (mode_ == kIdMode) {
          ids_.Toggle(cursor_);
        } else {
          titles_.ToggleSelected(EntryTitle(cursor_));
        }
      }
      ListDown();
      break;
    case vk::kEnter:
      if (cursor_ >= top() && cursor_ <= top() + fullRows_ - 1 && cursor_ < count) OpenMessage();
      break;
    default:
      r.repaint = false;
  }
  return r;
}

// --- message view

int ViewerModel::MessageMax() const {
  return std::max(static_cast<int>(message_.size()) - std::max(fullRows_, 1), 0);
}

void ViewerModel::ScrollMessage(int pos) { messagePos_ = std::clamp(pos, 0, MessageMax()); }

void ViewerModel::ReadMessage() {
  message_.clear();
  messagePos_ = 0;
  if (currentMessage_ < 0 || currentMessage_ >= ListCount()) return;
  ReadMessageText(path_, titles_.title(EntryTitle(currentMessage_)).offset, cfg_.Prompt, message_);
}

void ViewerModel::OpenMessage() {
  view_ = ViewerView::Message;
  currentMessage_ = cursor_;
  ReadMessage();
}

void ViewerModel::CloseMessage(bool toCurrent) {
  view_ = ViewerView::TitleList;
  if (toCurrent) SetTop(std::min(currentMessage_, MaxTop()));
}

void ViewerModel::MessagePageDown(bool click) {
  int page = std::max(fullRows_, 1);
  if (messagePos_ + page < static_cast<int>(message_.size())) {
    ScrollMessage(messagePos_ + page);
    return;
  }
  if (currentMessage_ >= ListCount() - 1) return;
  ++currentMessage_;
  MoveCursor(currentMessage_);
  if (click) {
    SetTop(currentMessage_);
  } else if (cursor_ > top() + page - 1) {
    SetTop(cursor_ - page + 1);
  }
  ReadMessage();
}

void ViewerModel::MessagePageUp(bool click) {
  if (messagePos_ != 0) {
    ScrollMessage(click ? 0 : messagePos_ - std::max(fullRows_, 1));
    return;
  }
  if (currentMessage_ <= 0) return;
  --currentMessage_;
  MoveCursor(currentMessage_);
  SetTop(currentMessage_);
  ReadMessage();
}

ViewerResult ViewerModel::MessageKey(int k) {
  ViewerResult r;
  switch (k) {
    case vk::kEnter:
    case vk::kEsc:
      CloseMessage(false);
      break;
    case vk::kSpace:
    case vk::kPageDown:
      MessagePageDown(false);
      break;
    case vk::kPageUp:
    case vk::kB:
      MessagePageUp(false);
      break;
    case vk::kEnd:
      ScrollMessage(MessageMax());
      break;
    case vk::kHome:
      ScrollMessage(0);
      break;
    case vk::kUp:
      ScrollMessage(messagePos_ - 1);
      break;
    case vk::kDown:
      ScrollMessage(messagePos_ + 1);
      break;
    default:
      r.repaint = false;
  }
  return r;
}

ViewerResult ViewerModel::Key(int k) {
  if (k == vk::kEsc && view_ == ViewerView::TitleList) {
    ViewerResult r;
    r.close = true;
    return r;
  }
  std::vector<int> posted;
  if (int command = ViewerLetterCommand(k)) posted.push_back(command);
  if (k == vk::kF1) host_.Message(ViewerKeyHelpText(), ViewerKeyHelpCaption(), Buttons::Ok);
  ViewerResult r = view_ == ViewerView::Message ? MessageKey(k) : ListKey(k);
  r.post = std::move(posted);
  return r;
}

// --- display modes

void ViewerModel::SaveNormal() { saved_ = Saved{cursor_, previousCursor_, titles_.topIndex}; }

void ViewerModel::ClearTitleSelection() { titles_.SelectNone(); }

void ViewerModel::ToTree() {
  int title;
  if (mode_ == kIdMode) {
    idListShown_ = false;
    title = cursor_ < ids_.count() ? ids_.titleIndex(cursor_) : 0;
    ids_.Clear();
  } else {
    SaveNormal();
    ClearTitleSelection();
    title = cursor_;
  }
  mode_ = kTreeMode;
  int row = titles_.tree() ? titles_.tree()->RowOf(title) : 0;
  cursor_ = previousCursor_ = row;
  titles_.topIndex = row;
}

void ViewerModel::ToId() {
  int title;
  if (mode_ == kTreeMode) {
    title = cursor_ < ListCount() ? EntryTitle(cursor_) : -1;
  } else {
    SaveNormal();
    title = cursor_;
  }
  if (title < 0 || title >= titles_.count() || ids_.Fill(titles_.title(title).Text()) == 0) return;
  ClearTitleSelection();
  idListCreated_ = idListShown_ = true;
  mode_ = kIdMode;
  cursor_ = previousCursor_ = 0;
  ids_.top = 0;
}

void ViewerModel::ToNormal() {
  idListShown_ = false;
  cursor_ = saved_.cursor;
  previousCursor_ = saved_.previousCursor;
  mode_ = kNormalMode;
  titles_.topIndex = saved_.top;
  ClearTitleSelection();
  ids_.Clear();
}

ViewerResult ViewerModel::ChooseHandle(int titleIndex) {
  ViewerResult r;
  if (titleIndex < 0 || titleIndex >= titles_.count() || ids_.Fill(titles_.title(titleIndex).Text()) == 0) {
    r.repaint = false;
    return r;
  }
  ids_.Clear();
  if (mode_ == kIdMode) cursor_ = previousCursor_ = 0;
  return r;
}

bool ViewerModel::Handles(int id) const {
  switch (id) {
    case cmd::VNormal:
    case cmd::VTree:
    case cmd::VId:
    case cmd::VTitleInfo:
    case cmd::Close:
    case cmd::VSelectAll:
    case cmd::VSelectNone:
    case cmd::VInvert:
    case cmd::Top:
    case cmd::End:
    case cmd::NextPage:
    case cmd::PreviousPage:
    case cmd::SplitConference:
    case cmd::SortMessages:
    case cmd::VGameRecord:
    case cmd::VOutput:
    case cmd::VSearch:
    case cmd::VClipboard:
    case cmd::VEditorCut:
    case cmd::VEditor:
    case cmd::VEditorJump:
    case cmd::VPadSay:
    case cmd::VPadComment:
    case cmd::VPadMail:
      return true;
    default:
      return id >= cmd::VProgram1 && id < cmd::VProgram1 + 8;
  }
}

ViewerResult ViewerModel::Command(int id) {
  ViewerResult r;
  toolFailed_ = false;
  bool list = view_ == ViewerView::TitleList;
  switch (id) {
    case cmd::VNormal:
      if (list && mode_ != kNormalMode) ToNormal();
      break;
    case cmd::VTree:
      if (list && mode_ != kTreeMode) ToTree();
      break;
    case cmd::VId:
      if (list && mode_ != kIdMode) ToId();
      break;
    case cmd::VTitleInfo:
      host_.Message(TitleInformation(), SJ("タイトル情報"), Buttons::Ok);
      r.repaint = false;
      break;
    case cmd::Close:
      r.close = true;
      break;
    case cmd::VSelectAll:
      mode_ == kIdMode ? ids_.SelectAll() : titles_.SelectAll();
      break;
    case cmd::VSelectNone:
      mode_ == kIdMode ? ids_.SelectNone() : titles_.SelectNone();
      break;
    case cmd::VInvert:
      mode_ == kIdMode ? ids_.Invert() : titles_.InvertSelection();
      break;
    case cmd::Top:
      return Key(vk::kHome);
    case cmd::End:
      return Key(vk::kEnd);
    case cmd::NextPage:
      return Key(vk::kPageDown);
    case cmd::PreviousPage:
      return Key(vk::kPageUp);
    case cmd::SplitConference:
    case cmd::SortMessages: {
      ConferenceJob job = FileJob();
      id == cmd::SplitConference ? SplitConference(job, host_) : SortConference(job, host_);
      r.repaint = false;
      break;
    }
    case cmd::VGameRecord:
      if (view_ == ViewerView::Message) CopyGameRecord(message_, host_);
      r.repaint = false;
      break;
    case cmd::VOutput:
      OutputSelection();
      break;
    case cmd::VSearch:
      toolFailed_ = SearchMessages(ViewedFile{path_, &titles_, cfg_.Prompt}, cfg_, host_) == ToolOutcome::Failed;
      r.repaint = false;
      break;
    case cmd::VClipboard:
      toolFailed_ = !host_.SetClipboard(ClipboardText(MessageInHand()));
      r.repaint = false;
      break;
    case cmd::VEditorCut:
      EditMessageCopy(MessageInHand(), cfg_, host_);
      r.repaint = false;
      break;
    case cmd::VEditor:
      toolFailed_ = !LaunchOrTell(host_, FirstWord(cfg_.Editor), SJ("エディタ呼び出し失敗"), SJ("エディタ"));
      r.repaint = false;
      break;
    case cmd::VPadSay:
    case cmd::VPadComment:
    case cmd::VPadMail:
      ComposePadFor(id - cmd::VPadSay + 1);
      break;
    default:
      r.repaint = false;
      if (id == cmd::VEditorJump || (id >= cmd::VProgram1 && id < cmd::VProgram1 + 8)) RunProgram(id);
  }
  return r;
}

int ViewerModel::MessageIndexInHand() const {
  int index = view_ == ViewerView::Message ? currentMessage_ : cursor_;
  return std::clamp(index, 0, std::max(ListCount() - 1, 0));
}

std::vector<std::string> ViewerModel::MessageInHand() const {
  if (view_ == ViewerView::Message) return message_;
  std::vector<std::string> lines;
  if (ListCount() > 0) ReadMessageText(path_, titles_.title(EntryTitle(MessageIndexInHand())).offset, cfg_.Prompt, lines);
  return lines;
}

void ViewerModel::OutputSelection() {
  std::vector<int> chosen;
  for (int i = 0; i < ListCount(); ++i) {
    if (EntryMarked(i)) chosen.push_back(EntryTitle(i));
  }
  if (chosen.empty() && ListCount() > 0) chosen.push_back(EntryTitle(MessageIndexInHand()));
  if (chosen.empty()) return;
  ToolOutcome outcome = OutputMessages(ViewedFile{path_, &titles_, cfg_.Prompt}, chosen, cfg_, host_);
  toolFailed_ = outcome == ToolOutcome::Failed;
  if (outcome == ToolOutcome::Cancelled) return;
  titles_.SelectNone();
  ids_.SelectNone();
}

void ViewerModel::RunProgram(int id) {
  if (ListCount() == 0) return;
  bool editor = id == cmd::VEditorJump;
  const std::string& commandTemplate = editor ? cfg_.Editor : cfg_.Prg[static_cast<size_t>(id - cmd::VProgram1)];
  auto line = static_cast<int32_t>(titles_.title(EntryTitle(MessageIndexInHand())).line);
  toolFailed_ = !LaunchOrTell(host_, ProgramCommandLine(commandTemplate, path_, line, kViewerCommandBytes),
               editor ? SJ("エディタ呼出し失敗") : SJ("外部プログラム呼出し失敗"),
               editor ? SJ("エディタ") : SJ("外部プログラム"));
}

void ViewerModel::ComposePadFor(int slot) {
  if (ListCount() == 0) return;
  if (view_ != ViewerView::Message) {
    currentMessage_ = MessageIndexInHand();
    ReadMessage();
  }
  PadSource source{&message_, &titles_, EntryTitle(currentMessage_), fileType_, status_, path_};
  toolFailed_ = !ComposePad(source, slot, cfg_, host_);
}

ConferenceJob ViewerModel::FileJob() const {
  return ConferenceJob{path_, fileType_ == 1, &titles_, cursor_ < ListCount() ? EntryTitle(cursor_) : -1, {}};
}

std::string ViewerModel::TitleInformation() const {
  char buf[256];
  std::snprintf(buf, sizeof buf, "%s = %d / %d\n\r%s = %d\n\r", SJ("反転行位置／タイトル総数").c_str(),
                cursor_ + 1, ListCount(), SJ("マーキング・タイトル数　").c_str(), MarkedCount());
  return buf;
}

// --- scroll bar and mouse

ViewerResult ViewerModel::Scroll(ScrollAction action, int position) {
  ViewerResult r;
  if (action == ScrollAction::ThumbTrack) {
    r.repaint = false;
    return r;
  }
  if (view_ == ViewerView::Message) {
    switch (action) {
      case ScrollAction::LineUp:
        ScrollMessage(messagePos_ - 1);
        break;
      case ScrollAction::LineDown:
        ScrollMessage(messagePos_ + 1);
        break;
      default:
        ScrollMessage(position);
    }
    return r;
  }
  switch (action) {
    case ScrollAction::LineUp:
      SetTop(top() - 1);
      break;
    case ScrollAction::LineDown:
      SetTop(top() + 1);
      break;
    default:
      SetTop(std::clamp(position, 0, MaxTop()));
  }
  return r;
}

ViewerResult ViewerModel::LeftClick(int x, int y, int lineHeight, int clientHeight) {
  ViewerResult r;
  if (view_ == ViewerView::Message) {
    if (!cfg_.UseLButton) {
      r.repaint = false;
      return r;
    }
    if (y >= clientHeight / 3) {
      MessagePageDown(true);
    } else {
      MessagePageUp(true);
    }
    return r;
  }
  if (lineHeight <= 0 || y < 0) return r;
  int index = top() + y / lineHeight;
  if (index >= ListCount()) return r;
  MoveCursor(index);
  if (mode_ != kIdMode && x < 30) titles_.ToggleSelected(EntryTitle(index));
  return r;
}

ViewerResult ViewerModel::DoubleClick(int x, int y, int lineHeight) {
  ViewerResult r;
  if (view_ == ViewerView::Message) {
    CloseMessage(true);
  } else if (cursor_ < ListCount()) {
    OpenMessage();
  }
  return r;
}

std::vector<PopupItem> ViewerModel::PopupMenu() const {
  PopupContext c;
  c.messageView = view_ == ViewerView::Message;
  c.mode = mode_;
  c.hasTitles = ListCount() > 0;
  if (!message_.empty()) {
    c.conferenceMessage = IsMessageHeader(message_[0]);
    c.mailMessage = !c.conferenceMessage && MailHeaderTest(message_[0]) != 0;
  }
  c.gameRecord = c.messageView && HasGameRecord(message_);
  return ViewerPopupMenu(c, cfg_);
}

}  // namespace rkv
