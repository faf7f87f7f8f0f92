#include "properties.h"

namespace postavo::design {

namespace names {
const QList<QByteArray> alignment = {"taLeftJustify", "taRightJustify", "taCenter"};
const QList<QByteArray> highlightDirection = {"hdNone", "hdright", "hdLeft", "hdUpRight", "hdUpLeft", "hdUp"};
const QList<QByteArray> shadowDirection = {"sdNone", "sdRight", "sdLeft", "sdDownRight", "sdDownLeft", "sdDown"};
const QList<QByteArray> fontPitch = {"fpDefault", "fpVariable", "fpFixed"};
const QList<QByteArray> fontStyle = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
const QList<QByteArray> penMode = {"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy",
                                   "pmMergePenNot", "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen",
                                   "pmMerge", "pmNotMerge", "pmMask", "pmNotMask", "pmXor", "pmNotXor"};
const QList<QByteArray> penStyle = {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear",
                                    "psInsideFrame"};
const QList<QByteArray> brushStyle = {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal",
                                      "bsBDiagonal", "bsCross", "bsDiagCross"};
const QList<QByteArray> dateFormat = {"dtfDateNone", "dtfDateShort", "dtfDateLong"};
const QList<QByteArray> timeFormat = {"dtfTimeNone", "dtfTimeShort", "dtfTimeLong"};
const QList<QByteArray> zipOptions = {"zoAfterState", "zoBeforeCity", "zoAfterCountry", "zoBeforeCountry"};
const QList<QByteArray> shapeType = {"stRectangle", "stSquare", "stRoundRect", "stRoundSquare", "stEllipse",
                                     "stCircle"};
const QList<QByteArray> lineStyle = {"stHorizontal", "stVertical", "stAngleSlopingUp", "stAngleSlopingDown"};
const QList<QByteArray> barCodeType = {"pnbc5Digit", "pnbc9Digit", "pnbc11Digit"};
const QList<QByteArray> fimType = {"fimTypeA", "fimTypeB", "fimTypeC"};
} // namespace names

bool PropertyDef::isStored(const Persistent& p) const
{
    if (stored && !stored(p))
        return false;
    switch (kind) {
    case PropKind::Text:
        return !getText(p).isEmpty();
    case PropKind::StringList:
        return !getList(p).isEmpty();
    case PropKind::Binary:
        return !getBytes(p).isEmpty();
    case PropKind::Object:
        return true;
    default:
        return !(defaultValue && getScalar(p) == *defaultValue);
    }
}

QString PropertyDef::valueText(const Persistent& p) const
{
    auto quoted = [](const QString& s) { return QLatin1Char('"') + s + QLatin1Char('"'); };
    switch (kind) {
    case PropKind::Integer:
    case PropKind::Cursor:
        return QString::number(getScalar(p));
    case PropKind::Boolean:
        return getScalar(p) ? QStringLiteral("True") : QStringLiteral("False");
    case PropKind::Enum: {
        const qint64 v = getScalar(p);
        return names && v >= 0 && v < names->size() ? QString::fromLatin1(names->at(int(v))) : QString::number(v);
    }
    case PropKind::Colour: {
        const TColor c = TColor(getScalar(p));
        const QByteArray n = colourName(c);
        return n.isEmpty() ? QString::number(c) : QString::fromLatin1(n);
    }
    case PropKind::Set: {
        QStringList members;
        const qint64 v = getScalar(p);
        for (int i = 0; names && i < names->size(); ++i)
            if (v & (qint64(1) << i))
                members << QString::fromLatin1(names->at(i));
        return QLatin1Char('[') + members.join(QLatin1Char(',')) + QLatin1Char(']');
    }
    case PropKind::Text:
        return quoted(getText(p));
    case PropKind::StringList: {
        QStringList lines;
        for (const QString& s : getList(p))
            lines << quoted(s);
        return QLatin1Char('(') + lines.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    case PropKind::Binary: {
        const QByteArray b = getBytes(p);
        const int n = b.isEmpty() ? 0 : quint8(b.at(0));
        return QStringLiteral("{%1, %2 bytes}").arg(QString::fromLatin1(b.mid(1, n))).arg(b.size());
    }
    case PropKind::Object:
        return {};
    }
    return {};
}

const PropertyTable* fontProperties()
{
    using P = Props<LayoutFont>;
    static const PropertyTable t = {
        P::colour("Color", &LayoutFont::color, std::nullopt),
        P::integer("Height", &LayoutFont::height, std::nullopt),
        P::text("Name", &LayoutFont::name),
        P::enumeration("Pitch", &LayoutFont::pitch, names::fontPitch, 0),
        P::field("Style", PropKind::Set, &LayoutFont::style, std::nullopt, &names::fontStyle),
    };
    return &t;
}

const PropertyTable* penProperties()
{
    using P = Props<LayoutPen>;
    static const PropertyTable t = {
        P::colour("Color", &LayoutPen::color, clBlack),
        P::enumeration("Mode", &LayoutPen::mode, names::penMode, 4),
        P::enumeration("Style", &LayoutPen::style, names::penStyle, 0),
        P::integer("Width", &LayoutPen::width, 1),
    };
    return &t;
}

const PropertyTable* brushProperties()
{
    using P = Props<LayoutBrush>;
    static const PropertyTable t = {
        P::colour("Color", &LayoutBrush::color, clWhite),
        P::enumeration("Style", &LayoutBrush::style, names::brushStyle, 0),
    };
    return &t;
}

const PropertyDef* findProperty(const PropertyTable& table, const QByteArray& name)
{
    for (const auto& d : table)
        if (d.name.compare(name, Qt::CaseInsensitive) == 0)
            return &d;
    return nullptr;
}

} // namespace postavo::design
