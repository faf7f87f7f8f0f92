#include "designtypes.h"

#include "printunits.h"
#include "symbolfonts.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPalette>
#include <QtEndian>

namespace postavo::design {

namespace {

struct NamedColour {
    const char* name;
    TColor value;
};

// The named colours, in the order a colour name is looked up when writing.
const NamedColour kColours[] = {
    {"clBlack", 0}, {"clMaroon", 128}, {"clGreen", 32768}, {"clOlive", 32896},
    {"clNavy", 8388608}, {"clPurple", 8388736}, {"clTeal", 8421376}, {"clGray", 8421504},
    {"clSilver", 12632256}, {"clRed", 255}, {"clLime", 65280}, {"clYellow", 65535},
    {"clBlue", 16711680}, {"clFuchsia", 16711935}, {"clAqua", 16776960}, {"clWhite", 16777215},
    {"clScrollBar", TColor(0x80000000u)}, {"clBackground", TColor(0x80000001u)},
    {"clActiveCaption", TColor(0x80000002u)}, {"clInactiveCaption", TColor(0x80000003u)},
    {"clMenu", TColor(0x80000004u)}, {"clWindow", TColor(0x80000005u)},
    {"clWindowFrame", TColor(0x80000006u)}, {"clMenuText", TColor(0x80000007u)},
    {"clWindowText", TColor(0x80000008u)}, {"clCaptionText", TColor(0x80000009u)},
    {"clActiveBorder", TColor(0x8000000Au)}, {"clInactiveBorder", TColor(0x8000000Bu)},
    {"clAppWorkSpace", TColor(0x8000000Cu)}, {"clHighlight", TColor(0x8000000Du)},
    {"clHighlightText", TColor(0x8000000Eu)}, {"clBtnFace", TColor(0x8000000Fu)},
    {"clBtnShadow", TColor(0x80000010u)}, {"clGrayText", TColor(0x80000011u)},
    {"clBtnText", TColor(0x80000012u)}, {"clInactiveCaptionText", TColor(0x80000013u)},
    {"clBtnHighlight", TColor(0x80000014u)}, {"cl3DDkShadow", TColor(0x80000015u)},
    {"cl3DLight", TColor(0x80000016u)}, {"clInfoText", TColor(0x80000017u)},
    {"clInfoBk", TColor(0x80000018u)}, {"clNone", 536870911},
};

double g_ppi = 96.0;
std::function<qint64()> g_tick;

} // namespace

QColor toQColor(TColor c)
{
    if (c == clNone)
        return QColor(Qt::transparent);
    if ((quint32(c) & 0xFF000000u) == 0x80000000u) {
        // System colours follow the palette's roles.
        const QPalette pal =
            qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::palette() : QPalette();
        switch (quint32(c) & 0xFF) {
        case 0: case 15: case 22: return pal.color(QPalette::Button);
        case 1: case 12: return pal.color(QPalette::Dark);
        case 2: case 13: return pal.color(QPalette::Highlight);
        case 5: case 24: return pal.color(QPalette::Base);
        case 7: case 8: case 18: case 9: case 23: return pal.color(QPalette::Text);
        case 14: return pal.color(QPalette::HighlightedText);
        case 16: case 17: case 19: return pal.color(QPalette::Mid);
        case 20: return pal.color(QPalette::Light);
        case 21: return pal.color(QPalette::Shadow);
        default: return pal.color(QPalette::Window);
        }
    }
    const quint32 v = quint32(c);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

TColor fromQColor(const QColor& c)
{
    return TColor(quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16));
}

QByteArray colourName(TColor c)
{
    for (const auto& n : kColours)
        if (n.value == c)
            return n.name;
    return {};
}

bool colourFromName(const QByteArray& name, TColor* out)
{
    for (const auto& n : kColours)
        if (name.compare(n.name, Qt::CaseInsensitive) == 0) {
            *out = n.value;
            return true;
        }
    return false;
}

double screenPpi() { return g_ppi; }
void setScreenPpi(double ppi) { g_ppi = ppi > 0 ? ppi : 96.0; }

qint64 tickMs()
{
    if (g_tick)
        return g_tick();
    static QElapsedTimer timer;
    if (!timer.isValid())
        timer.start();
    // Never 0, so "no paste yet" stays distinguishable from a paste at start-up.
    return timer.elapsed() + 1000000;
}

void setTickSource(std::function<qint64()> source) { g_tick = std::move(source); }

LayoutFont LayoutFont::fromPoints(const QString& name, double points, int style, TColor color)
{
    LayoutFont f;
    f.name = name;
    f.height = printing::pointsToFontHeight(points, screenPpi());
    f.style = style;
    f.color = color;
    return f;
}

int LayoutFont::points() const { return printing::fontHeightToPoints(height, screenPpi()); }

QByteArray LayoutPicture::kind() const
{
    if (data.isEmpty())
        return {};
    const int n = quint8(data.at(0));
    return data.mid(1, n);
}

QImage LayoutPicture::image() const
{
    const QByteArray k = kind();
    const QByteArray rest = data.mid(1 + k.size());
    if (k == "TBitmap" && rest.size() >= 4) {
        const quint32 n = qFromLittleEndian<quint32>(rest.constData());
        return QImage::fromData(rest.mid(4, int(std::min<quint32>(n, quint32(rest.size() - 4)))), "BMP");
    }
    if (k == "TIcon")
        return QImage::fromData(rest, "ICO");
    return {};
}

LayoutPicture LayoutPicture::fromImage(const QImage& image)
{
    LayoutPicture p;
    if (image.isNull())
        return p;
    QByteArray bmp;
    QBuffer buf(&bmp);
    buf.open(QIODevice::WriteOnly);
    image.save(&buf, "BMP");
    p.data.append(char(7));
    p.data.append("TBitmap");
    char n[4];
    qToLittleEndian<quint32>(quint32(bmp.size()), n);
    p.data.append(n, 4);
    p.data.append(bmp);
    return p;
}

QString resolveFontFamily(const QString& name)
{
    static const struct { const char* from; const char* to; } twins[] = {
        {"Arial", "Liberation Sans"}, {"Times New Roman", "Liberation Serif"},
        {"Courier New", "Liberation Mono"}, {"Helvetica", "Liberation Sans"},
    };
    for (const auto& t : twins)
        if (name.compare(QLatin1String(t.from), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(t.to);
    // Symbol fonts are drawn as the Unicode characters they picture (see symbolFontText).
    if (symbolFontOf(name) != SymbolFont::None)
        return symbolGlyphFamily();
    return name;
}

int zoomedPoints(const LayoutFont& font, float zoom)
{
    const int pts = font.points();
    if (zoom == 1.0f)
        return pts;
    return int(float(pts) * zoom);
}

QFont screenFont(const LayoutFont& font, float zoom)
{
    QFont f(resolveFontFamily(font.name));
    const int pts = zoomedPoints(font, zoom);
    f.setPixelSize(std::max(1, roundHalfEven(pts * screenPpi() / 72.0)));
    f.setBold(font.style & fsBold);
    f.setItalic(font.style & fsItalic);
    f.setUnderline(font.style & fsUnderline);
    f.setStrikeOut(font.style & fsStrikeOut);
    if (font.pitch == int(FontPitch::Fixed))
        f.setFixedPitch(true);
    return f;
}

TextMetrics::TextMetrics(const QFont& font) : font_(font)
{
    const QFontMetrics fm(font);
    ascent = fm.ascent();
    descent = fm.descent();
    cellHeight = ascent + descent;
    const int em = font.pixelSize() > 0 ? font.pixelSize() : cellHeight;
    internalLeading = std::max(0, cellHeight - em);
    externalLeading = std::max(0, fm.leading());
}

int TextMetrics::width(const QString& text) const { return QFontMetrics(font_).horizontalAdvance(text); }

} // namespace postavo::design
