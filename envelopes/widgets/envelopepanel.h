#pragma once
// TEnvelopePanel: the envelope design surface on screen. A data-bound surface (TGDataPanel) that
// places the envelope tools' objects and draws two aids that never print: the USPS automation
// zones and the printer's printable area as a red dotted line.

#include "datasurfacewidget.h"
#include "envelopedesign.h"
#include "envelopezones.h"

#include <functional>

namespace postavo::envelopes {

class TEnvelopePanel : public design::TGDataPanel {
    Q_OBJECT
public:
    explicit TEnvelopePanel(QWidget* parent = nullptr, QObject* owner = nullptr);

    TLPanelState PanelState() const { return state_; }
    // Anything but psPointing leaves pointing mode (the cross cursor shows).
    void setPanelState(TLPanelState state);

    // The two drawing aids, both off at creation.
    bool showUspsTemplate() const { return usps_; }
    void setShowUspsTemplate(bool on);
    bool showPrinterMargins() const { return margins_; }
    void setShowPrinterMargins(bool on);
    // The printer's unprintable margins and page, in surface pixels at 100 %.
    void setPrinterArea(const PrinterArea& area);
    const PrinterArea& printerArea() const { return area_; }

    // The font new text objects take.
    design::LayoutFont surfaceFont() const { return font_; }
    void setSurfaceFont(const design::LayoutFont& font) { font_ = font; }

    // The surface's size for an envelope size code, worked out at 100 % and applied at the zoom.
    void sizeFromCode(int code);

    void createObjectInRect(const QRect& r) override;
    // The object the last placing drag created (null when none).
    design::TGGraphicControl* lastPlaced() const { return lastPlaced_; }

protected:
    void paintEvent(QPaintEvent* e) override;
    QFont menuFont() const override { return design::screenFont(font_); }

private:
    TLPanelState state_ = psPointing;
    bool usps_ = false;
    bool margins_ = false;
    PrinterArea area_;
    design::LayoutFont font_;
    design::TGGraphicControl* lastPlaced_ = nullptr;
};

} // namespace postavo::envelopes
