#include "widgets/FixedFont.h"

#include <QFontDatabase>

namespace veskar {

QFont FixedFont(int points)
{
    static const QString kPreferred = QStringLiteral("Courier New");
    QFont font = QFontDatabase::hasFamily(kPreferred) ? QFont(kPreferred)
                                                      : QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(points);
    font.setWeight(QFont::Normal);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

} // namespace veskar
