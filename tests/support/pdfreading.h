#pragma once
// Reading back the PDF files the program writes, with poppler's tools: a page area rasterised to
// grey dots (bar widths and heights), the words with their boxes, the document's information.

#include <QByteArray>
#include <QString>
#include <vector>

namespace postavo::testing {

// Part of a page rendered by pdftoppm; (x0, y0) is its top-left corner in page dots.
struct PdfGray {
    int x0 = 0, y0 = 0, w = 0, h = 0;
    QByteArray pixels;
    // Whether a dot is dark, by page dots (false outside the area)...
    bool dark(int x, int y) const { return darkInArea(x - x0, y - y0); }
    // ...or counted from the area's corner.
    bool darkInArea(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h && uchar(pixels[y * w + x]) < 128; }
};

// The area of page 1 at (x, y) of w x h dots at `dpi` dots per inch; an empty map (w == 0) when
// pdftoppm fails. `workDir` takes the intermediate file.
PdfGray renderPdfGray(const QString& pdf, int x, int y, int w, int h, const QString& workDir, int dpi = 1200);

// The dark runs along one row, left to right; right is exclusive. Page dots.
struct DarkRun {
    int left, right;
};
std::vector<DarkRun> runsOnRow(const PdfGray& g, int y);
// How many dots the dark column at x is high around the row yFrom.
int columnHeight(const PdfGray& g, int x, int yFrom);

// The words pdftotext finds, with their boxes in points from the page's top-left corner.
struct PdfWord {
    double xMin, yMin, xMax, yMax;
    QString text;
};
std::vector<PdfWord> pdfWords(const QString& pdf);
const PdfWord* findWord(const std::vector<PdfWord>& words, const QString& text);

// What pdfinfo says about the file (pages, page size in points, ...).
QString pdfInfo(const QString& pdf);

} // namespace postavo::testing
