#pragma once
// Symbol fonts a layout may name (Symbol, WingDings 1 to 3, Webdings) put pictures and signs at
// the places of letters: a WingDings "J" is a smiling face. Linux has none of these fonts, so
// each character is drawn as the Unicode character it pictures, in an installed font that has
// those glyphs.

#include <QString>

namespace postavo::design {

enum class SymbolFont { None, Symbol, Wingdings, Wingdings2, Wingdings3, Webdings };

// Which symbol font a stored font name is (case does not matter); None for a text font.
SymbolFont symbolFontOf(const QString& fontName);

// The Unicode character a symbol font shows for an 8-bit code; 0 when the code has no
// equivalent.
char32_t symbolCodeToUnicode(SymbolFont font, unsigned char code);

// The text as it looks in the named font: for a symbol font each character becomes what it
// pictures (characters without an equivalent stay as they are); any other font's text is
// returned unchanged.
QString symbolFontText(const QString& fontName, const QString& text);

// The installed family that draws the symbols (Symbola, else DejaVu Sans, else OpenSymbol).
QString symbolGlyphFamily();

} // namespace postavo::design
