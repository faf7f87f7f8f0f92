#pragma once
// What a document keeps of an RTF file beyond Qt's own formatting properties, so that the writer
// gives back what the reader took in.

#include <QTextFormat>

namespace postavo::richtext::props {

enum : int {
    // Character formats.
    FontCharset = QTextFormat::UserProperty + 1,     // int: \fcharset of the run's font
    FontFamilyClass = QTextFormat::UserProperty + 2, // QString: "roman", "swiss", ... (\froman ...)
    FontPitch = QTextFormat::UserProperty + 3,       // int: \fprq

    // Image formats: the picture as the file holds it.
    PictureData = QTextFormat::UserProperty + 16,    // QByteArray
    PictureKind = QTextFormat::UserProperty + 17,    // int: pictures::Kind
    PictureNativeWidth = QTextFormat::UserProperty + 18,  // int: \picw
    PictureNativeHeight = QTextFormat::UserProperty + 19, // int: \pich
    PictureMappingMode = QTextFormat::UserProperty + 20,  // int: N of \wmetafileN

    // Table formats.
    TableLeft = QTextFormat::UserProperty + 32,      // int twips: \trleft

    // Block formats: the empty block Qt keeps before a table at the start of the document or of
    // a cell; it is not a paragraph of the file and is not written back while it stays empty.
    ImplicitBlock = QTextFormat::UserProperty + 48,  // bool
};

} // namespace postavo::richtext::props
