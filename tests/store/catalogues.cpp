// The program's own tables in sysdata/.
#include "catalogues.h"
#include "engine/recordengine.h"
#include "support_tempdir.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace postavo;

namespace {

void touch(const QString& p) { QFile f(p); f.open(QIODevice::WriteOnly); }

TEST(Catalogues, UserCataloguesAreCreatedWhenMissingWithTheirTag)
{
    test::ScratchDir d;
    for (Catalogue c : {Catalogue::Letter, Catalogue::Report, Catalogue::Envelope, Catalogue::Label}) {
        QString msg;
        auto t = openCatalogue(c, &msg, d.path());
        ASSERT_TRUE(t) << msg.toStdString();
        EXPECT_EQ(t->orderNumber("DESCRIPT"), 1);
        EXPECT_EQ(t->fields().size(), catalogueDef(c).fields.size());
    }
    auto label = openCatalogue(Catalogue::Label, nullptr, d.path());
    EXPECT_EQ(label->fields().size(), 22u);
    EXPECT_EQ(label->fields()[2].name, "LBLHEIGHT");
    EXPECT_EQ(label->fields()[2].decimals, 3);
}

TEST(Catalogues, ShippedCataloguesAreNeverCreated)
{
    test::ScratchDir d;
    QString msg;
    EXPECT_FALSE(openCatalogue(Catalogue::LabelTemplate, &msg, d.path()));
    EXPECT_EQ(msg, "Unable to Open LBLTPL.DBF");
    EXPECT_FALSE(openCatalogue(Catalogue::States, &msg, d.path()));
    EXPECT_EQ(msg, "Unable to Open or Create CSZ.DBF");
    EXPECT_FALSE(QFile::exists(d.path("LBLTPL.DBF")));
}

TEST(Catalogues, DeletedIndexIsRecreatedAndRecordsKept)
{
    test::ScratchDir d;
    {
        auto t = openCatalogue(Catalogue::Letter, nullptr, d.path());
        ASSERT_TRUE(t);
        for (const char* name : {"zeta", "Alpha", "mid"}) {
            t->appendBlank();
            t->replace("DESCRIPT", name);
            t->commit();
        }
        t->close();
    }
    ASSERT_TRUE(QFile::remove(d.path("LETTER.cdx")));
    auto t = openCatalogue(Catalogue::Letter, nullptr, d.path());
    ASSERT_TRUE(t);
    EXPECT_EQ(t->recCount(), 3u);
    t->setOrder("DESCRIPT");
    t->goTop();
    EXPECT_EQ(t->getTrimString("DESCRIPT"), "Alpha");
}

TEST(Catalogues, DamagedCatalogueIsNotOverwritten)
{
    test::ScratchDir d;
    {
        QFile f(d.path("REPORT.DBF"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a table at all");
    }
    QString msg;
    EXPECT_FALSE(openCatalogue(Catalogue::Report, &msg, d.path()));
    EXPECT_EQ(msg, "Unable to Open or Create REPORT.DBF");
    QFile f(d.path("REPORT.DBF"));
    f.open(QIODevice::ReadOnly);
    EXPECT_EQ(f.readAll(), "not a table at all");
}

TEST(Catalogues, LayoutNamesFillGaps)
{
    test::ScratchDir d;
    EXPECT_EQ(NextLayoutFileName(LayoutKind::Label, d.path()), "BIN00001.L");
    touch(d.path("BIN00001.L"));
    touch(d.path("bin00003.l"));
    touch(d.path("BIN00002.E"));
    EXPECT_EQ(NextLayoutFileName(LayoutKind::Label, d.path()), "BIN00002.L");
    EXPECT_EQ(NextLayoutFileName(LayoutKind::Envelope, d.path()), "BIN00001.E");
    EXPECT_EQ(NextLayoutFileName(LayoutKind::Report, d.path()), "BIN00001.R");
}

TEST(Catalogues, SystemReindexGoesOnPastMissingCatalogues)
{
    test::ScratchDir d;
    for (Catalogue c : {Catalogue::Letter, Catalogue::Report, Catalogue::Envelope, Catalogue::Label}) {
        auto t = openCatalogue(c, nullptr, d.path());
        t->appendBlank();
        t->replace("DESCRIPT", "one");
        t->commit();
        t->appendBlank();
        t->replace("DESCRIPT", "two");
        t->deleteRecord();
        t->commit();
        t->close();
    }
    QStringList statuses;
    rebuildSystemIndexes([&](const QString& s, int) {
        if (statuses.isEmpty() || statuses.back() != s)
            statuses << s;
    }, d.path());
    EXPECT_EQ(statuses, (QStringList{"Rebuilding Letters File indexes", "Rebuilding Label File indexes",
                                     "Rebuilding State/Province File indexes", "Rebuilding Label Setup File indexes",
                                     "Rebuilding Envelope File indexes", "Rebuilding Report File indexes"}));
    for (Catalogue c : {Catalogue::Letter, Catalogue::Report, Catalogue::Envelope, Catalogue::Label}) {
        auto t = openCatalogue(c, nullptr, d.path());
        EXPECT_EQ(t->recCount(), 1u);  // packed
        EXPECT_EQ(t->orderNumber("DESCRIPT"), 1);
    }
}

} // namespace
