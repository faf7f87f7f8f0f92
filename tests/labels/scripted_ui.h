#pragma once
// A user who answers every question of the design objects and of the label designer from a
// script, and remembers what was asked and told: shared by the label tests with and without
// windows.
#include "labeldesign.h"
#include "objectdialogs.h"
#include "textdialogs.h"

#include <QStringList>
#include <functional>

namespace postavo::labels::test {

struct ScriptedDialogs : design::DesignDialogs, design::ObjectDialogs {
    QStringList asked;
    QString text = QStringLiteral("Hello");
    QString field = QStringLiteral("Last Name");
    QStringList lines = {QStringLiteral("first line"), QStringLiteral("second line")};
    QString symbol = QStringLiteral("J");
    design::LayoutFont font = design::LayoutFont::fromPoints(QStringLiteral("Times New Roman"), 14, design::fsBold);
    bool fontOk = true;

    ScriptedDialogs()
    {
        design::setDialogs(this);
        design::setObjectDialogs(this);
    }
    ~ScriptedDialogs() override
    {
        design::setDialogs(nullptr);
        design::setObjectDialogs(nullptr);
    }
    bool editText(QString* t) override
    {
        asked << QStringLiteral("Text");
        *t = text;
        return true;
    }
    bool selectField(const QStringList& labels, QString* chosen) override
    {
        asked << QStringLiteral("Select Field");
        if (!labels.contains(field))
            return false;
        *chosen = field;
        return true;
    }
    bool symbolSelector(design::LayoutFont*, QString* character) override
    {
        asked << QStringLiteral("Symbol Selector");
        *character = symbol;
        return true;
    }
    bool chooseFont(design::LayoutFont* f) override
    {
        asked << QStringLiteral("Font");
        if (fontOk)
            *f = font;
        return fontOk;
    }
    bool multiLineText(QStringList* l, const design::LayoutFont&) override
    {
        asked << QStringLiteral("Multi-line Text Editor");
        *l = lines;
        return true;
    }
};

struct ScriptedDesignerUi : LabelDesignerUi {
    QStringList messages;
    LayoutMethod method = LayoutMethod::Cancel;
    std::function<bool(LabelSheetDefinition*)> onTemplate = [](LabelSheetDefinition*) { return false; };
    std::function<bool(LabelSheetDefinition*)> onManual = [](LabelSheetDefinition*) { return false; };
    int templateAsks = 0, manualAsks = 0;

    void showInformation(const QString& text) override { messages << text; }
    LayoutMethod chooseLayoutMethod() override { return method; }
    bool selectTemplate(LabelSheetDefinition* d) override
    {
        ++templateAsks;
        return onTemplate(d);
    }
    bool editUserLayout(LabelSheetDefinition* d) override
    {
        ++manualAsks;
        return onManual(d);
    }
};

} // namespace postavo::labels::test
