#pragma once
// Files hold 8-bit Windows-1252 text; Qt holds Unicode. Every conversion goes through here.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <string>
#include <string_view>

namespace postavo {

QString fromCp1252(std::string_view bytes);
inline QString fromCp1252(const QByteArray& bytes) { return fromCp1252(std::string_view(bytes.constData(), size_t(bytes.size()))); }
// Characters Windows-1252 cannot hold become '?'.
std::string toCp1252(const QString& text);
inline QByteArray toCp1252Bytes(const QString& text) { return QByteArray::fromStdString(toCp1252(text)); }

// The characters of `text` that Windows-1252 cannot hold, each once, in order of first
// appearance (a character outside the 16-bit range counts as one). Empty when all fit.
QStringList charactersOutsideCp1252(const QString& text);
// "Ł (U+0141), ż (U+017C)": the characters as a message names them.
QString describeCharacters(const QStringList& characters);

} // namespace postavo
