#include "reportfile.h"

#include "classregistry.h"
#include "cp1252.h"
#include "designhost.h"
#include "labelobjectfiler.h"
#include "layoutstream.h"

#include <QFile>
#include <QFileInfo>

namespace postavo::reports {

using design::LayoutReader;
using design::ReportSettings;
using design::StreamError;

QString ReportFileRead::message(const QString& fileName) const
{
    if (problems.isEmpty())
        return {};
    return QStringLiteral("The report file %1 could not be read as it should: %2.\r\n"
                          "The report shows what could be read; check it before you save it.")
        .arg(fileName, problems.join(QStringLiteral("; ")));
}

namespace {

// Skips one value whose tag has been read (values of kinds a later version might add).
void skipValue(LayoutReader& r, quint8 tag)
{
    using namespace design;
    switch (tag) {
    case vaInt8: r.bytes(1); break;
    case vaInt16: r.bytes(2); break;
    case vaInt32: r.bytes(4); break;
    case vaExtended: r.bytes(10); break;
    case vaString:
    case vaIdent: r.shortString(); break;
    case vaLString: r.stringAfter(tag); break;
    case vaFalse:
    case vaTrue:
    case vaNil: break;
    case vaBinary: r.binaryAfter(); break;
    case vaSet: r.setAfter(); break;
    case vaList:
        while (!r.endOfList())
            skipValue(r, r.valueTag());
        r.byte();
        break;
    default: throwInvalidValue();
    }
}

const char* kindName(char kind)
{
    switch (kind) {
    case 'I': return "a number";
    case 'B': return "a yes/no value";
    default: return "a text";
    }
}

} // namespace

ReportSettings readSettingsList(const QByteArray& data, int* pos, const ReportSettings& fallback, int* valuesRead,
                                QStringList* problems)
{
    ReportSettings s = fallback;
    int read = 0;
    LayoutReader r(data, *pos);
    auto note = [&](const QString& text) {
        if (problems)
            *problems << text;
    };
    try {
        if (r.atEnd()) {
            note(QStringLiteral("the file ends before its report settings"));
        } else if (r.byte() != design::vaList) {
            note(QStringLiteral("the report settings are damaged"));
        } else {
            bool damaged = false;
            for (int i = 0; i < ReportSettings::kCount; ++i) {
                if (r.atEnd()) {
                    note(QStringLiteral("the file ends after %1 of the 50 report settings").arg(i));
                    damaged = true;
                    break;
                }
                if (r.peek() == design::vaNull) {
                    note(QStringLiteral("it holds %1 of the 50 report settings (an older kind of file)").arg(i));
                    break;
                }
                const quint8 tag = r.valueTag();
                const char kind = ReportSettings::kinds()[i];
                QVariant v;
                if (kind == 'I' && (tag == design::vaInt8 || tag == design::vaInt16 || tag == design::vaInt32))
                    v = int(r.integerAfter(tag));
                else if (kind == 'B' && (tag == design::vaFalse || tag == design::vaTrue))
                    v = tag == design::vaTrue;
                else if (kind == 'S' && (tag == design::vaString || tag == design::vaLString))
                    v = fromCp1252(r.stringAfter(tag));
                if (!v.isValid()) {
                    note(QStringLiteral("report setting %1 is not %2").arg(i + 1).arg(QLatin1String(kindName(kind))));
                    damaged = true;
                    break;
                }
                s.values[std::size_t(i)] = v;
                read = i + 1;
            }
            if (!damaged) {
                int extra = 0;
                while (!r.atEnd() && r.peek() != design::vaNull) {
                    skipValue(r, r.valueTag());
                    ++extra;
                }
                if (extra > 0)
                    note(QStringLiteral("it holds %1 report settings more than this version knows; they are ignored")
                             .arg(extra));
                if (r.atEnd())
                    note(QStringLiteral("the report settings have no end"));
                else
                    r.byte();
                if (!r.atEnd())
                    note(QStringLiteral("%1 bytes after the report settings are ignored").arg(data.size() - r.pos()));
            }
        }
    } catch (const StreamError& e) {
        note(QStringLiteral("the report settings are damaged (%1)").arg(e.message));
    }
    *pos = r.pos();
    if (valuesRead)
        *valuesRead = read;
    return s;
}

ReportFileRead readReportFile(const QString& path, design::DesignHost& header, design::DesignHost& detail,
                              design::DesignHost& footer, ReportVars* vars, double ppi)
{
    ReportFileRead result;
    result.exists = QFileInfo::exists(path);
    if (!result.exists)
        return result;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        result.objectsComplete = false;
        result.problems << QStringLiteral("it cannot be opened (%1)").arg(f.errorString());
        return result;
    }
    return readReportBytes(f.readAll(), header, detail, footer, vars, ppi);
}

ReportFileRead readReportBytes(const QByteArray& data, design::DesignHost& header, design::DesignHost& detail,
                               design::DesignHost& footer, ReportVars* vars, double ppi)
{
    ReportFileRead result;
    result.exists = true;
    // Every class a layout file can hold is known: files written elsewhere read too.
    design::registerStandardDesignClasses();
    design::TGLabelObjectFiler filer;
    int pos = 0;
    const char* names[3] = {"header", "detail", "footer"};
    design::DesignHost* bands[3] = {&header, &detail, &footer};
    for (int i = 0; i < 3; ++i) {
        if (!filer.readObjectList(data, &pos, *bands[i])) {
            result.objectsComplete = false;
            result.problems << QStringLiteral("the %1 band's objects are damaged (%2)")
                                   .arg(QLatin1String(names[i]), filer.lastError());
            // Where the settings would start is unknown: they keep their values.
            return result;
        }
    }
    const ReportSettings fallback = ReportVars::defaults(ppi).toSettings(ppi);
    int count = 0;
    const ReportSettings settings = readSettingsList(data, &pos, fallback, &count, &result.problems);
    result.settingsValues = count;
    result.settingsRead = count > 0;
    if (vars) {
        *vars = ReportVars::fromSettings(settings, ppi);
        for (const QString& fix : vars->sanitise(ppi))
            result.problems << fix;
    }
    return result;
}

bool writeReportFile(const QString& path, const design::DesignHost& header, const design::DesignHost& detail,
                     const design::DesignHost& footer, const ReportVars& vars, double ppi, QString* error)
{
    design::TGLabelObjectFiler filer;
    if (filer.writeReport(header, detail, footer, vars.toSettings(ppi), path))
        return true;
    if (error)
        *error = filer.lastError();
    return false;
}

} // namespace postavo::reports
