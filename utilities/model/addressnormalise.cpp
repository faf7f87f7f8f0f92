#include "addressnormalise.h"

#include "recordengine.h"

#include <algorithm>
#include <array>
#include <unordered_map>

namespace postavo {

namespace {

// The capital letters of Windows-1252 above 127, without their accents.
const char* foldedUpper(unsigned char c)
{
    switch (c) {
    case 0x8A: return "S";
    case 0x8C: return "OE";
    case 0x8E: return "Z";
    case 0x9F: return "Y";
    case 0xDF: return "SS";
    case 0xC6: return "AE";
    case 0xD0: return "D";
    case 0xDE: return "TH";
    default: break;
    }
    if (c >= 0xC0 && c <= 0xC5) return "A";
    if (c == 0xC7) return "C";
    if (c >= 0xC8 && c <= 0xCB) return "E";
    if (c >= 0xCC && c <= 0xCF) return "I";
    if (c == 0xD1) return "N";
    if ((c >= 0xD2 && c <= 0xD6) || c == 0xD8) return "O";
    if (c >= 0xD9 && c <= 0xDC) return "U";
    if (c == 0xDD) return "Y";
    return nullptr;
}

using WordMap = std::unordered_map<std::string_view, std::string_view>;

// Street suffixes, directionals, ordinals and unit designators in the postal service's
// standard abbreviations.
const WordMap& streetWords()
{
    static const WordMap m = {
        // suffixes
        {"ALLEY", "ALY"}, {"ALLY", "ALY"}, {"ANNEX", "ANX"}, {"ARCADE", "ARC"}, {"AVENUE", "AVE"}, {"AV", "AVE"},
        {"AVEN", "AVE"}, {"AVENU", "AVE"}, {"AVN", "AVE"}, {"AVNUE", "AVE"}, {"BAYOU", "BYU"}, {"BEACH", "BCH"},
        {"BEND", "BND"}, {"BLUFF", "BLF"}, {"BOULEVARD", "BLVD"}, {"BOUL", "BLVD"}, {"BOULV", "BLVD"},
        {"BRANCH", "BR"}, {"BRIDGE", "BRG"}, {"BROOK", "BRK"}, {"BYPASS", "BYP"}, {"CAMP", "CP"},
        {"CANYON", "CYN"}, {"CAUSEWAY", "CSWY"}, {"CENTER", "CTR"}, {"CENTRE", "CTR"}, {"CENTR", "CTR"},
        {"CIRCLE", "CIR"}, {"CIRC", "CIR"}, {"CIRCL", "CIR"}, {"CLIFF", "CLF"}, {"CLUB", "CLB"},
        {"COMMON", "CMN"}, {"CORNER", "COR"}, {"CORNERS", "CORS"}, {"COURSE", "CRSE"}, {"COURT", "CT"},
        {"COURTS", "CTS"}, {"COVE", "CV"}, {"CREEK", "CRK"}, {"CRESCENT", "CRES"}, {"CRESENT", "CRES"},
        {"CROSSING", "XING"}, {"CROSSROAD", "XRD"}, {"CURVE", "CURV"}, {"DALE", "DL"}, {"DAM", "DM"},
        {"DIVIDE", "DV"}, {"DRIVE", "DR"}, {"DRIV", "DR"}, {"DRV", "DR"}, {"ESTATE", "EST"}, {"ESTATES", "ESTS"},
        {"EXPRESSWAY", "EXPY"}, {"EXPRESS", "EXPY"}, {"EXTENSION", "EXT"}, {"FALLS", "FLS"}, {"FERRY", "FRY"},
        {"FIELD", "FLD"}, {"FIELDS", "FLDS"}, {"FLAT", "FLT"}, {"FORD", "FRD"}, {"FOREST", "FRST"},
        {"FORGE", "FRG"}, {"FORK", "FRK"}, {"FORT", "FT"}, {"FREEWAY", "FWY"}, {"GARDEN", "GDN"},
        {"GARDENS", "GDNS"}, {"GATEWAY", "GTWY"}, {"GLEN", "GLN"}, {"GREEN", "GRN"}, {"GROVE", "GRV"},
        {"HARBOR", "HBR"}, {"HAVEN", "HVN"}, {"HEIGHTS", "HTS"}, {"HIGHWAY", "HWY"}, {"HIGHWY", "HWY"},
        {"HILL", "HL"}, {"HILLS", "HLS"}, {"HOLLOW", "HOLW"}, {"ISLAND", "IS"}, {"JUNCTION", "JCT"},
        {"KEY", "KY"}, {"KNOLL", "KNL"}, {"LAKE", "LK"}, {"LAKES", "LKS"}, {"LANDING", "LNDG"}, {"LANE", "LN"},
        {"LIGHT", "LGT"}, {"LOCK", "LCK"}, {"LODGE", "LDG"}, {"LOOP", "LOOP"}, {"MANOR", "MNR"},
        {"MEADOW", "MDW"}, {"MEADOWS", "MDWS"}, {"MILL", "ML"}, {"MISSION", "MSN"}, {"MOTORWAY", "MTWY"},
        {"MOUNT", "MT"}, {"MOUNTAIN", "MTN"}, {"ORCHARD", "ORCH"}, {"OVERPASS", "OPAS"}, {"PARKWAY", "PKWY"},
        {"PARKWY", "PKWY"}, {"PKY", "PKWY"}, {"PASSAGE", "PSGE"}, {"PIKE", "PIKE"}, {"PINE", "PNE"},
        {"PINES", "PNES"}, {"PLACE", "PL"}, {"PLAIN", "PLN"}, {"PLAINS", "PLNS"}, {"PLAZA", "PLZ"},
        {"POINT", "PT"}, {"POINTS", "PTS"}, {"PORT", "PRT"}, {"PRAIRIE", "PR"}, {"RANCH", "RNCH"},
        {"RAPIDS", "RPDS"}, {"RIDGE", "RDG"}, {"RIVER", "RIV"}, {"ROAD", "RD"}, {"ROADS", "RDS"},
        {"ROUTE", "RTE"}, {"SHORE", "SHR"}, {"SHORES", "SHRS"}, {"SKYWAY", "SKWY"}, {"SPRING", "SPG"},
        {"SPRINGS", "SPGS"}, {"SQUARE", "SQ"}, {"SQR", "SQ"}, {"STATION", "STA"}, {"STREAM", "STRM"},
        {"STREET", "ST"}, {"STR", "ST"}, {"STRT", "ST"}, {"STREETS", "STS"}, {"SUMMIT", "SMT"},
        {"TERRACE", "TER"}, {"TERR", "TER"}, {"THROUGHWAY", "TRWY"}, {"TRACE", "TRCE"}, {"TRACK", "TRAK"},
        {"TRAIL", "TRL"}, {"TRAILS", "TRL"}, {"TUNNEL", "TUNL"}, {"TURNPIKE", "TPKE"}, {"UNION", "UN"},
        {"VALLEY", "VLY"}, {"VIADUCT", "VIA"}, {"VIEW", "VW"}, {"VILLAGE", "VLG"}, {"VILLE", "VL"},
        {"VISTA", "VIS"}, {"WALK", "WALK"}, {"WELL", "WL"}, {"WELLS", "WLS"},
        // directionals
        {"NORTH", "N"}, {"SOUTH", "S"}, {"EAST", "E"}, {"WEST", "W"}, {"NORTHEAST", "NE"},
        {"NORTHWEST", "NW"}, {"SOUTHEAST", "SE"}, {"SOUTHWEST", "SW"},
        // ordinals
        {"FIRST", "1ST"}, {"SECOND", "2ND"}, {"THIRD", "3RD"}, {"FOURTH", "4TH"}, {"FIFTH", "5TH"},
        {"SIXTH", "6TH"}, {"SEVENTH", "7TH"}, {"EIGHTH", "8TH"}, {"NINTH", "9TH"}, {"TENTH", "10TH"},
        {"ELEVENTH", "11TH"}, {"TWELFTH", "12TH"}, {"THIRTEENTH", "13TH"}, {"FOURTEENTH", "14TH"},
        {"FIFTEENTH", "15TH"}, {"SIXTEENTH", "16TH"}, {"SEVENTEENTH", "17TH"}, {"EIGHTEENTH", "18TH"},
        {"NINETEENTH", "19TH"}, {"TWENTIETH", "20TH"},
        // units
        {"APARTMENT", "APT"}, {"APPT", "APT"}, {"BUILDING", "BLDG"}, {"BLDNG", "BLDG"}, {"DEPARTMENT", "DEPT"},
        {"FLOOR", "FL"}, {"FLR", "FL"}, {"HANGAR", "HNGR"}, {"LOBBY", "LBBY"}, {"OFFICE", "OFC"},
        {"PENTHOUSE", "PH"}, {"ROOM", "RM"}, {"SPACE", "SPC"}, {"SUITE", "STE"}, {"SUIT", "STE"},
        {"TRAILER", "TRLR"}, {"NUMBER", "#"}, {"NO", "#"}, {"NUM", "#"},
    };
    return m;
}

const std::array<std::string_view, 15> kUnitWords = {"APT", "STE", "UNIT", "#", "RM", "FL", "BLDG", "DEPT",
                                                      "LOT", "SPC", "TRLR", "OFC", "PH", "HNGR", "LBBY"};

const WordMap& givenNames()
{
    static const WordMap m = {
        {"AL", "ALBERT"}, {"ALEX", "ALEXANDER"}, {"ANDY", "ANDREW"}, {"DREW", "ANDREW"}, {"TONY", "ANTHONY"},
        {"BARB", "BARBARA"}, {"BEN", "BENJAMIN"}, {"BENNY", "BENJAMIN"}, {"BETH", "ELIZABETH"},
        {"BETTY", "ELIZABETH"}, {"LIZ", "ELIZABETH"}, {"LIZZIE", "ELIZABETH"}, {"ELIZA", "ELIZABETH"},
        {"BILL", "WILLIAM"}, {"BILLY", "WILLIAM"}, {"WILL", "WILLIAM"}, {"WILLY", "WILLIAM"}, {"LIAM", "WILLIAM"},
        {"BOB", "ROBERT"}, {"BOBBY", "ROBERT"}, {"ROB", "ROBERT"}, {"ROBBIE", "ROBERT"}, {"BERT", "ROBERT"},
        {"CATHY", "CATHERINE"}, {"KATHY", "CATHERINE"}, {"KATE", "CATHERINE"}, {"KATIE", "CATHERINE"},
        {"KATHERINE", "CATHERINE"}, {"KATHRYN", "CATHERINE"}, {"CHARLIE", "CHARLES"}, {"CHUCK", "CHARLES"},
        {"CHRIS", "CHRISTOPHER"}, {"DAN", "DANIEL"}, {"DANNY", "DANIEL"}, {"DAVE", "DAVID"}, {"DAVEY", "DAVID"},
        {"DEBBIE", "DEBORAH"}, {"DEB", "DEBORAH"}, {"DEBRA", "DEBORAH"}, {"DICK", "RICHARD"}, {"RICK", "RICHARD"},
        {"RICH", "RICHARD"}, {"RICHIE", "RICHARD"}, {"DON", "DONALD"}, {"DONNY", "DONALD"}, {"ED", "EDWARD"},
        {"EDDIE", "EDWARD"}, {"TED", "EDWARD"}, {"FRED", "FREDERICK"}, {"FREDDIE", "FREDERICK"},
        {"GENE", "EUGENE"}, {"GREG", "GREGORY"}, {"HANK", "HENRY"}, {"HARRY", "HENRY"}, {"JACK", "JOHN"},
        {"JOHNNY", "JOHN"}, {"JON", "JOHN"}, {"JAKE", "JACOB"}, {"JIM", "JAMES"}, {"JIMMY", "JAMES"},
        {"JAMIE", "JAMES"}, {"JEN", "JENNIFER"}, {"JENNY", "JENNIFER"}, {"JERRY", "GERALD"}, {"JOE", "JOSEPH"},
        {"JOEY", "JOSEPH"}, {"JOSH", "JOSHUA"}, {"KEN", "KENNETH"}, {"KENNY", "KENNETH"}, {"LARRY", "LAWRENCE"},
        {"LEN", "LEONARD"}, {"LENNY", "LEONARD"}, {"MAGGIE", "MARGARET"}, {"MEG", "MARGARET"},
        {"PEGGY", "MARGARET"}, {"MATT", "MATTHEW"}, {"MIKE", "MICHAEL"}, {"MICKEY", "MICHAEL"},
        {"MITCH", "MITCHELL"}, {"NATE", "NATHAN"}, {"NICK", "NICHOLAS"}, {"PAM", "PAMELA"}, {"PAT", "PATRICIA"},
        {"PATTY", "PATRICIA"}, {"TRISH", "PATRICIA"}, {"PETE", "PETER"}, {"PHIL", "PHILIP"}, {"PHILLIP", "PHILIP"},
        {"RAY", "RAYMOND"}, {"RON", "RONALD"}, {"RONNIE", "RONALD"}, {"SAM", "SAMUEL"}, {"SAMMY", "SAMUEL"},
        {"SANDY", "SANDRA"}, {"STEVE", "STEVEN"}, {"STEPHEN", "STEVEN"}, {"SUE", "SUSAN"}, {"SUSIE", "SUSAN"},
        {"SUZY", "SUSAN"}, {"TIM", "TIMOTHY"}, {"TIMMY", "TIMOTHY"}, {"TOM", "THOMAS"}, {"TOMMY", "THOMAS"},
        {"VAL", "VALERIE"}, {"VICKY", "VICTORIA"}, {"VICKI", "VICTORIA"}, {"WALT", "WALTER"},
        {"ZACH", "ZACHARY"}, {"ABBY", "ABIGAIL"}, {"ALLIE", "ALLISON"}, {"CINDY", "CYNTHIA"},
        {"JUDY", "JUDITH"}, {"NANCY", "ANNE"}, {"ANN", "ANNE"}, {"ANNA", "ANNE"}, {"TERRY", "TERENCE"},
        {"JEFF", "JEFFREY"}, {"GEOFF", "JEFFREY"}, {"GEOFFREY", "JEFFREY"}, {"DOUG", "DOUGLAS"},
        {"STAN", "STANLEY"}, {"GERRY", "GERALD"}, {"MANNY", "MANUEL"}, {"LOU", "LOUIS"}, {"LOUIE", "LOUIS"},
    };
    return m;
}

bool contains(std::initializer_list<std::string_view> list, std::string_view w)
{
    return std::find(list.begin(), list.end(), w) != list.end();
}

bool allDigits(std::string_view w)
{
    return !w.empty() && std::all_of(w.begin(), w.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// 1ST, 22ND, 3RD, 14TH: a street's name, not a house number.
bool isOrdinalNumber(std::string_view w)
{
    if (w.size() < 3)
        return false;
    const std::string_view tail = w.substr(w.size() - 2);
    return allDigits(w.substr(0, w.size() - 2)) && contains({"ST", "ND", "RD", "TH"}, tail);
}

std::string joined(const std::vector<std::string>& words, std::size_t from = 0, const char* separator = "")
{
    std::string s;
    for (std::size_t i = from; i < words.size(); ++i) {
        if (!s.empty())
            s += separator;
        s += words[i];
    }
    return s;
}

} // namespace

std::string foldText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        c = engine::upperChar(c);
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '#') {
            out += char(c);
        } else if (c == '\'' || c == 0x92 || c == 0x91 || c == '`') {
            // O'NEIL and ONEIL are one name
        } else if (const char* f = foldedUpper(c)) {
            out += f;
        } else {
            out += ' ';
        }
    }
    return out;
}

std::vector<std::string> splitTokens(std::string_view folded)
{
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < folded.size()) {
        while (i < folded.size() && folded[i] == ' ')
            ++i;
        std::size_t j = i;
        while (j < folded.size() && folded[j] != ' ')
            ++j;
        if (j > i) {
            // "#4" is a designator and a unit.
            std::string_view w = folded.substr(i, j - i);
            if (w.size() > 1 && w.front() == '#') {
                words.emplace_back("#");
                w.remove_prefix(1);
            }
            words.emplace_back(w);
        }
        i = j;
    }
    return words;
}

std::string_view standardStreetWord(std::string_view word)
{
    const auto& m = streetWords();
    const auto it = m.find(word);
    return it == m.end() ? word : it->second;
}

bool isUnitDesignator(std::string_view word)
{
    return std::find(kUnitWords.begin(), kUnitWords.end(), word) != kUnitWords.end();
}

std::string_view canonicalGivenName(std::string_view name)
{
    const auto& m = givenNames();
    const auto it = m.find(name);
    return it == m.end() ? name : it->second;
}

NormalisedName normaliseName(std::string_view last, std::string_view first, std::string_view org)
{
    NormalisedName n;
    std::vector<std::string> lastWords = splitTokens(foldText(last));
    while (lastWords.size() > 1 &&
           contains({"JR", "SR", "II", "III", "IV", "ESQ", "MD", "PHD", "DDS", "DVM", "CPA"}, lastWords.back())) {
        if (contains({"JR", "SR", "II", "III", "IV"}, lastWords.back()))
            n.generation = lastWords.back();
        lastWords.pop_back();
    }
    n.last = joined(lastWords);
    std::vector<std::string> firstWords = splitTokens(foldText(first));
    std::size_t i = 0;
    while (i < firstWords.size() && contains({"MR", "MRS", "MS", "MISS", "DR", "REV", "PROF", "SIR"}, firstWords[i]))
        ++i;
    if (i < firstWords.size())
        n.given = firstWords[i];
    if (n.generation.empty() && firstWords.size() > i + 1 && contains({"JR", "SR", "II", "III", "IV"}, firstWords.back()))
        n.generation = firstWords.back();
    if (n.last.empty() && n.given.empty())
        n.last = joined(splitTokens(foldText(org)));
    n.canonicalGiven = std::string(canonicalGivenName(n.given));
    return n;
}

NormalisedStreet normaliseStreet(std::string_view street, std::string_view street2)
{
    NormalisedStreet s;
    std::vector<std::string> words = splitTokens(foldText(street));
    for (auto& w : splitTokens(foldText(street2)))
        words.push_back(std::move(w));
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < words.size(); ++i) {
        std::string_view w = standardStreetWord(words[i]);
        // P O BOX, PO BOX, POST OFFICE BOX, POB 12
        const bool po = (w == "P" && i + 2 < words.size() && words[i + 1] == "O" && words[i + 2] == "BOX");
        if (po || w == "POB" || (w == "PO" && i + 1 < words.size() && words[i + 1] == "BOX") ||
            (w == "POST" && i + 2 < words.size() && words[i + 1] == "OFFICE" && words[i + 2] == "BOX") ||
            (w == "BOX" && rest.empty() && s.number.empty())) {
            i += po || w == "POST" ? 2 : (w == "PO" ? 1 : 0);
            if (i + 1 < words.size())
                s.number = words[++i];
            rest.assign({"PO", "BOX"});
            continue;
        }
        if (isUnitDesignator(w)) {
            if (i + 1 < words.size() && s.unit.empty())
                s.unit = words[++i];
            continue;
        }
        if (s.number.empty() && rest.empty() && !w.empty() && w.front() >= '0' && w.front() <= '9' &&
            !isOrdinalNumber(w)) {
            s.number = std::string(w);
            continue;
        }
        rest.emplace_back(w);
    }
    s.street = joined(rest, 0, " ");
    return s;
}

std::string standardStreetLine(std::string_view street)
{
    std::string out;
    for (const std::string& w : splitTokens(foldText(street))) {
        if (!out.empty())
            out += ' ';
        out += standardStreetWord(w);
    }
    return out;
}

} // namespace postavo
