#include "addressdata.h"

#include "addressfields.h"
#include "addressfile.h"

#include <QDir>
#include <QFileInfo>

namespace postavo::testing {

namespace {
struct QuietUi : AddressFileUi {
    void showInformation(const QString&) override {}
    bool askYesNo(const QString&, const QString&) override { return true; }
    void rebuildIndexes(AddressTable& table) override { BuildAddressTags(table); }
};
} // namespace

bool makeAddressRecords(const QString& path, const std::vector<QMap<QString, QString>>& records)
{
    QuietUi ui;
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!CreateAddressFile(path, defaultFieldLengths(), ui))
        return false;
    AddressTable t;
    if (!t.open(path))
        return false;
    for (const auto& r : records) {
        if (!t.insert())
            return false;
        for (auto it = r.begin(); it != r.end(); ++it) {
            const bool ok = it.key() == QLatin1String("MEMO") ? t.setMemo(it.value()) : t.setValue(it.key(), it.value());
            if (!ok)
                return false;
        }
        if (!t.post())
            return false;
    }
    t.close();
    return true;
}

} // namespace postavo::testing
