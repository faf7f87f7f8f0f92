// vCards as address books and phones write them (2.1 with quoted-printable, 3.0 with groups and
// folded lines, 4.0 with tel: URIs) read into address records; records written as 3.0 and read
// back unchanged; the import into an address file.
#include "support_transfer.h"
#include "vcard.h"
#include "vcardimport.h"

using namespace postavo;
using namespace postavo::transfer;
using namespace postavo::transfer::test;

namespace {

std::vector<VCardContact> cards(std::string_view text) { return parseVCards(text); }

TEST(VCardReading, Version21QuotedPrintableCharsetAndBareTypes)
{
    const auto c = cards("BEGIN:VCARD\r\n"
                         "VERSION:2.1\r\n"
                         "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:M=C3=BCller;J=C3=B6rg;;Dr.;\r\n"
                         "TEL;WORK;VOICE:+49 221 1234\r\n"
                         "TEL;CELL:+49 170 5555\r\n"
                         "TEL;WORK;FAX:+49 221 9999\r\n"
                         "ADR;HOME;ENCODING=QUOTED-PRINTABLE:;;Hauptstra=C3=9Fe 1=0D=0A=\r\n"
                         "Hinterhaus;K=C3=B6ln;NRW;50667;Germany\r\n"
                         "EMAIL;INTERNET:joerg@example.de\r\n"
                         "NOTE;ENCODING=QUOTED-PRINTABLE:line one=0D=0Aline two\r\n"
                         "BDAY:1970-03-15\r\n"
                         "END:VCARD\r\n");
    ASSERT_EQ(c.size(), 1u);
    const Record r = recordFromVCard(c[0]);
    EXPECT_EQ(r.value("LNAME"), QString::fromUtf8("Müller"));
    EXPECT_EQ(r.value("FNAME"), QString::fromUtf8("Jörg"));
    EXPECT_EQ(r.value("PREFIX"), "Dr.");
    EXPECT_EQ(r.value("PHONE"), "+49 221 1234");
    EXPECT_EQ(r.value("PHONE2"), "+49 170 5555");
    EXPECT_EQ(r.value("FAX"), "+49 221 9999");
    EXPECT_EQ(r.value("STREET"), QString::fromUtf8("Hauptstraße 1"));
    EXPECT_EQ(r.value("STREET2"), "Hinterhaus");
    EXPECT_EQ(r.value("CITY"), QString::fromUtf8("Köln"));
    EXPECT_EQ(r.value("ZIP"), "50667");
    EXPECT_EQ(r.value("EMAIL"), "joerg@example.de");
    EXPECT_EQ(r.value("DATE"), "19700315");
    EXPECT_EQ(r.value("MEMO"), "line one\r\nline two");
}

TEST(VCardReading, Version30GroupsFoldingEscapesAndWhatHasNoFieldGoesToTheMemo)
{
    const auto c = cards("BEGIN:VCARD\nVERSION:3.0\n"
                         "N:Appleseed;Johnny;Quincy;;Jr.\n"
                         "FN:Johnny Appleseed\n"
                         "ORG:Orchards\\, Inc.;Sales;East\n"
                         "TITLE:Planter\n"
                         "item1.EMAIL;type=INTERNET;type=pref:johnny@example.com\n"
                         "item2.EMAIL;type=INTERNET:other@example.com\n"
                         "TEL;type=CELL;type=VOICE:555-0001\n"
                         "TEL;type=HOME:555-0002\n"
                         "TEL;type=WORK;type=pref:555-0003\n"
                         "ADR;type=WORK:;;1 Infinite\n  Loop;Cupertino;CA;95014;USA\n"
                         "ADR;type=HOME:;;2 Home Rd;Town;;;\n"
                         "NOTE:semi\\;colon\\nnext\n"
                         "BDAY;value=date:--0315\n"
                         "END:VCARD\n"
                         "BEGIN:VCARD\nVERSION:3.0\nFN:Only Formatted Name\nEND:VCARD\n");
    ASSERT_EQ(c.size(), 2u);
    const Record r = recordFromVCard(c[0]);
    EXPECT_EQ(r.value("LNAME"), "Appleseed Jr.");
    EXPECT_EQ(r.value("MIDDLE"), "Q");
    EXPECT_EQ(r.value("ORG"), "Orchards, Inc.");
    EXPECT_EQ(r.value("EMAIL"), "johnny@example.com");
    EXPECT_EQ(r.value("PHONE"), "555-0003");  // the preferred one first
    EXPECT_EQ(r.value("PHONE2"), "555-0001");
    EXPECT_EQ(r.value("STREET"), "1 Infinite Loop");
    EXPECT_EQ(r.value("CITY"), "Cupertino");
    EXPECT_EQ(r.value("DATE"), "");  // no year
    const QString memo = r.value("MEMO");
    EXPECT_TRUE(memo.startsWith("semi;colon\r\nnext")) << memo.toStdString();
    for (const char* kept : {"Quincy", "Sales, East", "other@example.com", "555-0002", "2 Home Rd"})
        EXPECT_TRUE(memo.contains(kept)) << kept << " missing from " << memo.toStdString();
    const Record f = recordFromVCard(c[1]);
    EXPECT_EQ(f.value("LNAME"), "Name");
    EXPECT_EQ(f.value("FNAME"), "Only Formatted");
}

TEST(VCardReading, Version40TelUrisAndDamagedInput)
{
    const auto c = cards("BEGIN:VCARD\r\nVERSION:4.0\r\nN:Doe;Jane;;;\r\n"
                         "TEL;VALUE=uri;TYPE=\"voice,home\";PREF=1:tel:+1-555-555-5555;ext=5555\r\n"
                         "EMAIL;TYPE=work:jane@example.org\r\nBDAY:19851224\r\n"
                         "END:VCARD\r\n");
    ASSERT_EQ(c.size(), 1u);
    const Record r = recordFromVCard(c[0]);
    EXPECT_TRUE(r.value("PHONE").startsWith("+1-555-555-5555")) << r.value("PHONE").toStdString();
    EXPECT_EQ(r.value("DATE"), "19851224");
    // Damage: no END, a property without a colon, a bad escape at the end, a QP soft break at EOF.
    EXPECT_EQ(cards("BEGIN:VCARD\nN:X;Y\nJUNK LINE\nNOTE:a\\").size(), 1u);
    EXPECT_EQ(cards("BEGIN:VCARD\nNOTE;ENCODING=QUOTED-PRINTABLE:abc=").size(), 1u);
    EXPECT_TRUE(cards("no card here\r\n").empty());
    EXPECT_EQ(recordDateFromVCard("1970-03-15T10:00:00Z"), "19700315");
    EXPECT_EQ(recordDateFromVCard("1970-02-30"), "");
}

TEST(VCardWriting, RecordsRoundTripThrough30)
{
    const Record in{{"LNAME", QString::fromUtf8("Ørsted")}, {"FNAME", "Hans"}, {"MIDDLE", "C"}, {"PREFIX", "Prof."},
                    {"TITLE", "Physicist"}, {"ORG", "Univ; of, Copenhagen"}, {"STREET", "Nørregade 10"},
                    {"STREET2", "2nd floor"}, {"CITY", QString::fromUtf8("København")}, {"STATE", ""},
                    {"ZIP", "1165"}, {"COUNTRY", "Denmark"}, {"PHONE", "+45 1"}, {"PHONE2", "+45 2"}, {"FAX", "+45 3"},
                    {"EMAIL", "hco@example.dk"}, {"DATE", "17770814"}, {"CODES", "A,B"}, {"USER1", "u one"},
                    {"USER2", "u two"}, {"MEMO", QString::fromUtf8("A long memo line that goes on well past seventy-five bytes, "
                                                               "with ümlauts and € signs\r\nand a second line")}};
    const std::string card = vcardFromRecord(in);
    EXPECT_TRUE(card.starts_with("BEGIN:VCARD\r\nVERSION:3.0\r\n"));
    // Every line at most 75 bytes and no UTF-8 character split by a fold.
    std::size_t start = 0;
    while (start < card.size()) {
        const std::size_t end = card.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        EXPECT_LE(end - start, 75u) << card.substr(start, end - start);
        if (end < card.size() - 2 && card[end + 2] == ' ')
            EXPECT_NE(static_cast<unsigned char>(card[end + 3]) & 0xC0, 0x80);
        start = end + 2;
    }
    const auto back = parseVCards(card);
    ASSERT_EQ(back.size(), 1u);
    Record out = recordFromVCard(back[0]);
    for (auto it = in.begin(); it != in.end(); ++it)
        EXPECT_EQ(out.value(it.key()), it.value()) << it.key().toStdString();
}

TEST(VCardImportRun, CardsBecomeRecordsAndBinaryFilesAreRefused)
{
    const QString dir = postavo::testing::scratchDir(QStringLiteral("vcard"));
    const QString address = dir + "/ADDR.DBF";
    ASSERT_TRUE(postavo::testing::makeAddressRecords(address, {}));
    postavo::testing::writeBytes(dir + "/in.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nN:One;A\r\nNOTE:\xC5\x81\xC3\xB3" "d\xC5\xBA\r\nEND:VCARD\r\n"
                                                  "BEGIN:VCARD\r\nVERSION:3.0\r\nEND:VCARD\r\n"
                                                  "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Two;B\r\nEND:VCARD\r\n");
    const VCardFile file = readVCardFile(dir + "/in.vcf");
    ASSERT_TRUE(file.refusal.isEmpty()) << file.refusal.toStdString();
    AddressTable t;
    ASSERT_TRUE(t.open(address));
    TransferProgress quiet;
    const ImportResult r = runVCardImport(t, file, quiet);
    EXPECT_EQ(r.imported, 2u);  // the empty card is no address
    EXPECT_TRUE(r.notes.join(' ').contains("U+0141")) << r.notes.join(' ').toStdString();
    EXPECT_EQ(readBack(address, {"LNAME", "FNAME", "MEMO"}), QStringList({QString::fromUtf8("One|A|?ód?"), "Two|B|"}));

    postavo::testing::writeBytes(dir + "/bin.vcf", QByteArray("BEGIN:VCARD\0\0\0\1\2", 16));
    EXPECT_FALSE(readVCardFile(dir + "/bin.vcf").refusal.isEmpty());
    postavo::testing::writeBytes(dir + "/none.vcf", "just text\r\n");
    EXPECT_FALSE(readVCardFile(dir + "/none.vcf").refusal.isEmpty());
}

} // namespace
