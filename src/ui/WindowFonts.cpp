// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowFonts.h"

#include <QFontDatabase>
#include <QStringList>

#include <future>

#ifdef KDR_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

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

// Every Windows has the window's own faces. Elsewhere, and under Wine, which takes
// the system's fonts, the face metric-compatible with Arial stands in.
constexpr const char *kFallbackFamily = "Liberation Sans";

const QString &sansFamily()
{
    static const QString family = installedFamily({"MS Sans Serif", "Microsoft Sans Serif", "Arial", kFallbackFamily});
    return family;
}

const QString &arialFamily()
{
    static const QString family = installedFamily({"Arial", kFallbackFamily});
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

// Waited for before Qt touches fontconfig: a second thread that asks for the
// configuration while the first still parses it parses it all over again.
std::shared_future<void> &fontConfigurationRead()
{
    static std::shared_future<void> read;
    return read;
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

void startReadingFontConfiguration()
{
#ifdef KDR_HAVE_FONTCONFIG
    if (!fontConfigurationRead().valid())
        fontConfigurationRead() = std::async(std::launch::async, [] { FcInit(); }).share();
#endif
}

FontListLoader::FontListLoader()
    : m_loading([read = fontConfigurationRead()] {
          if (read.valid())
              read.wait();
          QFontDatabase::families();
      })
{
}

FontListLoader::~FontListLoader()
{
    waitUntilLoaded();
}

void FontListLoader::waitUntilLoaded()
{
    if (m_loading.joinable())
        m_loading.join();
}

} // namespace kdr
