#include "WindowFonts.h"

#include <QStringList>

namespace kdr {

namespace {

void registerSubstitutes()
{
    static const bool done = [] {
        QFont::insertSubstitutions(
            QStringLiteral("MS Sans Serif"),
            {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
        QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans")});
        return true;
    }();
    (void)done;
}

QFont makeFont(const char *family, int pixelSize, bool bold, bool underline = false)
{
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

} // namespace

QFont windowFont(FontRole role)
{
    registerSubstitutes();
    switch (role) {
    case FontRole::WindowDefault:
        return makeFont("MS Sans Serif", 11, true); // 8.25 pt
    case FontRole::SansNormal:
        return makeFont("MS Sans Serif", 11, false);
    case FontRole::Title:
        return makeFont("Arial", 19, true, true); // 14.25 pt
    case FontRole::ButtonText:
        return makeFont("Arial", 13, true); // 9.75 pt
    case FontRole::StatusText:
        return makeFont("Arial", 11, false);
    }
    return {};
}

} // namespace kdr
