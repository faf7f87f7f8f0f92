#include "envelopefixtures.h"

#include "addressdata.h"
#include "fimbarcode.h"
#include "labelobjectfiler.h"
#include "multilineobjects.h"
#include "postnetbarcode.h"
#include "shapeobjects.h"
#include "testsupport.h"
#include "textobjects.h"

#include <QDir>

namespace postavo::testing {

using namespace postavo::design;

EnvelopeFolder makeEnvelopeFolder(const QString& name, const std::vector<Record>& records)
{
    EnvelopeFolder f;
    f.folder = scratchDir(name);
    f.sysdata = f.folder + QStringLiteral("/sysdata");
    f.data = f.folder + QStringLiteral("/DATA/add0001.DBF");
    QDir().mkpath(f.sysdata);
    QDir().mkpath(f.folder + QStringLiteral("/DATA"));
    if (!makeAddressRecords(f.data, records))
        return {};
    return f;
}

envelopes::EnvelopeLayout addEnvelopeLayout(const EnvelopeFolder& f, const QString& description, int code,
                                            const std::function<void(ObjectList&)>& build)
{
    envelopes::EnvelopeCatalogue catalogue(f.sysdata);
    QString message;
    if (!catalogue.open(&message))
        return {};
    envelopes::EnvelopeLayout l;
    l.description = description;
    l.setCode(code);
    l.fileName = catalogue.newLayoutFileName();
    ObjectList list;
    if (build)
        build(list);
    TGLabelObjectFiler filer;
    if (!filer.writeSurface(list, f.sysdata + QLatin1Char('/') + l.fileName))
        return {};
    if (!catalogue.store(&l))
        return {};
    return l;
}

std::vector<Record> samplePeople()
{
    return {
        {{"FNAME", "Ada"}, {"LNAME", "Lovelace"}, {"STREET", "12 Analytical Way"}, {"CITY", "Springfield"},
         {"STATE", "IL"}, {"ZIP", "62701-1234"}},
        {{"FNAME", "Charles"}, {"LNAME", "Babbage"}, {"ORG", "Difference Engines"}, {"STREET", "1 Engine Row Apt 4"},
         {"CITY", "Boston"}, {"STATE", "MA"}, {"ZIP", "02108"}},
        {{"FNAME", "Nobody"}, {"LNAME", "Nowhere"}},
        {{"FNAME", "Grace"}, {"LNAME", "Hopper"}, {"STREET", "7 Cobol Court"}, {"CITY", "Arlington"},
         {"STATE", "VA"}, {"ZIP", "22201-4321"}},
    };
}

void addMarkers(ObjectList& list)
{
    const double ppi = screenPpi();
    auto* box = new TGLabelShapes;
    box->setObjectName(QStringLiteral("Special1"));
    box->Brush.color = clBlack;
    box->setBounds(int(kBoxLeft * ppi), int(kBoxTop * ppi), int(kBoxWidth * ppi), int(kBoxHeight * ppi));
    list.insertObject(box);
    auto* word = new TGPLabel;
    word->setObjectName(QStringLiteral("Special2"));
    word->setCaption(QStringLiteral("MARKER"));
    word->setFont(LayoutFont::fromPoints(QStringLiteral("Arial"), 12));
    word->setBounds(int(kWordLeft * ppi), int(kWordTop * ppi), 120, 24);
    list.insertObject(word);
}

void addBusinessEnvelope(ObjectList& list)
{
    const double ppi = screenPpi();
    auto* from = new TGMultiLineLabel;
    from->setObjectName(QStringLiteral("Special1"));
    from->Items = {QStringLiteral("Postavo Mailing Co."), QStringLiteral("400 Return Lane"),
                   QStringLiteral("Portland OR 97201")};
    from->setBounds(int(0.25 * ppi), int(0.25 * ppi), 240, 60);
    list.insertObject(from);
    auto* to = new TGDMultiLineAddressLabel;
    to->setObjectName(QStringLiteral("Special2"));
    to->setBounds(int(4.0 * ppi), int(1.9 * ppi), 360, 90);
    list.insertObject(to);
    auto* bars = new TGPostNetBarCode;
    bars->setObjectName(QStringLiteral("Special3"));
    bars->ZipCodeField = QStringLiteral("ZIP");
    bars->AddressField = QStringLiteral("STREET");
    bars->setBounds(int(4.0 * ppi), int(3.2 * ppi), 270, 16);
    list.insertObject(bars);
    auto* mark = new TGFIMBarCode;
    mark->setObjectName(QStringLiteral("Special4"));
    mark->FIMType = fimTypeA;
    mark->setBounds(int(6.6 * ppi), 0, 60, 54);
    list.insertObject(mark);
}

} // namespace postavo::testing
