#pragma once
// A rich-text document: Qt's text document laid out in twips, with its page layout. It offers
// what the letters need of a document: loading and saving RTF, copying, the merge's search and
// replace, inserting text and page breaks, word wrap and default attributes. Pages are drawn
// with the functions of pagedrawing.h.

#include "pagelayout.h"
#include "rtfreader.h"

#include <QByteArray>
#include <QString>
#include <QTextCharFormat>
#include <memory>

class QTextCursor;
class QTextDocument;

namespace postavo::richtext {

class RichDocument {
public:
    RichDocument();
    ~RichDocument();
    RichDocument(const RichDocument&) = delete;
    RichDocument& operator=(const RichDocument&) = delete;

    QTextDocument* document() { return doc_.get(); }
    const QTextDocument* document() const { return doc_.get(); }

    // Page size and margins in twips. Setting them lays the text out to the new width.
    const PageLayout& pageLayout() const { return page_; }
    void setPageLayout(const PageLayout& page);

    // RTF text in and out. Loading replaces content and page layout; the report says what
    // was left out (nothing is ever refused: damaged text is read as far as it goes).
    RtfReadReport loadRtf(const QByteArray& rtf, const RtfReadOptions& options = {});
    QByteArray saveRtf() const;
    // Files: loading reports a missing or unreadable file in `error`; saving writes a new file
    // and replaces the old one only when all of it is written.
    bool loadFile(const QString& path, QString* error, RtfReadReport* report = nullptr);
    bool saveFile(const QString& path, QString* error) const;
    // Inserts an RTF text at `cursor` ("Insert RTF").
    RtfReadReport insertRtf(const QByteArray& rtf, QTextCursor& cursor);

    // Replaces this document's content, default font and page layout with a copy of `other`'s.
    void copyFrom(const RichDocument& other);
    void clear();

    // The merge's search: a literal text, letter case ignored, never across a paragraph end,
    // attributes ignored, from the search position on.
    void setSearchPosition(int position);
    int searchPosition() const { return searchPosition_; }
    bool findNext(const QString& text);
    // Replaces the text just found. The new text takes the character attributes of the found
    // text's first character; a carriage return and line feed (or either alone) becomes a line
    // break inside the paragraph. The search goes on behind the new text.
    bool replaceFound(const QString& text);
    // Every occurrence of `text` from the start replaced by `value`, as above; the count.
    int replaceAll(const QString& text, const QString& value);

    // Word wrap at the right margin (on by default). Off, lines end only at line and paragraph
    // breaks; pages are drawn wrapped either way.
    bool wordWrap() const { return wordWrap_; }
    void setWordWrap(bool on);

    // The font of text without a font of its own, and the typing attributes of an empty
    // document.
    void setDefaultFont(const QFont& font);
    QFont defaultFont() const;

    // The plain text: paragraphs are separated and line breaks shown by "\n" (the last
    // paragraph has none); a page break is "\f" when `pageBreaks` is set.
    QString plainText(bool pageBreaks = false) const;

private:
    std::unique_ptr<QTextDocument> doc_;
    PageLayout page_;
    bool wordWrap_ = true;
    int searchPosition_ = 0;
    int foundStart_ = -1;
    int foundLength_ = 0;
};

// Text as the merge inserts it: carriage return and line feed become line breaks.
QString withLineBreaks(const QString& text);

// Inserts a page break at `cursor`: the paragraph is split there and the part behind the
// cursor starts a new page. `cursor` ends at the start of the new page.
void insertPageBreak(QTextCursor& cursor);

} // namespace postavo::richtext
