// Indexes we write, read by independent tools: the shared validator (which recomputes every
// key from the records) and Perl's XBase::Index, before and after many changes.

#include "cdx.h"
#include "index_test_util.h"
#include "support_validators.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <sstream>

using namespace postavo::engine;
using namespace indextest;

namespace {

struct Rec {
    std::string name, city;
    double amount;
};

const int kNameLen = 20, kCityLen = 15, kAmountLen = 10;

std::string pad(const std::string& s, size_t n) { return characterKey(s, n); }

std::string amountText(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%10.2f", v);
    return buf;
}

// A FoxPro table without memo: NAME C20, CITY C15, AMOUNT N10.2, flagged as having a CDX.
void writeDbf(const std::filesystem::path& p, const std::vector<Rec>& recs)
{
    std::string h(32, '\0');
    h[0] = 0x03;
    h[1] = 126;
    h[2] = 12;
    h[3] = 9;
    uint32_t n = static_cast<uint32_t>(recs.size());
    for (int i = 0; i < 4; ++i)
        h[4 + i] = static_cast<char>(n >> (8 * i));
    uint16_t hdr = 32 + 3 * 32 + 1, reclen = 1 + kNameLen + kCityLen + kAmountLen;
    h[8] = static_cast<char>(hdr & 0xFF);
    h[9] = static_cast<char>(hdr >> 8);
    h[10] = static_cast<char>(reclen & 0xFF);
    h[11] = static_cast<char>(reclen >> 8);
    h[28] = 0x01;
    h[29] = 0x03;
    auto field = [&](const char* name, char type, int len, int dec) {
        std::string f(32, '\0');
        std::memcpy(f.data(), name, std::strlen(name));
        f[11] = type;
        f[16] = static_cast<char>(len);
        f[17] = static_cast<char>(dec);
        h += f;
    };
    field("NAME", 'C', kNameLen, 0);
    field("CITY", 'C', kCityLen, 0);
    field("AMOUNT", 'N', kAmountLen, 2);
    h += '\x0D';
    for (const Rec& r : recs)
        h += " " + pad(r.name, kNameLen) + pad(r.city, kCityLen) + amountText(r.amount);
    h += '\x1A';
    writeFile(p, h);
}

std::string upperKey(const std::string& s)
{
    std::string k = pad(s, kNameLen);
    for (char& c : k)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return k;
}

Rec randomRec(std::mt19937& rng)
{
    static const char* first[] = {"smith", "Jones", "MILLER", "van Dyke", "O'Neil", "Brown", "Li", "Garcia"};
    static const char* cities[] = {"Springfield", "Boston", "Austin", "", "Salem", "Dover"};
    Rec r;
    r.name = std::string(first[rng() % 8]) + " " + std::to_string(rng() % 500);
    r.city = cities[rng() % 6];
    r.amount = static_cast<double>(static_cast<int>(rng() % 200000) - 100000) / 100.0;
    return r;
}

std::string runCommand(const std::string& cmd, int& status)
{
    std::string out;
    FILE* f = ::popen((cmd + " 2>&1").c_str(), "r");
    if (!f) {
        status = -1;
        return out;
    }
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        out.append(buf, n);
    status = ::pclose(f);
    return out;
}

void expectValidatorPasses(const std::filesystem::path& dbf)
{
    if (!validators::haveXbaseCheck()) {
        std::printf("[   NOTE   ] %s\n", validators::missingXbaseCheck());
    } else {
        const auto check = validators::xbaseCheck(dbf.string());
        EXPECT_EQ(check.status, 0) << check.output;
        EXPECT_NE(check.output.find("PROBLEMS 0"), std::string::npos) << check.output;
    }
    const auto engine = validators::cdxdump(dbf.string());
    if (!engine.ran)
        std::printf("[   NOTE   ] %s\n", validators::missingCdxdump());
    else
        EXPECT_EQ(engine.status, 0) << engine.output;
}

std::vector<uint32_t> perlOrder(const std::filesystem::path& cdx, const std::string& tag, char type, std::string& out)
{
    int status;
    out = runCommand("perl -MXBase::Index -e '$i = XBase::Index->new(\"" + cdx.string() + "\", tag => \"" + tag
                         + "\", type => \"" + type
                         + "\") or die XBase::Index->errstr; $i->prepare_select; while (my ($k, $v) = $i->fetch) "
                           "{ print \"$v\\n\" }'",
                     status);
    std::vector<uint32_t> recs;
    if (status != 0)
        return recs;
    std::istringstream in(out);
    uint32_t r;
    while (in >> r)
        recs.push_back(r);
    return recs;
}

std::vector<uint32_t> ourOrder(CompoundIndex& ix, size_t tag)
{
    std::vector<uint32_t> out;
    auto c = ix.cursor(tag);
    for (bool ok = c->first(); ok; ok = c->next())
        out.push_back(c->recno());
    return out;
}

void expectPerlAgrees(CompoundIndex& ix, const std::filesystem::path& cdx)
{
    const char types[] = {'C', 'C', 'N'};
    for (size_t t = 0; t < ix.tagCount(); ++t) {
        std::string out;
        std::vector<uint32_t> perl = perlOrder(cdx, ix.tag(t).name, types[t], out);
        EXPECT_EQ(perl, ourOrder(ix, t)) << ix.tag(t).name << ": " << out.substr(0, 400);
    }
}

TEST(IndexInterop, ValidatorAndPerlReadOurTagsThroughChanges)
{
    auto dir = scratchDir("interop");
    const auto dbf = dir / "people.dbf";
    const auto cdx = dir / "people.cdx";
    std::mt19937 rng(42);
    std::vector<Rec> recs;
    for (int i = 0; i < 2500; ++i)
        recs.push_back(randomRec(rng));
    writeDbf(dbf, recs);
    {
        auto ix = CompoundIndex::create(cdx.string());
        std::vector<KeyEntry> names, cities, amounts;
        for (uint32_t i = 0; i < recs.size(); ++i) {
            names.push_back({upperKey(recs[i].name), i + 1});
            cities.push_back({pad(recs[i].city, kCityLen), i + 1});
            amounts.push_back({numericKey(recs[i].amount), i + 1});
        }
        ix->addTag({"NAME", "UPPER(NAME)", "", kNameLen, KeyType::Character}, names);
        ix->addTag({"CITY", "CITY", "", kCityLen, KeyType::Character}, cities);
        ix->addTag({"AMOUNT", "AMOUNT", "", 8, KeyType::Numeric}, amounts);
        ix->flush();
        EXPECT_TRUE(ix->check().empty());
    }
    expectValidatorPasses(dbf);
    {
        auto ix = CompoundIndex::open(cdx.string(), false, [](const TagInfo& t) {
            return t.keyExpr == "AMOUNT" ? KeyType::Numeric : KeyType::Character;
        });
        ASSERT_EQ(ix->tagCount(), 3u);
        expectPerlAgrees(*ix, cdx);
        // Replace fields of many records and append more, keeping every tag current.
        for (int i = 0; i < 3000; ++i) {
            if (i % 3 == 0) {
                Rec r = randomRec(rng);
                recs.push_back(r);
                uint32_t no = static_cast<uint32_t>(recs.size());
                ix->insertKey(0, upperKey(r.name), no);
                ix->insertKey(1, pad(r.city, kCityLen), no);
                ix->insertKey(2, numericKey(r.amount), no);
                continue;
            }
            uint32_t no = 1 + static_cast<uint32_t>(rng() % recs.size());
            Rec& r = recs[no - 1];
            Rec n = randomRec(rng);
            ASSERT_TRUE(ix->deleteKey(0, upperKey(r.name), no));
            ASSERT_TRUE(ix->insertKey(0, upperKey(n.name), no));
            ASSERT_TRUE(ix->deleteKey(2, numericKey(r.amount), no));
            ASSERT_TRUE(ix->insertKey(2, numericKey(n.amount), no));
            r.name = n.name;
            r.amount = n.amount;
        }
        ix->flush();
        writeDbf(dbf, recs);
        EXPECT_TRUE(ix->check().empty());
        expectValidatorPasses(dbf);
        expectPerlAgrees(*ix, cdx);
        // Drop most records from the end, as a zap of the tail would: pages merge and go to
        // the free list, which the validator walks too.
        while (recs.size() > 300) {
            uint32_t no = static_cast<uint32_t>(recs.size());
            const Rec& r = recs.back();
            ASSERT_TRUE(ix->deleteKey(0, upperKey(r.name), no));
            ASSERT_TRUE(ix->deleteKey(1, pad(r.city, kCityLen), no));
            ASSERT_TRUE(ix->deleteKey(2, numericKey(r.amount), no));
            recs.pop_back();
        }
        ix->flush();
        writeDbf(dbf, recs);
        EXPECT_TRUE(ix->check().empty());
        expectValidatorPasses(dbf);
        expectPerlAgrees(*ix, cdx);
        // Freed pages are used again before the file grows.
        auto sizeBefore = std::filesystem::file_size(cdx);
        for (int i = 0; i < 500; ++i) {
            Rec r = randomRec(rng);
            recs.push_back(r);
            uint32_t no = static_cast<uint32_t>(recs.size());
            ix->insertKey(0, upperKey(r.name), no);
            ix->insertKey(1, pad(r.city, kCityLen), no);
            ix->insertKey(2, numericKey(r.amount), no);
        }
        ix->flush();
        writeDbf(dbf, recs);
        EXPECT_EQ(std::filesystem::file_size(cdx), sizeBefore);
        expectValidatorPasses(dbf);
    }
}

TEST(IndexInterop, ManyTagsSpreadTheDirectoryOverSeveralPages)
{
    auto dir = scratchDir("interop-many");
    std::mt19937 rng(5);
    std::vector<Rec> recs;
    for (int i = 0; i < 50; ++i)
        recs.push_back(randomRec(rng));
    writeDbf(dir / "many.dbf", recs);
    {
        auto ix = CompoundIndex::create((dir / "many.cdx").string());
        // Names in falling order, so creation order differs from the directory's name order.
        for (int t = 0; t < 120; ++t) {
            std::vector<KeyEntry> e;
            for (uint32_t i = 0; i < recs.size(); ++i)
                e.push_back({pad(recs[i].city, kCityLen), i + 1});
            char name[16];
            std::snprintf(name, sizeof name, "T%03d", 999 - t);
            ix->addTag({name, "CITY", "", kCityLen, KeyType::Character}, e);
        }
        ix->flush();
        EXPECT_TRUE(ix->check().empty());
    }
    expectValidatorPasses(dir / "many.dbf");
    auto ix = CompoundIndex::open((dir / "many.cdx").string(), true);
    ASSERT_EQ(ix->tagCount(), 120u);
    EXPECT_EQ(ix->tag(0).name, "T999");
    EXPECT_EQ(ix->tag(119).name, "T880");
    EXPECT_EQ(ix->findTag("t900"), 99);
}

TEST(IndexInterop, EmptyTagsPassTheValidator)
{
    auto dir = scratchDir("interop-empty");
    writeDbf(dir / "none.dbf", {});
    auto ix = CompoundIndex::create((dir / "none.cdx").string());
    ix->addTag({"NAME", "UPPER(NAME)", "", kNameLen, KeyType::Character}, {});
    ix->flush();
    expectValidatorPasses(dir / "none.dbf");
}

} // namespace
