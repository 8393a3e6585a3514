#include "app/fonts.h"

#include <cmath>

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
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

int CellWidth(const QFont& font) { return QFontMetrics(font).horizontalAdvance(QLatin1Char('0')); }

bool IsGridFont(const QFont& font) {
  QFontMetricsF fm(font);
  const qreal cell = fm.horizontalAdvance(QLatin1Char('0'));
  if (cell <= 0) return false;
  auto near = [](qreal a, qreal b) { return std::abs(a - b) < 0.05; };
  for (QChar c : QStringLiteral("iWm.")) {
    if (!near(fm.horizontalAdvance(c), cell)) return false;
  }
  // Kana, kanji and the full-width blank: two cells each.
  for (QChar c : QStringLiteral("\u3042\u6F22\u3000\uFF21")) {
    if (!near(fm.horizontalAdvance(c), 2 * cell)) return false;
  }
  return true;
}

QStringList GridFontFamilies() {
  QStringList out;
  for (const QString& family : QFontDatabase::families()) {
    if (QFontDatabase::isPrivateFamily(family)) continue;
    QFont f(family);
    f.setPixelSize(16);
    f.setStyle(QFont::StyleNormal);
    f.setWeight(QFont::Normal);
    // A family missing here would be replaced by another one.
    if (QFontInfo(f).family() != family) continue;
    if (IsGridFont(f)) out << family;
  }
  out.sort(Qt::CaseInsensitive);
  return out;
}

QColor ColorFromRef(int ref) { return QColor(ref & 0xFF, (ref >> 8) & 0xFF, (ref >> 16) & 0xFF); }

int RefFromColor(const QColor& c) { return c.red() | c.green() << 8 | c.blue() << 16; }

}  // namespace rkv
