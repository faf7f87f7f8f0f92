#include "preferences.h"

#include "settings.h"

namespace postavo {

const std::array<const char*, 18>& skipFieldNames()
{
    static const std::array<const char*, 18> names = {
        "LNAME", "FNAME", "MIDDLE", "PREFIX", "TITLE", "ORG", "STREET2", "PHONE", "PHONE2",
        "FAX", "EMAIL", "STATE", "ZIP", "COUNTRY", "CODES", "USER1", "USER2", "DATE"};
    return names;
}

QStringList skippedFields(const Preferences& p)
{
    QStringList out;
    for (std::size_t i = 0; i < p.skip.size(); ++i)
        if (p.skip[i])
            out << QString::fromLatin1(skipFieldNames()[i]);
    return out;
}

Preferences Preferences::load(const Settings& s)
{
    Preferences p;
    p.plugDate = keys::PlugDate.read(s);
    p.plugCityState = keys::PlugCityState.read(s);
    p.autoDupCheck = keys::AutoDupCheck.read(s);
    p.defaultCountry = keys::DefaultCountry.read(s);
    for (std::size_t i = 0; i < p.carry.size(); ++i)
        p.carry[i] = keys::kCarryKeys[i]->read(s);
    for (std::size_t i = 0; i < p.skip.size(); ++i)
        p.skip[i] = keys::kSkipKeys[i]->read(s);
    p.aggressiveSave = keys::AggressiveSave.read(s);
    // A level the program does not know would never save; take the usual one.
    if (p.aggressiveSave < 0 || p.aggressiveSave > 2)
        p.aggressiveSave = keys::AggressiveSave.def;
    p.gettingStartedOff = keys::GettingStarted.read(s);
    return p;
}

bool Preferences::saveAddingAndEditing(Settings& s) const
{
    bool ok = keys::PlugDate.write(s, plugDate) && keys::PlugCityState.write(s, plugCityState)
              && keys::AutoDupCheck.write(s, autoDupCheck) && keys::DefaultCountry.write(s, defaultCountry);
    for (std::size_t i = 0; ok && i < carry.size(); ++i)
        ok = keys::kCarryKeys[i]->write(s, carry[i]);
    for (std::size_t i = 0; ok && i < skip.size(); ++i)
        ok = keys::kSkipKeys[i]->write(s, skip[i]);
    return ok && keys::AggressiveSave.write(s, aggressiveSave);
}

} // namespace postavo
