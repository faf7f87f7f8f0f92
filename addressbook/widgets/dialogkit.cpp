#include "dialogkit.h"

#include "messageboxes.h"

#include <QDialog>
#include <QPushButton>

namespace postavo {

QPushButton* makeHelpButton(QWidget* parent, int topic)
{
    auto* b = new QPushButton(QStringLiteral("Help"), parent);
    b->setObjectName(QStringLiteral("HelpButton"));
    b->setAutoDefault(false);
    QObject::connect(b, &QPushButton::clicked, b, [topic] { showHelpTopic(topic); });
    b->setWhatsThis(QStringLiteral("Opens the help for this window."));
    return b;
}

void enableWhatsThis(QDialog* dialog)
{
    dialog->setWindowFlag(Qt::WindowContextHelpButtonHint, true);
}

void explain(QWidget* w, const QString& text)
{
    w->setWhatsThis(text);
    if (w->toolTip().isEmpty())
        w->setToolTip(text);
}

} // namespace postavo
