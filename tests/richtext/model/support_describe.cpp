#include "support_richtext.h"

#include "formatproperties.h"
#include "layoutunits.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

namespace postavo::testing {

namespace {

QString num(double v)
{
    return QString::number(v, 'f', 2);
}

QString colorText(const QBrush& b)
{
    return b.style() == Qt::NoBrush ? QStringLiteral("-") : b.color().name();
}

QString charText(const QTextCharFormat& f)
{
    using namespace postavo::richtext;
    const QStringList families = f.property(QTextFormat::FontFamilies).toStringList();
    return QStringLiteral("font=%1 cs=%2 size=%3 w=%4 i=%5 ul=%6 st=%7 fg=%8 bg=%9 va=%10 caps=%11")
        .arg(families.value(0))
        .arg(f.intProperty(props::FontCharset))
        .arg(num(f.fontPointSize()))
        .arg(f.fontWeight())
        .arg(f.fontItalic())
        .arg(int(f.underlineStyle()))
        .arg(f.fontStrikeOut())
        .arg(f.hasProperty(QTextFormat::ForegroundBrush) ? colorText(f.foreground()) : QStringLiteral("-"))
        .arg(f.hasProperty(QTextFormat::BackgroundBrush) ? colorText(f.background()) : QStringLiteral("-"))
        .arg(int(f.verticalAlignment()))
        .arg(int(f.fontCapitalization()));
}

QString blockText(const QTextBlockFormat& f)
{
    QString tabs;
    for (const QTextOption::Tab& t : f.tabPositions())
        tabs += QStringLiteral("%1:%2 ").arg(num(t.position)).arg(int(t.type));
    return QStringLiteral("align=%1 li=%2 ri=%3 fi=%4 sb=%5 sa=%6 lh=%7/%8 tabs=[%9] break=%10")
        .arg(int(f.alignment() & Qt::AlignHorizontal_Mask))
        .arg(num(f.leftMargin()))
        .arg(num(f.rightMargin()))
        .arg(num(f.textIndent()))
        .arg(num(f.topMargin()))
        .arg(num(f.bottomMargin()))
        .arg(f.lineHeightType())
        .arg(num(f.lineHeight()))
        .arg(tabs.trimmed())
        .arg(int(f.pageBreakPolicy()));
}

void describeBlock(const QTextBlock& block, const QString& indent, QStringList& out)
{
    out << indent + QStringLiteral("P ") + blockText(block.blockFormat());
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment frag = it.fragment();
        if (!frag.isValid())
            continue;
        const QTextCharFormat f = frag.charFormat();
        if (f.isImageFormat()) {
            const QTextImageFormat img = f.toImageFormat();
            out << indent + QStringLiteral("  IMG %1x%2 kind=%3 bytes=%4 name=%5")
                                .arg(num(img.width()))
                                .arg(num(img.height()))
                                .arg(img.intProperty(postavo::richtext::props::PictureKind))
                                .arg(img.property(postavo::richtext::props::PictureData).toByteArray().size())
                                .arg(img.name());
            continue;
        }
        QString text = frag.text();
        text.replace(QChar::LineSeparator, QStringLiteral("<br>"));
        text.replace(QLatin1Char('\t'), QStringLiteral("<tab>"));
        out << indent + QStringLiteral("  \"%1\" %2").arg(text, charText(f));
    }
}

void describeFrame(const QTextFrame* frame, const QString& indent, QStringList& out);

void describeTable(const QTextTable* t, const QString& indent, QStringList& out)
{
    QStringList widths;
    for (const QTextLength& l : t->format().columnWidthConstraints())
        widths << num(l.rawValue());
    out << indent + QStringLiteral("TABLE %1x%2 widths=[%3] left=%4 align=%5 break=%6")
                        .arg(t->rows())
                        .arg(t->columns())
                        .arg(widths.join(QLatin1Char(' ')))
                        .arg(t->format().intProperty(postavo::richtext::props::TableLeft))
                        .arg(int(t->format().alignment()))
                        .arg(int(t->format().pageBreakPolicy()));
    for (int r = 0; r < t->rows(); ++r)
        for (int c = 0; c < t->columns(); ++c) {
            const QTextTableCell cell = t->cellAt(r, c);
            if (cell.row() != r || cell.column() != c)
                continue;
            const QTextTableCellFormat cf = cell.format().toTableCellFormat();
            out << indent + QStringLiteral(" CELL %1,%2 span=%3x%4 pad=%5 borders=%6/%7/%8/%9 bg=%10 va=%11")
                                .arg(r)
                                .arg(c)
                                .arg(cell.rowSpan())
                                .arg(cell.columnSpan())
                                .arg(num(cf.leftPadding()))
                                .arg(num(cf.topBorder()))
                                .arg(num(cf.leftBorder()))
                                .arg(num(cf.bottomBorder()))
                                .arg(num(cf.rightBorder()))
                                .arg(cf.hasProperty(QTextFormat::BackgroundBrush) ? colorText(cf.background()) : QStringLiteral("-"))
                                .arg(int(cf.verticalAlignment()));
            for (auto it = cell.begin(); !it.atEnd(); ++it)
                if (it.currentBlock().isValid())
                    describeBlock(it.currentBlock(), indent + QStringLiteral("   "), out);
        }
}

void describeFrame(const QTextFrame* frame, const QString& indent, QStringList& out)
{
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (QTextFrame* f = it.currentFrame()) {
            if (auto* t = qobject_cast<QTextTable*>(f))
                describeTable(t, indent, out);
            else
                describeFrame(f, indent + QLatin1Char(' '), out);
        } else {
            const QTextBlock b = it.currentBlock();
            // The block Qt keeps before a table is not part of what the file says.
            if (b.length() <= 1 && b.blockFormat().boolProperty(postavo::richtext::props::ImplicitBlock))
                continue;
            describeBlock(b, indent, out);
        }
    }
}

} // namespace

QString describeDocument(const QTextDocument& document)
{
    QStringList out;
    describeFrame(document.rootFrame(), QString(), out);
    return out.join(QLatin1Char('\n'));
}

} // namespace postavo::testing
