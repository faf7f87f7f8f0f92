#include "richdocument.h"

#include "filewriting.h"
#include "formatproperties.h"
#include "layoutunits.h"
#include "pictures.h"
#include "rtfwriter.h"

#include <QFile>
#include <QFileInfo>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

namespace postavo::richtext {

namespace {

// Larger files are refused rather than read into memory: no letter comes near it.
constexpr qint64 kMaxFileBytes = 256 * 1024 * 1024;

QFont letterFont()
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(10);
    return f;
}

} // namespace

QString withLineBreaks(const QString& text)
{
    QString out = text;
    out.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
    out.replace(QLatin1Char('\r'), QChar::LineSeparator);
    out.replace(QLatin1Char('\n'), QChar::LineSeparator);
    return out;
}

void insertPageBreak(QTextCursor& cursor)
{
    cursor.beginEditBlock();
    if (cursor.hasSelection())
        cursor.removeSelectedText();
    QTextBlockFormat block = cursor.blockFormat();
    block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    cursor.insertBlock(block, cursor.charFormat());
    cursor.endEditBlock();
}

RichDocument::RichDocument() : doc_(std::make_unique<QTextDocument>())
{
    prepareDocument(doc_.get());
    doc_->setDefaultFont(letterFont());
    setPageLayout(PageLayout());
    setWordWrap(true);
}

RichDocument::~RichDocument() = default;

void RichDocument::setPageLayout(const PageLayout& page)
{
    page_ = page.isUsable() ? page : page.normalized();
    doc_->setTextWidth(page_.textWidth());
}

RtfReadReport RichDocument::loadRtf(const QByteArray& rtf, const RtfReadOptions& options)
{
    PageLayout page;
    const QTextOption option = doc_->defaultTextOption();
    const RtfReadReport report = readRtf(rtf, doc_.get(), &page, options);
    QTextOption read = doc_->defaultTextOption();
    read.setWrapMode(option.wrapMode());
    doc_->setDefaultTextOption(read);
    setPageLayout(page);
    searchPosition_ = 0;
    foundStart_ = -1;
    return report;
}

QByteArray RichDocument::saveRtf() const
{
    return writeRtf(*doc_, page_);
}

bool RichDocument::loadFile(const QString& path, QString* error, RtfReadReport* report)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("The file \"%1\" cannot be opened: %2").arg(path, file.errorString());
        return false;
    }
    if (file.size() > kMaxFileBytes) {
        if (error)
            *error = QStringLiteral("The file \"%1\" is too large for a letter.").arg(path);
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("The file \"%1\" cannot be read: %2").arg(path, file.errorString());
        return false;
    }
    const RtfReadReport r = loadRtf(bytes);
    if (report)
        *report = r;
    return true;
}

bool RichDocument::saveFile(const QString& path, QString* error) const
{
    QString reason;
    if (!replaceFileWith(path, saveRtf(), &reason)) {
        if (error)
            *error = QStringLiteral("The file \"%1\" cannot be written: %2").arg(path, reason);
        return false;
    }
    return true;
}

RtfReadReport RichDocument::insertRtf(const QByteArray& rtf, QTextCursor& cursor)
{
    return richtext::insertRtf(rtf, cursor);
}

void RichDocument::copyFrom(const RichDocument& other)
{
    if (&other == this)
        return;
    const bool undo = doc_->isUndoRedoEnabled();
    doc_->setUndoRedoEnabled(false);
    doc_->clear();
    prepareDocument(doc_.get());
    doc_->setDefaultFont(other.doc_->defaultFont());
    QTextOption option = other.doc_->defaultTextOption();
    option.setWrapMode(doc_->defaultTextOption().wrapMode());
    doc_->setDefaultTextOption(option);
    QTextCursor(doc_.get()).insertFragment(QTextDocumentFragment(other.doc_.get()));
    // The pictures' images go with the text.
    for (const QTextFormat& f : other.doc_->allFormats()) {
        if (!f.isImageFormat())
            continue;
        const QUrl url(f.toImageFormat().name());
        const QVariant image = other.doc_->resource(QTextDocument::ImageResource, url);
        if (image.isValid())
            doc_->addResource(QTextDocument::ImageResource, url, image);
    }
    doc_->setUndoRedoEnabled(undo);
    setPageLayout(other.page_);
    searchPosition_ = 0;
    foundStart_ = -1;
}

void RichDocument::clear()
{
    const QFont font = doc_->defaultFont();
    const QTextOption option = doc_->defaultTextOption();
    doc_->clear();
    prepareDocument(doc_.get());
    doc_->setDefaultFont(font);
    doc_->setDefaultTextOption(option);
    doc_->setTextWidth(page_.textWidth());
    searchPosition_ = 0;
    foundStart_ = -1;
}

void RichDocument::setSearchPosition(int position)
{
    searchPosition_ = std::clamp(position, 0, std::max(0, doc_->characterCount() - 1));
    foundStart_ = -1;
}

bool RichDocument::findNext(const QString& text)
{
    foundStart_ = -1;
    if (text.isEmpty())
        return false;
    QTextBlock block = doc_->findBlock(searchPosition_);
    int offset = searchPosition_ - block.position();
    for (; block.isValid(); block = block.next(), offset = 0) {
        const int at = block.text().indexOf(text, std::max(0, offset), Qt::CaseInsensitive);
        if (at >= 0) {
            foundStart_ = block.position() + at;
            foundLength_ = int(text.size());
            searchPosition_ = foundStart_ + foundLength_;
            return true;
        }
    }
    return false;
}

bool RichDocument::replaceFound(const QString& text)
{
    if (foundStart_ < 0)
        return false;
    QTextCursor c(doc_.get());
    c.setPosition(foundStart_ + 1);
    const QTextCharFormat format = c.charFormat();
    c.setPosition(foundStart_);
    c.setPosition(foundStart_ + foundLength_, QTextCursor::KeepAnchor);
    const QString value = withLineBreaks(text);
    if (value.isEmpty())
        c.removeSelectedText();
    else
        c.insertText(value, format);
    searchPosition_ = foundStart_ + int(value.size());
    foundStart_ = -1;
    return true;
}

int RichDocument::replaceAll(const QString& text, const QString& value)
{
    setSearchPosition(0);
    int count = 0;
    // One edit: one undo step, and the text is laid out once at the end.
    QTextCursor block(doc_.get());
    block.beginEditBlock();
    while (findNext(text)) {
        replaceFound(value);
        ++count;
    }
    block.endEditBlock();
    return count;
}

void RichDocument::setWordWrap(bool on)
{
    wordWrap_ = on;
    QTextOption option = doc_->defaultTextOption();
    option.setWrapMode(on ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    doc_->setDefaultTextOption(option);
}

void RichDocument::setDefaultFont(const QFont& font)
{
    doc_->setDefaultFont(font);
}

QFont RichDocument::defaultFont() const
{
    return doc_->defaultFont();
}

QString RichDocument::plainText(bool pageBreaks) const
{
    QString out;
    for (QTextBlock b = doc_->begin(); b.isValid(); b = b.next()) {
        // The empty block Qt keeps before a table is not a line of the text.
        if (b.length() <= 1 && b.blockFormat().boolProperty(props::ImplicitBlock))
            continue;
        if (pageBreaks && b != doc_->begin() && (b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore))
            out += QLatin1Char('\f');
        QString t = b.text();
        t.remove(QChar::ObjectReplacementCharacter);
        t.replace(QChar::LineSeparator, QLatin1Char('\n'));
        out += t;
        if (b.next().isValid())
            out += QLatin1Char('\n');
    }
    return out;
}

} // namespace postavo::richtext
