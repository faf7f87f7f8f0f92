#pragma once
// Files hold 8-bit Windows-1252 text; Qt holds Unicode. Every conversion goes through here.

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>

namespace postavo {

QString fromCp1252(std::string_view bytes);
inline QString fromCp1252(const QByteArray& bytes) { return fromCp1252(std::string_view(bytes.constData(), size_t(bytes.size()))); }
// Characters Windows-1252 cannot hold become '?'.
std::string toCp1252(const QString& text);
inline QByteArray toCp1252Bytes(const QString& text) { return QByteArray::fromStdString(toCp1252(text)); }

} // namespace postavo
