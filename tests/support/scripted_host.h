// A host that records every message and answers from a script, so tests can
// assert the exact texts and never wait on a dialog.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/host.h"

namespace rkv::test {

struct Shown {
  std::string caption;  // CP932
  std::string text;     // CP932
  Buttons buttons = Buttons::Ok;
  BoxIcon icon = BoxIcon::None;
};

class ScriptedHost : public Host {
 public:
  // Answers for questions (Yes/No, Abort/Retry/Ignore), in order. A question
  // without a scripted answer fails the test and answers No or Abort.
  std::deque<Answer> answers;
  // Answers for AskText / AskPath / AskOpenFile in order; nullopt = cancel.
  std::deque<std::optional<std::string>> inputs;
  std::vector<Shown> shown;
  struct Asked {
    std::string title, prompt, initial;
    size_t maxBytes = 0;
    std::vector<std::string> choices;
  };
  std::vector<Asked> asked;
  std::vector<OpenFileRequest> fileRequests;
  // The LHA unpack dialog: what it was shown, and the scripted choices (nullopt = cancel).
  struct UnpackAsked {
    std::string title, folder;
    std::vector<std::string> lines;
  };
  std::vector<UnpackAsked> unpackAsked;
  std::deque<std::optional<LhaUnpackChoice>> unpackChoices;
  // The search dialog: the fields it opened with, and the scripted fields it
  // closes with (nullopt = cancel; none scripted cancels).
  std::vector<SearchKeys> searchShown;
  std::deque<std::optional<SearchKeys>> searchAnswers;
  std::vector<std::string> launched;
  int launchResult = 33;
  std::optional<std::string> clipboard;
  Date today{2026, 12, 8};
  int waits = 0;

  Answer Message(std::string_view text, std::string_view caption, Buttons buttons,
                 BoxIcon icon = BoxIcon::None) override;
  std::optional<std::string> AskText(std::string_view title, std::string_view prompt,
                                     std::string_view initial, size_t maxBytes) override;
  std::optional<std::string> AskPath(std::string_view title, std::string_view prompt,
                                     const std::vector<std::string>& choices) override;
  std::optional<std::string> AskOpenFile(const OpenFileRequest& request) override;
  std::optional<LhaUnpackChoice> LhaUnpackDlg(std::string_view title, const std::vector<std::string>& lines,
                                              std::string_view folder) override;
  bool SetClipboard(std::string_view text) override {
    clipboard = std::string(text);
    return true;
  }
  std::optional<std::string> Clipboard() override { return clipboard; }
  int Launch(std::string_view commandLine) override {
    launched.emplace_back(commandLine);
    return launchResult;
  }
  void BeginWait() override { ++waits; }
  // Called where the program lets windows repaint during a long operation.
  std::function<void()> onPump;
  void Pump() override {
    if (onPump) onPump();
  }
  Date Today() override { return today; }
  TimeOfDay now{9, 5};
  TimeOfDay Now() override { return now; }
  bool SearchKeyDlg(SearchKeys& keys) override {
    searchShown.push_back(keys);
    if (searchAnswers.empty() || !searchAnswers.front()) {
      if (!searchAnswers.empty()) searchAnswers.pop_front();
      return false;
    }
    keys = *searchAnswers.front();
    searchAnswers.pop_front();
    return true;
  }

  // The texts shown, as UTF-8 "caption: text" lines, for failure messages.
  std::string Transcript() const;
};

}  // namespace rkv::test
