// Draws the panel picture and the window icon into src/ui/resources. Run it again
// after changing a colour or a size here; the program embeds the PNG files.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

#include <algorithm>

namespace {

QColor blend(const QColor &from, const QColor &to, double t)
{
    return QColor::fromRgbF(from.redF() + (to.redF() - from.redF()) * t,
                            from.greenF() + (to.greenF() - from.greenF()) * t,
                            from.blueF() + (to.blueF() - from.blueF()) * t);
}

QImage drawPanel()
{
    constexpr int width = 575, height = 1061, margin = 4, rim = 20;
    const QColor face(96, 94, 93), light(200, 199, 197), dark(48, 47, 46);
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(Qt::white);
    for (int y = margin; y < height - margin; ++y) {
        for (int x = margin; x < width - margin; ++x) {
            const int fromTop = y - margin, fromBottom = height - margin - 1 - y;
            const int fromLeft = x - margin, fromRight = width - margin - 1 - x;
            const int nearest = std::min({fromTop, fromBottom, fromLeft, fromRight});
            QColor colour = face;
            if (nearest < rim) {
                const double t = double(nearest) / rim;
                colour = blend(nearest == fromTop ? light : dark, face, t);
            }
            image.setPixelColor(x, y, colour);
        }
    }
    return image;
}

// The same icon on the 48 × 48 canvas that desktop icon themes expect.
QImage padTo48(const QImage &icon)
{
    QImage padded(48, 48, QImage::Format_ARGB32);
    padded.fill(Qt::transparent);
    QPainter painter(&padded);
    painter.drawImage(4, 4, icon);
    return padded;
}

QImage drawIcon()
{
    QImage image(40, 40, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(20, 20);
    painter.rotate(-20);
    const QRectF body(-9, -16, 18, 32);
    QPainterPath outline;
    outline.addRect(body);
    painter.fillPath(outline, Qt::black);
    painter.fillRect(QRectF(body.left(), body.top(), body.width(), body.height() * 0.45), QColor(192, 18, 35));
    painter.setPen(QPen(Qt::white, 2));
    painter.drawPath(outline);
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("src/ui/resources");
    const bool ok = drawPanel().save(folder + "/panel.png") && drawIcon().save(folder + "/icon.png") &&
                    padTo48(drawIcon()).save(folder + "/icon48.png");
    QTextStream(stderr) << (ok ? "written to " : "could not write to ") << folder << "\n";
    return ok ? 0 : 1;
}
