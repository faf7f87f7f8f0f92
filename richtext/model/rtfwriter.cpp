#include "rtfwriter.h"

#include "codepages.h"
#include "formatproperties.h"
#include "layoutunits.h"
#include "pictures.h"

#include <QBuffer>
#include <QHash>
#include <QImage>
#include <QImageWriter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>
#include <cmath>

namespace postavo::richtext {

namespace {

struct FontKey {
    QString family;
    int charset = 0;
    int pitch = 0;
    QString familyClass;
    bool operator==(const FontKey&) const = default;
};

size_t qHash(const FontKey& k, size_t seed = 0)
{
    return qHashMulti(seed, k.family, k.charset, k.pitch, k.familyClass);
}

// The 16 colours word processors offer for highlighting.
bool isHighlightColor(const QColor& c)
{
    static const QRgb standard[] = {0x000000, 0x0000FF, 0x00FFFF, 0x00FF00, 0xFF00FF, 0xFF0000,
                                    0xFFFF00, 0xFFFFFF, 0x000080, 0x008080, 0x008000, 0x800080,
                                    0x800000, 0x808000, 0x808080, 0xC0C0C0};
    const QRgb rgb = c.rgb() & 0xFFFFFF;
    return std::find(std::begin(standard), std::end(standard), rgb) != std::end(standard);
}

QString classFromHint(QFont::StyleHint hint)
{
    switch (hint) {
    case QFont::Serif: return QStringLiteral("roman");
    case QFont::SansSerif: return QStringLiteral("swiss");
    case QFont::TypeWriter: return QStringLiteral("modern");
    case QFont::Cursive: return QStringLiteral("script");
    case QFont::Decorative: return QStringLiteral("decor");
    default: return QStringLiteral("nil");
    }
}

class Writer {
public:
    Writer(const QTextDocument& document, const PageLayout& page) : doc_(document), page_(page) {}
    QByteArray write();

private:
    void writeFrame(const QTextFrame* frame, bool inTable);
    void writeBlock(const QTextBlock& block, bool inTable, const char* ending);
    void writeTable(const QTextTable* table);
    void writeCellContent(const QTextTableCell& cell);
    void writePicture(const QTextImageFormat& format);

    QByteArray charProps(const QTextCharFormat& format);
    QByteArray blockProps(const QTextBlockFormat& format, bool inTable) const;
    // A font table name (`name`) is plain text: no control words for special characters.
    void text(const QString& text, int charset, bool name = false);

    int fontIndex(const QTextCharFormat& format);
    int colorIndex(const QColor& color);
    QString familyOf(const QTextCharFormat& format) const;

    const QTextDocument& doc_;
    PageLayout page_;
    QByteArray out_;
    QVector<FontKey> fonts_;
    QHash<FontKey, int> fontIndex_;
    QVector<QColor> colors_;
    QHash<QRgb, int> colorIndex_;
};

QByteArray num(int v) { return QByteArray::number(v); }

// What cannot stand in a font table entry is left out, so that equal names stay equal.
QString cleanFamily(const QString& family)
{
    QString out;
    for (const QChar c : family)
        if (c.unicode() >= 0x20 && c != QLatin1Char(';') && c != QChar::ObjectReplacementCharacter
            && c != QChar::LineSeparator && c != QChar::ParagraphSeparator)
            out += c;
    return out.trimmed();
}

QString Writer::familyOf(const QTextCharFormat& format) const
{
    const QVariant families = format.property(QTextFormat::FontFamilies);
    if (families.isValid()) {
        const QStringList list = families.toStringList();
        if (!list.isEmpty() && !list.first().isEmpty())
            return list.first();
    }
    return doc_.defaultFont().family();
}

int Writer::fontIndex(const QTextCharFormat& format)
{
    FontKey key;
    key.family = cleanFamily(familyOf(format));
    if (key.family.isEmpty())
        key.family = cleanFamily(doc_.defaultFont().family());
    if (key.family.isEmpty())
        key.family = QStringLiteral("Arial");
    key.charset = format.intProperty(props::FontCharset);
    key.pitch = format.intProperty(props::FontPitch);
    key.familyClass = format.hasProperty(props::FontFamilyClass)
                          ? format.stringProperty(props::FontFamilyClass)
                          : classFromHint(format.fontStyleHint());
    const auto it = fontIndex_.constFind(key);
    if (it != fontIndex_.constEnd())
        return it.value();
    fonts_.append(key);
    fontIndex_.insert(key, int(fonts_.size()) - 1);
    return int(fonts_.size()) - 1;
}

int Writer::colorIndex(const QColor& color)
{
    const QRgb rgb = color.rgb() & 0xFFFFFF;
    const auto it = colorIndex_.constFind(rgb);
    if (it != colorIndex_.constEnd())
        return it.value();
    colors_.append(QColor::fromRgb(rgb));
    // Index 0 is the automatic colour.
    colorIndex_.insert(rgb, int(colors_.size()));
    return int(colors_.size());
}

QByteArray Writer::charProps(const QTextCharFormat& f)
{
    QByteArray p = "\\plain\\f" + num(fontIndex(f));
    double points = f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : doc_.defaultFont().pointSizeF();
    if (points <= 0)
        points = 12;
    p += "\\fs" + num(std::max(1, int(std::lround(points * 2))));
    if (f.fontWeight() >= QFont::DemiBold)
        p += "\\b";
    if (f.fontItalic())
        p += "\\i";
    switch (f.underlineStyle()) {
    case QTextCharFormat::NoUnderline: break;
    case QTextCharFormat::DotLine: p += "\\uld"; break;
    case QTextCharFormat::DashUnderline:
    case QTextCharFormat::DashDotLine:
    case QTextCharFormat::DashDotDotLine: p += "\\uldash"; break;
    case QTextCharFormat::WaveUnderline:
    case QTextCharFormat::SpellCheckUnderline: p += "\\ulwave"; break;
    default: p += "\\ul"; break;
    }
    if (f.fontStrikeOut())
        p += "\\strike";
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
        p += "\\cf" + num(colorIndex(f.foreground().color()));
    if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush) {
        const QColor c = f.background().color();
        const QByteArray i = num(colorIndex(c));
        p += "\\cb" + i + "\\chcbpat" + i;
        if (isHighlightColor(c))
            p += "\\highlight" + i;
    }
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        p += "\\super";
    else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        p += "\\sub";
    if (f.fontCapitalization() == QFont::AllUppercase)
        p += "\\caps";
    else if (f.fontCapitalization() == QFont::SmallCaps)
        p += "\\scaps";
    return p;
}

QByteArray Writer::blockProps(const QTextBlockFormat& f, bool inTable) const
{
    QByteArray p = "\\pard";
    if (inTable)
        p += "\\intbl";
    const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
    p += (a & Qt::AlignRight)     ? "\\qr"
         : (a & Qt::AlignHCenter) ? "\\qc"
         : (a & Qt::AlignJustify) ? "\\qj"
                                  : "\\ql";
    auto length = [&](const char* word, int twips) {
        if (twips != 0)
            p += QByteArray(word) + num(twips);
    };
    length("\\li", qRound(f.leftMargin()));
    length("\\ri", qRound(f.rightMargin()));
    length("\\fi", qRound(f.textIndent()));
    length("\\sb", scaledToTwips(f.topMargin()));
    length("\\sa", scaledToTwips(f.bottomMargin()));
    switch (f.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        p += "\\sl" + num(qRound(f.lineHeight() * 240.0 / 100.0)) + "\\slmult1";
        break;
    case QTextBlockFormat::MinimumHeight:
        p += "\\sl" + num(scaledToTwips(f.lineHeight())) + "\\slmult0";
        break;
    case QTextBlockFormat::FixedHeight:
        p += "\\sl" + num(-scaledToTwips(f.lineHeight())) + "\\slmult0";
        break;
    default:
        break;
    }
    for (const QTextOption::Tab& tab : f.tabPositions()) {
        if (tab.type == QTextOption::RightTab)
            p += "\\tqr";
        else if (tab.type == QTextOption::CenterTab)
            p += "\\tqc";
        else if (tab.type == QTextOption::DelimiterTab)
            p += "\\tqdec";
        p += "\\tx" + num(scaledToTwips(tab.position));
    }
    return p;
}

void Writer::text(const QString& s, int charset, bool name)
{
    const bool ansi = charset == 0 || charset == 1;
    for (const QChar qc : s) {
        char16_t c = qc.unicode();
        // A symbol font's private-use characters are its bytes.
        if (charset == 2 && c >= 0xF020 && c < 0xF080 && !name)
            c = char16_t(c - 0xF000);
        if (c == '\\' || c == '{' || c == '}') {
            out_ += '\\';
            out_ += char(c);
        } else if (c == '\t' && !name) {
            out_ += "\\tab ";
        } else if (c == QChar::LineSeparator && !name) {
            out_ += "\\line ";
        } else if (c == 0x00A0 && !name) {
            out_ += "\\~";
        } else if (c == 0x00AD && !name) {
            out_ += "\\-";
        } else if (c == 0x2011 && !name) {
            out_ += "\\_";
        } else if (c < 0x20 || c == QChar::ObjectReplacementCharacter || c == QChar::ParagraphSeparator) {
            continue;
        } else if (c < 0x80) {
            out_ += char(c);
        } else {
            int byte = -1;
            if (ansi)
                byte = windows1252Byte(c);
            else if (charset == 2 && c >= 0xF020 && c <= 0xF0FF)
                byte = c - 0xF000;
            if (byte >= 0) {
                static const char hex[] = "0123456789abcdef";
                out_ += "\\'";
                out_ += hex[byte >> 4];
                out_ += hex[byte & 15];
            } else {
                out_ += "\\u" + num(int(qint16(c))) + '?';
            }
        }
    }
}

void Writer::writePicture(const QTextImageFormat& format)
{
    QByteArray data = format.property(props::PictureData).toByteArray();
    auto kind = pictures::Kind(format.intProperty(props::PictureKind));
    int picw = format.intProperty(props::PictureNativeWidth);
    int pich = format.intProperty(props::PictureNativeHeight);
    if (data.isEmpty() || kind == pictures::Kind::None) {
        // A picture that came from elsewhere: written as PNG.
        const QVariant resource = doc_.resource(QTextDocument::ImageResource, QUrl(format.name()));
        const QImage image = resource.value<QImage>();
        if (image.isNull())
            return;
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "PNG");
        if (!writer.write(image))
            return;
        kind = pictures::Kind::Png;
        picw = image.width();
        pich = image.height();
    }
    const int goalw = format.hasProperty(QTextFormat::ImageWidth) ? scaledToTwips(format.width()) : picw * 15;
    const int goalh = format.hasProperty(QTextFormat::ImageHeight) ? scaledToTwips(format.height()) : pich * 15;
    const bool metafile = kind == pictures::Kind::WindowsMetafile || kind == pictures::Kind::EnhancedMetafile;
    if (picw <= 0)
        picw = metafile ? int(qint64(goalw) * 2540 / 1440) : std::max(1, goalw / 15);
    if (pich <= 0)
        pich = metafile ? int(qint64(goalh) * 2540 / 1440) : std::max(1, goalh / 15);

    out_ += "{\\pict\\";
    out_ += pictures::controlWord(kind);
    if (kind == pictures::Kind::WindowsMetafile)
        out_ += num(format.hasProperty(props::PictureMappingMode) ? format.intProperty(props::PictureMappingMode) : 8);
    else if (kind == pictures::Kind::Dib)
        out_ += '0';
    out_ += "\\picw" + num(picw) + "\\pich" + num(pich) + "\\picwgoal" + num(goalw) + "\\pichgoal" + num(goalh);
    static const char hex[] = "0123456789abcdef";
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (i % 64 == 0)
            out_ += "\r\n";
        const auto b = static_cast<unsigned char>(data[i]);
        out_ += hex[b >> 4];
        out_ += hex[b & 15];
    }
    out_ += "\r\n}";
}

void Writer::writeBlock(const QTextBlock& block, bool inTable, const char* ending)
{
    const QTextBlockFormat bf = block.blockFormat();
    out_ += blockProps(bf, inTable);
    // After \pard, so that it never counts as inside the table before it.
    if (!inTable && (bf.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore))
        out_ += "\\page";
    QByteArray last;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.isValid())
            continue;
        const QTextCharFormat f = fragment.charFormat();
        if (f.isImageFormat()) {
            const QString t = fragment.text();
            for (QChar c : t)
                if (c == QChar::ObjectReplacementCharacter)
                    writePicture(f.toImageFormat());
            continue;
        }
        // Text first: a fragment that writes nothing (only characters RTF cannot carry) must not
        // leave its formatting behind either.
        const QByteArray before = std::exchange(out_, {});
        text(fragment.text(), f.intProperty(props::FontCharset));
        const QByteArray written = std::exchange(out_, before);
        if (written.isEmpty())
            continue;
        const QByteArray props = charProps(f);
        if (props != last) {
            out_ += props;
            out_ += ' ';
            last = props;
        }
        out_ += written;
    }
    const QByteArray mark = charProps(block.charFormat());
    if (mark != last)
        out_ += mark;
    out_ += ending;
}

void Writer::writeFrame(const QTextFrame* frame, bool inTable)
{
    QVector<QTextFrame::iterator> items;
    for (auto it = frame->begin(); !it.atEnd(); ++it)
        items.append(it);
    for (int i = 0; i < items.size(); ++i) {
        const QTextFrame::iterator& it = items[i];
        if (QTextFrame* child = it.currentFrame()) {
            if (auto* table = qobject_cast<QTextTable*>(child); table && !inTable)
                writeTable(table);
            else
                writeFrame(child, inTable);
            continue;
        }
        const QTextBlock block = it.currentBlock();
        // The block Qt keeps before a table is not a paragraph of the document.
        if (block.length() <= 1 && block.blockFormat().boolProperty(props::ImplicitBlock)
            && i + 1 < items.size() && qobject_cast<QTextTable*>(items[i + 1].currentFrame()))
            continue;
        writeBlock(block, inTable, "\\par\r\n");
    }
}

void Writer::writeCellContent(const QTextTableCell& cell)
{
    QVector<QTextBlock> blocks;
    for (QTextBlock b = doc_.findBlock(cell.firstPosition()); b.isValid() && b.position() <= cell.lastPosition(); b = b.next())
        blocks.append(b);
    if (blocks.isEmpty()) {
        out_ += "\\pard\\intbl\\cell ";
        return;
    }
    for (int i = 0; i < blocks.size(); ++i)
        writeBlock(blocks[i], true, i + 1 < blocks.size() ? "\\par\r\n" : "\\cell ");
}

void Writer::writeTable(const QTextTable* table)
{
    const QTextTableFormat tf = table->format();
    const int cols = table->columns();
    const int rows = table->rows();
    const int left = tf.hasProperty(props::TableLeft) ? tf.intProperty(props::TableLeft) : scaledToTwips(tf.leftMargin());

    // Cell edges from the column widths; widths Qt chose itself are taken from the page.
    const QVector<QTextLength> constraints = tf.columnWidthConstraints();
    QVector<double> widths(cols, -1);
    double fixed = 0;
    int open = 0;
    for (int c = 0; c < cols; ++c) {
        if (c < constraints.size() && constraints[c].type() == QTextLength::FixedLength)
            widths[c] = scaledToTwips(constraints[c].rawValue());
        else if (c < constraints.size() && constraints[c].type() == QTextLength::PercentageLength)
            widths[c] = page_.textWidth() * constraints[c].rawValue() / 100.0;
        if (widths[c] >= 0)
            fixed += widths[c];
        else
            ++open;
    }
    for (int c = 0; c < cols; ++c)
        if (widths[c] < 0)
            widths[c] = std::max(360.0, (page_.textWidth() - fixed) / open);
    QVector<int> edges(cols + 1);
    edges[0] = left;
    double x = left;
    for (int c = 0; c < cols; ++c) {
        x += widths[c];
        edges[c + 1] = std::max(edges[c] + 1, int(std::lround(x)));
    }

    if (tf.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        out_ += "\\pard\\page\r\n";
    for (int r = 0; r < rows; ++r) {
        const QTextTableCellFormat first = table->cellAt(r, 0).format().toTableCellFormat();
        const int gap = first.hasProperty(QTextFormat::TableCellLeftPadding)
                            ? scaledToTwips(first.leftPadding())
                            : scaledToTwips(tf.cellPadding());
        out_ += "\\trowd\\trgaph" + num(gap) + "\\trleft" + num(left);
        const Qt::Alignment a = tf.alignment() & Qt::AlignHorizontal_Mask;
        if (a & Qt::AlignHCenter)
            out_ += "\\trqc";
        else if (a & Qt::AlignRight)
            out_ += "\\trqr";
        for (int c = 0; c < cols;) {
            const QTextTableCell cell = table->cellAt(r, c);
            const int span = std::max(1, cell.columnSpan());
            const QTextTableCellFormat cf = cell.format().toTableCellFormat();
            if (cell.row() < r)
                out_ += "\\clvmrg";
            else if (cell.rowSpan() > 1)
                out_ += "\\clvmgf";
            if (cf.verticalAlignment() == QTextCharFormat::AlignMiddle)
                out_ += "\\clvertalc";
            else if (cf.verticalAlignment() == QTextCharFormat::AlignBottom)
                out_ += "\\clvertalb";
            struct Side { const char* word; double width; QTextFrameFormat::BorderStyle style; QBrush brush; };
            const Side sides[] = {
                {"\\clbrdrt", cf.topBorder(), cf.topBorderStyle(), cf.topBorderBrush()},
                {"\\clbrdrl", cf.leftBorder(), cf.leftBorderStyle(), cf.leftBorderBrush()},
                {"\\clbrdrb", cf.bottomBorder(), cf.bottomBorderStyle(), cf.bottomBorderBrush()},
                {"\\clbrdrr", cf.rightBorder(), cf.rightBorderStyle(), cf.rightBorderBrush()},
            };
            for (const Side& s : sides) {
                if (s.width <= 0 || s.style == QTextFrameFormat::BorderStyle_None)
                    continue;
                out_ += QByteArray(s.word) + "\\brdrs\\brdrw" + num(scaledToTwips(s.width));
                if (s.brush.style() != Qt::NoBrush && (s.brush.color().rgb() & 0xFFFFFF) != 0)
                    out_ += "\\brdrcf" + num(colorIndex(s.brush.color()));
            }
            if (cf.hasProperty(QTextFormat::BackgroundBrush) && cf.background().style() != Qt::NoBrush)
                out_ += "\\clcbpat" + num(colorIndex(cf.background().color()));
            out_ += "\\cellx" + num(edges[std::min(cols, c + span)]);
            c += span;
        }
        out_ += "\r\n";
        for (int c = 0; c < cols;) {
            const QTextTableCell cell = table->cellAt(r, c);
            const int span = std::max(1, cell.columnSpan());
            if (cell.row() == r)
                writeCellContent(cell);
            else
                out_ += "\\pard\\intbl\\cell ";
            c += span;
        }
        out_ += "\\row\r\n";
    }
}

QByteArray Writer::write()
{
    // The default font is font 0, so that \deff0 and \plain give it.
    QTextCharFormat defaultFormat;
    defaultFormat.setFontFamilies(QStringList{doc_.defaultFont().family()});
    defaultFormat.setFontStyleHint(doc_.defaultFont().styleHint());
    fontIndex(defaultFormat);

    writeFrame(doc_.rootFrame(), false);
    const QByteArray body = std::exchange(out_, {});

    const double tabDistance = doc_.defaultTextOption().tabStopDistance();
    const int deftab = tabDistance > 0 ? scaledToTwips(tabDistance) : 720;
    out_ += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\\deftab" + num(deftab) + "\r\n{\\fonttbl";
    for (int i = 0; i < fonts_.size(); ++i) {
        const FontKey& k = fonts_[i];
        out_ += "{\\f" + num(i) + "\\f" + k.familyClass.toLatin1() + "\\fcharset" + num(k.charset);
        if (k.pitch)
            out_ += "\\fprq" + num(k.pitch);
        out_ += ' ';
        text(k.family, 0, true);
        out_ += ";}";
    }
    out_ += "}\r\n{\\colortbl;";
    for (const QColor& c : colors_)
        out_ += "\\red" + num(c.red()) + "\\green" + num(c.green()) + "\\blue" + num(c.blue()) + ';';
    out_ += "}\r\n{\\*\\generator Postavo;}\r\n";
    const PageLayout p = page_.isUsable() ? page_ : page_.normalized();
    out_ += "\\paperw" + num(p.paperWidth) + "\\paperh" + num(p.paperHeight) + "\\margl" + num(p.marginLeft)
            + "\\margr" + num(p.marginRight) + "\\margt" + num(p.marginTop) + "\\margb" + num(p.marginBottom)
            + "\r\n";
    out_ += body;
    out_ += "}\r\n";
    return out_;
}

} // namespace

QByteArray writeRtf(const QTextDocument& document, const PageLayout& page)
{
    return Writer(document, page).write();
}

} // namespace postavo::richtext
