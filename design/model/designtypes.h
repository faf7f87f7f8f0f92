#pragma once
// Values the design objects share with their layout files: colours as stored (0x00BBGGRR plus
// the system colours), the contained Font, Pen and Brush objects, pictures, and the screen
// measures (pixels per inch, the millisecond tick) behind one function each so tests can set them.

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QString>
#include <QImage>
#include <QtGlobal>
#include <cmath>
#include <functional>

namespace postavo::design {

// Anything whose published properties a property table describes: the design objects and the
// contained Font, Pen and Brush.
struct Persistent {
    virtual ~Persistent() = default;
    // Carries no value of its own: derived values compare by their members alone.
    bool operator==(const Persistent&) const { return true; }
};

// ---- Colours ----
using TColor = qint32;
inline constexpr TColor clBlack = 0, clGray = 8421504, clWhite = 16777215, clAqua = 16776960,
                        clNone = 536870911;
inline constexpr TColor clSystemBase = TColor(0x80000000u);
QColor toQColor(TColor c);
TColor fromQColor(const QColor& c);
// The stored name of a colour, or empty when it has none (then it is written as an integer).
QByteArray colourName(TColor c);
// A colour name, letter case ignored; false when unknown.
bool colourFromName(const QByteArray& name, TColor* out);

// ---- Rounding: half to even, the rounding of every stored pixel ----
inline int roundHalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }

// ---- Screen measures ----
// Pixels per inch of the screen layouts are measured in (96 unless a test or the program sets it).
double screenPpi();
void setScreenPpi(double ppi);
// Milliseconds of the system tick, for the paste guard and the drag thresholds.
qint64 tickMs();
void setTickSource(std::function<qint64()> source); // empty: the real clock

// ---- Contained objects ----
enum class FontPitch { Default, Variable, Fixed };
enum FontStyleBit { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct LayoutFont : Persistent {
    TColor color = clBlack;
    int height = -13;                     // negative pixel height at the writer's screen
    QString name = QStringLiteral("Arial");
    int pitch = int(FontPitch::Default);
    int style = 0;                        // FontStyleBit set
    bool operator==(const LayoutFont&) const = default;

    static LayoutFont fromPoints(const QString& name, double points, int style = 0, TColor color = clBlack);
    int points() const;                   // -height x 72 / ppi, rounded
};

struct LayoutPen : Persistent {
    TColor color = clBlack;
    int mode = 4;                         // pmCopy
    int style = 0;                        // psSolid
    int width = 1;
    bool operator==(const LayoutPen&) const = default;
};

struct LayoutBrush : Persistent {
    TColor color = clWhite;
    int style = 0;                        // bsSolid
    bool operator==(const LayoutBrush&) const = default;
};

// A picture as its file stores it: the kind (TBitmap, TIcon, TMetafile) and its own data, kept
// byte for byte so that a picture is written back exactly as it was read.
struct LayoutPicture {
    QByteArray data; // "Picture.Data" payload; empty = no picture
    bool isEmpty() const { return data.isEmpty(); }
    QByteArray kind() const;              // the leading short string
    QImage image() const;                 // bitmaps and icons as an image; null otherwise
    static LayoutPicture fromImage(const QImage& image); // as a TBitmap (BMP file)
    bool operator==(const LayoutPicture&) const = default;
};

// ---- Fonts on screen ----
// The family a stored font name stands for on this system: Arial, Times New Roman and Courier New
// resolve to their Liberation twins; the symbol fonts (WingDings, Symbol, ...) to the installed font
// that draws the Unicode characters their codes picture.
QString resolveFontFamily(const QString& name);
// The font of an object on the screen: its point size, truncated after scaling by `zoom` when the
// zoom is not 1.0, at the screen's pixels per inch.
QFont screenFont(const LayoutFont& font, float zoom = 1.0f);
// The point size an object's font has on screen at `zoom` (Trunc(size x zoom) when zoom is not 1).
int zoomedPoints(const LayoutFont& font, float zoom);

// Text metrics in the terms the layout rules use. Windows' cell height is ascent + descent; its
// internal leading is the part of the cell above the em square (cell height - pixel size); its
// external leading is the font's recommended gap between lines.
struct TextMetrics {
    explicit TextMetrics(const QFont& font);
    int cellHeight = 0, internalLeading = 0, externalLeading = 0, ascent = 0, descent = 0;
    int width(const QString& text) const;
    int height() const { return cellHeight; }
private:
    QFont font_;
};

} // namespace postavo::design
