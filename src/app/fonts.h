// Fonts and colours of the settings as Qt objects.
#pragma once

#include <QColor>
#include <QFont>
#include <QStringList>

#include "settings/settings.h"

namespace rkv {

// The fixed-pitch font used where no font is chosen: a Japanese monospace face
// when one is installed.
QFont SystemFixedFont();
// The stored font when its face name is longer than 3 bytes, else the fixed font.
QFont FontFromInfo(const FontInfo& info);
// The font's face and its character height (negative pixels) for storing.
FontInfo InfoFromFont(const QFont& font);

// The width of one half-width cell: the advance of "0". A CJK face's average
// character width is its full-width advance, twice the cell the columns use.
int CellWidth(const QFont& font);
// True when the face lays text on a grid of half-width cells with full-width
// characters exactly two cells wide, so the title columns line up.
bool IsGridFont(const QFont& font);
// Every installed family that keeps that grid, sorted.
QStringList GridFontFamilies();

// Colours are stored as 0x00BBGGRR values.
QColor ColorFromRef(int colorRef);
int RefFromColor(const QColor& color);

}  // namespace rkv
