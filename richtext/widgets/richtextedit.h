#pragma once
// The editing control: a rich-text document shown as its letter pages (white sheets on grey,
// text at the page layout's margins, a new sheet at every page break), edited with the keyboard
// and mouse. It offers the formatting commands the tool bar, ruler and dialogs use, and says
// where the cursor is (line, column, page) for the status bar.

#include "pagelayout.h"
#include "pagedrawing.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

class QMimeData;

namespace postavo::richtext {

class RichDocument;

class RichTextEdit : public QAbstractScrollArea {
    Q_OBJECT
public:
    // Edits `document` (not owned); without one it makes its own.
    explicit RichTextEdit(RichDocument* document = nullptr, QWidget* parent = nullptr);
    ~RichTextEdit() override;

    RichDocument* richDocument() const { return doc_; }
    void setRichDocument(RichDocument* document);
    QTextDocument* document() const;

    QTextCursor textCursor() const { return cursor_; }
    void setTextCursor(const QTextCursor& cursor);

    // The attributes typed text gets (or the selection's, when there is one).
    QTextCharFormat currentCharFormat() const;
    void setCurrentCharFormat(const QTextCharFormat& format);
    void mergeCurrentCharFormat(const QTextCharFormat& format);
    // Applies to every paragraph the cursor or selection touches.
    void mergeBlockFormat(const QTextBlockFormat& format);

    PageLayout pageLayout() const;
    void setPageLayout(const PageLayout& page);

    bool wordWrap() const;
    void setWordWrap(bool on);

    // 100 = the page at its size on the screen.
    double zoom() const { return zoom_; }
    void setZoom(double percent);
    // Device pixels per twip at the current zoom.
    double scale() const;

    // Where the cursor is: line within its page and column within the line (from 1), and page.
    int cursorLine() const;
    int cursorColumn() const;
    int cursorPage() const;
    int pageCount() const;

    // Where a paragraph's lines start on the widget (for the ruler): the x of the document's
    // left text edge, in widget pixels.
    double textLeftOnWidget() const;

    // Searching from the cursor on. Found text is selected.
    bool find(const QString& text, QTextDocument::FindFlags flags = {});
    // Replaces the selection when it matches `text`, then finds the next one.
    bool replace(const QString& text, const QString& with, QTextDocument::FindFlags flags = {});
    int replaceAll(const QString& text, const QString& with, QTextDocument::FindFlags flags = {});

    // Formatting commands for the tool bar and dialogs.
    void setFontFamily(const QString& family);
    void setFontPointSize(double points);
    void setBold(bool on);
    void setItalic(bool on);
    void setUnderline(bool on);
    void setNormal();  // no bold, italic, underline or strike-out
    void setTextColor(const QColor& color);         // invalid: the automatic colour
    void setTextBackground(const QColor& color);    // invalid: none
    void setAlignment(Qt::Alignment alignment);
    Qt::Alignment alignment() const;
    void setTabStops(const QList<QTextOption::Tab>& tabs);

    // Editing.
    void insertText(const QString& text);  // line ends become line breaks
    void insertPageBreak();
    void insertRtf(const QByteArray& rtf);
    void ensureCursorVisible();

    // Where a document position is shown, in widget pixels (null when not laid out).
    QRectF cursorRectFor(int position) const;
    // The document position under a widget point.
    int positionAt(const QPointF& point) const;

public slots:
    void undo();
    void redo();
    void cut();
    void copy();
    void paste();
    void selectAll();

signals:
    void cursorPositionChanged();
    void selectionChanged();
    void currentCharFormatChanged(const QTextCharFormat& format);
    void currentBlockFormatChanged(const QTextBlockFormat& format);
    void copyAvailable(bool yes);
    void undoAvailable(bool yes);
    void redoAvailable(bool yes);
    // Line and column within the page, page and page count.
    void statusChanged(int line, int column, int page, int pages);
    void pageLayoutChanged();
    void viewChanged();  // scrolled or zoomed: the ruler follows

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    struct Sheet {
        PageSpan span;
        double top = 0;     // widget pixels from the top of the whole view (unscrolled)
        double height = 0;  // widget pixels
    };

    void connectDocument();
    void relayoutView();
    void updateScrollBars();
    double sheetWidthPixels() const;
    double sheetLeft() const;  // widget x of the sheets' left edge (scrolled)
    int sheetIndexAtY(double viewY) const;
    int sheetIndexOfPosition(int position) const;
    QPointF documentToWidget(const QPointF& p, int sheet) const;
    QPointF widgetToDocument(const QPointF& p, int* sheet) const;
    void moveCursor(QTextCursor::MoveOperation op, QTextCursor::MoveMode mode, int n = 1);
    void movePage(bool down, QTextCursor::MoveMode mode);
    void cursorChanged(bool formatChanged = true);
    void emitStatus();
    void restartBlink();
    QMimeData* mimeForSelection() const;
    void insertFromMime(const QMimeData* mime);

    RichDocument* doc_ = nullptr;
    std::unique_ptr<RichDocument> ownDoc_;
    QTextCursor cursor_;
    QList<Sheet> sheets_;
    double zoom_ = 100;
    double totalHeight_ = 0;
    bool cursorOn_ = true;
    bool dragging_ = false;
    QBasicTimer blink_;
    QMetaObject::Connection docConnections_[5];
};

} // namespace postavo::richtext
