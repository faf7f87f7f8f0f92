#pragma once
// The settings file postav.ini: a sectioned key=value initialisation file in the program
// folder. Every call opens the file, does its work and lets go, so a value written by one
// window is what the next read anywhere sees. Section and key names compare without regard
// to letter case; a write keeps everything else in the file as it was.

#include <QRect>
#include <QString>
#include <QStringList>

#include <vector>

namespace postavo {

struct IniLine;

class Settings {
public:
    static constexpr int kMaxStringLength = 1023;

    // The program's own postav.ini.
    Settings();
    explicit Settings(QString filePath);

    const QString& filePath() const { return path_; }

    QString readString(const QString& section, const QString& key, const QString& def = {}) const;
    // "0x1F"-style values (longer than two characters) read as hexadecimal; anything that
    // does not parse as a whole gives `def`.
    int readInteger(const QString& section, const QString& key, int def) const;
    // Stored as "1"/"0"; any integer other than 0 reads as true.
    bool readBool(const QString& section, const QString& key, bool def) const;
    bool hasKey(const QString& section, const QString& key) const;
    bool hasSection(const QString& section) const;

    // False when the file could not be written; the message says why and the old file is
    // left as it was (the new text goes to a temporary file that replaces it only when whole).
    bool writeString(const QString& section, const QString& key, const QString& value);
    bool writeInteger(const QString& section, const QString& key, int value);
    bool writeBool(const QString& section, const QString& key, bool value);
    bool removeKey(const QString& section, const QString& key);

    QString lastError() const { return error_; }

private:
    bool writeLines(const std::vector<IniLine>& lines);

    QString path_;
    QString error_;
};

// ---- Named keys: each section and key of the settings file, spelled once. ----

struct BoolSetting {
    const char* section;
    const char* key;
    bool def;
    bool read(const Settings& s) const { return s.readBool(section, key, def); }
    bool write(Settings& s, bool v) const { return s.writeBool(section, key, v); }
};

struct IntSetting {
    const char* section;
    const char* key;
    int def;
    int read(const Settings& s) const { return s.readInteger(section, key, def); }
    bool write(Settings& s, int v) const { return s.writeInteger(section, key, v); }
};

struct StringSetting {
    const char* section;
    const char* key;
    const char* def;
    QString read(const Settings& s) const { return s.readString(section, key, QString::fromLatin1(def)); }
    bool write(Settings& s, const QString& v) const { return s.writeString(section, key, v); }
};

namespace keys {
// Adding
inline constexpr BoolSetting PlugDate{"Adding", "PlugDate", false};
inline constexpr BoolSetting PlugCityState{"Adding", "PlugCityState", false};
inline constexpr BoolSetting AutoDupCheck{"Adding", "AutoDupCheck", false};
inline constexpr StringSetting DefaultCountry{"Adding", "DefaultCountry", ""};
inline constexpr BoolSetting CarryOrg{"Adding", "CarryOrg", false};
inline constexpr BoolSetting CarrySA1{"Adding", "CarrySA1", false};
inline constexpr BoolSetting CarrySA2{"Adding", "CarrySA2", false};
inline constexpr BoolSetting CarryCity{"Adding", "CarryCity", false};
inline constexpr BoolSetting CarryState{"Adding", "CarryState", false};
inline constexpr BoolSetting CarryZip{"Adding", "CarryZip", false};
inline constexpr BoolSetting CarryCountry{"Adding", "CarryCountry", false};
inline constexpr BoolSetting SkipOrganization{"Adding", "SkipOrganization", false};
inline constexpr BoolSetting SkipPhone1{"Adding", "SkipPhone1", false};
inline constexpr BoolSetting SkipEmail{"Adding", "SkipEmail", false};
inline constexpr BoolSetting SkipState{"Adding", "SkipState", false};
inline constexpr BoolSetting SkipZip{"Adding", "SkipZip", false};
inline constexpr BoolSetting SkipCountry{"Adding", "SkipCountry", false};
inline constexpr BoolSetting SkipAddress2{"Adding", "SkipAddress2", false};
inline constexpr BoolSetting SkipLastName{"Adding", "SkipLastName", false};
inline constexpr BoolSetting SkipMiddleInitial{"Adding", "SkipMiddleInitial", false};
inline constexpr BoolSetting SkipFirstName{"Adding", "SkipfirstName", false};
inline constexpr BoolSetting SkipTitle{"Adding", "Skiptitle", false};
inline constexpr BoolSetting SkipPhone2{"Adding", "SkipPhone2", false};
inline constexpr BoolSetting SkipFax{"Adding", "SkipFax", false};
inline constexpr BoolSetting SkipCodes{"Adding", "SkipCodes", false};
inline constexpr BoolSetting SkipPrefix{"Adding", "SkipPrefix", false};
inline constexpr BoolSetting SkipComments1{"Adding", "SkipComments1", false};
inline constexpr BoolSetting SkipDate{"Adding", "SkipDate", false};
inline constexpr BoolSetting SkipComments2{"Adding", "Skipcomments2", false};
// Editing
inline constexpr IntSetting AggressiveSave{"Editing", "AggressiveSave", 1};
// Misc
inline constexpr BoolSetting GettingStarted{"Misc", "GettingStarted", false};
inline constexpr const char* GlobalTagIdSection = "Misc";
inline constexpr const char* GlobalTagIdKey = "GlobalTagId";  // default: a fresh tag id
// Dialing
inline constexpr StringSetting DialPrefix{"Dialing", "Prefix", ""};
inline constexpr StringSetting DialInit{"Dialing", "Init", ""};
inline constexpr IntSetting DialPort{"Dialing", "Port", 0};
inline constexpr IntSetting DialMethod{"Dialing", "Method", 0};
inline constexpr BoolSetting DialUseTAPI{"Dialing", "UseTAPI", false};
// Envelope Feed
inline constexpr IntSetting FeedOrientation{"Envelope Feed", "Orientation", 1};
inline constexpr IntSetting FeedFacing{"Envelope Feed", "Facing", 1};
inline constexpr IntSetting FeedPosition{"Envelope Feed", "Position", 2};
inline constexpr BoolSetting FeedClockWiseRotation{"Envelope Feed", "ClockWiseRotation", false};
// Envelope Printer (Orientation's default is the window's current value: pass it in)
inline constexpr StringSetting EnvelopePrinter{"Envelope Printer", "Printer", ""};
inline constexpr StringSetting EnvelopeBin{"Envelope Printer", "Bin", ""};
inline constexpr StringSetting EnvelopePaper{"Envelope Printer", "Paper", ""};
inline constexpr const char* EnvelopePrinterSection = "Envelope Printer";
inline constexpr const char* EnvelopeOrientationKey = "Orientation";

// NewFileFieldLengths: "Field" + field name; defaults come with the address file.
inline constexpr const char* NewFileFieldLengthsSection = "NewFileFieldLengths";
QString newFileFieldLengthKey(const QString& fieldName);

// Each carry-over and skip key, in the order the Preferences window lists them.
extern const BoolSetting* const kCarryKeys[7];
extern const BoolSetting* const kSkipKeys[18];
} // namespace keys

// The default font of new objects or text, kept per designer.
enum class FontSection { Label, Envelope, Letter };
struct DefaultFont {
    QString name = QStringLiteral("Arial");
    int size = 10;
    bool bold = false;
    bool italic = false;
};
DefaultFont readDefaultFont(const Settings& s, FontSection which);
bool writeDefaultFont(Settings& s, FontSection which, const DefaultFont& font);

// ---- Remembered window placements ----

// A window's normal (restored) rectangle in screen pixels, Windows style: right and bottom
// are one past the last pixel.
struct Placement {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool maximized = false;
    QRect rect() const { return QRect(left, top, right - left, bottom - top); }
    static Placement fromRect(const QRect& r, bool maximized);
    bool operator==(const Placement&) const = default;
};

// Class name + "_Placement", with the logical pixels per inch appended above 96.
QString placementSection(const QString& windowClass, int logicalDpi);

// Where a window goes when it is first activated. `current` is its present placement,
// `screen` the size of the screen it is on, and `centreOver` the rectangle to centre on when
// nothing is saved (the screen for the main window, the main window for the others).
// Saves the result at once, so the section exists from the first activation on.
Placement loadPlacement(Settings& s, const QString& section, const Placement& current,
                        const QSize& screen, const QRect& centreOver);
bool savePlacement(Settings& s, const QString& section, const Placement& p);

// ---- Recently used address files ----
QStringList getMRUList(const Settings& s);
QString getMRUFile(const Settings& s);
// Puts `path` first, keeps up to three older entries that differ from it, writes them back
// and returns the new list.
QStringList updateMRUList(Settings& s, const QString& path);

} // namespace postavo
