#pragma once
// The merge: a letter's bracketed tokens ("[Full Name]") replaced by the values of one address
// record, and the name and address block. The values come from a plain record of texts so the
// rules can be called without a table; fromTable() reads the current record of an address file.

#include <QDate>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace postavo {
class AddressTable;
}
namespace postavo::richtext {
class RichDocument;
}

namespace postavo::letters {

// The fields the merge reads, trailing blanks removed.
struct MergeRecord {
    QString prefix, first, middle, last, title, org, street, street2, city, state, zip, country;
    QString phone, phone2, fax, email, user1, user2;

    static MergeRecord fromTable(const AddressTable& table);
};

// The 25 token names, in the order the merge replaces them.
const QStringList& mergeTokenNames();
// The same names in the order the letter editor's "Insert field" list offers them.
const QStringList& insertFieldNames();

// "Mr. John Q. Smith " : prefix, first, middle with a point and last, each present part
// followed by one blank; empty when all four are empty.
QString composedName(const MergeRecord& r);
// City, state and zip joined by single blanks, trimmed at both ends.
QString cityStateZipValue(const MergeRecord& r);
// The multi-line name and address block, each line ended by CR LF, empty lines left out.
QString nameAndAddress(const MergeRecord& r);
// "Dec 9, 2024".
QString longDate(const QDate& date);

// The value of each token, in merge order. `today` and the short date format come from outside
// so that tests can fix them.
std::vector<std::pair<QString, QString>> tokenValues(const MergeRecord& r, const QDate& today,
                                                     const QString& shortDateFormat);

// Replaces every "[name]" (letter case ignored) with `value`; the value takes the attributes of
// the token's first character and is not searched again. The number replaced.
int doMerge(richtext::RichDocument& document, const QString& tokenName, const QString& value);
// Every token in merge order, each from the start of the document, so text inserted by one token
// is searched by the later ones. Nothing around a token is changed. The number replaced.
int replaceTokens(richtext::RichDocument& document, const MergeRecord& record, const QDate& today,
                  const QString& shortDateFormat);
// The same for the current record of an address file, dated today in the program's date format.
int replaceTokens(richtext::RichDocument& document, const AddressTable& table);

} // namespace postavo::letters
