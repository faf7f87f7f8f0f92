#include "letterdesign.h"

namespace postavo::letters {

QString defaultFontCaption(const DefaultFont& font)
{
    QString caption = QStringLiteral("&Default Font: ") + font.name + QStringLiteral(", ") + QString::number(font.size)
                    + QStringLiteral(" pt ");
    if (font.bold)
        caption += QStringLiteral(", bold");
    if (font.italic)
        caption += QStringLiteral(", italic");
    return caption;
}

QString wordWrapCaption(bool on) { return on ? QStringLiteral("&Word Wrap is ON") : QStringLiteral("&Word Wrap is OFF"); }

} // namespace postavo::letters
