// The shipped tables built from their text sources and installed into sysdata/.
#include "support_validators.h"
#include "catalogues.h"
#include "engine/recordengine.h"
#include "shippedcatalogues.h"
#include "shippedtables.h"
#include "support_tempdir.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

using namespace postavo;

namespace {

const QString kData = QStringLiteral(POSTAVO_SOURCE_DIR "/data");

TEST(ShippedTables, BuiltTablesHoldEveryRowAndPassTheValidator)
{
    test::ScratchDir d;
    QString error;
    ASSERT_TRUE(buildShippedTables(kData, d.path(), &error)) << error.toStdString();
    const auto csv = readLabelTemplateCsv(kData + "/lbltpl.csv");
    ASSERT_TRUE(csv.ok());

    QString msg;
    auto tpl = openCatalogue(Catalogue::LabelTemplate, &msg, d.path());
    ASSERT_TRUE(tpl) << msg.toStdString();
    EXPECT_EQ(tpl->recCount(), quint32(csv.rows.size()));
    tpl->setOrder("DESCRIPT");
    tpl->seek("AVERY 5160");
    ASSERT_TRUE(tpl->found());
    EXPECT_EQ(tpl->getTrimString("DESCRIPT"), "Avery 5160  Address");
    EXPECT_DOUBLE_EQ(tpl->getNumber("LBLWIDTH"), 2.625);
    EXPECT_DOUBLE_EQ(tpl->getNumber("NBRACROSS"), 3.0);

    auto csz = openCatalogue(Catalogue::States, &msg, d.path());
    ASSERT_TRUE(csz) << msg.toStdString();
    csz->setOrder("STATE");
    csz->seek("NY");
    EXPECT_TRUE(csz->found());

    for (const char* t : {"LBLTPL.DBF", "CSZ.DBF"})
        EXPECT_TABLE_VALID(d.path(t).toStdString());
}

TEST(ShippedTables, InstalledOnlyWhereMissing)
{
    test::ScratchDir built, sysdata;
    ASSERT_TRUE(buildShippedTables(kData, built.path(), nullptr));
    {
        QFile own(sysdata.path("csz.dbf"));  // the user's own copy, in other letter case
        ASSERT_TRUE(own.open(QIODevice::WriteOnly));
        own.write("mine");
    }
    QString error;
    ASSERT_TRUE(installShippedTables(sysdata.path(), built.path(), &error)) << error.toStdString();
    EXPECT_TRUE(QFile::exists(sysdata.path("LBLTPL.DBF")));
    EXPECT_TRUE(QFile::exists(sysdata.path("LBLTPL.cdx")));
    QFile own(sysdata.path("csz.dbf"));
    own.open(QIODevice::ReadOnly);
    EXPECT_EQ(own.readAll(), "mine");
    EXPECT_FALSE(QFile::exists(sysdata.path("CSZ.DBF")));
}

} // namespace
