#include "richtextedit.h"

#include "formatproperties.h"
#include "layoutunits.h"
#include "pictures.h"
#include "richdocument.h"
#include "rtfreader.h"
#include "rtfwriter.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTextLayout>
#include <QTextTable>
#include <QUrl>
#include <cmath>

namespace postavo::richtext {

namespace {

constexpr double kGap = 16;  // pixels around and between the sheets
const char* const kRtfMime = "text/rtf";
const char* const kRtfMimeAlt = "application/rtf";

// Changes the character format of every fragment in [start, end) with `change`.
template <typename Change>
void changeFormatOfRange(QTextDocument* doc, int start, int end, Change change)
{
    QTextCursor c(doc);
    c.beginEditBlock();
    for (QTextBlock b = doc->findBlock(start); b.isValid() && b.position() < end; b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const int from = std::max(start, f.position());
            const int to = std::min(end, f.position() + f.length());
            if (from >= to)
                continue;
            QTextCharFormat format = f.charFormat();
            change(format);
            c.setPosition(from);
            c.setPosition(to, QTextCursor::KeepAnchor);
            c.setCharFormat(format);
        }
    }
    c.endEditBlock();
}

QString plainTextOf(const QTextCursor& cursor)
{
    QString text = cursor.selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    text.remove(QChar::ObjectReplacementCharacter);
    return text;
}

} // namespace

RichTextEdit::RichTextEdit(RichDocument* document, QWidget* parent) : QAbstractScrollArea(parent)
{
    setAttribute(Qt::WA_InputMethodEnabled);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    verticalScrollBar()->setSingleStep(20);
    horizontalScrollBar()->setSingleStep(20);
    setRichDocument(document);
}

RichTextEdit::~RichTextEdit() = default;

void RichTextEdit::setRichDocument(RichDocument* document)
{
    for (auto& c : docConnections_)
        disconnect(c);
    if (!document) {
        ownDoc_ = std::make_unique<RichDocument>();
        document = ownDoc_.get();
    } else if (document != ownDoc_.get()) {
        ownDoc_.reset();
    }
    doc_ = document;
    cursor_ = QTextCursor(doc_->document());
    connectDocument();
    relayoutView();
    cursorChanged();
}

QTextDocument* RichTextEdit::document() const
{
    return doc_->document();
}

void RichTextEdit::connectDocument()
{
    QTextDocument* d = doc_->document();
    docConnections_[0] = connect(d, &QTextDocument::contentsChanged, this, [this] {
        relayoutView();
        emitStatus();
    });
    docConnections_[1] = connect(d->documentLayout(), &QAbstractTextDocumentLayout::update, viewport(),
                                 [this] { viewport()->update(); });
    docConnections_[2] = connect(d, &QTextDocument::undoAvailable, this, &RichTextEdit::undoAvailable);
    docConnections_[3] = connect(d, &QTextDocument::redoAvailable, this, &RichTextEdit::redoAvailable);
    // Reading RTF into the document gives it a new layout: a new document, read from its start.
    docConnections_[4] = connect(d, &QTextDocument::documentLayoutChanged, this, [this] {
        disconnect(docConnections_[1]);
        docConnections_[1] = connect(document()->documentLayout(), &QAbstractTextDocumentLayout::update,
                                     viewport(), [this] { viewport()->update(); });
        cursor_ = QTextCursor(document());
        relayoutView();
        verticalScrollBar()->setValue(0);
        cursorChanged();
    });
}

// ---- view ---------------------------------------------------------------------------------

double RichTextEdit::scale() const
{
    return logicalDpiX() / double(kTwipsPerInch) * zoom_ / 100.0;
}

void RichTextEdit::setZoom(double percent)
{
    zoom_ = std::clamp(percent, 10.0, 500.0);
    relayoutView();
}

double RichTextEdit::sheetWidthPixels() const
{
    const PageLayout& p = doc_->pageLayout();
    double width = p.paperWidth;
    if (!doc_->wordWrap())
        width = std::max(width, p.marginLeft + document()->idealWidth() + p.marginRight);
    return width * scale();
}

double RichTextEdit::sheetLeft() const
{
    const double w = sheetWidthPixels();
    return std::max(kGap, (viewport()->width() - w) / 2.0) - horizontalScrollBar()->value();
}

void RichTextEdit::relayoutView()
{
    const PageLayout& p = doc_->pageLayout();
    const double s = scale();
    sheets_.clear();
    double y = kGap;
    for (const PageSpan& span : pageSpans(*document())) {
        Sheet sheet;
        sheet.span = span;
        sheet.top = y;
        sheet.height = std::max<double>(p.paperHeight, p.marginTop + (span.bottom - span.top) + p.marginBottom) * s;
        sheets_.append(sheet);
        y += sheet.height + kGap;
    }
    totalHeight_ = y;
    updateScrollBars();
    viewport()->update();
    emit viewChanged();
}

void RichTextEdit::updateScrollBars()
{
    const QSize view = viewport()->size();
    verticalScrollBar()->setPageStep(view.height());
    verticalScrollBar()->setRange(0, std::max(0, int(std::ceil(totalHeight_)) - view.height()));
    const int contentWidth = int(std::ceil(sheetWidthPixels() + 2 * kGap));
    horizontalScrollBar()->setPageStep(view.width());
    horizontalScrollBar()->setRange(0, std::max(0, contentWidth - view.width()));
}

void RichTextEdit::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    emit viewChanged();
}

void RichTextEdit::scrollContentsBy(int, int)
{
    viewport()->update();
    emit viewChanged();
}

int RichTextEdit::sheetIndexAtY(double viewY) const
{
    const double y = viewY + verticalScrollBar()->value();
    for (int i = 0; i < sheets_.size(); ++i)
        if (y < sheets_[i].top + sheets_[i].height + kGap / 2)
            return i;
    return int(sheets_.size()) - 1;
}

int RichTextEdit::sheetIndexOfPosition(int position) const
{
    int index = 0;
    for (int i = 1; i < sheets_.size(); ++i)
        if (sheets_[i].span.start <= position)
            index = i;
    return index;
}

QPointF RichTextEdit::documentToWidget(const QPointF& p, int sheet) const
{
    const PageLayout& page = doc_->pageLayout();
    const double s = scale();
    const Sheet& sh = sheets_[std::clamp(sheet, 0, int(sheets_.size()) - 1)];
    return QPointF(sheetLeft() + (page.marginLeft + p.x()) * s,
                   sh.top - verticalScrollBar()->value() + (page.marginTop + p.y() - sh.span.top) * s);
}

QPointF RichTextEdit::widgetToDocument(const QPointF& p, int* sheetOut) const
{
    const PageLayout& page = doc_->pageLayout();
    const double s = scale();
    const int sheet = sheetIndexAtY(p.y());
    if (sheetOut)
        *sheetOut = sheet;
    const Sheet& sh = sheets_[sheet];
    const double x = (p.x() - sheetLeft()) / s - page.marginLeft;
    double y = (p.y() + verticalScrollBar()->value() - sh.top) / s - page.marginTop + sh.span.top;
    // A point on a sheet's margins belongs to that sheet's own text.
    y = std::clamp(y, sh.span.top, std::max(sh.span.top, sh.span.bottom - 1));
    return QPointF(x, y);
}

double RichTextEdit::textLeftOnWidget() const
{
    return sheetLeft() + doc_->pageLayout().marginLeft * scale();
}

QRectF RichTextEdit::cursorRectFor(int position) const
{
    const QTextBlock block = document()->findBlock(position);
    if (!block.isValid() || !block.layout())
        return {};
    const QTextLayout* layout = block.layout();
    const int inBlock = position - block.position();
    QTextLine line = layout->lineForTextPosition(inBlock);
    if (!line.isValid()) {
        if (layout->lineCount() == 0)
            return {};
        line = layout->lineAt(layout->lineCount() - 1);
    }
    const QRectF blockRect = document()->documentLayout()->blockBoundingRect(block);
    const QPointF docPoint(blockRect.left() + line.cursorToX(inBlock), blockRect.top() + line.y());
    const QPointF top = documentToWidget(docPoint, sheetIndexOfPosition(position));
    return QRectF(top, QSizeF(1, std::max(1.0, line.height() * scale())));
}

int RichTextEdit::positionAt(const QPointF& point) const
{
    const QPointF docPoint = widgetToDocument(point, nullptr);
    const int hit = document()->documentLayout()->hitTest(docPoint, Qt::FuzzyHit);
    return hit >= 0 ? hit : std::max(0, document()->characterCount() - 1);
}

void RichTextEdit::paintEvent(QPaintEvent* event)
{
    QPainter p(viewport());
    p.fillRect(event->rect(), QColor(128, 128, 128));
    const double s = scale();
    const double width = sheetWidthPixels();
    const double left = sheetLeft();
    const int scroll = verticalScrollBar()->value();
    const PageLayout& page = doc_->pageLayout();

    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    context.cursorPosition = -1;
    if (cursor_.hasSelection()) {
        QAbstractTextDocumentLayout::Selection selection;
        selection.cursor = cursor_;
        selection.format.setBackground(palette().brush(QPalette::Highlight));
        selection.format.setForeground(palette().brush(QPalette::HighlightedText));
        context.selections << selection;
    }
    for (int i = 0; i < sheets_.size(); ++i) {
        const Sheet& sheet = sheets_[i];
        const QRectF paper(left, sheet.top - scroll, width, sheet.height);
        if (!paper.intersects(event->rect()))
            continue;
        p.fillRect(paper.translated(3, 3), QColor(80, 80, 80));
        p.fillRect(paper, Qt::white);
        // Corner marks where the text area starts and ends.
        const QRectF text(left + page.marginLeft * s, paper.top() + page.marginTop * s,
                          (width / s - page.marginLeft - page.marginRight) * s, page.textHeight() * s);
        p.setPen(QColor(190, 190, 190));
        const double m = 8;
        p.drawLine(QPointF(text.left() - m, text.top()), text.topLeft());
        p.drawLine(QPointF(text.left(), text.top() - m), text.topLeft());
        p.drawLine(QPointF(text.right() + m, text.top()), text.topRight());
        p.drawLine(QPointF(text.right(), text.top() - m), text.topRight());
        p.drawLine(QPointF(text.left() - m, text.bottom()), text.bottomLeft());
        p.drawLine(QPointF(text.left(), text.bottom() + m), text.bottomLeft());
        p.drawLine(QPointF(text.right() + m, text.bottom()), text.bottomRight());
        p.drawLine(QPointF(text.right(), text.bottom() + m), text.bottomRight());

        p.save();
        p.setClipRect(paper, Qt::IntersectClip);
        p.translate(documentToWidget(QPointF(0, sheet.span.top), i));
        p.scale(s, s);
        p.translate(0, -sheet.span.top);
        const QRectF clip(-1e7, sheet.span.top, 2e7, std::max(0.0, sheet.span.bottom - sheet.span.top));
        p.setClipRect(clip, Qt::IntersectClip);
        context.clip = clip.adjusted(0, 0.5, 0, -0.5);
        document()->documentLayout()->draw(&p, context);
        p.restore();
    }
    if (hasFocus() && cursorOn_ && !cursor_.hasSelection()) {
        const QRectF r = cursorRectFor(cursor_.position());
        if (!r.isNull())
            p.fillRect(QRectF(std::floor(r.left()), r.top(), 1.5, r.height()), Qt::black);
    }
}

void RichTextEdit::ensureCursorVisible()
{
    const QRectF r = cursorRectFor(cursor_.position());
    if (r.isNull())
        return;
    const QRect view = viewport()->rect();
    const int margin = 20;
    if (r.top() < margin)
        verticalScrollBar()->setValue(verticalScrollBar()->value() + int(r.top()) - margin);
    else if (r.bottom() > view.height() - margin)
        verticalScrollBar()->setValue(verticalScrollBar()->value() + int(r.bottom()) - view.height() + margin);
    if (r.left() < margin)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + int(r.left()) - margin);
    else if (r.right() > view.width() - margin)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + int(r.right()) - view.width() + margin);
}

// ---- cursor and status --------------------------------------------------------------------

void RichTextEdit::setTextCursor(const QTextCursor& cursor)
{
    if (cursor.document() != document())
        return;
    cursor_ = cursor;
    cursorChanged();
    ensureCursorVisible();
}

void RichTextEdit::cursorChanged(bool formatChanged)
{
    restartBlink();
    viewport()->update();
    emit cursorPositionChanged();
    emit selectionChanged();
    emit copyAvailable(cursor_.hasSelection());
    if (formatChanged) {
        emit currentCharFormatChanged(cursor_.charFormat());
        emit currentBlockFormatChanged(cursor_.blockFormat());
    }
    emitStatus();
}

int RichTextEdit::cursorPage() const
{
    return sheetIndexOfPosition(cursor_.position()) + 1;
}

int RichTextEdit::pageCount() const
{
    return int(sheets_.size());
}

int RichTextEdit::cursorLine() const
{
    const int position = cursor_.position();
    const int start = sheets_.isEmpty() ? 0 : sheets_[sheetIndexOfPosition(position)].span.start;
    const QTextBlock current = document()->findBlock(position);
    int lines = 0;
    for (QTextBlock b = document()->findBlock(std::max(0, start)); b.isValid() && b != current; b = b.next())
        if (b.layout())
            lines += std::max(1, b.layout()->lineCount());
    if (current.layout()) {
        const int line = current.layout()->lineForTextPosition(position - current.position()).lineNumber();
        lines += std::max(0, line);
    }
    return lines + 1;
}

int RichTextEdit::cursorColumn() const
{
    const QTextBlock block = cursor_.block();
    const int inBlock = cursor_.position() - block.position();
    if (block.layout()) {
        const QTextLine line = block.layout()->lineForTextPosition(inBlock);
        if (line.isValid())
            return inBlock - line.textStart() + 1;
    }
    return inBlock + 1;
}

void RichTextEdit::emitStatus()
{
    emit statusChanged(cursorLine(), cursorColumn(), cursorPage(), pageCount());
}

void RichTextEdit::restartBlink()
{
    cursorOn_ = true;
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    if (flash > 0 && hasFocus())
        blink_.start(flash / 2, this);
    else
        blink_.stop();
}

void RichTextEdit::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == blink_.timerId()) {
        cursorOn_ = !cursorOn_;
        const QRectF r = cursorRectFor(cursor_.position());
        viewport()->update(r.adjusted(-2, -2, 3, 2).toAlignedRect());
        return;
    }
    QAbstractScrollArea::timerEvent(event);
}

void RichTextEdit::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    restartBlink();
    viewport()->update();
}

void RichTextEdit::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    blink_.stop();
    viewport()->update();
}

bool RichTextEdit::focusNextPrevChild(bool)
{
    // Tab and Shift+Tab go into the text.
    return false;
}

// ---- keyboard and mouse -------------------------------------------------------------------

void RichTextEdit::moveCursor(QTextCursor::MoveOperation op, QTextCursor::MoveMode mode, int n)
{
    cursor_.movePosition(op, mode, n);
    cursorChanged();
    ensureCursorVisible();
}

void RichTextEdit::movePage(bool down, QTextCursor::MoveMode mode)
{
    const QRectF r = cursorRectFor(cursor_.position());
    const int step = viewport()->height() - 20;
    verticalScrollBar()->setValue(verticalScrollBar()->value() + (down ? step : -step));
    const int position = positionAt(QPointF(r.left(), std::clamp(r.center().y(), 0.0, double(viewport()->height() - 1))));
    cursor_.setPosition(position, mode);
    cursorChanged();
}

void RichTextEdit::keyPressEvent(QKeyEvent* e)
{
    struct Move {
        QKeySequence::StandardKey key;
        QTextCursor::MoveOperation op;
        QTextCursor::MoveMode mode;
    };
    static const Move moves[] = {
        {QKeySequence::MoveToNextChar, QTextCursor::NextCharacter, QTextCursor::MoveAnchor},
        {QKeySequence::MoveToPreviousChar, QTextCursor::PreviousCharacter, QTextCursor::MoveAnchor},
        {QKeySequence::MoveToNextWord, QTextCursor::NextWord, QTextCursor::MoveAnchor},
        {QKeySequence::MoveToPreviousWord, QTextCursor::PreviousWord, QTextCursor::MoveAnchor},
        {QKeySequence::MoveToNextLine, QTextCursor::Down, QTextCursor::MoveAnchor},
        {QKeySequence::MoveToPreviousLine, QTextCursor::Up, QTextCursor::MoveAnchor},
        {QKeySequence::MoveToStartOfLine, QTextCursor::StartOfLine, QTextCursor::MoveAnchor},
        {QKeySequence::MoveToEndOfLine, QTextCursor::EndOfLine, QTextCursor::MoveAnchor},
        {QKeySequence::MoveToStartOfBlock, QTextCursor::StartOfBlock, QTextCursor::MoveAnchor},
        {QKeySequence::MoveToEndOfBlock, QTextCursor::EndOfBlock, QTextCursor::MoveAnchor},
        {QKeySequence::MoveToStartOfDocument, QTextCursor::Start, QTextCursor::MoveAnchor},
        {QKeySequence::MoveToEndOfDocument, QTextCursor::End, QTextCursor::MoveAnchor},
        {QKeySequence::SelectNextChar, QTextCursor::NextCharacter, QTextCursor::KeepAnchor},
        {QKeySequence::SelectPreviousChar, QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor},
        {QKeySequence::SelectNextWord, QTextCursor::NextWord, QTextCursor::KeepAnchor},
        {QKeySequence::SelectPreviousWord, QTextCursor::PreviousWord, QTextCursor::KeepAnchor},
        {QKeySequence::SelectNextLine, QTextCursor::Down, QTextCursor::KeepAnchor},
        {QKeySequence::SelectPreviousLine, QTextCursor::Up, QTextCursor::KeepAnchor},
        {QKeySequence::SelectStartOfLine, QTextCursor::StartOfLine, QTextCursor::KeepAnchor},
        {QKeySequence::SelectEndOfLine, QTextCursor::EndOfLine, QTextCursor::KeepAnchor},
        {QKeySequence::SelectStartOfBlock, QTextCursor::StartOfBlock, QTextCursor::KeepAnchor},
        {QKeySequence::SelectEndOfBlock, QTextCursor::EndOfBlock, QTextCursor::KeepAnchor},
        {QKeySequence::SelectStartOfDocument, QTextCursor::Start, QTextCursor::KeepAnchor},
        {QKeySequence::SelectEndOfDocument, QTextCursor::End, QTextCursor::KeepAnchor},
    };
    for (const Move& m : moves)
        if (e->matches(m.key)) {
            moveCursor(m.op, m.mode);
            return;
        }
    if (e->matches(QKeySequence::MoveToNextPage) || e->matches(QKeySequence::SelectNextPage)) {
        movePage(true, e->matches(QKeySequence::SelectNextPage) ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
        return;
    }
    if (e->matches(QKeySequence::MoveToPreviousPage) || e->matches(QKeySequence::SelectPreviousPage)) {
        movePage(false, e->matches(QKeySequence::SelectPreviousPage) ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
        return;
    }
    if (e->matches(QKeySequence::Undo)) { undo(); return; }
    if (e->matches(QKeySequence::Redo)) { redo(); return; }
    if (e->matches(QKeySequence::Copy)) { copy(); return; }
    if (e->matches(QKeySequence::Cut)) { cut(); return; }
    if (e->matches(QKeySequence::Paste)) { paste(); return; }
    if (e->matches(QKeySequence::SelectAll)) { selectAll(); return; }
    if (e->matches(QKeySequence::Bold)) { setBold(cursor_.charFormat().fontWeight() < QFont::DemiBold); return; }
    if (e->matches(QKeySequence::Italic)) { setItalic(!cursor_.charFormat().fontItalic()); return; }
    if (e->matches(QKeySequence::Underline)) {
        setUnderline(cursor_.charFormat().underlineStyle() == QTextCharFormat::NoUnderline);
        return;
    }

    bool edited = true;
    if (e->matches(QKeySequence::Delete)) {
        cursor_.deleteChar();
    } else if (e->key() == Qt::Key_Backspace && !(e->modifiers() & ~Qt::ShiftModifier)) {
        cursor_.deletePreviousChar();
    } else if (e->matches(QKeySequence::DeleteEndOfWord)) {
        if (!cursor_.hasSelection())
            cursor_.movePosition(QTextCursor::NextWord, QTextCursor::KeepAnchor);
        cursor_.removeSelectedText();
    } else if (e->matches(QKeySequence::DeleteStartOfWord)) {
        if (!cursor_.hasSelection())
            cursor_.movePosition(QTextCursor::PreviousWord, QTextCursor::KeepAnchor);
        cursor_.removeSelectedText();
    } else if (e->matches(QKeySequence::InsertLineSeparator)) {
        cursor_.insertText(QString(QChar::LineSeparator));
    } else if (e->matches(QKeySequence::InsertParagraphSeparator)) {
        cursor_.insertBlock();
    } else if (e->key() == Qt::Key_Tab && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        cursor_.insertText(QStringLiteral("\t"));
    } else {
        const QString text = e->text();
        if (!text.isEmpty() && (text.at(0).isPrint() || text.at(0) == QLatin1Char('\t'))
            && !(e->modifiers() & Qt::ControlModifier)) {
            cursor_.insertText(text);
        } else {
            edited = false;
        }
    }
    if (!edited) {
        QAbstractScrollArea::keyPressEvent(e);
        return;
    }
    e->accept();
    cursorChanged(false);
    ensureCursorVisible();
}

void RichTextEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (!event->commitString().isEmpty() || event->replacementLength() > 0) {
        if (event->replacementLength() > 0) {
            cursor_.setPosition(cursor_.position() + event->replacementStart());
            cursor_.setPosition(cursor_.position() + event->replacementLength(), QTextCursor::KeepAnchor);
        }
        cursor_.insertText(event->commitString());
        cursorChanged(false);
        ensureCursorVisible();
    }
    event->accept();
}

QVariant RichTextEdit::inputMethodQuery(Qt::InputMethodQuery query) const
{
    switch (query) {
    case Qt::ImEnabled: return true;
    case Qt::ImCursorRectangle: return cursorRectFor(cursor_.position()).toRect();
    case Qt::ImFont: return cursor_.charFormat().font();
    case Qt::ImCursorPosition: return cursor_.position() - cursor_.block().position();
    case Qt::ImSurroundingText: return cursor_.block().text();
    case Qt::ImCurrentSelection: return cursor_.selectedText();
    case Qt::ImAnchorPosition: return cursor_.anchor() - cursor_.block().position();
    default: return QAbstractScrollArea::inputMethodQuery(query);
    }
}

void RichTextEdit::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const int position = positionAt(event->position());
    cursor_.setPosition(position, (event->modifiers() & Qt::ShiftModifier) ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
    dragging_ = true;
    cursorChanged();
}

void RichTextEdit::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_ || !(event->buttons() & Qt::LeftButton))
        return;
    cursor_.setPosition(positionAt(event->position()), QTextCursor::KeepAnchor);
    cursorChanged();
    ensureCursorVisible();
}

void RichTextEdit::mouseReleaseEvent(QMouseEvent* event)
{
    dragging_ = false;
    if (event->button() == Qt::LeftButton && cursor_.hasSelection() && QApplication::clipboard()->supportsSelection())
        QApplication::clipboard()->setMimeData(mimeForSelection(), QClipboard::Selection);
}

void RichTextEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    cursor_.setPosition(positionAt(event->position()));
    cursor_.select(QTextCursor::WordUnderCursor);
    cursorChanged();
}

void RichTextEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.addAction(tr("Cu&t"), this, &RichTextEdit::cut)->setEnabled(cursor_.hasSelection());
    menu.addAction(tr("&Copy"), this, &RichTextEdit::copy)->setEnabled(cursor_.hasSelection());
    menu.addAction(tr("&Paste"), this, &RichTextEdit::paste);
    menu.addSeparator();
    menu.addAction(tr("Select &All"), this, &RichTextEdit::selectAll);
    menu.exec(event->globalPos());
}

// ---- clipboard and undo -------------------------------------------------------------------

QMimeData* RichTextEdit::mimeForSelection() const
{
    auto* mime = new QMimeData;
    mime->setText(plainTextOf(cursor_));
    RichDocument part;
    part.setPageLayout(doc_->pageLayout());
    part.setDefaultFont(doc_->defaultFont());
    QTextCursor(part.document()).insertFragment(QTextDocumentFragment(cursor_));
    pictures::restoreResources(part.document());
    const QByteArray rtf = part.saveRtf();
    mime->setData(QString::fromLatin1(kRtfMime), rtf);
    mime->setData(QString::fromLatin1(kRtfMimeAlt), rtf);
    return mime;
}

void RichTextEdit::insertFromMime(const QMimeData* mime)
{
    if (!mime)
        return;
    cursor_.beginEditBlock();
    if (mime->hasFormat(QString::fromLatin1(kRtfMime)) || mime->hasFormat(QString::fromLatin1(kRtfMimeAlt))) {
        QByteArray rtf = mime->data(QString::fromLatin1(kRtfMime));
        if (rtf.isEmpty())
            rtf = mime->data(QString::fromLatin1(kRtfMimeAlt));
        if (cursor_.hasSelection())
            cursor_.removeSelectedText();
        richtext::insertRtf(rtf, cursor_);
    } else if (mime->hasImage()) {
        const QImage image = qvariant_cast<QImage>(mime->imageData());
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.isNull() && image.save(&buffer, "PNG")) {
            QTextImageFormat format;
            format.setProperty(props::PictureData, png);
            format.setProperty(props::PictureKind, int(pictures::Kind::Png));
            const QSizeF shown = pictures::fittedSize(image.width() * 15.0, image.height() * 15.0);
            format.setWidth(twipsToScaled(shown.width()));
            format.setHeight(twipsToScaled(shown.height()));
            cursor_.insertImage(pictures::addPicture(document(), format, image));
        }
    } else if (mime->hasText()) {
        QString text = mime->text();
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        cursor_.insertText(text);
    }
    cursor_.endEditBlock();
    keepSpaceAfterTables(document());
    cursorChanged();
    ensureCursorVisible();
}

void RichTextEdit::copy()
{
    if (cursor_.hasSelection())
        QApplication::clipboard()->setMimeData(mimeForSelection());
}

void RichTextEdit::cut()
{
    if (!cursor_.hasSelection())
        return;
    copy();
    cursor_.removeSelectedText();
    cursorChanged();
}

void RichTextEdit::paste()
{
    insertFromMime(QApplication::clipboard()->mimeData());
}

void RichTextEdit::selectAll()
{
    cursor_.select(QTextCursor::Document);
    cursorChanged();
}

void RichTextEdit::undo()
{
    document()->undo(&cursor_);
    cursorChanged();
    ensureCursorVisible();
}

void RichTextEdit::redo()
{
    document()->redo(&cursor_);
    cursorChanged();
    ensureCursorVisible();
}

// ---- formatting ---------------------------------------------------------------------------

QTextCharFormat RichTextEdit::currentCharFormat() const
{
    return cursor_.charFormat();
}

void RichTextEdit::setCurrentCharFormat(const QTextCharFormat& format)
{
    cursor_.setCharFormat(format);
    if (document()->isEmpty())
        cursor_.setBlockCharFormat(format);
    cursorChanged();
}

void RichTextEdit::mergeCurrentCharFormat(const QTextCharFormat& format)
{
    cursor_.mergeCharFormat(format);
    if (!cursor_.hasSelection() && cursor_.block().length() <= 1)
        cursor_.mergeBlockCharFormat(format);
    viewport()->update();
    emit currentCharFormatChanged(cursor_.charFormat());
}

void RichTextEdit::mergeBlockFormat(const QTextBlockFormat& format)
{
    cursor_.mergeBlockFormat(format);
    keepSpaceAfterTables(document());
    emit currentBlockFormatChanged(cursor_.blockFormat());
    emitStatus();
}

void RichTextEdit::setFontFamily(const QString& family)
{
    // A font chosen by name has none of the file's character set or family class.
    if (cursor_.hasSelection()) {
        changeFormatOfRange(document(), cursor_.selectionStart(), cursor_.selectionEnd(), [&](QTextCharFormat& c) {
            c.setFontFamilies(QStringList{family});
            c.clearProperty(props::FontCharset);
            c.clearProperty(props::FontFamilyClass);
            c.clearProperty(props::FontPitch);
        });
        cursorChanged();
    } else {
        QTextCharFormat c = cursor_.charFormat();
        c.setFontFamilies(QStringList{family});
        c.clearProperty(props::FontCharset);
        c.clearProperty(props::FontFamilyClass);
        c.clearProperty(props::FontPitch);
        cursor_.setCharFormat(c);
        emit currentCharFormatChanged(c);
    }
}

void RichTextEdit::setFontPointSize(double points)
{
    if (points <= 0)
        return;
    QTextCharFormat f;
    f.setFontPointSize(points);
    mergeCurrentCharFormat(f);
}

void RichTextEdit::setBold(bool on)
{
    QTextCharFormat f;
    f.setFontWeight(on ? QFont::Bold : QFont::Normal);
    mergeCurrentCharFormat(f);
}

void RichTextEdit::setItalic(bool on)
{
    QTextCharFormat f;
    f.setFontItalic(on);
    mergeCurrentCharFormat(f);
}

void RichTextEdit::setUnderline(bool on)
{
    QTextCharFormat f;
    f.setUnderlineStyle(on ? QTextCharFormat::SingleUnderline : QTextCharFormat::NoUnderline);
    mergeCurrentCharFormat(f);
}

void RichTextEdit::setNormal()
{
    QTextCharFormat f;
    f.setFontWeight(QFont::Normal);
    f.setFontItalic(false);
    f.setUnderlineStyle(QTextCharFormat::NoUnderline);
    f.setFontStrikeOut(false);
    mergeCurrentCharFormat(f);
}

void RichTextEdit::setTextColor(const QColor& color)
{
    auto change = [&](QTextCharFormat& c) {
        if (color.isValid())
            c.setForeground(color);
        else
            c.clearForeground();
    };
    if (cursor_.hasSelection()) {
        changeFormatOfRange(document(), cursor_.selectionStart(), cursor_.selectionEnd(), change);
        cursorChanged();
    } else {
        QTextCharFormat c = cursor_.charFormat();
        change(c);
        cursor_.setCharFormat(c);
        emit currentCharFormatChanged(c);
    }
}

void RichTextEdit::setTextBackground(const QColor& color)
{
    auto change = [&](QTextCharFormat& c) {
        if (color.isValid())
            c.setBackground(color);
        else
            c.clearBackground();
    };
    if (cursor_.hasSelection()) {
        changeFormatOfRange(document(), cursor_.selectionStart(), cursor_.selectionEnd(), change);
        cursorChanged();
    } else {
        QTextCharFormat c = cursor_.charFormat();
        change(c);
        cursor_.setCharFormat(c);
        emit currentCharFormatChanged(c);
    }
}

void RichTextEdit::setAlignment(Qt::Alignment alignment)
{
    QTextBlockFormat f;
    f.setAlignment(alignment);
    mergeBlockFormat(f);
}

Qt::Alignment RichTextEdit::alignment() const
{
    return cursor_.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
}

void RichTextEdit::setTabStops(const QList<QTextOption::Tab>& tabs)
{
    QTextBlockFormat f;
    f.setTabPositions(tabs);
    mergeBlockFormat(f);
}

PageLayout RichTextEdit::pageLayout() const
{
    return doc_->pageLayout();
}

void RichTextEdit::setPageLayout(const PageLayout& page)
{
    doc_->setPageLayout(page);
    relayoutView();
    emit pageLayoutChanged();
    emitStatus();
}

bool RichTextEdit::wordWrap() const
{
    return doc_->wordWrap();
}

void RichTextEdit::setWordWrap(bool on)
{
    doc_->setWordWrap(on);
    relayoutView();
}

// ---- editing ------------------------------------------------------------------------------

void RichTextEdit::insertText(const QString& text)
{
    cursor_.insertText(withLineBreaks(text));
    cursorChanged(false);
    ensureCursorVisible();
}

void RichTextEdit::insertPageBreak()
{
    richtext::insertPageBreak(cursor_);
    cursorChanged();
    ensureCursorVisible();
}

void RichTextEdit::insertRtf(const QByteArray& rtf)
{
    cursor_.beginEditBlock();
    if (cursor_.hasSelection())
        cursor_.removeSelectedText();
    richtext::insertRtf(rtf, cursor_);
    cursor_.endEditBlock();
    keepSpaceAfterTables(document());
    cursorChanged();
    ensureCursorVisible();
}

bool RichTextEdit::find(const QString& text, QTextDocument::FindFlags flags)
{
    if (text.isEmpty())
        return false;
    QTextCursor found = document()->find(text, cursor_, flags);
    if (found.isNull()) {
        // Once round from the other end.
        QTextCursor from(document());
        if (flags & QTextDocument::FindBackward)
            from.movePosition(QTextCursor::End);
        found = document()->find(text, from, flags);
    }
    if (found.isNull())
        return false;
    cursor_ = found;
    cursorChanged();
    ensureCursorVisible();
    return true;
}

bool RichTextEdit::replace(const QString& text, const QString& with, QTextDocument::FindFlags flags)
{
    const Qt::CaseSensitivity cs = (flags & QTextDocument::FindCaseSensitively) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (cursor_.hasSelection() && cursor_.selectedText().compare(text, cs) == 0) {
        QTextCursor first(document());
        first.setPosition(cursor_.selectionStart() + 1);
        cursor_.insertText(withLineBreaks(with), first.charFormat());
    }
    return find(text, flags);
}

int RichTextEdit::replaceAll(const QString& text, const QString& with, QTextDocument::FindFlags flags)
{
    if (text.isEmpty())
        return 0;
    int count = 0;
    QTextCursor edit(document());
    edit.beginEditBlock();
    QTextCursor at(document());
    flags &= ~QTextDocument::FindBackward;
    for (;;) {
        QTextCursor found = document()->find(text, at, flags);
        if (found.isNull())
            break;
        QTextCursor first(document());
        first.setPosition(found.selectionStart() + 1);
        found.insertText(withLineBreaks(with), first.charFormat());
        at = found;
        ++count;
    }
    edit.endEditBlock();
    cursorChanged();
    return count;
}

} // namespace postavo::richtext
