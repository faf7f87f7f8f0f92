#pragma once
// Reading the labelled sample of the similar-records check (tests/utilities/data/similar-*.csv):
// one record a row, ENTITY naming the person, so that rows of one entity are the true duplicates.
#include "shippedcatalogues.h"

#include <QFile>
#include <QMap>
#include <QString>

#include <vector>

namespace postavo::sample {

struct Row {
    int entity = 0;
    QMap<QString, QString> fields;  // LNAME, FNAME, STREET, STREET2, CITY, STATE, ZIP
};

inline std::vector<Row> readSample(const QString& path, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = path + QStringLiteral(": cannot be read");
        return {};
    }
    const CsvTable t = parseCsv(f.readAll(), path);
    if (!t.ok()) {
        *error = t.error;
        return {};
    }
    std::vector<Row> rows;
    for (const CsvRecord& r : t.records) {
        Row row;
        for (int i = 0; i < t.header.size() && i < r.fields.size(); ++i) {
            if (t.header[i] == QLatin1String("ENTITY"))
                row.entity = r.fields[i].toInt();
            else
                row.fields[t.header[i]] = r.fields[i];
        }
        rows.push_back(row);
    }
    return rows;
}

// The number of true pairs: rows of one entity taken two at a time.
inline long truePairs(const std::vector<Row>& rows)
{
    QMap<int, long> per;
    for (const Row& r : rows)
        ++per[r.entity];
    long n = 0;
    for (long c : per)
        n += c * (c - 1) / 2;
    return n;
}

} // namespace postavo::sample
