#include "support/scripted_host.h"

#include <gtest/gtest.h>

#include "core/cp932.h"

namespace rkv::test {

Answer ScriptedHost::Message(std::string_view text, std::string_view caption, Buttons buttons,
                             BoxIcon icon) {
  shown.push_back(Shown{std::string(caption), std::string(text), buttons, icon});
  if (buttons == Buttons::Ok) return Answer::Ok;
  if (answers.empty()) {
    ADD_FAILURE() << "unscripted question: " << cp932::ToUtf8(caption) << ": " << cp932::ToUtf8(text);
    return buttons == Buttons::YesNo ? Answer::No : Answer::Abort;
  }
  Answer a = answers.front();
  answers.pop_front();
  return a;
}

std::optional<std::string> ScriptedHost::AskText(std::string_view title, std::string_view prompt,
                                                 std::string_view initial, size_t maxBytes) {
  asked.push_back(Asked{std::string(title), std::string(prompt), std::string(initial), maxBytes, {}});
  if (inputs.empty()) {
    ADD_FAILURE() << "unscripted input: " << cp932::ToUtf8(title);
    return std::nullopt;
  }
  auto v = inputs.front();
  inputs.pop_front();
  return v;
}

std::optional<std::string> ScriptedHost::AskPath(std::string_view title, std::string_view prompt,
                                                 const std::vector<std::string>& choices) {
  asked.push_back(Asked{std::string(title), std::string(prompt), "", 255, choices});
  if (inputs.empty()) {
    ADD_FAILURE() << "unscripted path: " << cp932::ToUtf8(title);
    return std::nullopt;
  }
  auto v = inputs.front();
  inputs.pop_front();
  return v;
}

std::optional<std::string> ScriptedHost::AskOpenFile(const OpenFileRequest& request) {
  fileRequests.push_back(request);
  if (inputs.empty()) {
    ADD_FAILURE() << "unscripted file dialog: " << cp932::ToUtf8(request.title);
    return std::nullopt;
  }
  auto v = inputs.front();
  inputs.pop_front();
  return v;
}

std::optional<LhaUnpackChoice> ScriptedHost::LhaUnpackDlg(std::string_view title,
                                                          const std::vector<std::string>& lines,
                                                          std::string_view folder) {
  unpackAsked.push_back({std::string(title), std::string(folder), lines});
  if (unpackChoices.empty()) {
    ADD_FAILURE() << "unscripted LHA unpack dialog";
    return std::nullopt;
  }
  auto v = unpackChoices.front();
  unpackChoices.pop_front();
  return v;
}

std::string ScriptedHost::Transcript() const {
  std::string out;
  for (const auto& s : shown) out += cp932::ToUtf8(s.caption) + ": " + cp932::ToUtf8(s.text) + "\n";
  return out;
}

}  // namespace rkv::test
