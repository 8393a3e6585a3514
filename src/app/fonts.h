// Fonts and colours of the settings as Qt objects.
#pragma once

#include <QColor>
#include <QFont>

#include "settings/settings.h"

namespace rkv {

// The fixed-pitch font used where no font is chosen: a Japanese monospace face
// when one is installed.
QFont SystemFixedFont();
// The stored font when its face name is longer than 3 bytes, else the fixed font.
QFont FontFromInfo(const FontInfo& info);
// The font's face and its character height (negative pixels) for storing.
FontInfo InfoFromFont(const QFont& font);

// Colours are stored as 0x00BBGGRR values.
QColor ColorFromRef(int colorRef);
int RefFromColor(const QColor& color);

}  // namespace rkv
