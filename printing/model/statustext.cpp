#include "statustext.h"

namespace postavo::printing {

QString formatStatus(const QString& format, const StatusValues& v)
{
    QString out;
    out.reserve(format.size() + 16);
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c != u'%' || i + 1 == format.size()) {
            out += c;
            continue;
        }
        const QChar k = format.at(++i);
        if (k.isDigit() && k.unicode() < 128) {
            const int n = k.unicode() - '0';
            if (n < v.lines.size())
                out += v.lines.at(n);
            continue;
        }
        switch (k.toUpper().unicode()) {
        case 'P': out += QString::number(v.page); break;
        case '%': out += u'%'; break;
        case 'F': out += QString::number(v.firstPage); break;
        case 'L': out += QString::number(v.lastPage); break;
        case 'D': out += v.deviceName; break;
        case 'R': out += v.driverName; break;
        case 'T': out += v.portName; break;
        default:
            out += QStringLiteral("<ERROR-%") + k.toUpper() + u'>';
        }
    }
    return out;
}

QString statusToDisplay(const QString& text)
{
    QString s = text;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(u'\r', u'\n');
    return s;
}

} // namespace postavo::printing
