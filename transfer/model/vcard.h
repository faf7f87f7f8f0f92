#pragma once
// vCards (versions 2.1, 3.0 and 4.0) as address books and phones write them, read into address
// records; address records written as vCard 3.0.
//
// Reading understands folded lines, quoted-printable values (with their soft line breaks), the
// CHARSET parameter, UTF-8 and Windows-1252 files, groups ("item1.EMAIL"), 2.1's bare parameters
// ("TEL;WORK;VOICE:") and 3.0/4.0's TYPE and PREF, backslash escapes, and "tel:" URIs. What an
// address record has no field for (a second address, a third phone, organisation units) is kept in
// the memo, so nothing is lost.

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

#include <cstdint>
#include <string>
#include <string_view>

namespace postavo::transfer {

struct VCardContact {
    QString version;
    QString family, given, additional, prefix, suffix;
    QString formatted;  // FN
    QStringList org;    // organisation, then its units
    QString title;
    struct Address {
        QString poBox, extended, street, locality, region, postalCode, country;
        QStringList types;
        bool preferred = false;
    };
    QVector<Address> addresses;
    struct Value {
        QString text;
        QStringList types;  // lower case: work, home, cell, fax, voice, ...
        bool preferred = false;
    };
    QVector<Value> phones;
    QVector<Value> emails;
    QString note;
    QString birthday;       // as written
    QStringList categories;
    QString user1, user2;   // this program's own comments, when it wrote the card

    bool isEmpty() const;
};

// Reads every card of a file's bytes. Cards without END:VCARD at the end of the file are taken
// as they stand; lines outside a card are ignored.
class VCardReader {
public:
    explicit VCardReader(std::string_view bytes);
    bool next(VCardContact& contact);  // false at the end
    int cardsRead() const { return cards_; }
    int percentRead() const { return data_.empty() ? 100 : int(std::uint64_t(pos_) * 100 / data_.size()); }

private:
    bool nextLogicalLine(std::string& line);
    bool nextPhysicalLine(std::string_view& line);

    std::string_view data_;
    std::size_t pos_ = 0;
    bool fileIsCp1252_ = false;
    int cards_ = 0;
    std::string pending_;
    bool hasPending_ = false;
};

std::vector<VCardContact> parseVCards(std::string_view bytes);

// The address record a card becomes: field name -> value (MEMO for the memo), values as the
// user would type them (cut to the fields' widths when stored).
QMap<QString, QString> recordFromVCard(const VCardContact& c);
// yyyymmdd from a vCard date ("1970-03-15", "19700315", "1970-03-15T10:00:00Z"); "" when it has
// no year or is no date.
QString recordDateFromVCard(const QString& value);

// A record (field name -> value, MEMO the memo) as one vCard 3.0 in UTF-8, lines ending CR LF
// and folded at 75 bytes.
std::string vcardFromRecord(const QMap<QString, QString>& record);

} // namespace postavo::transfer
