#pragma once
// Names and street addresses written so that two spellings of the same thing compare equal:
// capitals without accents, punctuation gone, the postal service's street suffix, unit and
// directional abbreviations (STREET -> ST, APARTMENT -> APT, NORTH -> N), ordinal words as
// numbers (FIRST -> 1ST), common nicknames to their full name (BOB -> ROBERT).

#include <string>
#include <string_view>
#include <vector>

namespace postavo {

// Windows-1252 text in capitals, accents removed (É -> E, ß -> SS), anything but letters,
// digits and '#' turned into blanks; apostrophes vanish (O'NEIL -> ONEIL).
std::string foldText(std::string_view text);
std::vector<std::string> splitTokens(std::string_view folded);

// One street word in its standard abbreviation (STREET -> ST, AVENUE -> AVE, NORTH -> N,
// SECOND -> 2ND, APARTMENT -> APT); other words unchanged.
std::string_view standardStreetWord(std::string_view word);
// Unit words (APT, STE, UNIT, #, ...): the next word names the unit.
bool isUnitDesignator(std::string_view word);
// A given name's full form for a nickname (BOB -> ROBERT), else the name itself.
std::string_view canonicalGivenName(std::string_view name);

// A name's parts for comparison.
struct NormalisedName {
    std::string last;   // letters and digits only, suffixes (JR, III) dropped: "VANDERBERG"
    std::string given;  // the first given name as written, titles dropped: "BOB"
    std::string canonicalGiven;  // "ROBERT"
    std::string generation;      // JR, SR, II, III, IV: father and son share the rest
};
// With no last name the organisation stands for it.
NormalisedName normaliseName(std::string_view last, std::string_view first, std::string_view org = {});

// A street address's parts for comparison.
struct NormalisedStreet {
    std::string number;  // house or box number: "12", "12A"
    std::string street;  // the rest in standard words: "N MAIN ST", "PO BOX"
    std::string unit;    // the unit's name without its designator: "4B"
};
NormalisedStreet normaliseStreet(std::string_view street, std::string_view street2 = {});
// The standard words of a whole line, for showing and testing: "123 N MAIN ST APT 4".
std::string standardStreetLine(std::string_view street);

} // namespace postavo
