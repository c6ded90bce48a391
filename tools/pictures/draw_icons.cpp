// Draws the icon theme files of both programs from the window's own icon drawing:
// a scalable SVG and PNG files at the sizes desktops ask for.
//   draw-icons [DIR]   (default src/ui/resources/icons)
// Run it again after changing the drawing; the install rules take the files from there.
#include "ui/PanelArt.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>

using namespace kdr;

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QString root = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("src/ui/resources/icons");
    const struct {
        const char *name;
        IconKind kind;
    } programs[] = {{"kdr-switch-panel", IconKind::Tool}, {"kdr-switch-panel-simulated", IconKind::Simulated}};
    bool ok = true;
    for (const auto &program : programs) {
        const QString name = QString::fromLatin1(program.name);
        const QString scalable = root + QStringLiteral("/hicolor/scalable/apps");
        ok &= QDir().mkpath(scalable);
        QFile svg(scalable + QLatin1Char('/') + name + QStringLiteral(".svg"));
        ok &= svg.open(QIODevice::WriteOnly) && svg.write(iconSvg(program.kind)) > 0;
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            const QString folder = root + QStringLiteral("/hicolor/%1x%1/apps").arg(size);
            ok &= QDir().mkpath(folder);
            QImage image(size, size, QImage::Format_ARGB32);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            paintIcon(painter, QRectF(0, 0, size, size), program.kind);
            painter.end();
            ok &= image.save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
        }
    }
    QTextStream(stderr) << (ok ? "written to " : "could not write all of ") << root << "\n";
    return ok ? 0 : 1;
}
