#include "app/text.h"

#include "core/cp932.h"
#include "platform/os.h"

namespace rkv {

QString FromSj(std::string_view cp932) {
  QString s = QString::fromUtf8(cp932::ToUtf8(cp932));
  s.remove(QLatin1Char('\r'));
  return s;
}

std::string ToSj(const QString& text) { return cp932::FromUtf8(text.toUtf8().toStdString()); }

std::string CorePath(const QString& nativePath) { return os::FromNative(nativePath.toUtf8().toStdString()); }

QString QtPath(std::string_view corePath) { return QString::fromUtf8(os::Native(corePath)); }

size_t SjLength(const QString& text) { return ToSj(text).size(); }

QValidator::State ByteLimitValidator::validate(QString& input, int&) const {
  size_t length = paths_ ? CorePath(input).size() : SjLength(input);
  return length <= max_ ? Acceptable : Invalid;
}

}  // namespace rkv
