#pragma once
// Single-line text objects: TGBaseLabel lays out, paints and prints one line of text (rotation in
// 90 degree steps, alignment, background, 3D shadow and highlight); TGPLabel is the fixed text
// the user types.

#include "designobject.h"

#include <QPoint>

namespace postavo::design {

enum TextAlignment { taLeftJustify, taRightJustify, taCenter };
enum ShadowDirection { sdNone, sdRight, sdLeft, sdDownRight, sdDownLeft, sdDown };
enum HighlightDirection { hdNone, hdright, hdLeft, hdUpRight, hdUpLeft, hdUp };

// A Windows-style rectangle: right and bottom are one past the last pixel.
struct WRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    WRect moved(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    QRect toQRect() const { return QRect(left, top, right - left, bottom - top); }
    bool operator==(const WRect&) const = default;
};

class TGBaseLabel : public TGGraphicControl {
    Q_OBJECT
public:
    TGBaseLabel();

    // The entries all single-line text classes share, after the common ones.
    static const PropertyTable& textProperties();

    // ---- published (setters mark the layout for recalculation and repaint) ----
    QString Caption = QStringLiteral("Text");
    LayoutFont Font;
    int Alignment = taLeftJustify;
    int Angle = 0;
    bool Transparent = true;
    TColor BackColor = clWhite;
    int DepthShadow = 0;
    int DirectionShadow = sdDownRight;
    TColor colorShadow = clGray;
    int DepthHighlight = 0;
    int DirectionHighlight = hdUpLeft;
    TColor colorHighlight = clAqua;

    void setCaption(const QString& text);
    void setFont(const LayoutFont& font);
    void setAlignment(int a);
    void setAngle(int degrees);
    void setTransparent(bool on);
    void setBackColor(TColor c);
    void setShadow(int direction, int depth, TColor colour);
    void setHighlight(int direction, int depth, TColor colour);

    // ---- layout ----
    void invalidate() { recalc_ = true; }
    bool needsRecalculate() const { return recalc_; }
    void recalculate();
    QPoint shadowOffset() const { return shadow_; }
    QPoint highlightOffset() const { return highlight_; }
    QPoint originShift() const { return shift_; }
    WRect textRect() const { return textRect_; }
    WRect shadowRect() const { return shadowRect_; }
    WRect highlightRect() const { return highlightRect_; }
    QPoint textOrigin() const { return textOrigin_; }
    QPoint shadowOrigin() const { return shadowOrigin_; }
    QPoint highlightOrigin() const { return highlightOrigin_; }
    // The text shown on screen and printed (Caption unless a class composes it).
    virtual QString displayText() const { return Caption; }
    virtual QString printText() const { return displayText(); }
    // A text as the object's font shows it: a symbol font's codes become what they picture.
    QString glyphs(const QString& text) const;

    void growToFit();
    virtual void editFont();

    void boundsChanged() override;
    void applyFont(const LayoutFont& font) override;
    void printObject(printing::TPrintCanvas& report, double x, double y) override;
    void paint(QPainter& painter) override;
    void loaded() override;

protected:
    void buildMenu(MenuEntries& menu) override;
    void addRotationMenu(MenuEntries& menu);
    void changed(bool notify = false);
    QString layoutText_; // the text the last recalculate() measured

private:
    void drawCopy(QPainter& p, const QFont& font, const QString& text, QPoint origin, const WRect& clip,
                  TColor colour) const;

    bool recalc_ = true;
    QPoint shadow_, highlight_, shift_;
    WRect textRect_, shadowRect_, highlightRect_;
    QPoint textOrigin_, shadowOrigin_, highlightOrigin_;
    int textWidth_ = 0;
};

class TGPLabel : public TGBaseLabel {
    Q_OBJECT
public:
    QByteArray className() const override { return "TGPLabel"; }
    const PropertyTable& properties() const override { return textProperties(); }
    void editFont() override;
    virtual void editText();
    virtual void editDefault() { editText(); }

protected:
    void buildMenu(MenuEntries& menu) override;
};

} // namespace postavo::design
