#pragma once
// The program's own tables in sysdata/: the catalogues of letters, reports, envelopes and
// labels (created when missing), the shipped label templates and states, and the names of
// layout files.

#include <QString>

#include <functional>
#include <memory>

namespace postavo {

namespace engine {
class Table;
}

enum class Catalogue { Letter, Report, Envelope, Label, LabelTemplate, States };

struct CatalogueFieldDef {
    const char* name;
    char type;
    int length;
    int decimals;
    const char* label;  // grid header, where the catalogue is shown in a grid
};

struct CatalogueDef {
    Catalogue which;
    const char* fileName;     // "LETTER.DBF"
    bool createdWhenMissing;
    const char* tagName;
    const char* tagKey;
    const char* openFailure;  // message when it cannot be opened (or created)
    const char* rebuildStatus;
    std::vector<CatalogueFieldDef> fields;
};

const CatalogueDef& catalogueDef(Catalogue which);
// In the order the system reindex visits them.
const std::vector<Catalogue>& systemReindexOrder();

// Opens the catalogue from sysdata/ (creating the four user catalogues when missing, and
// recreating the tag when only the index file is missing). Null with `message` set to the
// text to show the user when it cannot be had.
std::unique_ptr<engine::Table> openCatalogue(Catalogue which, QString* message,
                                             const QString& sysdataDir = {});

enum class LayoutKind { Label, Envelope, Report };
// BIN00001.L ... the first name not present in sysdata/ (any letter case); BIN00000 + the
// extension when all are taken.
QString NextLayoutFileName(LayoutKind kind, const QString& sysdataDir = {});

// Rebuilds every catalogue's index (pack, then the one tag); a catalogue that fails is passed
// over silently. `progress` gets the status text and the engine's percentage.
void rebuildSystemIndexes(const std::function<void(const QString& status, int percent)>& progress,
                          const QString& sysdataDir = {});

} // namespace postavo
