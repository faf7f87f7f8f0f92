#pragma once
// The print canvas: the page every printed output (labels, envelopes, reports) is drawn on, in
// inches from the top-left corner of the paper. The same drawing code goes to a printer, a PDF
// file or a preview document; the target is a CanvasDevice chosen before Execute.

#include "canvasdevice.h"
#include "linemodel.h"
#include "statustext.h"
#include "tabstops.h"

#include <QPicture>
#include <QRect>
#include <QStringList>
#include <functional>
#include <optional>


namespace postavo::printing {

enum class Units { Inch };
enum class LineHeightMethod { Font };
enum class PrintOrientation { Portrait, Landscape, Default };
enum class TextBkMode { Transparent, Opaque };
// Which kind of target the canvas stands for; it only changes the message of a missing target.
enum class CanvasKind { Printer, Preview };

class TPrintCanvas {
public:
    explicit TPrintCanvas(CanvasKind kind = CanvasKind::Printer);
    ~TPrintCanvas();
    TPrintCanvas(const TPrintCanvas&) = delete;
    TPrintCanvas& operator=(const TPrintCanvas&) = delete;

    // The target of the next Execute; not owned. May be null (Execute then reports it).
    void setDevice(CanvasDevice* device) { device_ = device; }
    CanvasDevice* device() const { return device_; }
    CanvasKind kind() const { return kind_; }

    // ---- Settings ----
    Units units() const { return Units::Inch; }
    double unitsFactor() const { return 1.0; }
    LineHeightMethod lineHeightMethod() const { return LineHeightMethod::Font; }
    void setMarginLeft(double v);
    void setMarginTop(double v);
    void setMarginRight(double v);
    void setMarginBottom(double v);
    void setMargins(double left, double top, double right, double bottom);
    double marginLeft() const { return model_.margins().left; }
    double marginTop() const { return model_.margins().top; }
    double marginRight() const { return model_.margins().right; }
    double marginBottom() const { return model_.margins().bottom; }
    QString title = QStringLiteral("Postavo");
    int copies = 1;
    PrintOrientation orientation = PrintOrientation::Default;
    int firstPage = 1;
    int lastPage = 9999;
    QString statusFormat;
    QStringList statusText; // lines 0 to 9
    int tabShade = 0;
    TextBkMode textBkMode = TextBkMode::Transparent;
    // Where Show status sends its text (a window's status line); statusToDisplay turns its "\r"
    // breaks into line breaks. Without a sink the status goes nowhere.
    void setStatusSink(std::function<void(const QString&)> sink) { statusSink_ = std::move(sink); }

    // ---- Run control ----
    // Calls beforePrint, starts the job, shows the status, then calls body once; body draws
    // every page, with newPage() between them. False when the job could not start (lastError()
    // says why) or was aborted.
    bool execute(const std::function<void(TPrintCanvas&)>& beforePrint,
                 const std::function<void(TPrintCanvas&)>& body);
    void abort();
    bool aborted() const { return aborted_; }
    bool printing() const { return printing_; }
    int pageNumber() const { return page_; }
    void newPage();
    QString lastError() const { return error_; }

    // ---- Page and layout ----
    double pageWidth() const;
    double pageHeight() const;
    void setSection(double left, double top, double right, double bottom);
    void resetSection() { model_.resetSection(); }
    InchRect section() const { return model_.section(); }
    void home();
    void gotoXY(double x, double y);
    void setX(double x);
    void setY(double y);
    double x() const { return model_.x() - origin_; }
    double y() const { return model_.y(); }
    void newLine();
    int linesLeft() const { return model_.linesLeft(); }
    double lineHeight() const { return model_.lineHeight(); }
    // Later x positions count from `origin` (inches from the paper's left edge).
    void setXOrigin(double origin) { origin_ = origin; }
    double xOrigin() const { return origin_; }

    // ---- Text ----
    // Also makes the colour black and switches bold, italic, underline and strike-out off; a
    // size of 0 or less keeps the size.
    void setFont(const QString& face, double points);
    void setBold(bool on);
    void setItalic(bool on);
    void setUnderline(bool on);
    void setStrikeOut(bool on);
    void setFontColor(const QColor& color);
    void setFontRotation(int degrees);
    const CanvasFont& font() const { return font_; }
    double textWidth(const QString& text) const;
    double ascent() const;
    double descent() const;

    // At the current position (or in the cell of the last tab step); x moves to the text's end.
    void print(const QString& text);
    // Ending at x; centred on x.
    void printRight(const QString& text, double x);
    void printCenter(const QString& text, double x);
    // The text's top-left corner at (x, y) inches, cut off outside `clip` (device pixels).
    void printClipped(const QRect& clip, double x, double y, const QString& text);
    // The same with the top-left corner at (x, baseline - ascent).
    void printClippedBaseline(const QRect& clip, double x, double baseline, const QString& text);

    // ---- Tab stops ----
    void clearTabs();
    void addTab(const TabStop& stop) { tabs_.add(stop); }
    void saveTabs() { tabs_.save(); }
    void restoreTabs();
    const TabStops& tabs() const { return tabs_; }
    // Moves to the next stop on this line (after the last: the first stop of a new line), shades
    // its cell (`shade` < 0: the stop's own, or TabShade when that is 0), draws its box lines and
    // makes it the place of the next text.
    void tab(int shade = -1);
    int currentTab() const { return tabIndex_; }
    // The current line's box: from baseline + descent - line height to baseline + descent.
    double lineTop() const;
    double lineBottom() const;

    // ---- Graphics ----
    // Width < 0: hundredths of an inch (at least one device pixel); >= 0: device pixels.
    void setPen(const QColor& color, PenStyle style = PenStyle::Solid, int width = 1);
    const CanvasPen& pen() const { return pen_; }
    int penWidth() const { return penWidth_; }
    void setBrush(const QColor& color, BrushStyle style = BrushStyle::Solid);
    const CanvasBrush& brush() const { return brush_; }
    void rectangle(double x1, double y1, double x2, double y2);
    void roundRect(double x1, double y1, double x2, double y2, double cornerW, double cornerH);
    void ellipse(double x1, double y1, double x2, double y2);
    void moveTo(double x, double y);
    void lineTo(double x, double y);
    void stretchDraw(const QRectF& inches, const QImage& image);
    void stretchDrawPicture(const QRect& devicePixels, const QPicture& picture);

    // ---- Device geometry ----
    double pixelsPerInchX() const;
    double pixelsPerInchY() const;
    QRect inchToDeviceRect(const QRectF& inches) const;
    QRectF deviceToInchRect(const QRect& pixels) const;

    // ---- Status ----
    QString statusString() const;
    // Fills the status format, hands it to the status label and lets pending events run.
    void showStatus();

private:
    void output(const CanvasOp& op);
    bool pageInRange() const { return page_ >= firstPage && page_ <= lastPage; }
    void startPage();
    void fontChanged();
    const FontMeasure& measure() const;
    double absX(double x) const { return x + origin_; }
    CanvasPen resolvePen(const QColor& color, PenStyle style, int width) const;
    void fillClip(const QRectF& clip);
    void printAt(const QString& text, double absX, double baseline, bool clipped, const QRectF& clip);

    CanvasKind kind_;
    CanvasDevice* device_ = nullptr;
    LineModel model_;
    TabStops tabs_;
    int tabIndex_ = -1;
    bool tabPending_ = false;
    TabCell pendingCell_;
    CanvasFont font_;
    mutable std::optional<FontMeasure> measure_; // of measuredFont_, kept while the font stays
    mutable CanvasFont measuredFont_;
    CanvasPen pen_;
    int penWidth_ = 1;
    CanvasBrush brush_;
    QPointF penPos_;
    double origin_ = 0;
    int page_ = 1;
    int outputPages_ = 0;
    bool printing_ = false;
    bool aborted_ = false;
    QString error_;
    std::function<void(const QString&)> statusSink_;
};

} // namespace postavo::printing
