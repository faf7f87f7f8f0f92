// The text objects' menu commands through answered dialogs: text, counter settings, background
// colour, 3D effects, symbol and font, and the surface's font for the selection.
#include "testsupport.h"

#include "composedtextobjects.h"
#include "datasurfacewidget.h"
#include "textdialogs.h"

#include <gtest/gtest.h>

using namespace postavo::design;

namespace {

struct AnsweringDialogs : DesignDialogs {
    bool ok = true;
    QString text = QStringLiteral("A longer text than before");
    CounterSettings counter{7, 2, QStringLiteral("#"), QStringLiteral("!"), 3};
    TColor colour = 255;
    LayoutFont font = LayoutFont::fromPoints(QStringLiteral("Times New Roman"), 12, fsItalic);
    QStringList asked;
    bool chooseFont(LayoutFont* f) override { asked << "font"; if (ok) *f = font; return ok; }
    bool chooseColour(TColor* c) override { asked << "colour"; if (ok) *c = colour; return ok; }
    bool editText(QString* t) override { asked << "text:" + *t; if (ok) *t = text; return ok; }
    bool text3DEffects(TGBaseLabel& l) override
    {
        asked << "3d";
        if (ok)
            l.setShadow(sdDown, 4, 0);
        return ok;
    }
    bool counterSettings(CounterSettings* s) override { asked << "counter"; if (ok) *s = counter; return ok; }
    bool symbolSelector(LayoutFont* f, QString* c) override
    {
        asked << "symbol";
        if (ok) {
            *f = LayoutFont::fromPoints(QStringLiteral("WingDings"), 36);
            *c = QStringLiteral("J");
        }
        return ok;
    }
};

class TextCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        setDialogs(&answers);
        surface = new TGDataPanel(&window);
        surface->resize(400, 200);
        surface->setClipboardPath(postavo::testing::scratchDir(QStringLiteral("textcmd")) + QStringLiteral("/c.tmp"));
        surface->LabelChangedEvent = [this](TGBasePanel*) { ++changes; };
    }
    void TearDown() override { setDialogs(nullptr); }
    void run(TGGraphicControl* o, const QString& caption)
    {
        MenuEntry* e = o->findMenuEntry(caption);
        ASSERT_NE(e, nullptr) << caption.toStdString();
        e->run();
    }
    AnsweringDialogs answers;
    QWidget window;
    TGDataPanel* surface = nullptr;
    int changes = 0;
};

} // namespace

TEST_F(TextCommands, TextGrowsTheObjectAndCancelChangesNothing)
{
    auto* t = new TGPLabel;
    surface->placeObject(t, QRect(10, 10, 40, 20));
    const int before = changes;
    run(t, QStringLiteral("Text"));
    EXPECT_EQ(answers.asked.last(), QStringLiteral("text:Text"));
    EXPECT_EQ(t->Caption, answers.text);
    EXPECT_GT(t->width(), 40);
    EXPECT_GT(changes, before);
    answers.ok = false;
    run(t, QStringLiteral("Text"));
    EXPECT_EQ(t->Caption, answers.text);
}

TEST_F(TextCommands, CounterSettingsResetAndFit)
{
    auto* c = new TGCounterLabel;
    surface->placeObject(c, QRect(10, 10, 200, 20));
    run(c, QStringLiteral("Counter Settings"));
    EXPECT_EQ(c->Startingnumber, 7);
    EXPECT_EQ(c->RepeatEach, 2);
    EXPECT_EQ(c->displayText(), QStringLiteral("#007!"));
    const TextMetrics m(screenFont(c->Font));
    EXPECT_EQ(c->width(), std::max(10, c->textRect().left + m.width(QStringLiteral("#007!     "))));
}

TEST_F(TextCommands, BackgroundColourEffectsRotationAndFont)
{
    auto* t = new TGPLabel;
    surface->placeObject(t, QRect(10, 10, 142, 33));
    run(t, QStringLiteral("Background Color"));
    EXPECT_EQ(t->BackColor, 255);
    EXPECT_FALSE(t->Transparent);
    run(t, QStringLiteral("3D Effects"));
    EXPECT_EQ(t->DirectionShadow, sdDown);
    EXPECT_EQ(t->DepthShadow, 4);
    run(t, QStringLiteral("270 Degrees"));
    EXPECT_EQ(t->Angle, 270);
    run(t, QStringLiteral("Font"));
    EXPECT_EQ(t->Font.name, QStringLiteral("Times New Roman"));
    EXPECT_EQ(t->Font.height, -16);
}

TEST_F(TextCommands, SymbolsKeepTheirFontWhenTheSelectionGetsOne)
{
    auto* s = new TGSymbolLabel;
    surface->placeObject(s, QRect(10, 10, 30, 30));
    auto* t = new TGPLabel;
    surface->placeObject(t, QRect(100, 10, 142, 33));
    run(s, QStringLiteral("Symbol Selector"));
    EXPECT_EQ(s->Caption, QStringLiteral("J"));
    EXPECT_EQ(s->Font.points(), 36);
    surface->selectAll();
    surface->applyFontToSelection(LayoutFont::fromPoints(QStringLiteral("Arial"), 20));
    EXPECT_EQ(s->Font.points(), 36);
    EXPECT_EQ(t->Font.points(), 20);
}
