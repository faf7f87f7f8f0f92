// Tables written by an independent xBase engine: every tag traverses exactly as its tag dump
// lists, record values read as the independent checker reads them, and after our appends,
// replaces, deletions, recalls and pack the checker still finds the files sound.
#include "engine_support.h"
#include "support_validators.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>

using namespace postavo::engine;
using namespace enginetest;

namespace {


struct TagDump {
    std::string name;
    std::vector<std::uint32_t> all;
};

std::vector<TagDump> readTagDump(const std::string& name)
{
    std::ifstream in((validators::sampleDir() / (name + ".tagdump.txt")).string());
    std::vector<TagDump> tags;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream ls(line);
        std::string word;
        ls >> word;
        if (word == "TAG") {
            int n;
            TagDump t;
            ls >> n >> t.name;
            tags.push_back(t);
        } else if (word == "ALL" && !tags.empty()) {
            std::uint32_t r;
            while (ls >> r)
                tags.back().all.push_back(r);
        }
    }
    return tags;
}

std::vector<std::uint32_t> walk(Table& t)
{
    std::vector<std::uint32_t> r;
    for (t.goTop(); !t.eof(); t.skip())
        r.push_back(t.recNo());
    return r;
}

std::vector<std::uint32_t> walkBack(Table& t)
{
    std::vector<std::uint32_t> r;
    for (t.goBottom(); !t.bof(); t.skip(-1))
        r.push_back(t.recNo());
    std::reverse(r.begin(), r.end());
    return r;
}

std::string escape(const std::string& s)
{
    std::string r;
    for (char c : s) {
        if (c == '\\') r += "\\\\";
        else if (c == '\r') r += "\\r";
        else if (c == '\n') r += "\\n";
        else if (c == '|') r += "\\|";
        else r += c;
    }
    return r;
}

// The checker's canonical line of the current record (text in Windows-1252 bytes).
std::string canonical(Table& t)
{
    std::string line = "REC " + std::to_string(t.recNo()) + "|" + (t.isDeleted() ? "*" : " ");
    for (const DbfField& f : t.fields()) {
        line += "|" + f.name + "=";
        switch (f.type) {
        case 'C': line += escape(t.getTrimString(f.name)); break;
        case 'M': line += escape(t.getMemo(f.name)); break;
        case 'L': {
            const char c = t.getString(f.name)[0];
            line += (c == 'T' || c == 't' || c == 'Y' || c == 'y') ? "T" : (c == 'F' || c == 'f' || c == 'N' || c == 'n') ? "F" : "?";
            break;
        }
        case 'D': {
            const std::string s = t.getString(f.name);
            line += s == "        " ? "" : s;
            break;
        }
        case 'N': case 'F': {
            if (t.isEmpty(f.name) && t.getTrimString(f.name).empty())
                break;
            char buf[64];
            std::snprintf(buf, sizeof buf, "%.*f", int(f.decimals), t.getNumber(f.name));
            line += buf;
            break;
        }
        default: break;
        }
    }
    return line;
}

std::string iso(const std::string& cp1252)
{
    // The checker prints UTF-8; the samples hold Windows-1252 text (Latin-1 range here).
    std::string r;
    for (unsigned char c : cp1252) {
        if (c < 0x80) r += char(c);
        else { r += char(0xC0 | (c >> 6)); r += char(0x80 | (c & 0x3F)); }
    }
    return r;
}

class Samples : public ::testing::TestWithParam<std::string> {};

} // namespace

TEST_P(Samples, EveryTagTraversesAsDumped)
{
    const std::string dir = scratchDir("samples-walk-" + GetParam());
    const std::string path = copySample(GetParam(), dir);
    const auto dump = readTagDump(GetParam());
    ASSERT_FALSE(dump.empty());
    auto t = Table::open(path, OpenMode::ReadOnly);
    ASSERT_EQ(t->tagCount(), dump.size());
    for (std::size_t i = 0; i < dump.size(); ++i) {
        SCOPED_TRACE(dump[i].name);
        EXPECT_EQ(t->tagName(i + 1), dump[i].name);
        EXPECT_EQ(t->orderNumber(dump[i].name), int(i + 1));
        t->setOrder(int(i + 1));
        EXPECT_EQ(walk(*t), dump[i].all);
        EXPECT_EQ(walkBack(*t), dump[i].all);
    }
    EXPECT_EQ(t->orderNumber("NOSUCHTAG"), 0);
    EXPECT_TRUE(t->check().empty());
}

TEST_P(Samples, RecordsReadAsTheCheckerReadsThem)
{
    const std::string dir = scratchDir("samples-read-" + GetParam());
    const std::string path = copySample(GetParam(), dir);
    SKIP_WITHOUT_XBASE_CHECK();
    const auto check = validators::xbaseCheck(path, "--records --quiet");
    ASSERT_EQ(check.status, 0) << check.output;
    const std::string& out = check.output;
    std::vector<std::string> expected;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("REC ", 0) == 0)
            expected.push_back(line);
    auto t = Table::open(path, OpenMode::ReadOnly);
    std::vector<std::string> got;
    for (t->goTop(); !t->eof(); t->skip())
        got.push_back(iso(canonical(*t)));
    EXPECT_EQ(got, expected);
}

TEST_P(Samples, WritesKeepEveryTagCurrent)
{
    const std::string dir = scratchDir("samples-write-" + GetParam());
    const std::string path = copySample(GetParam(), dir);
    {
        auto t = Table::open(path, OpenMode::Exclusive);
        const DbfField& first = t->fields()[0];
        t->appendBlank();
        t->replace(first.name, "Zebra appended");
        t->appendBlank();
        t->replace(first.name, "aardvark");
        for (const DbfField& f : t->fields())
            if (f.type == 'M')
                t->replace(f.name, "memo of a new record");
            else if (f.type == 'L')
                t->replaceLogical(f.name, true);
        t->go(2);
        t->replace(first.name, "Middle changed");
        t->go(3);
        t->deleteRecord();
        t->go(4);
        t->deleteRecord();
        t->commit();
        t->go(4);
        t->recall();
        t->commit();
        EXPECT_EQ(t->check(), std::vector<std::string>{});
    }
    EXPECT_TABLE_VALID(path);
    {
        auto t = Table::open(path, OpenMode::Exclusive);
        const std::uint32_t before = t->recCount();
        std::uint32_t deleted = 0;
        for (std::uint32_t r = 1; r <= before; ++r) {
            t->go(r);
            deleted += t->isDeleted();
        }
        t->pack();
        EXPECT_EQ(t->recCount(), before - deleted);
        EXPECT_EQ(t->tagCount(), readTagDump(GetParam()).size());
        EXPECT_EQ(t->check(), std::vector<std::string>{});
    }
    EXPECT_TABLE_VALID(path);
}

INSTANTIATE_TEST_SUITE_P(EngineSamples, Samples, ::testing::Values("addr200", "keys", "types"));
