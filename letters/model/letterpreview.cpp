#include "letterpreview.h"

#include <cmath>

namespace postavo::letters {

int twipsToPixels(int twips, double ppi) { return int(double(twips) * ppi / 1440.0); }

SheetGeometry sheetGeometry(const richtext::PageLayout& page, double ppi, int zoom)
{
    const double z = zoom / 100.0;
    const int w = int(std::trunc(std::nearbyint(page.paperWidth * ppi / 1440.0) * z));
    const int h = int(std::trunc(std::nearbyint(page.paperHeight * ppi / 1440.0) * z));
    auto amount = [&](int twips) { return int(std::nearbyint(twips * ppi / 1440.0 * z)); };
    const int left = amount(page.marginLeft), right = amount(page.marginRight);
    const int top = amount(page.marginTop), bottom = amount(page.marginBottom);
    SheetGeometry g;
    g.sheet = QRect(0, 0, w, h);
    g.text = QRect(left, top, w - left - right, h - top - bottom);
    return g;
}

bool LetterPreviewState::zoomIn()
{
    if (zoom_ >= 150)
        return false;
    zoom_ = int(std::trunc(zoom_ * 1.25));
    return true;
}

bool LetterPreviewState::zoomOut()
{
    if (zoom_ <= 50)
        return false;
    zoom_ = int(std::trunc(zoom_ * 0.75));
    return true;
}

int LetterPreviewState::fitZoom(int window, int pagePixels)
{
    if (pagePixels <= 0)
        return 100;
    return int(std::trunc(double(window) / pagePixels * 100));
}

bool LetterPreviewState::nextPage()
{
    if (next_ <= 0)
        return false;
    stack_.push_back(start_);
    start_ = next_;
    next_ = 0;
    ++page_;
    return true;
}

bool LetterPreviewState::previousPage()
{
    if (stack_.isEmpty())
        return false;
    --page_;
    start_ = stack_.takeLast();
    next_ = 0;
    return true;
}

void LetterPreviewState::reset()
{
    page_ = 1;
    start_ = 0;
    next_ = 0;
    stack_.clear();
}

QString LetterPreviewState::caption() const
{
    return QString::fromLatin1(kPreviewCaption) + QStringLiteral(" Page ") + QString::number(page_);
}

} // namespace postavo::letters
