// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up cost of the tool's window against a bare Qt window of the same size, in
// one run: the time from starting the program to the first finished paint of its
// window, and the resident memory at that moment. Each kind is started afresh a
// number of times, alternating, and the medians are compared.
//
// Run it where the window would appear, on a display: `xvfb-run -a startup 20` will
// do; the Windows build runs under Wine on Xvfb (scripts/windows). On Qt's offscreen platform there is no display connection to set up, so a bare
// window costs almost nothing and everything the window itself does weighs double.
//   startup [runs]          (default 10)
//   startup --child window|bare   (one start; used by the run above)
#include "bench_util.h"

#include "ui/MainWindow.h"
#include "ui/WindowFonts.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTextStream>
#include <QTimer>

#include <memory>

namespace {

// Reports once the first paint of the window has been carried out, children included.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, [] {
                QTextStream(stdout) << monotonicNs() << ' ' << residentKb() << ' ' << QGuiApplication::platformName()
                                    << Qt::endl;
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    bool m_seen = false;
};

int child(int argc, char *argv[], const QString &kind)
{
    const bool toolWindow = kind == QLatin1String("window");
    if (toolWindow) // as the program's main() does
        kdr::startReadingFontConfiguration();
    QApplication app(argc, argv);
    std::unique_ptr<QWidget> window;
    if (toolWindow) {
        window = std::make_unique<kdr::MainWindow>();
    } else {
        window = std::make_unique<QWidget>();
        window->setFixedSize(736, 594);
    }
    FirstPaint probe;
    window->installEventFilter(&probe);
    window->show();
    return app.exec();
}

struct Start {
    double ms = 0;
    double rssKb = 0;
    QString platform;
};

Start startOnce(const QString &self, const QString &kind)
{
    QProcess process;
    const qint64 startedNs = monotonicNs();
    process.start(self, {QStringLiteral("--child"), kind});
    process.waitForFinished(30000);
    const QList<QByteArray> figures = process.readAllStandardOutput().trimmed().split(' ');
    if (figures.size() != 3)
        return {};
    return {double(figures[0].toLongLong() - startedNs) / 1e6, figures[1].toDouble(), QString::fromUtf8(figures[2])};
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && QByteArray(argv[1]) == "--child")
        return child(argc, argv, QString::fromLatin1(argv[2]));

    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(3, atoi(argv[1])) : 10;
    const QString self = QCoreApplication::applicationFilePath();
    std::vector<double> windowMs, bareMs, windowKb, bareKb;
    QString platform;
    for (int i = 0; i < runs; ++i) {
        const Start w = startOnce(self, QStringLiteral("window"));
        const Start b = startOnce(self, QStringLiteral("bare"));
        if (w.ms <= 0 || b.ms <= 0) {
            QTextStream(stderr) << "a start did not report; is a display or QT_QPA_PLATFORM=offscreen set?\n";
            return 1;
        }
        platform = w.platform;
        windowMs.push_back(w.ms);
        bareMs.push_back(b.ms);
        windowKb.push_back(w.rssKb);
        bareKb.push_back(b.rssKb);
    }
    const double timeRatio = median(windowMs) / median(bareMs);
    const double rssRatio = median(windowKb) / median(bareKb);
    QTextStream out(stdout);
    out << "on Qt's " << platform << " platform\n";
    out << "start to first paint, median of " << runs << ": window " << QString::number(median(windowMs), 'f', 1)
        << " ms, bare window " << QString::number(median(bareMs), 'f', 1) << " ms, ratio "
        << QString::number(timeRatio, 'f', 2) << " (goal 2.0 or less)\n";
    out << "resident memory at first paint: window " << QString::number(median(windowKb) / 1024, 'f', 1)
        << " MB, bare window " << QString::number(median(bareKb) / 1024, 'f', 1) << " MB, ratio "
        << QString::number(rssRatio, 'f', 2) << " (goal 1.3 or less)\n";
    return timeRatio <= 2.0 && rssRatio <= 1.3 ? 0 : 1;
}
