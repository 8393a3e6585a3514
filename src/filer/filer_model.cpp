#include "filer/filer_model.h"

#include <algorithm>

#include "core/files.h"
#include "core/paths.h"
#include "core/sjis.h"
#include "filer/archive_bridge.h"
#include "filer/clipboard_operations.h"
#include "filer/file_operations.h"
#include "filer/filer_commands.h"
#include "filer/filer_open.h"
#include "filer/filer_programs.h"
#include "filer/path_commands.h"
#include "platform/locations.h"
#include "platform/os.h"

namespace rkv {
namespace {

const std::string& KindMask(const RKVcfg& cfg, int kind) {
  if (kind == kCnfFiler) return cfg.CnfFilerMask;
  if (kind == kMailFiler) return cfg.MailMask;
  return cfg.FilerMask;
}

FilerResult Changed(bool title) {
  FilerResult r;
  r.repaint = true;
  r.statusChanged = true;
  r.titleChanged = title;
  return r;
}

}  // namespace

std::string NormalizeFilerPath(std::string_view base, std::string_view typed) {
  std::string joined = !typed.empty() && typed[0] == '/' ? std::string(typed) : PathJoin(base, typed);
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= joined.size()) {
    size_t slash = joined.find('/', start);
    if (slash == std::string::npos) slash = joined.size();
    std::string part = joined.substr(start, slash - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(std::move(part));
    }
    start = slash + 1;
  }
  std::string out;
  for (const auto& p : parts) out += "/" + p;
  return out.empty() ? "/" : out;
}

FilerModel::FilerModel(int kind, const RKVcfg& cfg, Host& host, std::string startPath)
    : cfg_(cfg),
      host_(host),
      listing_(kind, KindMask(cfg, kind).empty() ? "*.*" : KindMask(cfg, kind)),
      associations_(ExtensionAssociations::Load(locations::WinIniPath())) {
  listing_.Sort(InitialSortOrder(kind == kCnfFiler ? cfg.CnfFilerSort : cfg.FilerSort));
  if (startPath.empty()) startPath = os::CurrentDir();
  GoTo(startPath);
  RememberFirstFilerPath(path());
}

const DspMode& FilerModel::dspMode() const {
  return kind() == kCnfFiler ? cfg_.CnfFilerDspMode : cfg_.FilerDspMode;
}

const std::string& FilerModel::DirectoryList() const {
  if (kind() == kCnfFiler) return cfg_.CnfDir;
  if (kind() == kMailFiler) return cfg_.MailDir;
  return cfg_.LogDir;
}

std::vector<std::string> FilerModel::DirectoryChoices() const {
  std::vector<std::string> out;
  for (int i = 0;; ++i) {
    auto entry = ListEntry(DirectoryList(), i);
    if (!entry) break;
    TrimBlanks(*entry, false);
    if (!entry->empty()) out.push_back(*entry);
  }
  return out;
}

void FilerModel::SetPageRows(int wholeRows, int rowsWithPartial) {
  pageRows_ = std::max(1, wholeRows);
  pageRowsPartial_ = std::max(pageRows_, rowsWithPartial);
  Clamp();
}

void FilerModel::MoveCursor(int index) {
  previousCursor_ = cursor_;
  cursor_ = index;
}

// Keeps cursor and top inside the listing and the cursor on the page.
void FilerModel::Clamp() {
  int n = count();
  if (n == 0) {
    cursor_ = top_ = 0;
    return;
  }
  cursor_ = std::clamp(cursor_, 0, n - 1);
  top_ = std::clamp(top_, 0, n - 1);
  if (cursor_ < top_) top_ = cursor_;
  if (cursor_ >= top_ + pageRows_) top_ = cursor_ - pageRows_ + 1;
}

FilerResult FilerModel::Reload(int mode, std::string_view dirName) {
  int cursor = cursor_, top = top_;
  int marksAtCursor = listing_.MarksUpTo(cursor_), marksAtTop = listing_.MarksUpTo(top_);
  listing_.Read(listing_.path(), dspMode());
  int n = count();
  switch (mode) {
    case 0:
      cursor = top = 0;
      break;
    case 1:
      if (cursor >= n) --cursor;
      if (top >= n) --top;
      break;
    case 2:
      cursor -= marksAtCursor;
      top -= marksAtTop;
      break;
    case 3: {
      cursor = top = 0;
      for (int i = 0; i < listing_.dirCount(); ++i) {
        if (listing_.at(i).name == dirName) cursor = i;
      }
      if (cursor >= pageRows_) top = cursor - pageRows_ + 1;
      break;
    }
    default:
      break;
  }
  previousCursor_ = cursor_;
  cursor_ = cursor;
  top_ = top;
  Clamp();
  return Changed(mode == 0 || mode == 3);
}

FilerResult FilerModel::GoTo(std::string_view pathOrPattern) {
  std::string base = path().empty() ? os::CurrentDir() : path();
  std::string name = FileNamePart(pathOrPattern);
  std::string target = name.find('*') != std::string::npos
                           ? PathJoin(NormalizeFilerPath(base, DirPart(pathOrPattern)), name)
                           : NormalizeFilerPath(base, pathOrPattern);
  listing_.Read(target, dspMode());
  previousCursor_ = cursor_;
  cursor_ = top_ = 0;
  return Changed(true);
}

FilerResult FilerModel::Reread() { return Reload(-1); }

FilerModel::SingleTarget FilerModel::TakeSingleTarget() {
  SingleTarget t;
  if (listing_.markCount() > 1) {
    t.refused = true;
    return t;
  }
  if (listing_.markCount() == 1) {
    t.index = listing_.MarkedIndices().front();
    listing_.ClearMarks();
  } else if (count() > 0) {
    t.index = cursor_;
  }
  t.directory = t.index >= 0 && listing_.at(t.index).IsDirectory();
  return t;
}

FilerResult FilerModel::Move(KeyAction action) {
  int n = count();
  if (n == 0) return {};
  int cursor = cursor_, top = top_;
  switch (action) {
    case KeyAction::Down:
      if (cursor + 1 < n) {
        ++cursor;
        if (cursor >= top + pageRows_) ++top;
      }
      break;
    case KeyAction::Up:
      if (cursor > 0) {
        --cursor;
        if (cursor < top) --top;
      }
      break;
    case KeyAction::PageTop:
      cursor = top;
      break;
    case KeyAction::PageDown:
      top = std::max(top, std::min(top + pageRows_, std::max(0, n - pageRows_)));
      cursor = top;
      break;
    case KeyAction::PageUp:
      top = std::max(0, top - pageRows_);
      cursor = top;
      break;
    case KeyAction::Home:
      cursor = top = 0;
      break;
    case KeyAction::End:
      top = std::max(0, n - pageRows_);
      cursor = top;
      break;
    default:
      return {};
  }
  MoveCursor(cursor);
  top_ = top;
  Clamp();
  return FilerResult::Repaint();
}

FilerResult FilerModel::Parent() {
  if (path() == "/") return {};
  std::string left = FileNamePart(path());
  std::string parent = DirPart(path());
  listing_.SetPath(parent.empty() ? "/" : parent);
  return Reload(3, left);
}

FilerResult FilerModel::Open() {
  if (count() == 0) return {};
  const FInfo& entry = listing_.at(cursor_);
  if (!entry.IsDirectory()) return OpenCursorFile(*this);
  if (entry.name[0] == '.') return Parent();
  return GoTo(entry.name);
}

FilerResult FilerModel::ToListDir(int position) {
  auto entry = ListEntry(DirectoryList(), position);
  if (!entry) return {};
  TrimBlanks(*entry, false);
  if (entry->empty() || !DirExists(*entry)) return {};
  return GoTo(*entry);
}

FilerResult FilerModel::SortCommand(int order) {
  listing_.Sort(order);  // each line moves with its entry
  previousCursor_ = cursor_;
  cursor_ = top_ = 0;
  return FilerResult::Repaint();
}

FilerResult FilerModel::MarkAll() {
  listing_.MarkAllFiles();
  return FilerResult::Repaint();
}

FilerResult FilerModel::Key(int virtualKey) {
  FilerKey key = FilerKeyBinding(virtualKey);
  switch (key.action) {
    case KeyAction::None:
      return {};
    case KeyAction::Command:
      return Command(key.value);
    case KeyAction::Button:
      return Button(key.value);
    case KeyAction::Open:
      return Open();
    case KeyAction::Parent:
      return Parent();
    case KeyAction::MarkDown: {
      if (count() == 0) return {};
      listing_.ToggleMark(cursor_);
      FilerResult r = Move(KeyAction::Down);
      r.repaint = true;
      return r;
    }
    case KeyAction::ListDir:
      return ToListDir(key.value);
    case KeyAction::Root:
      return GoTo("/");
    case KeyAction::RunFile:
      return RunCursorProgramFile(*this);
    case KeyAction::Help:
      host_.Message(FilerKeyHelpText(), FilerKeyHelpCaption(), Buttons::Ok);
      return {};
    default:
      return Move(key.action);
  }
}

FilerResult FilerModel::Button(int id) {
  namespace c = filer_cmd;
  switch (id) {
    case c::kButtonPath: return ChangePathCommand(*this);
    case c::kButtonName: return SortCommand(1);
    case c::kButtonExt: return SortCommand(2);
    case c::kButtonDate: return SortCommand(3);
    case c::kButtonMask: return ChangeMaskCommand(*this);
    case c::kButtonMarkAll: return MarkAll();
    case c::kButtonReread: return Command(c::kReread);
    default: {
      FilerResult r;
      r.handled = false;
      return r;
    }
  }
}

FilerResult FilerModel::Command(int id) {
  namespace c = filer_cmd;
  if (id >= c::kProgram1 && id <= c::kProgram8) return ProgramCommand(*this, id - c::kProgram1 + 1);
  switch (id) {
    case c::kFirstPage: return Move(KeyAction::Home);
    case c::kLastPage: return Move(KeyAction::End);
    case c::kLhaCompress:
    case c::kLhaUnpack:
    case c::kIshConvert:
    case c::kIshRestore:
    case c::kZipUnpack: return ArchiveCommand(*this, id);
    case c::kNoEffect1:
    case c::kNoEffect2: return {};
    case c::kRunCommand: return RunCommandCommand(*this);
    case c::kAppendFile: return AppendFileCommand(*this);
    case c::kAppendClipboard: return AppendClipboardCommand(*this);
    case c::kFileToClipboard: return FileToClipboardCommand(*this);
    case c::kView: return OpenInViewers(*this);
    case c::kDivide: return DivideCommand(*this);
    case c::kCopy: return CopyCommand(*this);
    case c::kDelete: return DeleteCommand(*this);
    case c::kMove: return MoveCommand(*this);
    case c::kRename: return RenameCommand(*this);
    case c::kReread: {
      int before = count();
      FilerResult r = Reread();
      if (count() != before) {
        MoveCursor(0);
        top_ = 0;
        r.repaint = true;
      }
      return r;
    }
    case c::kMakeDir: return MakeDirCommand(*this);
    case c::kRemoveDir: return RemoveDirCommand(*this);
    case c::kDeleteBak: return DeleteBakCommand(*this);
    case c::kEditor: return EditorCommand(*this);
    case c::kClose: {
      FilerResult r;
      r.request = FilerRequest::Close;
      return r;
    }
    case c::kSortNameUp: return SortCommand(1);
    case c::kSortNameDown: return SortCommand(5);
    case c::kSortExtUp: return SortCommand(2);
    case c::kSortExtDown: return SortCommand(6);
    case c::kSortNewest: return SortCommand(3);
    case c::kSortOldest: return SortCommand(7);
    case c::kSortLargest: return SortCommand(4);
    case c::kSortSmallest: return SortCommand(8);
    default: {
      FilerResult r;
      r.handled = false;
      return r;
    }
  }
}

FilerResult FilerModel::Click(int rowOnPage, bool inMarkZone) {
  int index = top_ + rowOnPage;
  if (rowOnPage < 0 || index >= count()) return {};
  MoveCursor(index);
  if (inMarkZone) listing_.ToggleMark(index);
  return FilerResult::Repaint();
}

FilerResult FilerModel::DoubleClick(int rowOnPage) {
  int index = top_ + rowOnPage;
  if (rowOnPage < 0 || index >= count()) return {};
  MoveCursor(index);
  FilerResult r = Open();
  r.repaint = true;
  return r;
}

FilerResult FilerModel::ScrollTo(int top) {
  int n = count();
  if (n == 0) return {};
  top_ = std::clamp(top, 0, std::max(0, n - 1));
  if (cursor_ < top_ || cursor_ >= top_ + pageRows_) MoveCursor(top_);
  Clamp();
  return FilerResult::Repaint();
}

FilerResult FilerModel::DisplaySettingsChanged() {
  listing_.BuildLines(dspMode());
  return FilerResult::Repaint();
}

}  // namespace rkv
