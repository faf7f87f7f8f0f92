#pragma once
// The preview window: the pages of a finished preview run at any zoom.

#include <QDialog>
#include <QString>
#include <vector>

class QPushButton;
class QScrollArea;

namespace postavo {
class Settings;
}

namespace postavo::printing {

class RecordingDevice;

// Zoom of the preview, 1.0 = 100 %, apart from the window.
class PreviewZoom {
public:
    enum class Start { WholePage, PageWidth, Percent };

    double zoom() const { return zoom_; }
    void setZoom(double z);
    void zoomIn();
    void zoomOut();
    // The zoom at which a page of `pageInches` fills `viewportPixels` (the whole page, or its
    // width), on a screen of `dpi` pixels per inch.
    static double wholePage(QSizeF pageInches, QSize viewportPixels, double dpi);
    static double pageWidth(QSizeF pageInches, QSize viewportPixels, double dpi);
    static const std::vector<double>& steps();

private:
    double zoom_ = 1.0;
};

// "Preview Page 2 of 5 ( 75% )": page counted from the first page, zoom in whole percent.
QString previewCaption(int page, int firstPage, int pageCount, double zoom);

class TPreviewForm : public QDialog {
    Q_OBJECT
public:
    // `document` stays the caller's; `settings` (may be null) keeps the window's placement.
    TPreviewForm(const RecordingDevice* document, const QString& caption, PreviewZoom::Start start,
                 Settings* settings, QWidget* parent = nullptr, double startPercent = 100);
    ~TPreviewForm() override;

    int pageIndex() const { return page_; }
    int pageCount() const;
    double zoom() const { return zoom_.zoom(); }

    void firstPage();
    void previousPage();
    void nextPage();
    void lastPage();
    void zoomIn();
    void zoomOut();
    void zoomPageWidth();
    void zoomWholePage();
    void zoom100();

    QPushButton* pageButton(int which) const; // 0 first, 1 previous, 2 next, 3 last
    QScrollArea* scrollArea() const { return scroll_; }
    QWidget* pageWidget() const { return pageView_; }

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void changed();
    double screenDpi() const;

    const RecordingDevice* doc_;
    PreviewZoom zoom_;
    PreviewZoom::Start start_;
    double startPercent_;
    int page_ = 0;
    bool activated_ = false;
    Settings* settings_;
    QScrollArea* scroll_;
    QWidget* pageView_;
    QPushButton* pageButtons_[4] = {};
    friend class PreviewPageView;
};

} // namespace postavo::printing
