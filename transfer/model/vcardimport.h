#pragma once
// Importing a vCard file: each card becomes one address record.

#include "importrun.h"
#include "vcard.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace postavo::transfer {

inline constexpr qint64 kMaxVCardFileBytes = 512ll << 20;

// The cards of a file, read ahead for the window's list and for the import.
struct VCardFile {
    QString path;
    QByteArray bytes;
    std::vector<VCardContact> contacts;
    QString refusal;  // why it cannot be imported ("" when it can)
};
// Reads and parses a vCard file; a file that is not one (no card, binary bytes) is refused.
VCardFile readVCardFile(const QString& path);

class VCardImportSource : public ImportSource {
public:
    explicit VCardImportSource(const VCardFile& file);
    Step next(AddressRecordWriter& writer, QString* error) override;
    int percent(std::uint64_t imported) const override;
    QStringList notes() const override;

private:
    const VCardFile& file_;
    std::size_t at_ = 0;
    std::uint64_t empty_ = 0;
    UnstorableTally tally_;
};

ImportResult runVCardImport(AddressTable& target, const VCardFile& file, TransferProgress& progress);

} // namespace postavo::transfer
