// Writes the application icon as hicolor PNGs for installing:
// OUT/<n>x<n>/apps/NAME.png for each size.

#include "widgets/Icons.h"

#include <QDir>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: veskar-render-icons OUT NAME\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(out).arg(size);
        if (!QDir().mkpath(folder) ||
            !veskar::ApplicationIconImage(size).save(QStringLiteral("%1/%2.png").arg(folder, name))) {
            std::fprintf(stderr, "veskar-render-icons: cannot write %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
