// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConfigurationSheet.h"

#include "art/PanelFace.h"
#include "model/SwitchDecoding.h"
#include "model/SystemErrorText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>

namespace kdr::ConfigurationSheet {

namespace {

constexpr int kDotsPerInch = 300;
constexpr double kMargin = 40; // points
constexpr double kTwipsPerPoint = 20;

// Drawing in points on a device counted in dots.
class Page {
public:
    Page(QPainter &painter, QSizeF points) : m_painter(painter), m_points(points) {}

    QSizeF size() const { return m_points; }
    static double dots(double points) { return points * kDotsPerInch / 72.0; }
    static QRectF dots(const QRectF &points)
    {
        return {dots(points.x()), dots(points.y()), dots(points.width()), dots(points.height())};
    }

    void font(double points, bool bold = false)
    {
        QFont font(QStringLiteral("Liberation Sans"));
        font.setStyleHint(QFont::SansSerif);
        font.setPointSizeF(points);
        font.setBold(bold);
        m_painter.setFont(font);
    }
    // The text in the box, at the font's size or smaller down to `smallest` points,
    // then cut with "…" if it still does not fit.
    void text(const QRectF &points, const QString &text, int flags, double smallest = 0)
    {
        QFont font = m_painter.font();
        while (smallest > 0 && font.pointSizeF() > smallest &&
               QFontMetricsF(font, m_painter.device()).horizontalAdvance(text) > dots(points.width()))
            font.setPointSizeF(font.pointSizeF() - 0.5);
        m_painter.setFont(font);
        const QString shown =
            QFontMetricsF(font, m_painter.device()).elidedText(text, Qt::ElideRight, dots(points.width()));
        m_painter.drawText(dots(points), flags, shown);
    }
    void line(QPointF from, QPointF to, double width = 0.75)
    {
        m_painter.setPen(QPen(Qt::black, dots(width)));
        m_painter.drawLine(QPointF(dots(from.x()), dots(from.y())), QPointF(dots(to.x()), dots(to.y())));
    }
    QPainter &painter() { return m_painter; }

private:
    QPainter &m_painter;
    QSizeF m_points;
};

QString moduleAndChannel(Code code)
{
    const Assignment assignment = assignmentOf(code);
    return assignment.channel.isEmpty() ? assignment.module : assignment.module + QLatin1Char(' ') + assignment.channel;
}

// The panel's face, `width` points wide, with each switch's designation and assignment
// where the window shows its designation box and its lists. Returns its height.
double paintFace(Page &page, QPointF topLeft, double width, const SheetContent &content)
{
    const QRect face = PanelLayout::face();
    const double scale = width / (face.width() / kTwipsPerPoint);
    const auto place = [&](const QRect &twips) {
        return QRectF(topLeft.x() + (twips.x() - face.x()) / kTwipsPerPoint * scale,
                      topLeft.y() + (twips.y() - face.y()) / kTwipsPerPoint * scale,
                      twips.width() / kTwipsPerPoint * scale, twips.height() / kTwipsPerPoint * scale);
    };
    const QRectF faceArea = place(face);
    paintPanelFace(page.painter(), Page::dots(faceArea).toRect());
    for (int i = 0; i < kSwitchCount; ++i) {
        QPainter &painter = page.painter();
        painter.setPen(Qt::white);
        page.font(9, true);
        const QRectF caption = place(PanelLayout::caption(i));
        page.text(caption.adjusted(-6, -4, 6, 4), QStringLiteral("SW%1").arg(i + 1), Qt::AlignCenter);
        // The designation on a white label, as the window's box shows it.
        const QRectF label = place(PanelLayout::designation(i));
        painter.fillRect(Page::dots(label), Qt::white);
        painter.setPen(Qt::black);
        page.font(9);
        page.text(label.adjusted(2, 0, -2, 0), content.designations[i], Qt::AlignVCenter | Qt::AlignLeft, 6);
        // The assignment across both lists.
        const QRectF lists = place(PanelLayout::moduleList(i)).united(place(PanelLayout::channelList(i)));
        painter.setPen(Qt::white);
        page.font(16, true);
        page.text(lists.adjusted(0, 0, 0, -lists.height() * 0.35), moduleAndChannel(content.codes[i]), Qt::AlignCenter,
                  10);
        page.font(8);
        page.text(lists.adjusted(0, lists.height() * 0.62, 0, 0), QStringLiteral("CODE %1").arg(content.codes[i]),
                  Qt::AlignCenter);
    }
    return faceArea.height();
}

void paintTable(Page &page, double top, const SheetContent &content)
{
    const double left = kMargin, right = page.size().width() - kMargin, row = 15;
    const double columns[] = {left, left + 60, left + 130, left + 200, left + 250};
    const QStringList headings{QStringLiteral("SWITCH"), QStringLiteral("MODULE"), QStringLiteral("CHANNEL"),
                               QStringLiteral("CODE"), QStringLiteral("DESIGNATION")};
    page.painter().setPen(Qt::black);
    page.font(9, true);
    for (qsizetype c = 0; c < headings.size(); ++c)
        page.text(QRectF(columns[c], top, (c + 1 < headings.size() ? columns[c + 1] : right) - columns[c], row),
                  headings[c], Qt::AlignVCenter | Qt::AlignLeft);
    page.line({left, top + row}, {right, top + row});
    page.font(9);
    for (int i = 0; i < kSwitchCount; ++i) {
        const double y = top + row * (i + 1) + 2;
        const Assignment assignment = assignmentOf(content.codes[i]);
        const QStringList cells{QStringLiteral("SW%1").arg(i + 1), assignment.module, assignment.channel,
                                QString::number(content.codes[i]), content.designations[i]};
        for (qsizetype c = 0; c < cells.size(); ++c)
            page.text(QRectF(columns[c], y, (c + 1 < cells.size() ? columns[c + 1] : right) - columns[c], row),
                      cells[c], Qt::AlignVCenter | Qt::AlignLeft);
    }
}

} // namespace

QPageSize paperFor(const QLocale &locale)
{
    const bool letter = locale.territory() == QLocale::UnitedStates || locale.territory() == QLocale::Canada;
    return QPageSize(letter ? QPageSize::Letter : QPageSize::A4);
}

void paint(QPagedPaintDevice &device, const SheetContent &content)
{
    QPainter painter(&device);
    Page page(painter, device.pageLayout().fullRect(QPageLayout::Point).size());
    const double width = page.size().width(), height = page.size().height();
    painter.setPen(Qt::black);
    page.font(16, true);
    page.text(QRectF(kMargin, kMargin, width - 2 * kMargin, 22), QStringLiteral("SWITCH PANEL CONFIGURATION SHEET"),
              Qt::AlignLeft | Qt::AlignVCenter);
    page.font(13, true);
    page.text(QRectF(kMargin, kMargin + 24, width - 2 * kMargin, 18),
              QStringLiteral("PANEL NAME  %1").arg(content.panelName), Qt::AlignLeft | Qt::AlignVCenter);
    page.font(9);
    const QString file = content.fileName.isEmpty() ? QStringLiteral("(NOT SAVED)") : content.fileName;
    page.text(QRectF(kMargin, kMargin + 44, width - 2 * kMargin, 14),
              QStringLiteral("FILE  %1     MADE  %2     KDR SWITCH PANEL TOOL %3")
                  .arg(file, content.made.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")), content.version),
              Qt::AlignLeft | Qt::AlignVCenter);

    // The face as large as the page leaves room for, above the table and the signature.
    const QRect face = PanelLayout::face();
    const double tableHeight = 15 * 11 + 10, signature = 50, faceTop = kMargin + 66;
    const double faceHeight = height - faceTop - tableHeight - signature - kMargin - 12;
    const double faceWidth = std::min(width - 2 * kMargin, faceHeight * face.width() / face.height());
    const double drawn = paintFace(page, QPointF((width - faceWidth) / 2, faceTop), faceWidth, content);
    paintTable(page, faceTop + drawn + 12, content);

    const double signatureLine = height - kMargin - 8;
    painter.setPen(Qt::black);
    page.font(10);
    page.text(QRectF(kMargin, signatureLine - 16, 90, 14), QStringLiteral("TECHNICIAN"), Qt::AlignLeft);
    page.line({kMargin + 80, signatureLine}, {width * 0.6, signatureLine});
    page.text(QRectF(width * 0.6 + 16, signatureLine - 16, 40, 14), QStringLiteral("DATE"), Qt::AlignLeft);
    page.line({width * 0.6 + 52, signatureLine}, {width - kMargin, signatureLine});
}

QString save(const QString &path, const SheetContent &content, const QPageSize &paper)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return plainSystemError(file.errorString());
    {
        QPdfWriter pdf(&file);
        pdf.setResolution(kDotsPerInch);
        pdf.setPageSize(paper);
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setTitle(QStringLiteral("Switch panel configuration sheet: %1").arg(content.panelName));
        pdf.setCreator(QStringLiteral("KDR switch panel tool %1").arg(content.version));
        paint(pdf, content);
    }
    if (!file.commit())
        return plainSystemError(file.errorString());
    return {};
}

} // namespace kdr::ConfigurationSheet
