#pragma once
// The program's message boxes. "\r\n" and "\r" in their texts are line breaks.

#include <QString>

#include <functional>

class QWidget;

namespace postavo {

// Caption "Information", information icon, OK.
void showInformation(const QString& text, QWidget* parent = nullptr);
// Question icon, Yes and No, Yes the default; true on Yes.
bool askYesNo(const QString& text, const QString& caption, QWidget* parent = nullptr);
// The same with No the default.
bool askYesNoDefaultNo(const QString& text, const QString& caption, QWidget* parent = nullptr);

// Opens the help window at a topic. Every "Help" button goes through here.
void showHelpTopic(int topic);
// Where showHelpTopic sends its requests: the help window registers itself here.
void setHelpHandler(std::function<void(int)> handler);
// The topic the last call asked for (0 before any); lets tests see which topic a button opens.
int lastHelpTopic();

} // namespace postavo
