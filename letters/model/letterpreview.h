#pragma once
// The letter preview's state without its window: the zoom, the page shown and how to get to the
// next and the earlier pages, and where the sheet and its text go on the screen.

#include "pagelayout.h"

#include <QRect>
#include <QString>
#include <QVector>

namespace postavo::letters {

// A length in twips as whole screen pixels at `ppi` pixels per inch.
int twipsToPixels(int twips, double ppi);

struct SheetGeometry {
    QRect sheet;  // the white paper, from (0, 0)
    QRect text;   // the text rectangle inside it
};
// The sheet and its text rectangle at `zoom` percent on a screen of `ppi` pixels per inch.
SheetGeometry sheetGeometry(const richtext::PageLayout& page, double ppi, int zoom);

class LetterPreviewState {
public:
    int zoom() const { return zoom_; }
    void setZoom(int z) { zoom_ = z; }
    int page() const { return page_; }
    int pageStart() const { return start_; }
    int nextStart() const { return next_; }

    // 125, 156 and no more past 150; 75, 56, 42 and no less below 50. True when it changed.
    bool zoomIn();
    bool zoomOut();
    // The zoom at which the page's width (height) in screen pixels fills `windowWidth`
    // (`windowHeight`).
    static int fitZoom(int window, int pagePixels);

    // What the last drawing said the following page starts at (0 or less: none).
    void setNextStart(int start) { next_ = start; }
    bool hasNextPage() const { return next_ > 0; }
    bool hasPreviousPage() const { return !stack_.isEmpty(); }
    bool nextPage();
    bool previousPage();
    // Back to page 1 (another record).
    void reset();

    // "Preview Letters Page 2".
    QString caption() const;

private:
    int zoom_ = 100;
    int page_ = 1;
    int start_ = 0;
    int next_ = 0;
    QVector<int> stack_;
};

inline constexpr const char* kPreviewCaption = "Preview Letters";
inline constexpr const char* kPreviewDrawError = "There was an error drawing the preview";

} // namespace postavo::letters
