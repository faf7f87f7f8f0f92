#include "addressgen.h"

#include "addressschema.h"
#include "recordengine.h"

#include <chrono>
#include <cstdio>
#include <filesystem>

namespace postavo::bench {

namespace {

using engine::OpenMode;
using engine::Table;

struct Rng {
    std::uint64_t s;
    std::uint32_t next()
    {
        s = s * 6364136223846793005ull + 1442695040888963407ull;
        return std::uint32_t(s >> 33);
    }
    std::uint32_t below(std::uint32_t n) { return next() % n; }
};

const char* kLast[] = {"Smith", "Johnson", "Williams", "Brown", "Jones", "Garcia", "Miller", "Davis", "Rodriguez",
                       "Martinez", "McDonald", "Lopez", "Gonzalez", "Wilson", "Anderson", "Thomas", "Taylor",
                       "Moore", "Jackson", "Martin", "Lee", "Perez", "Thompson", "White", "Harris", "O'Brien"};
const char* kFirst[] = {"James", "Mary", "John", "Patricia", "Robert", "Jennifer", "Michael", "Linda", "William",
                        "Elizabeth", "David", "Barbara", "Richard", "Susan", "Joseph", "Jessica", "Zoë", "René"};
const char* kCity[] = {"Springfield", "Boston", "Austin", "Denver", "Portland", "Madison", "Salem", "Dover",
                       "Montréal", "Québec"};
const char* kState[] = {"MA", "TX", "CO", "OR", "WI", "NH", "NY", "NJ", "CA", "FL", "QC"};
const char* kWords[] = {"called", "about", "renewal", "meeting", "next", "week", "prefers", "email", "invoice",
                        "sent", "catalogue", "spring", "order", "paid", "cheque", "visit", "office", "left",
                        "message", "birthday", "gift", "member", "since", "board", "committee"};

// The generator's text is UTF-8 in this file; the table holds Windows-1252.
std::string cp1252(const std::string& utf8)
{
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80 || i + 1 >= utf8.size()) {
            out += char(c);
            continue;
        }
        const unsigned cp = ((c & 0x1F) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F);
        out += char(cp);  // the Latin-1 letters used here have the same byte in Windows-1252
    }
    return out;
}

std::string memoText(std::uint32_t i, std::uint32_t n, Rng& rng)
{
    std::string m;
    const std::uint32_t words = 8 + rng.below(60);
    for (std::uint32_t w = 0; w < words; ++w) {
        if (w)
            m += (w % 11 == 0) ? "\r\n" : " ";
        m += kWords[rng.below(25)];
    }
    if (i == n - 1000)
        m += " shipped to Zanzibar";
    return m;
}

void fillRecord(Table& t, std::uint32_t i, std::uint32_t n, Rng& rng, bool memo)
{
    t.replace("LNAME", cp1252(std::string(kLast[rng.below(26)]) + (rng.below(3) ? "" : std::to_string(rng.below(999)))));
    t.replace("FNAME", cp1252(kFirst[rng.below(18)]));
    t.replace("MIDDLE", std::string(1, char('A' + rng.below(26))));
    t.replace("PREFIX", rng.below(2) ? "Mr." : "Ms.");
    t.replace("TITLE", "Manager " + std::to_string(rng.below(500)));
    t.replace("ORG", "Company " + std::to_string(rng.below(20000)));
    t.replace("STREET", std::to_string(1 + rng.below(9999)) + " Main Street");
    if (rng.below(4) == 0)
        t.replace("STREET2", "Suite " + std::to_string(rng.below(900)));
    const std::uint32_t c = rng.below(10);
    t.replace("CITY", cp1252(kCity[c]));
    t.replace("STATE", kState[c >= 8 ? 10 : rng.below(10)]);
    t.replace("ZIP", std::to_string(10000 + rng.below(89999)));
    t.replace("COUNTRY", c >= 8 ? "Canada" : "USA");
    if (rng.below(10))
        t.replace("DATE", std::to_string(1990 + rng.below(35)) + "0" + std::to_string(1 + rng.below(9)) + "1"
                              + std::to_string(rng.below(10)));
    t.replace("PHONE", "(555) " + std::to_string(100 + rng.below(900)) + "-" + std::to_string(1000 + rng.below(9000)));
    if (rng.below(3) == 0)
        t.replace("PHONE2", "555-" + std::to_string(1000000 + rng.below(8999999)));
    if (rng.below(5) == 0)
        t.replace("FAX", "555-" + std::to_string(1000000 + rng.below(8999999)));
    t.replace("EMAIL", "user" + std::to_string(i) + "@example.com");
    static const char* codes[] = {"ABC", "XYZ", "c", "QRS", "", "CD"};
    t.replace("CODES", codes[rng.below(6)]);
    if (rng.below(4) == 0)
        t.replace("USER1", "Comment " + std::to_string(rng.below(100)));
    t.replaceLogical("ISDEL", false);
    if (memo)
        t.replace("MEMO", memoText(i, n, rng));
}

double since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

GeneratedBook generateAddressBook(const std::string& dir, std::uint32_t n, bool reuse)
{
    namespace fs = std::filesystem;
    GeneratedBook book;
    book.path = dir + "/BOOK" + std::to_string(n) + ".DBF";
    book.records = n;
    for (std::uint32_t i = 1; i <= n; ++i) {
        book.withMemo += (i % 10 == 3) || i == n - 1000;
        book.deleted += (i % 100 == 7);
    }
    const std::string base = dir + "/BOOK" + std::to_string(n);
    if (reuse && fs::exists(base + ".DBF") && fs::exists(base + ".CDX") && fs::exists(base + ".FPT")) {
        std::printf("reusing %s\n", book.path.c_str());
        return book;
    }
    for (const char* ext : {".DBF", ".FPT", ".CDX"})
        fs::remove(base + ext);
    auto start = std::chrono::steady_clock::now();
    Table::create(book.path, addressFieldSpecs());
    auto t = Table::open(book.path, OpenMode::Exclusive);
    Rng rng{n};
    for (std::uint32_t i = 1; i <= n; ++i) {
        t->appendBlank();
        fillRecord(*t, i, n, rng, (i % 10 == 3) || i == n - 1000);
    }
    t->commit();
    std::printf("generated %u records          %7.2f s\n", n, since(start));
    start = std::chrono::steady_clock::now();
    t->indexTags(addressTagSpecs());
    std::printf("built the 26 tags              %7.2f s\n", since(start));
    // One in a hundred deleted, as the program deletes (mark and ISDEL).
    t->setOrder(0);
    for (std::uint32_t r = 7; r <= n; r += 100) {
        t->go(r);
        t->replaceLogical("ISDEL", true);
        t->deleteRecord();
    }
    t->commit();
    t->close();
    return book;
}

} // namespace postavo::bench
