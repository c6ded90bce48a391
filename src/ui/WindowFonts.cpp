#include "WindowFonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace kdr {

namespace {

// The first of the families that is installed; the last is the fallback. Resolving
// the family once spares every font of the window Qt's slow search for a family
// that is not there.
QString installedFamily(std::initializer_list<const char *> candidates)
{
    const QStringList installed = QFontDatabase::families();
    for (const char *candidate : candidates)
        if (installed.contains(QLatin1String(candidate), Qt::CaseInsensitive))
            return QString::fromLatin1(candidate);
    return QString::fromLatin1(*(candidates.end() - 1));
}

const QString &sansFamily()
{
    static const QString family =
        installedFamily({"MS Sans Serif", "Microsoft Sans Serif", "Arial", "Liberation Sans"});
    return family;
}

const QString &arialFamily()
{
    static const QString family = installedFamily({"Arial", "Liberation Sans"});
    return family;
}

QFont makeFont(const QString &family, int pixelSize, bool bold, bool underline = false)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

} // namespace

QFont windowFont(FontRole role)
{
    switch (role) {
    case FontRole::WindowDefault:
        return makeFont(sansFamily(), 11, true); // 8.25 pt
    case FontRole::SansNormal:
        return makeFont(sansFamily(), 11, false);
    case FontRole::Title:
        return makeFont(arialFamily(), 19, true, true); // 14.25 pt
    case FontRole::ButtonText:
        return makeFont(arialFamily(), 13, true); // 9.75 pt
    case FontRole::StatusText:
        return makeFont(arialFamily(), 11, false);
    }
    return {};
}

} // namespace kdr
