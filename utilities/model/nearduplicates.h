#pragma once
// The fourth duplicate kind, "Similar name and address": records whose names and addresses are
// close without being equal ("Jon Smith, 12 Main Street" and "John Smith, 12 Main St").
//
// Names and streets are normalised (addressnormalise.h). Candidate pairs are neighbours in three
// orders - by name, by street and house number, by zip and house number - within a small window,
// so that the pass stays near-linear: a pair whose names differ is still found by its address and
// the other way round. A pair is reported when both its name score and its address score reach
// their thresholds.
//
// Scores lie in 0..1. The name score is the lower of the last-name and the given-name similarity
// (Jaro-Winkler; a nickname or an initial that agrees counts as a match; Jr beside Sr or no suffix
// at most 0.8). The address score is
// the street similarity, 0 when both house numbers are given and differ; different units, zips or
// cities lower it. The thresholds were chosen on the labelled sample in
// tests/utilities/data/similar-*.csv, where they give the figures recorded in
// tests/utilities/data/similar-sample.md.

#include "addressnormalise.h"
#include "duplicatecheck.h"

#include <string>
#include <string_view>
#include <vector>

namespace postavo {

struct SimilarityThresholds {
    double name = 0.85;
    double address = 0.85;
    int window = 8;  // neighbours compared in each order
};

// Jaro-Winkler similarity of two texts (1 for equal texts, 0 for nothing in common).
double jaroWinkler(std::string_view a, std::string_view b);

// One record ready for comparison.
struct SimilarRecord {
    std::uint32_t recno = 0;
    NormalisedName name;
    NormalisedStreet street;
    std::string zip5;
    std::string city;
};
SimilarRecord makeSimilarRecord(std::uint32_t recno, std::string_view last, std::string_view first,
                                std::string_view org, std::string_view street, std::string_view street2,
                                std::string_view city, std::string_view zip);

struct SimilarityScore {
    double name = 0, address = 0;
    double overall() const { return (name + address) / 2; }
};
double nameSimilarity(const NormalisedName& a, const NormalisedName& b);
double addressSimilarity(const SimilarRecord& a, const SimilarRecord& b);
SimilarityScore scoreSimilarity(const SimilarRecord& a, const SimilarRecord& b);

struct SimilarPair {
    std::uint32_t a = 0, b = 0;  // indexes into the records given
    SimilarityScore score;
};
// The pairs of `records` that reach the thresholds, best first; every candidate pair once.
// `step` gets the work done in the sorting and comparing stages.
std::vector<SimilarPair> findSimilarPairs(const std::vector<SimilarRecord>& records, const SimilarityThresholds& t,
                                          const PassStep& step = {}, bool* cancelled = nullptr);

// The kind as a pass over the records the table shows.
DuplicateOutcome findSimilarDuplicates(engine::Table& table, const SimilarityThresholds& t, const PassStep& step = {});

// What a listing shows of a record: "Smith, John | 12 Main Street | 02134".
QString similarShownValue(std::string_view last, std::string_view first, std::string_view street,
                          std::string_view zip);

} // namespace postavo
