// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the icon theme files of both programs from the window's own icon drawing:
// a scalable SVG and PNG files at the sizes desktops ask for, and the Windows
// programs' icon files (src/app/windows/NAME.ico, beside DIR's parent folder).
//   draw-icons [DIR]   (default src/ui/resources/icons)
// Run it again after changing the drawing; the install rules take the files from there.
#include "ui/PanelArt.h"

#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>

using namespace kdr;

namespace {

QImage drawIcon(int size, IconKind kind)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paintIcon(painter, QRectF(0, 0, size, size), kind);
    return image;
}

// A Windows icon file whose images are PNG, as Windows has read them since Vista.
QByteArray icoFile(IconKind kind)
{
    const int sizes[] = {16, 20, 24, 32, 40, 48, 64, 256};
    QList<QByteArray> images;
    for (int size : sizes) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        drawIcon(size, kind).save(&buffer, "PNG");
        images << png;
    }
    QByteArray file;
    QDataStream out(&file, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(images.size());
    quint32 offset = 6 + 16 * quint32(images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        const int size = sizes[i];
        out << quint8(size == 256 ? 0 : size) << quint8(size == 256 ? 0 : size) << quint8(0) << quint8(0) << quint16(1)
            << quint16(32) << quint32(images[i].size()) << offset;
        offset += quint32(images[i].size());
    }
    for (const QByteArray &png : images)
        out.writeRawData(png.constData(), int(png.size()));
    return file;
}

} // namespace

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
            ok &= drawIcon(size, program.kind).save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
        }
        const QString windows = root + QStringLiteral("/../../../app/windows");
        ok &= QDir().mkpath(windows);
        QFile ico(windows + QLatin1Char('/') + name + QStringLiteral(".ico"));
        ok &= ico.open(QIODevice::WriteOnly) && ico.write(icoFile(program.kind)) > 0;
    }
    QTextStream(stderr) << (ok ? "written to " : "could not write all of ") << root << "\n";
    return ok ? 0 : 1;
}
