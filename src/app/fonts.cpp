#include "app/fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QScreen>

#include "app/text.h"

namespace rkv {

QFont SystemFixedFont() {
  static const char* preferred[] = {"Noto Sans Mono CJK JP", "Noto Sans Mono CJK SC", "IPAGothic",
                                    "VL Gothic"};
  const QStringList families = QFontDatabase::families();
  for (const char* name : preferred) {
    if (families.contains(QString::fromLatin1(name))) {
      QFont f(QString::fromLatin1(name));
      f.setPixelSize(16);
      f.setStyleHint(QFont::TypeWriter);
      return f;
    }
  }
  QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  f.setPixelSize(16);
  return f;
}

QFont FontFromInfo(const FontInfo& info) {
  if (info.face.size() <= 3) return SystemFixedFont();
  QFont f(FromSj(info.face));
  f.setStyleHint(QFont::TypeWriter);
  f.setWeight(QFont::Normal);
  int h = info.height < 0 ? -info.height : info.height;
  f.setPixelSize(h > 0 ? h : 16);
  return f;
}

FontInfo InfoFromFont(const QFont& font) {
  FontInfo info;
  info.face = ToSj(font.family()).substr(0, 31);
  int px = font.pixelSize();
  if (px <= 0) {
    double dpi = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->logicalDotsPerInchY() : 96;
    px = static_cast<int>(font.pointSizeF() * dpi / 72.0 + 0.5);
  }
  info.height = -px;
  return info;
}

QColor ColorFromRef(int ref) { return QColor(ref & 0xFF, (ref >> 8) & 0xFF, (ref >> 16) & 0xFF); }

int RefFromColor(const QColor& c) { return c.red() | c.green() << 8 | c.blue() << 16; }

}  // namespace rkv
