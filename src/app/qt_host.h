// The host of the desktop program: message boxes, input dialogs, the clipboard,
// program launch and the wait cursor, with Qt's widgets.
#pragma once

#include <QPointer>
#include <QWidget>

#include <optional>

#include "core/host.h"

namespace rkv {

class QtHost : public Host {
 public:
  // Dialogs are owned by the active window when there is one, else by fallback.
  explicit QtHost(QWidget* fallbackOwner = nullptr) : owner_(fallbackOwner) {}
  void SetOwner(QWidget* owner) { owner_ = owner; }
  void FixToday(const Date& date) { today_ = date; }

  Answer Message(std::string_view text, std::string_view caption, Buttons buttons,
                 BoxIcon icon = BoxIcon::None) override;
  std::optional<std::string> AskText(std::string_view title, std::string_view prompt,
                                     std::string_view initial, size_t maxBytes) override;
  std::optional<std::string> AskPath(std::string_view title, std::string_view prompt,
                                     const std::vector<std::string>& choices) override;
  bool SearchKeyDlg(SearchKeys& keys) override;
  std::optional<std::string> AskOpenFile(const OpenFileRequest& request) override;
  std::optional<LhaUnpackChoice> LhaUnpackDlg(std::string_view title, const std::vector<std::string>& lines,
                                              std::string_view folder) override;
  bool SetClipboard(std::string_view text) override;
  std::optional<std::string> Clipboard() override;
  int Launch(std::string_view commandLine) override;
  void BeginWait() override;
  void EndWait() override;
  void Pump() override;
  Date Today() override;

 private:
  QWidget* Owner() const;
  QPointer<QWidget> owner_;
  std::optional<Date> today_;
};

}  // namespace rkv
