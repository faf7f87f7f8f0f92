// Tables we create read identically in the Debian xBase readers (python3-dbf, python3-dbfread,
// Perl XBase) and pass the independent checker, 26 tags included.
#include "addressschema.h"
#include "cp1252.h"
#include "engine_support.h"
#include "support_validators.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace postavo::engine;
using namespace enginetest;

namespace {

const std::vector<FieldSpec> kFields = {{"NAME", 'C', 20, 0}, {"AMOUNT", 'N', 9, 2}, {"QTY", 'N', 5, 0},
                                        {"OK", 'L', 1, 0},   {"WHEN", 'D', 8, 0},    {"NOTES", 'M', 10, 0}};

// One line per record: recno|*or blank|values, numbers with their decimals, dates yyyymmdd.
std::string ourLines(const std::string& path)
{
    auto t = Table::open(path, OpenMode::ReadOnly);
    std::string all;
    for (t->goTop(); !t->eof(); t->skip()) {
        std::string line = std::to_string(t->recNo()) + "|" + (t->isDeleted() ? "*" : " ");
        for (const DbfField& f : t->fields()) {
            line += "|";
            if (f.type == 'C')
                line += t->getTrimString(f.name);
            else if (f.type == 'M')
                line += t->getMemo(f.name);
            else if (f.type == 'L')
                line += t->getString(f.name) == " " ? "?" : (t->getLogical(f.name) ? "T" : "F");
            else if (f.type == 'D')
                line += t->isEmpty(f.name) ? "" : t->getString(f.name);
            else if (!t->getTrimString(f.name).empty()) {
                char buf[64];
                std::snprintf(buf, sizeof buf, "%.*f", int(f.decimals), t->getNumber(f.name));
                line += buf;
            }
        }
        all += line + "\n";
    }
    return all;
}

const char* kPythonCommon = R"PY(
import sys, datetime
def fmt(v, dec, kind):
    if v is None: return '?' if kind == 'L' else ''
    if kind == 'L': return 'T' if v else 'F'
    if kind == 'D': return v.strftime('%Y%m%d')
    if kind == 'N': return ('%.' + str(dec) + 'f') % v
    if kind == 'C': return v.rstrip(' ')
    return v
kinds = [('NAME','C',0),('AMOUNT','N',2),('QTY','N',0),('OK','L',0),('WHEN','D',0),('NOTES','M',0)]
out = sys.stdout.buffer
)PY";

} // namespace

TEST(EngineReaders, DebianReadersSeeWhatWeWrote)
{
    const std::string dir = scratchDir("readers");
    const std::string path = dir + "/round.dbf";
    Table::create(path, kFields);
    {
        auto t = Table::open(path, OpenMode::Exclusive);
        struct Row { const char* name; const char* amount; const char* qty; int ok; const char* when; std::string notes; };
        const std::vector<Row> rows = {
            {"Caf\xE9 \x80uro", "1234.5", "12", 1, "19991231", "first memo"},
            {"", "", "", -1, "", ""},
            {"Zo\xEB", "-0.75", "-3", 0, "20000229", std::string(700, 'x') + "\r\nend"},
            {"deleted one", "9", "9", 1, "20240101", "gone"},
            {"pipe|and,comma", "0", "0", 0, "18991231", "caf\xE9 memo"},
        };
        for (const Row& r : rows) {
            t->appendBlank();
            t->replace("NAME", r.name);
            t->replace("AMOUNT", r.amount);
            t->replace("QTY", r.qty);
            if (r.ok >= 0)
                t->replaceLogical("OK", r.ok == 1);
            t->replace("WHEN", r.when);
            t->replace("NOTES", r.notes);
        }
        t->go(4);
        t->deleteRecord();
        t->go(1);
        t->replace("NOTES", "first memo, rewritten longer than before");
        // Accented letters stay out of UPPER keys: the checker upper-cases ASCII only.
        t->indexTags({{"NAME", "NAME"}, {"AMOUNT", "AMOUNT"}, {"WHEN", "WHEN"}, {"OK", "OK"}});
        t->close();
    }
    const std::string ours = postavo::fromCp1252(ourLines(path)).toStdString();

    std::string out;
    EXPECT_TABLE_VALID(path);

    // python3-dbfread (skips deleted records unless asked; we ask for both and merge by order)
    const std::string dbfreadScript = dir + "/dbfread_dump.py";
    {
        std::ofstream s(dbfreadScript);
        s << kPythonCommon << R"PY(
import dbfread, struct
raw = open(sys.argv[1], 'rb').read()
n, hl, rl = struct.unpack_from('<IHH', raw, 4)
flags = [raw[hl + i * rl] == 0x2A for i in range(n)]
live = iter(dbfread.DBF(sys.argv[1], encoding='cp1252', load=True).records)
dead = iter(dbfread.DBF(sys.argv[1], encoding='cp1252', load=True).deleted)
for i in range(n):
    r = next(dead) if flags[i] else next(live)
    vals = [fmt(r[name] if not (kind == 'M' and r[name] is None) else '', dec, kind) for name, kind, dec in kinds]
    out.write(('%d|%s|' % (i + 1, '*' if flags[i] else ' ') + '|'.join(vals) + '\n').encode('utf-8'))
)PY";
    }
    ASSERT_EQ(run("/usr/bin/python3 " + dbfreadScript + " " + path, &out), 0);
    EXPECT_EQ(out, ours) << "python3-dbfread";

    // python3-dbf
    const std::string dbfScript = dir + "/dbf_dump.py";
    {
        std::ofstream s(dbfScript);
        s << kPythonCommon << R"PY(
import dbf
t = dbf.Table(sys.argv[1], codepage='cp1252')
t.open(dbf.READ_ONLY)
for i, r in enumerate(t):
    vals = []
    for name, kind, dec in kinds:
        v = r[name.lower()]
        if kind == 'C' and v is not None: v = v.rstrip(' ')
        if kind == 'D' and not v: v = None
        if kind == 'M' and v is None: v = ''
        vals.append(fmt(v, dec, kind))
    out.write(('%d|%s|' % (i + 1, '*' if dbf.is_deleted(r) else ' ') + '|'.join(vals) + '\n').encode('utf-8'))
)PY";
    }
    ASSERT_EQ(run("/usr/bin/python3 " + dbfScript + " " + path, &out), 0);
    EXPECT_EQ(out, ours) << "python3-dbf";

    // Perl XBase (bytes as stored: compare before conversion)
    const std::string perlScript = dir + "/xbase_dump.pl";
    {
        std::ofstream s(perlScript);
        s << R"PL(
use XBase;
my $t = XBase->new($ARGV[0]) or die XBase->errstr;
my @dec = (0, 2, 0, 0, 0, 0);
for my $i (0 .. $t->last_record) {
    my ($del, @v) = $t->get_record($i);
    my @o;
    for my $k (0 .. $#v) {
        my $x = $v[$k];
        if ($k == 3) { $x = defined $x ? ($x ? 'T' : 'F') : '?'; }
        elsif ($k == 1 || $k == 2) { $x = defined $x && $x ne '' ? sprintf('%.' . $dec[$k] . 'f', $x) : ''; }
        else { $x = '' unless defined $x; $x =~ s/ +$// if $k == 0; }
        push @o, $x;
    }
    print join('|', $i + 1, $del ? '*' : ' ', @o), "\n";
}
)PL";
    }
    ASSERT_EQ(run("perl " + perlScript + " " + path, &out), 0);
    EXPECT_EQ(out, ourLines(path)) << "Perl XBase";
}

TEST(EngineReaders, AddressTableWithItsTagsPassesTheChecker)
{
    const std::string dir = scratchDir("readers-addr");
    const std::string path = dir + "/ADD0001.DBF";
    Table::create(path, postavo::addressFieldSpecs());
    auto t = Table::open(path, OpenMode::Exclusive);
    t->indexTags(postavo::addressTagSpecs());
    ASSERT_EQ(t->tagCount(), 26u);
    const char* last[] = {"JONES", "JONESBY", "smith", "O'Neil", "Miller"};
    const char* first[] = {"ZED", "ANN", "john", "pat", "Jurgen"};
    for (int i = 0; i < 300; ++i) {
        t->appendBlank();
        t->replace("LNAME", last[i % 5]);
        t->replace("FNAME", first[(i * 7) % 5]);
        t->replace("STATE", i % 3 ? "NY" : "NJ");
        t->replace("ZIP", std::to_string(10000 + i * 37 % 900));
        t->replace("CODES", i % 4 ? "ABC" : "X");
        t->replaceLogical("ISDEL", false);
        if (i % 10 == 0)
            t->replace("MEMO", "memo " + std::to_string(i));
    }
    for (std::uint32_t r = 5; r <= 300; r += 17) {
        t->go(r);
        t->replaceLogical("ISDEL", true);
        t->deleteRecord();
    }
    t->setOrder("NAME");
    t->seek("JONES");
    t->replace("FNAME", "aaa");
    t->close();
    std::string out;
    EXPECT_TABLE_VALID(path);
    // The Perl index reader walks our NAME tag in the same order as we do.
    t = Table::open(path, OpenMode::ReadOnly);
    t->setOrder("NAME");
    std::string ours;
    for (t->goTop(); !t->eof(); t->skip())
        ours += std::to_string(t->recNo()) + "\n";
    const std::string perl =
        "perl -MXBase::Index -e '$i = XBase::Index->new(\"" + dir + "/ADD0001.cdx\", tag => \"NAME\", type => \"C\") or die XBase::Index->errstr; "
        "$i->prepare_select; while (my ($k, $r) = $i->fetch) { print \"$r\\n\" }'";
    ASSERT_EQ(run(perl, &out), 0);
    EXPECT_EQ(out, ours);
}
