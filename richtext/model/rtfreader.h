#pragma once
// Reading RTF into a QTextDocument and a page layout.
//
// Read: fonts (with their character sets), sizes, bold, italic, underline, strike-out,
// superscript and subscript, capitals, text and background colours; paragraph alignment,
// indents, space before and after, line spacing, tab stops, line breaks, tabs and page breaks;
// Unicode and code-page text; simple tables; PNG, JPEG, bitmap and metafile pictures; the paper
// size and margins. Everything else is skipped without losing the text around it, and the
// report says what was left out. Damaged data is read as far as it goes: the reader never
// fails, never reads out of bounds and takes time in proportion to the data.

#include "pagelayout.h"
#include "pictures.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class QTextCursor;
class QTextDocument;

namespace postavo::richtext {

struct RtfReadReport {
    // What was left out or changed, one sentence per kind, in the order first met.
    QStringList skipped;
    // The data was not whole: it ended inside a group, had a stray closing brace, or was not
    // RTF at all (then it was read as plain text).
    bool damaged = false;
    bool notRtf = false;

    bool clean() const { return skipped.isEmpty() && !damaged && !notRtf; }
    // The report as lines for a message box or a log.
    QString text() const;
};

struct RtfReadOptions {
    // Decodes pictures; nullptr uses pictures::pictureDecoder().
    const pictures::PictureDecoder* pictureDecoder = nullptr;
    // Groups nested deeper than this keep the formatting of this depth.
    int maxGroupDepth = 1000;
};

// Whether the bytes start like an RTF document ("{\rtf", leading blanks allowed).
bool looksLikeRtf(const QByteArray& data);

// Replaces the content of `document` with the RTF text and sets `page` from it (values the
// file does not give take the RTF defaults: 8.5 x 11 inches, margins 1.25 inches left and
// right and 1 inch top and bottom). The document is prepared for twip layout.
RtfReadReport readRtf(const QByteArray& rtf, QTextDocument* document, PageLayout* page,
                      const RtfReadOptions& options = {});

// Inserts the RTF text at `cursor` (the page layout of the inserted file is not used).
RtfReadReport insertRtf(const QByteArray& rtf, QTextCursor& cursor, const RtfReadOptions& options = {});

} // namespace postavo::richtext
