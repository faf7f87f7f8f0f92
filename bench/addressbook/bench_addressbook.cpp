// Times what the address book window does on a large generated address file:
//   open   open the file in Last Name order and read the first record
//   search key searches in Last Name order (the search box's seek)
//   grid   the browse grid's rows resolved, first screen read
//   scroll reading every screen from top to bottom (page down held) and 200 jumps spread over
//          the file (a drag of the scroll bar); the slowest screen is the figure
//   memo   memo searches through every record (one match near the end, one with none)
// and the peak memory of the process.
//
// usage: bench_addressbook [--dir FOLDER] [--reuse] [N]   (default N 1000000)
#include "addressfile.h"
#include "addressgen.h"
#include "search.h"
#include "tablemodel.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace postavo;
using Clock = std::chrono::steady_clock;

namespace {

double ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

long peakKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::string dir = std::filesystem::temp_directory_path().string() + "/postavo-bench-addressbook";
    bool reuse = false;
    std::uint32_t n = 1000000;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--dir" && i + 1 < argc)
            dir = argv[++i];
        else if (a == "--reuse")
            reuse = true;
        else
            n = std::uint32_t(std::strtoul(a.c_str(), nullptr, 10));
    }
    std::filesystem::create_directories(dir);
    const bench::GeneratedBook book = bench::generateAddressBook(dir, n, reuse);
    std::printf("%u records, %u with memos, %u deleted\n", book.records, book.withMemo, book.deleted);

    auto t0 = Clock::now();
    AddressTable table;
    QString error;
    if (!table.open(QString::fromStdString(book.path), &error)) {
        std::fprintf(stderr, "cannot open: %s\n", qPrintable(error));
        return 1;
    }
    table.setOrder(QStringLiteral("LNAME"));
    table.first();
    const QString firstName = table.value(QStringLiteral("LNAME"));
    auto t1 = Clock::now();
    std::printf("open, first record (%s)     %8.1f ms\n", qPrintable(firstName), ms(t0, t1));

    double worstSeek = 0, totalSeek = 0;
    int seeks = 0;
    for (const char* key : {"MC", "SMITH4", "O'B", "ZZZ", "WHITE99", "LEE", "A", "THOMPSON12", "GARC", "NOBODY"}) {
        auto a = Clock::now();
        table.seek(QString::fromLatin1(key), false);
        auto b = Clock::now();
        worstSeek = std::max(worstSeek, ms(a, b));
        totalSeek += ms(a, b);
        ++seeks;
    }
    std::printf("key search: mean %.2f ms, slowest %.2f ms\n", totalSeek / seeks, worstSeek);

    table.setFieldOrder(QStringList{QStringLiteral("Tagged"), QStringLiteral("LNAME"), QStringLiteral("FNAME"),
                                    QStringLiteral("MIDDLE"), QStringLiteral("PREFIX"), QStringLiteral("TITLE"),
                                    QStringLiteral("ORG"), QStringLiteral("STREET"), QStringLiteral("STREET2"),
                                    QStringLiteral("CITY"), QStringLiteral("STATE"), QStringLiteral("ZIP"),
                                    QStringLiteral("COUNTRY"), QStringLiteral("PHONE"), QStringLiteral("PHONE2"),
                                    QStringLiteral("FAX"), QStringLiteral("EMAIL"), QStringLiteral("CODES"),
                                    QStringLiteral("USER1"), QStringLiteral("USER2"), QStringLiteral("DisplayDate")});
    constexpr int kScreen = 40;
    auto readScreen = [&](TableModel& m, int top) {
        for (int r = top; r < std::min(top + kScreen, m.rowCount()); ++r)
            for (int c = 0; c < m.columnCount(); ++c)
                (void)m.data(m.index(r, c));
    };
    t0 = Clock::now();
    TableModel model(&table);
    readScreen(model, 0);
    t1 = Clock::now();
    std::printf("grid open (%d rows)        %8.1f ms\n", model.rowCount(), ms(t0, t1));

    double worstPage = 0;
    t0 = Clock::now();
    for (int top = 0; top < model.rowCount(); top += kScreen) {
        auto a = Clock::now();
        readScreen(model, top);
        worstPage = std::max(worstPage, ms(a, Clock::now()));
    }
    t1 = Clock::now();
    double worstJump = 0;
    for (int i = 0; i <= 200; ++i) {
        auto a = Clock::now();
        readScreen(model, int(std::int64_t(model.rowCount() - kScreen) * i / 200));
        worstJump = std::max(worstJump, ms(a, Clock::now()));
    }
    std::printf("scroll top to bottom        %8.1f ms total, slowest screen %.2f ms; slowest jump %.2f ms\n",
                ms(t0, t1), worstPage, worstJump);

    for (const char* text : {"ZANZIBAR", "NOWHERE"}) {
        int steps = 0;
        auto a = Clock::now();
        const MemoSearchResult r = searchMemos(table, QString::fromLatin1(text), true, [&](int) {
            ++steps;
            return true;
        });
        auto b = Clock::now();
        std::printf("memo search %-10s      %8.1f ms (%s, %u records, %d progress steps)\n", text, ms(a, b),
                    r.found ? "found" : "not found", r.searched, steps);
    }
    std::printf("peak memory                 %8.1f MB\n", peakKb() / 1024.0);
    return 0;
}
