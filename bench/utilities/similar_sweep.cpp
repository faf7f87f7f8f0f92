// Precision and recall of the similar-records check on a labelled sample, for a grid of name
// and address thresholds: the figures the chosen thresholds rest on.
//
// usage: similar_sweep SAMPLE.csv [SAMPLE.csv...]
#include "labelledsample.h"
#include "nearduplicates.h"

#include <cstdio>

using namespace postavo;

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: similar_sweep SAMPLE.csv...\n");
        return 2;
    }
    for (int a = 1; a < argc; ++a) {
        QString error;
        const auto rows = sample::readSample(QString::fromLocal8Bit(argv[a]), &error);
        if (!error.isEmpty()) {
            std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
            return 1;
        }
        std::vector<SimilarRecord> records;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            auto f = [&](const char* n) { return rows[i].fields.value(QLatin1String(n)).toLatin1().toStdString(); };
            records.push_back(makeSimilarRecord(std::uint32_t(i), f("LNAME"), f("FNAME"), {}, f("STREET"), f("STREET2"),
                                                f("CITY"), f("ZIP")));
        }
        // Every candidate pair with its scores (thresholds 0), then each grid point counted.
        SimilarityThresholds all;
        all.name = 0;
        all.address = 0;
        const auto candidates = findSimilarPairs(records, all);
        const long truth = sample::truePairs(rows);
        std::printf("%s: %zu records, %ld true pairs, %zu candidate pairs\n", argv[a], rows.size(), truth,
                    candidates.size());
        std::printf("name\\addr");
        const double addr[] = {0.75, 0.80, 0.85, 0.90, 0.95};
        for (double t : addr)
            std::printf("      %.2f     ", t);
        std::printf("\n");
        for (double n : {0.80, 0.85, 0.88, 0.90, 0.92, 0.95}) {
            std::printf("  %.2f  ", n);
            for (double t : addr) {
                long reported = 0, right = 0;
                for (const SimilarPair& p : candidates)
                    if (p.score.name >= n && p.score.address >= t) {
                        ++reported;
                        right += rows[p.a].entity == rows[p.b].entity;
                    }
                std::printf("  P %.3f R %.3f", reported ? double(right) / reported : 1.0,
                            truth ? double(right) / truth : 1.0);
            }
            std::printf("\n");
        }
        // The pairs the chosen thresholds get wrong, to read.
        const SimilarityThresholds chosen;
        std::printf("with name %.2f, address %.2f:\n", chosen.name, chosen.address);
        for (const SimilarPair& p : candidates) {
            const bool same = rows[p.a].entity == rows[p.b].entity;
            const bool reported = p.score.name >= chosen.name && p.score.address >= chosen.address;
            if (same == reported)
                continue;
            auto show = [&](std::uint32_t i) {
                const auto& r = rows[i].fields;
                return (r.value("LNAME") + ", " + r.value("FNAME") + " | " + r.value("STREET") + " " + r.value("STREET2") +
                        " | " + r.value("CITY") + " " + r.value("ZIP"))
                    .toLocal8Bit();
            };
            std::printf("  %s name %.3f address %.3f\n    %s\n    %s\n", same ? "MISSED" : "WRONG ", p.score.name,
                        p.score.address, show(p.a).constData(), show(p.b).constData());
        }
    }
    return 0;
}
