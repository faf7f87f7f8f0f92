#pragma once
// The report settings of a banded report as the designer, the layout dialog and the print use
// them (lengths in screen pixels), their stored form (the settings list of the report file, in
// thousandths of an inch), the paper they describe, and the checks a settings list read from a
// file goes through.

#include "designtypes.h"
#include "labelobjectfiler.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace postavo::reports {

// Borders and shade of one band (header, detail, memo, footer).
struct BandProperties {
    bool borderLeft = false, borderTop = false, borderRight = false, borderBottom = false;
    int lineWidth = 1;                      // 1 to 3
    int shadePercent = 0;                   // 0 to 100
    design::TColor shadeColor = design::clWhite;
    bool operator==(const BandProperties&) const = default;
};

enum BandIndex { bandHeader = 0, bandDetail = 1, bandMemo = 2, bandFooter = 3 };
enum MemoAlignment { memoLeft = 0, memoRight = 1, memoCentred = 2 };

enum class PaperSize { Letter, A4 };
struct ReportPaper {
    PaperSize size = PaperSize::Letter;
    bool landscape = false;
    bool operator==(const ReportPaper&) const = default;
};
// "Letter Size, Portrait", "Letter Size, Landscape", "A4 Size, Portrait", "A4 Size, Landscape".
QString pageDescription(const ReportPaper& paper);
// The paper's width and height in inches, the short side across in portrait.
QSizeF paperInches(const ReportPaper& paper);
// Pixels of a length in inches: Trunc(inches x ppi).
int inchesToPixels(double inches, double ppi);

struct ReportVars {
    // Lengths, screen pixels.
    int pageWidth = 0, pageHeight = 0;
    int marginLeft = 0, marginTop = 0, marginRight = 0, marginBottom = 0;
    int headerHeight = 33, detailHeight = 33, footerHeight = 33;
    bool useHeader = true, useDetail = true, useMemo = false, useFooter = false;
    QString memoFontName = QStringLiteral("Arial");
    int memoFontSize = 10;
    bool memoBold = false, memoItalic = false;
    int memoAlignment = memoLeft;
    QString defaultFontName = QStringLiteral("Arial");
    int defaultFontSize = 10;
    bool defaultBold = false, defaultItalic = false;
    std::array<BandProperties, 4> bands;

    // A new report: Letter portrait, half-inch margins, bands 33 pixels high.
    static ReportVars defaults(double ppi);

    // ---- stored form ----
    // Stored = Trunc(pixels / ppi x 1000); read = Round(stored x 0.001 x ppi). A length still at
    // the pixels it was read as is written back as it was stored, so a file read and written
    // again stays the same byte for byte.
    design::ReportSettings toSettings(double ppi) const;
    static ReportVars fromSettings(const design::ReportSettings& settings, double ppi);
    static int storedLength(int pixels, double ppi);
    static int pixelLength(int stored, double ppi);

    // ---- paper ----
    // The paper whose page size in pixels the settings hold exactly, if any.
    std::optional<ReportPaper> exactPaper(double ppi) const;
    // That paper, or the nearest of the four when the size matches none (a screen whose ppi
    // changed since the report was designed).
    ReportPaper paper(double ppi) const;
    void setPaper(const ReportPaper& paper, double ppi);
    QString pageDescription(double ppi) const { return reports::pageDescription(paper(ppi)); }

    // Font choices as the design objects store fonts.
    design::LayoutFont defaultFont(double ppi) const;
    void setDefaultFont(const design::LayoutFont& font, double ppi);

    // Brings every value into its range (positive page, margins and bands that fit on it, line
    // widths 1-3, shades 0-100, known alignment, font names and sizes); one line per correction.
    QStringList sanitise(double ppi);

    bool operator==(const ReportVars& o) const
    {
        return pageWidth == o.pageWidth && pageHeight == o.pageHeight && marginLeft == o.marginLeft
               && marginTop == o.marginTop && marginRight == o.marginRight && marginBottom == o.marginBottom
               && headerHeight == o.headerHeight && detailHeight == o.detailHeight && footerHeight == o.footerHeight
               && useHeader == o.useHeader && useDetail == o.useDetail && useMemo == o.useMemo
               && useFooter == o.useFooter && memoFontName == o.memoFontName && memoFontSize == o.memoFontSize
               && memoBold == o.memoBold && memoItalic == o.memoItalic && memoAlignment == o.memoAlignment
               && defaultFontName == o.defaultFontName && defaultFontSize == o.defaultFontSize
               && defaultBold == o.defaultBold && defaultItalic == o.defaultItalic && bands == o.bands;
    }

private:
    // The nine lengths as last read, stored and in pixels.
    std::optional<std::array<int, 9>> readStored_, readPixels_;
    std::array<int, 9> lengths() const;
};

// The fill colour of a band's shade: each channel c of `colour` becomes
// c + (255 - c) x (100 - percent) / 100 in integer arithmetic.
QColor shadeFill(design::TColor colour, int percent);

} // namespace postavo::reports
