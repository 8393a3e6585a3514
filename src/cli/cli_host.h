// The host of rkvtool: messages are printed, questions answered from options.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "core/host.h"

namespace rkv {

class CliHost : public Host {
 public:
  // raw: print CP932 bytes as they are instead of UTF-8.
  CliHost(std::FILE* out, bool raw) : out_(out), raw_(raw) {}

  void FixToday(const Date& d) { today_ = d; }
  void SetGapAnswer(Answer a) { gapAnswer_ = a; }

  // Prints one line of program text (CP932) in the output encoding.
  void PrintLine(std::string_view cp932Line) { PrintShown(Shown(cp932Line)); }
  // The line in the output encoding with its line feed, and printing such a line.
  std::string Shown(std::string_view cp932Line) const;
  void PrintShown(std::string_view shownLine);

  Answer Message(std::string_view text, std::string_view caption, Buttons buttons,
                 BoxIcon icon) override;
  std::optional<std::string> AskText(std::string_view, std::string_view, std::string_view,
                                     size_t) override {
    return std::nullopt;
  }
  std::optional<std::string> AskPath(std::string_view, std::string_view,
                                     const std::vector<std::string>&) override {
    return std::nullopt;
  }
  std::optional<std::string> AskOpenFile(const OpenFileRequest&) override { return std::nullopt; }
  bool SetClipboard(std::string_view) override { return false; }
  std::optional<std::string> Clipboard() override { return std::nullopt; }
  int Launch(std::string_view commandLine) override;
  Date Today() override { return today_ ? *today_ : SystemToday(); }

 private:
  std::FILE* out_;
  bool raw_;
  std::optional<Date> today_;
  Answer gapAnswer_ = Answer::Abort;
};

}  // namespace rkv
