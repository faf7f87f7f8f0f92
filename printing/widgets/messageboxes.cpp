#include "messageboxes.h"

#include <QMessageBox>

namespace postavo {

namespace {

QString boxText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

bool ask(const QString& text, const QString& caption, QWidget* parent, QMessageBox::StandardButton def)
{
    QMessageBox box(QMessageBox::Question, caption, boxText(text), QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(def);
    return box.exec() == QMessageBox::Yes;
}

int g_lastHelpTopic = 0;
std::function<void(int)>& helpHandler()
{
    static std::function<void(int)> handler;
    return handler;
}

} // namespace

void showInformation(const QString& text, QWidget* parent)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("Information"), boxText(text), QMessageBox::Ok, parent);
    box.exec();
}

bool askYesNo(const QString& text, const QString& caption, QWidget* parent)
{
    return ask(text, caption, parent, QMessageBox::Yes);
}

bool askYesNoDefaultNo(const QString& text, const QString& caption, QWidget* parent)
{
    return ask(text, caption, parent, QMessageBox::No);
}

void showHelpTopic(int topic)
{
    g_lastHelpTopic = topic;
    if (helpHandler())
        helpHandler()(topic);
}

void setHelpHandler(std::function<void(int)> handler) { helpHandler() = std::move(handler); }

int lastHelpTopic() { return g_lastHelpTopic; }

} // namespace postavo
