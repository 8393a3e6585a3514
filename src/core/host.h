// Everything the user sees or answers goes through the host: the desktop program
// implements it with dialogs, rkvtool on the terminal, tests with a script.
// All texts are CP932.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rkv {

enum class Buttons { Ok, YesNo, AbortRetryIgnore };
enum class Answer { Ok, Yes, No, Abort, Retry, Ignore, Cancel };
enum class BoxIcon { None, Information, Warning, Error };

struct Date {
  int year = 2000;
  int month = 1;
  int day = 1;
};

struct TimeOfDay {
  int hour = 0;
  int minute = 0;
};

// Today's date and the time from the system clock (local time).
Date SystemToday();
TimeOfDay SystemTimeOfDay();

// The keyword search dialog's fields (CP932): two keywords and the output file.
struct SearchKeys {
  std::string key1, key2, outFile;
};

// A file-open dialog: filters as (description, mask) pairs, the first selected.
struct OpenFileRequest {
  std::string title;
  std::vector<std::pair<std::string, std::string>> filters;
  std::string initialDirectory;
  bool mustExist = true;
};

// What the LHA unpack dialog returns: the output folder and the chosen lines
// (indices into the list, in list order).
struct LhaUnpackChoice {
  std::string folder;
  std::vector<int> chosen;
};

class Host {
 public:
  virtual ~Host() = default;

  virtual Answer Message(std::string_view text, std::string_view caption, Buttons buttons,
                         BoxIcon icon = BoxIcon::None) = 0;
  // A one-line input of at most maxBytes bytes; nothing when cancelled.
  virtual std::optional<std::string> AskText(std::string_view title, std::string_view prompt,
                                             std::string_view initial, size_t maxBytes) = 0;
  // The path dialog: an editable choice among directories; nothing when cancelled.
  virtual std::optional<std::string> AskPath(std::string_view title, std::string_view prompt,
                                             const std::vector<std::string>& choices) = 0;
  virtual std::optional<std::string> AskOpenFile(const OpenFileRequest& request) = 0;

  // The LHA unpack dialog ("LHA_UNPACK_DLG"): a multiple-selection list of the
  // member lines and the output folder (128 bytes). Hosts without it cancel.
  virtual std::optional<LhaUnpackChoice> LhaUnpackDlg(std::string_view title,
                                                      const std::vector<std::string>& lines,
                                                      std::string_view folder) {
    return std::nullopt;
  }

  // The keyword search dialog ("SEARCH_DLG"), opened on the keys given; false
  // when cancelled. Hosts without it cancel.
  virtual bool SearchKeyDlg(SearchKeys& keys) { return false; }

  virtual bool SetClipboard(std::string_view text) = 0;  // CR LF line ends
  virtual std::optional<std::string> Clipboard() = 0;     // CR LF line ends

  // Starts a program from a command line without waiting; >= 32 means started.
  virtual int Launch(std::string_view commandLine) = 0;

  virtual void BeginWait() {}
  virtual void EndWait() {}
  // Lets windows repaint during a long operation.
  virtual void Pump() {}

  virtual Date Today() = 0;
  virtual TimeOfDay Now() { return SystemTimeOfDay(); }
};

// Shows the wait cursor for a scope.
class WaitCursor {
 public:
  explicit WaitCursor(Host& host) : host_(host) { host_.BeginWait(); }
  ~WaitCursor() { host_.EndWait(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  Host& host_;
};


}  // namespace rkv
