#pragma once
// Writing a document as RTF: everything the reader reads, in the plain form word processors
// open (fonts and colours in tables, every paragraph with all its properties, every run with
// all its character properties). The same document always gives the same bytes: fonts and
// colours are numbered in the order the text first uses them, and text is 7-bit ASCII with
// Windows-1252 escapes and Unicode escapes beyond that.

#include "pagelayout.h"

#include <QByteArray>

class QTextDocument;

namespace postavo::richtext {

QByteArray writeRtf(const QTextDocument& document, const PageLayout& page);

} // namespace postavo::richtext
