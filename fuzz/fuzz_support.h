// What the fuzz targets share: a scratch folder of their own and a host that
// answers every question without a screen.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "core/host.h"

namespace rkv::fuzz {

// A fresh, empty folder for this process, emptied again on every call.
inline std::filesystem::path Scratch() {
  static const std::filesystem::path root = [] {
    std::string templ = (std::filesystem::temp_directory_path() / "rkvfuzz.XXXXXX").string();
    if (!::mkdtemp(templ.data())) std::abort();
    static std::string made = templ;
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(made, ec);
    });
    return std::filesystem::path(templ);
  }();
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(root, ec)) std::filesystem::remove_all(entry, ec);
  return root;
}

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Answers each question with the next choice of a small script taken from
// the input, so the fuzzer reaches every branch of a question.
class FuzzHost : public Host {
 public:
  explicit FuzzHost(uint8_t script = 0) : script_(script) {}
  Answer Message(std::string_view, std::string_view, Buttons buttons, BoxIcon) override {
    int pick = (script_ >> (2 * (asked_++ % 4))) & 3;
    switch (buttons) {
      case Buttons::AbortRetryIgnore:
        return pick == 0 ? Answer::Abort : pick == 1 ? Answer::Retry : Answer::Ignore;
      case Buttons::YesNo:
        return pick & 1 ? Answer::Yes : Answer::No;
      case Buttons::Ok:
        return Answer::Ok;
    }
    return Answer::Ok;
  }
  std::optional<std::string> AskText(std::string_view, std::string_view, std::string_view, size_t) override {
    return std::nullopt;
  }
  std::optional<std::string> AskPath(std::string_view, std::string_view, const std::vector<std::string>&) override {
    return std::nullopt;
  }
  std::optional<std::string> AskOpenFile(const OpenFileRequest&) override { return std::nullopt; }
  bool SetClipboard(std::string_view) override { return true; }
  std::optional<std::string> Clipboard() override { return std::nullopt; }
  int Launch(std::string_view) override { return 0; }
  Date Today() override { return Date{2026, 12, 9}; }

 private:
  uint8_t script_;
  int asked_ = 0;
};

}  // namespace rkv::fuzz
