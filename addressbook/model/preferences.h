#pragma once
// The preference values the address book works by (sections Adding, Editing and Misc of the
// settings file), read as one record so the windows and the editing rules share them.

#include <QString>
#include <QStringList>

#include <array>

namespace postavo {

class Settings;

struct Preferences {
    bool plugDate = false;
    bool plugCityState = false;
    bool autoDupCheck = false;
    QString defaultCountry;
    // In the order of keys::kCarryKeys: Org, Address 1, Address 2, City, State, Zip, Country.
    std::array<bool, 7> carry{};
    // In the order of keys::kSkipKeys (see skipFieldNames()).
    std::array<bool, 18> skip{};
    int aggressiveSave = 1;  // 0 none, 1 every 5 saves, 2 every save
    bool gettingStartedOff = false;

    bool carryOrg() const { return carry[0]; }
    bool carryStreet() const { return carry[1]; }
    bool carryStreet2() const { return carry[2]; }
    bool carryCity() const { return carry[3]; }
    bool carryState() const { return carry[4]; }
    bool carryZip() const { return carry[5]; }
    bool carryCountry() const { return carry[6]; }

    static Preferences load(const Settings& s);
    // Writes every key of sections Adding and Editing.
    bool saveAddingAndEditing(Settings& s) const;
};

// The record field each skip flag takes out of the typing order, in keys::kSkipKeys order.
const std::array<const char*, 18>& skipFieldNames();
// The fields skipped while adding under these preferences.
QStringList skippedFields(const Preferences& p);

} // namespace postavo
