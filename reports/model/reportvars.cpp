#include "reportvars.h"

#include "printunits.h"

#include <QSizeF>
#include <algorithm>
#include <cmath>

namespace postavo::reports {

namespace {

// Positions of the values in the settings list.
enum : int {
    kPageWidth = 0, kLengths = 9, kUseHeader = 9, kMemoFont = 13, kMemoSize = 14, kMemoBold = 15,
    kMemoItalic = 16, kMemoAlign = 17, kDefaultFont = 18, kDefaultSize = 19, kDefaultBold = 20,
    kDefaultItalic = 21, kBands = 22,
};

constexpr double kMaxPageInches = 50.0;
// Paper smaller than this cannot hold half-inch margins with a band between them.
constexpr double kMinPageInches = 2.0;

} // namespace

QString pageDescription(const ReportPaper& paper)
{
    return QString(paper.size == PaperSize::Letter ? QStringLiteral("Letter Size, ") : QStringLiteral("A4 Size, "))
           + (paper.landscape ? QStringLiteral("Landscape") : QStringLiteral("Portrait"));
}

QSizeF paperInches(const ReportPaper& paper)
{
    const QSizeF portrait = paper.size == PaperSize::Letter ? QSizeF(8.5, 11.0) : QSizeF(8.27, 11.68);
    return paper.landscape ? portrait.transposed() : portrait;
}

int inchesToPixels(double inches, double ppi)
{
    // Trunc, with room for the representation error of products such as 8.27 x 96.
    return int(std::floor(inches * ppi + 1e-9));
}

int ReportVars::storedLength(int pixels, double ppi)
{
    if (ppi <= 0)
        return 0;
    return int(std::trunc(double(pixels) / ppi * 1000.0 + (pixels >= 0 ? 1e-9 : -1e-9)));
}

int ReportVars::pixelLength(int stored, double ppi)
{
    return int(printing::roundHalfEven(double(stored) * 0.001 * ppi));
}

ReportVars ReportVars::defaults(double ppi)
{
    ReportVars v;
    v.pageWidth = inchesToPixels(8.5, ppi);
    v.pageHeight = inchesToPixels(11.0, ppi);
    v.marginLeft = v.marginTop = v.marginRight = v.marginBottom = inchesToPixels(0.5, ppi);
    return v;
}

std::array<int, 9> ReportVars::lengths() const
{
    return {pageWidth, pageHeight, marginLeft, marginTop, marginRight, marginBottom,
            headerHeight, detailHeight, footerHeight};
}

design::ReportSettings ReportVars::toSettings(double ppi) const
{
    design::ReportSettings s;
    const auto px = lengths();
    for (int i = 0; i < kLengths; ++i) {
        const bool unchanged = readPixels_ && readStored_ && (*readPixels_)[std::size_t(i)] == px[std::size_t(i)];
        s.values.push_back(unchanged ? (*readStored_)[std::size_t(i)] : storedLength(px[std::size_t(i)], ppi));
    }
    for (bool b : {useHeader, useDetail, useMemo, useFooter})
        s.values.push_back(b);
    s.values.push_back(memoFontName);
    s.values.push_back(memoFontSize);
    s.values.push_back(memoBold);
    s.values.push_back(memoItalic);
    s.values.push_back(memoAlignment);
    s.values.push_back(defaultFontName);
    s.values.push_back(defaultFontSize);
    s.values.push_back(defaultBold);
    s.values.push_back(defaultItalic);
    for (const BandProperties& b : bands) {
        for (bool v : {b.borderLeft, b.borderTop, b.borderRight, b.borderBottom})
            s.values.push_back(v);
        s.values.push_back(b.lineWidth);
        s.values.push_back(b.shadePercent);
        s.values.push_back(int(b.shadeColor));
    }
    return s;
}

ReportVars ReportVars::fromSettings(const design::ReportSettings& s, double ppi)
{
    ReportVars v = defaults(ppi);
    const design::ReportSettings fallback = v.toSettings(ppi);
    auto at = [&](int i) -> const QVariant& {
        return i < int(s.values.size()) ? s.values[std::size_t(i)] : fallback.values[std::size_t(i)];
    };
    std::array<int, 9> stored{}, pixels{};
    for (int i = 0; i < kLengths; ++i) {
        stored[std::size_t(i)] = at(i).toInt();
        pixels[std::size_t(i)] = pixelLength(stored[std::size_t(i)], ppi);
    }
    v.pageWidth = pixels[0];
    v.pageHeight = pixels[1];
    v.marginLeft = pixels[2];
    v.marginTop = pixels[3];
    v.marginRight = pixels[4];
    v.marginBottom = pixels[5];
    v.headerHeight = pixels[6];
    v.detailHeight = pixels[7];
    v.footerHeight = pixels[8];
    v.readStored_ = stored;
    v.readPixels_ = pixels;
    v.useHeader = at(kUseHeader).toBool();
    v.useDetail = at(kUseHeader + 1).toBool();
    v.useMemo = at(kUseHeader + 2).toBool();
    v.useFooter = at(kUseHeader + 3).toBool();
    v.memoFontName = at(kMemoFont).toString();
    v.memoFontSize = at(kMemoSize).toInt();
    v.memoBold = at(kMemoBold).toBool();
    v.memoItalic = at(kMemoItalic).toBool();
    v.memoAlignment = at(kMemoAlign).toInt();
    v.defaultFontName = at(kDefaultFont).toString();
    v.defaultFontSize = at(kDefaultSize).toInt();
    v.defaultBold = at(kDefaultBold).toBool();
    v.defaultItalic = at(kDefaultItalic).toBool();
    for (int b = 0; b < 4; ++b) {
        const int base = kBands + b * 7;
        BandProperties& p = v.bands[std::size_t(b)];
        p.borderLeft = at(base).toBool();
        p.borderTop = at(base + 1).toBool();
        p.borderRight = at(base + 2).toBool();
        p.borderBottom = at(base + 3).toBool();
        p.lineWidth = at(base + 4).toInt();
        p.shadePercent = at(base + 5).toInt();
        p.shadeColor = design::TColor(at(base + 6).toInt());
    }
    return v;
}

std::optional<ReportPaper> ReportVars::exactPaper(double ppi) const
{
    for (PaperSize size : {PaperSize::Letter, PaperSize::A4})
        for (bool landscape : {false, true}) {
            const ReportPaper p{size, landscape};
            const QSizeF in = paperInches(p);
            if (pageWidth == inchesToPixels(in.width(), ppi) && pageHeight == inchesToPixels(in.height(), ppi))
                return p;
        }
    return std::nullopt;
}

ReportPaper ReportVars::paper(double ppi) const
{
    if (auto exact = exactPaper(ppi))
        return *exact;
    ReportPaper best;
    double bestDistance = -1;
    for (PaperSize size : {PaperSize::Letter, PaperSize::A4})
        for (bool landscape : {false, true}) {
            const ReportPaper p{size, landscape};
            const QSizeF in = paperInches(p);
            const double dw = pageWidth / (ppi > 0 ? ppi : 96.0) - in.width();
            const double dh = pageHeight / (ppi > 0 ? ppi : 96.0) - in.height();
            const double d = dw * dw + dh * dh;
            if (bestDistance < 0 || d < bestDistance) {
                bestDistance = d;
                best = p;
            }
        }
    return best;
}

void ReportVars::setPaper(const ReportPaper& paper, double ppi)
{
    const QSizeF in = paperInches(paper);
    pageWidth = inchesToPixels(in.width(), ppi);
    pageHeight = inchesToPixels(in.height(), ppi);
}

design::LayoutFont ReportVars::defaultFont(double ppi) const
{
    design::LayoutFont f;
    f.name = defaultFontName;
    f.height = printing::pointsToFontHeight(defaultFontSize, ppi);
    f.style = (defaultBold ? design::fsBold : 0) | (defaultItalic ? design::fsItalic : 0);
    return f;
}

void ReportVars::setDefaultFont(const design::LayoutFont& font, double ppi)
{
    defaultFontName = font.name;
    defaultFontSize = printing::fontHeightToPoints(font.height, ppi);
    defaultBold = font.style & design::fsBold;
    defaultItalic = font.style & design::fsItalic;
}

QStringList ReportVars::sanitise(double ppi)
{
    QStringList fixes;
    const ReportVars fresh = defaults(ppi);
    const int minPage = inchesToPixels(kMinPageInches, ppi);
    const int maxPage = inchesToPixels(kMaxPageInches, ppi);
    if (pageWidth < minPage || pageHeight < minPage || pageWidth > maxPage || pageHeight > maxPage) {
        fixes << QStringLiteral("the page size was not a paper size; it is Letter, portrait");
        pageWidth = fresh.pageWidth;
        pageHeight = fresh.pageHeight;
    }
    for (int* m : {&marginLeft, &marginTop, &marginRight, &marginBottom})
        if (*m < 0) {
            *m = 0;
            fixes << QStringLiteral("a negative margin is 0");
        }
    // The bands need some width between the side margins, and some height between the others.
    if (marginLeft + marginRight + int(ppi) / 4 + 1 >= pageWidth) {
        marginLeft = marginRight = fresh.marginLeft;
        fixes << QStringLiteral("the side margins left no room for the bands; they are half an inch");
    }
    if (marginTop + marginBottom + 1 >= pageHeight) {
        marginTop = marginBottom = fresh.marginTop;
        fixes << QStringLiteral("the top and bottom margins left no room for the bands; they are half an inch");
    }
    const int room = pageHeight - marginTop - marginBottom;
    struct Band {
        int* height;
        const char* name;
    };
    for (const Band& b : {Band{&headerHeight, "header"}, Band{&detailHeight, "detail"}, Band{&footerHeight, "footer"}}) {
        if (*b.height < 0) {
            *b.height = 0;
            fixes << QStringLiteral("the %1 band's negative height is 0").arg(QLatin1String(b.name));
        } else if (*b.height > room) {
            *b.height = std::max(room, 0);
            fixes << QStringLiteral("the %1 band was higher than the page; it is as high as the page allows")
                         .arg(QLatin1String(b.name));
        }
    }
    if (memoAlignment < memoLeft || memoAlignment > memoCentred) {
        memoAlignment = memoLeft;
        fixes << QStringLiteral("an unknown memo alignment is left");
    }
    auto fixFont = [&](QString* name, int* size, const char* which) {
        if (name->trimmed().isEmpty()) {
            *name = QStringLiteral("Arial");
            fixes << QStringLiteral("the %1 font had no name; it is Arial").arg(QLatin1String(which));
        }
        if (*size <= 0 || *size > 500) {
            *size = 10;
            fixes << QStringLiteral("the %1 font size was out of range; it is 10").arg(QLatin1String(which));
        }
    };
    fixFont(&memoFontName, &memoFontSize, "memo");
    fixFont(&defaultFontName, &defaultFontSize, "default");
    for (BandProperties& b : bands) {
        if (b.lineWidth < 1 || b.lineWidth > 3) {
            b.lineWidth = std::clamp(b.lineWidth, 1, 3);
            fixes << QStringLiteral("a band's line width is now %1").arg(b.lineWidth);
        }
        if (b.shadePercent < 0 || b.shadePercent > 100) {
            b.shadePercent = std::clamp(b.shadePercent, 0, 100);
            fixes << QStringLiteral("a band's shade is now %1 percent").arg(b.shadePercent);
        }
    }
    return fixes;
}

QColor shadeFill(design::TColor colour, int percent)
{
    const QColor c = design::toQColor(colour);
    const int keep = 100 - std::clamp(percent, 0, 100);
    auto channel = [keep](int v) { return v + (255 - v) * keep / 100; };
    return QColor(channel(c.red()), channel(c.green()), channel(c.blue()));
}

} // namespace postavo::reports
