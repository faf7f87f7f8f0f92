#include "vcardimport.h"

#include <QFile>

namespace postavo::transfer {

VCardFile readVCardFile(const QString& path)
{
    VCardFile f;
    f.path = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        f.refusal = QStringLiteral("Unable to open the file ") + path + QStringLiteral("\r\n\r\n") + file.errorString();
        return f;
    }
    if (file.size() > kMaxVCardFileBytes) {
        f.refusal = QStringLiteral("%1 is larger than %2 MB: it is not a vCard file this program reads.")
                        .arg(path)
                        .arg(kMaxVCardFileBytes >> 20);
        return f;
    }
    f.bytes = file.readAll();
    const std::string_view bytes(f.bytes.constData(), std::size_t(f.bytes.size()));
    const TextFileVerdict v = examineText(bytes);
    if (!v.refusal.isEmpty()) {
        f.refusal = QStringLiteral("Unable to import from this file\r\n\r\n") + v.refusal;
        return f;
    }
    f.contacts = parseVCards(bytes);
    if (f.contacts.empty())
        f.refusal = QStringLiteral("There are no vCards (BEGIN:VCARD ... END:VCARD) in ") + path;
    return f;
}

VCardImportSource::VCardImportSource(const VCardFile& file) : file_(file) {}

ImportSource::Step VCardImportSource::next(AddressRecordWriter& writer, QString*)
{
    while (at_ < file_.contacts.size()) {
        const VCardContact& c = file_.contacts[at_++];
        if (c.isEmpty()) {
            ++empty_;
            continue;
        }
        const QMap<QString, QString> rec = recordFromVCard(c);
        for (auto it = rec.cbegin(); it != rec.cend(); ++it) {
            if (it.value().isEmpty())
                continue;
            const std::string bytes = toCp1252Counted(it.value(), &tally_);
            if (it.key() == QLatin1String("MEMO"))
                writer.setMemo(bytes);
            else
                writer.setText(it.key().toStdString(), bytes);
        }
        return Step::Record;
    }
    return Step::End;
}

int VCardImportSource::percent(std::uint64_t) const
{
    return file_.contacts.empty() ? 0 : int(std::uint64_t(at_) * 100 / file_.contacts.size());
}

QStringList VCardImportSource::notes() const
{
    QStringList out;
    if (empty_ > 0)
        out << QStringLiteral("%1 vCards held no name, address, phone or e-mail and were skipped.").arg(empty_);
    if (tally_.count() > 0)
        out << tally_.describe();
    return out;
}

ImportResult runVCardImport(AddressTable& target, const VCardFile& file, TransferProgress& progress)
{
    VCardImportSource source(file);
    return runStagedImport(target, source, progress);
}

} // namespace postavo::transfer
