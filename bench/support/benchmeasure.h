#pragma once
// The process's own measures for the timing programs: resident and peak memory, processor time.
// An address file's questions answered without a window.

#include "addressfile.h"

#include <QFile>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace postavo::bench {

// Resident memory now, kB (0 when /proc cannot tell).
inline long residentKb()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.value(1).toLong() * (sysconf(_SC_PAGESIZE) / 1024);
}

// The most resident memory so far, kB.
inline long peakKb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

// Processor time of this process, seconds: what the job costs whatever else the machine runs.
inline double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_utime.tv_usec / 1e6 + u.ru_stime.tv_sec + u.ru_stime.tv_usec / 1e6;
}

// Says what the address file reports on stderr, agrees to every question, builds missing tags.
struct QuietUi : AddressFileUi {
    void showInformation(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    bool askYesNo(const QString&, const QString&) override { return true; }
    void rebuildIndexes(AddressTable& table) override { BuildAddressTags(table); }
};

} // namespace postavo::bench
