#pragma once
// Generated address files for the address book's benchmarks: deterministic records with every
// field filled the way real lists are (a quarter with a second address line, one in ten with a
// memo, one in a hundred deleted), built with the record engine directly so that a million
// records take a minute, not an hour.
#include <cstdint>
#include <string>

namespace postavo::bench {

struct GeneratedBook {
    std::string path;
    std::uint32_t records = 0;
    std::uint32_t withMemo = 0;
    std::uint32_t deleted = 0;
};

// Makes BOOK<n>.DBF (with .FPT and .CDX) in `dir` unless it is there already from an earlier run
// (`reuse`); prints what it does. Memos hold ordinary words; the word "ZANZIBAR" appears in the
// memo of record n - 1000 only, "NOWHERE" in none.
GeneratedBook generateAddressBook(const std::string& dir, std::uint32_t n, bool reuse);

} // namespace postavo::bench
