// Times the record engine on deterministic generated address tables (23 fields, 26 tags):
// append, build the 26 tags, filtered count, 10 000 random seeks on LNAME, 10 000 appends
// with the tags open, pack.
//
// usage: bench_engine [--dir FOLDER] [--reuse] [--keep] [--only PHASE[,PHASE...]] [N...]
//        (default sizes 100000 1000000; phases: append build count seek tagged pack)
// --reuse keeps copies of the generated table (before and after the tags are built) in the
// folder and starts from them next time, so one phase can be timed again and again.
#include "addressschema.h"
#include "recordengine.h"

#include <algorithm>
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

using namespace postavo::engine;

namespace {

struct Rng {
    std::uint64_t s;
    std::uint32_t next()
    {
        s = s * 6364136223846793005ull + 1442695040888963407ull;
        return std::uint32_t(s >> 33);
    }
    std::uint32_t below(std::uint32_t n) { return next() % n; }
};

const char* kLast[] = {"SMITH", "Johnson", "Williams", "brown", "Jones", "Garcia", "Miller", "Davis", "Rodriguez",
                       "Martinez", "Hernandez", "Lopez", "Gonzalez", "Wilson", "Anderson", "Thomas", "Taylor",
                       "Moore", "Jackson", "Martin", "Lee", "Perez", "Thompson", "White", "Harris"};
const char* kFirst[] = {"James", "Mary", "John", "Patricia", "Robert", "Jennifer", "Michael", "Linda", "William",
                        "Elizabeth", "David", "Barbara", "Richard", "Susan", "Joseph", "Jessica"};
const char* kCity[] = {"Springfield", "Boston", "Austin", "Denver", "Portland", "Madison", "Salem", "Dover"};
const char* kState[] = {"MA", "TX", "CO", "OR", "WI", "NH", "NY", "NJ", "CA", "FL"};

std::string lastName(std::uint32_t i) { return std::string(kLast[i % 25]) + std::to_string(i % 9973); }

void fillRecord(Table& t, std::uint32_t i, Rng& rng)
{
    t.replace("LNAME", lastName(i));
    t.replace("FNAME", kFirst[rng.below(16)]);
    t.replace("MIDDLE", std::string(1, char('A' + rng.below(26))));
    t.replace("PREFIX", rng.below(2) ? "Mr." : "Ms.");
    t.replace("TITLE", "Title " + std::to_string(rng.below(500)));
    t.replace("ORG", "Org " + std::to_string(rng.below(20000)));
    t.replace("STREET", std::to_string(rng.below(9999)) + " Main Street");
    if (rng.below(4) == 0)
        t.replace("STREET2", "Suite " + std::to_string(rng.below(900)));
    t.replace("CITY", kCity[rng.below(8)]);
    t.replace("STATE", kState[rng.below(10)]);
    t.replace("ZIP", std::to_string(10000 + rng.below(89999)));
    t.replace("COUNTRY", "USA");
    t.replace("DATE", std::to_string(19500101 + rng.below(700000)));
    t.replace("PHONE", "555-" + std::to_string(1000000 + rng.below(8999999)));
    t.replace("EMAIL", "user" + std::to_string(i) + "@example.com");
    static const char* codes[] = {"ABC", "XYZ", "c", "QRS", "", "CD"};
    t.replace("CODES", codes[rng.below(6)]);
    t.replaceLogical("ISDEL", false);
    if (i % 50 == 0)
        t.replace("MEMO", "Memo for record " + std::to_string(i));
}

// Wall time and the process's CPU time (user + system) since a start point: on a shared
// machine the CPU time is the steadier figure.
struct Stopwatch {
    std::chrono::steady_clock::time_point wall;
    std::clock_t cpu;
};

Stopwatch now() { return {std::chrono::steady_clock::now(), std::clock()}; }

const char* seconds(const Stopwatch& since)
{
    static char text[64];
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - since.wall).count();
    const double cpu = double(std::clock() - since.cpu) / CLOCKS_PER_SEC;
    std::snprintf(text, sizeof text, "%8.3f s  (cpu %7.3f s)", wall, cpu);
    return text;
}

bool reuse = false;
bool keep = false;   // --keep: leave the last table in the folder for other tools to read
std::vector<std::string> only;

bool wanted(const char* phase)
{
    return only.empty() || std::find(only.begin(), only.end(), phase) != only.end();
}

// Copies BENCHn.* to BENCHn-<stage>.* (save) or back (restore); false when nothing to restore.
bool stage(const std::string& dir, std::uint32_t n, const char* name, bool save)
{
    namespace fs = std::filesystem;
    const std::string base = dir + "/BENCH" + std::to_string(n);
    const std::string copy = base + "-" + name;
    if (!save && !fs::exists(copy + ".DBF"))
        return false;
    for (const char* ext : {".DBF", ".fpt", ".cdx"}) {
        const std::string from = save ? base + ext : copy + ext;
        const std::string to = save ? copy + ext : base + ext;
        fs::remove(to);
        if (fs::exists(from))
            fs::copy_file(from, to);
    }
    ::sync();   // the copy's write-back would otherwise compete with the timed phase
    return true;
}

void runSize(const std::string& dir, std::uint32_t n)
{
    namespace fs = std::filesystem;
    const std::string path = dir + "/BENCH" + std::to_string(n) + ".DBF";
    for (const char* ext : {".DBF", ".fpt", ".cdx"})
        fs::remove(dir + "/BENCH" + std::to_string(n) + ext);
    std::printf("== %u records\n", n);
    Rng rng{n};
    const bool indexedCopy = reuse && !wanted("append") && !wanted("build") && stage(dir, n, "tags", false);
    if (!indexedCopy && !(reuse && !wanted("append") && stage(dir, n, "base", false))) {
        Table::create(path, postavo::addressFieldSpecs());
        auto t = Table::open(path, OpenMode::Exclusive);
        auto start = now();
        for (std::uint32_t i = 1; i <= n; ++i) {
            t->appendBlank();
            fillRecord(*t, i, rng);
        }
        t->commit();
        std::printf("append %u records            %s\n", n, seconds(start));
        t->close();
        if (reuse)
            stage(dir, n, "base", true);
    }
    rng = Rng{n ^ 0x9E3779B9u};   // the later appends do not depend on whether the first ran
    auto t = Table::open(path, OpenMode::Exclusive);
    auto start = now();
    if (!indexedCopy) {
        start = now();
        t->indexTags(postavo::addressTagSpecs());
        if (wanted("build"))
            std::printf("build 26 tags                  %s\n", seconds(start));
        if (reuse) {
            t->close();
            stage(dir, n, "tags", true);
            t = Table::open(path, OpenMode::Exclusive);
        }
    }

    // Mark 1 % of the records deleted, as the program does (mark + ISDEL).
    t->setOrder(0);
    for (std::uint32_t r = 7; r <= n; r += 100) {
        t->go(r);
        t->replaceLogical("ISDEL", true);
        t->deleteRecord();
    }
    t->commit();

    t->setDeletedHidden(true);
    if (wanted("count")) {
        start = now();
        t->setQuery("\"C\"$UPPER(CODES) .and. !ISDEL");
        const std::uint32_t matches = t->queryRecCount();
        std::printf("filtered count (%u matches)  %s\n", matches, seconds(start));
        t->setQuery("");

        start = now();
        t->setQuery("!ISDEL");
        const std::uint32_t live = t->queryRecCount();
        std::printf("full scan !ISDEL (%u)         %s\n", live, seconds(start));
        t->setQuery("");
    }

    if (wanted("seek"))
    for (int round = 0; round < (getenv("PV_SEEK_ROUNDS") ? atoi(getenv("PV_SEEK_ROUNDS")) : 1); ++round) {
    t->setOrder("LNAME");
    Rng pick{12345u + unsigned(round)};
    std::uint32_t found = 0;
    start = now();
    for (int i = 0; i < 10000; ++i) {
        std::string key = lastName(1 + pick.below(n));
        for (char& c : key)
            c = char(std::toupper(static_cast<unsigned char>(c)));
        found += t->seek(key);
        if (!t->eof())
            (void)t->getTrimString("FNAME");
    }
    std::printf("10000 seeks on LNAME (%u found) %s\n", found, seconds(start));
    }

    if (n <= 100000 && wanted("tagged")) {
        t->setOrder(0);
        start = now();
        for (std::uint32_t i = n + 1; i <= n + 10000; ++i) {
            t->appendBlank();
            fillRecord(*t, i, rng);
        }
        t->commit();
        std::printf("10000 appends, 26 tags open    %s\n", seconds(start));
        const auto problems = t->check();
        std::printf("check after the appends: %s\n", problems.empty() ? "sound" : problems.front().c_str());
    }

    if (!wanted("pack")) {
        t->close();
        if (!keep)
            for (const char* ext : {".DBF", ".fpt", ".cdx"})
                fs::remove(dir + "/BENCH" + std::to_string(n) + ext);
        return;
    }
    start = now();
    t->pack();
    std::printf("pack (and rebuild 26 tags)     %s  -> %u records\n", seconds(start), t->recCount());
    if (n <= 100000) {
        const auto problems = t->check();
        std::printf("check after pack: %s\n", problems.empty() ? "sound" : problems.front().c_str());
    }
    t->close();
    if (!keep)
        for (const char* ext : {".DBF", ".fpt", ".cdx"})
            fs::remove(dir + "/BENCH" + std::to_string(n) + ext);
}

} // namespace

int main(int argc, char** argv)
{
    std::string dir = std::filesystem::temp_directory_path().string();
    std::vector<std::uint32_t> sizes;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--dir" && i + 1 < argc)
            dir = argv[++i];
        else if (a == "--reuse")
            reuse = true;
        else if (a == "--keep")
            keep = true;
        else if (a == "--only" && i + 1 < argc) {
            std::string list = argv[++i];
            for (std::size_t at = 0; at <= list.size();) {
                std::size_t comma = list.find(',', at);
                if (comma == std::string::npos)
                    comma = list.size();
                only.push_back(list.substr(at, comma - at));
                at = comma + 1;
            }
        }
        else
            sizes.push_back(std::uint32_t(std::strtoul(a.c_str(), nullptr, 10)));
    }
    if (sizes.empty())
        sizes = {100000, 1000000};
    try {
        for (std::uint32_t n : sizes)
            runSize(dir, n);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_engine: %s\n", e.what());
        return 1;
    }
    return 0;
}
