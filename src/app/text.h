// Conversions at the widget edge: core text is CP932, widgets show Unicode.
#pragma once

#include <QString>
#include <QValidator>

#include <string>
#include <string_view>

namespace rkv {

// CP932 text for display; CR bytes are dropped (the program's message texts
// break lines with LF CR).
QString FromSj(std::string_view cp932);
// What the user typed or chose, as CP932.
std::string ToSj(const QString& text);
// A name from a file dialog (a name on disk) as a core path.
std::string CorePath(const QString& nativePath);
// A core path as a name on disk, for Qt file APIs.
QString QtPath(std::string_view corePath);
// Byte length of the text as CP932.
size_t SjLength(const QString& text);

// Limits an edit field to a number of CP932 bytes, as the fixed buffers did;
// a field of paths counts them as core paths (see CorePath).
class ByteLimitValidator : public QValidator {
 public:
  ByteLimitValidator(size_t maxBytes, QObject* parent, bool paths = false)
      : QValidator(parent), max_(maxBytes), paths_(paths) {}
  State validate(QString& input, int&) const override;

 private:
  size_t max_;
  bool paths_;
};

}  // namespace rkv
