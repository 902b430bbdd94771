// Build-time tool: renders the application image, an SVG, to square PNGs with the
// same code that draws it in the window.
//   veltrin_render_icon IMAGE.svg SIZE OUT.png [SIZE OUT.png ...]

#include "ui/icons.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 4 || argc % 2 != 0) {
        std::fprintf(stderr, "usage: %s IMAGE.svg SIZE OUT.png [SIZE OUT.png ...]\n", argv[0]);
        return 2;
    }
    const QString image = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i + 1 < argc; i += 2) {
        bool ok = false;
        const int size = QByteArray(argv[i]).toInt(&ok);
        if (!ok || size < 1 || size > 4096) {
            std::fprintf(stderr, "%s: %s is not an icon size\n", argv[0], argv[i]);
            return 2;
        }
        const QImage rendered = veltrin::renderedSvg(image, size);
        if (rendered.isNull()) {
            std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
            return 1;
        }
        if (!rendered.save(QString::fromLocal8Bit(argv[i + 1]), "PNG")) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[i + 1]);
            return 1;
        }
    }
    return 0;
}
