#include "ui/look.h"

#include <QStringList>

namespace tal {

QFont windowFont(int pixelSize) {
    QFont font;
    font.setFamilies(QStringList()
                     << QStringLiteral("MS Sans Serif") << QStringLiteral("Microsoft Sans Serif")
                     << QStringLiteral("Liberation Sans") << QStringLiteral("Arial")
                     << QStringLiteral("DejaVu Sans Condensed") << QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    return font;
}

}  // namespace tal
