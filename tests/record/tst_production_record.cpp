// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/RecordFile.h"
#include "record/RecordListing.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

using namespace kdr;

class TestProductionRecord : public QObject {
    Q_OBJECT
private slots:
    void linesAreWholeAndReadBack();
    void listingsForPeopleAndSpreadsheets();

private:
    static RecordEntry entry(const QString &port, int exitStatus)
    {
        RecordEntry e = Record::stamped(QStringLiteral("station"), port);
        e.panelName = QStringLiteral("COACH, \"NEW\"");
        e.codesSent[0] = 13;
        e.codesReadBack[0] = 13;
        e.status = QStringLiteral("SWITCH PANEL HAS BEEN PROGRAMMED");
        e.exitStatus = exitStatus;
        e.seconds = 1.214;
        return e;
    }
    QTemporaryDir m_dir;
};

void TestProductionRecord::linesAreWholeAndReadBack()
{
    const QString path = m_dir.filePath(QStringLiteral("line.jsonl"));
    // Two writers on the same file, each with its own handle, as two programs would be.
    const auto writer = [&](const QString &port) {
        RecordFile file(path);
        for (int i = 0; i < 300; ++i)
            QVERIFY(file.append(entry(port, i % 2)).isEmpty());
    };
    std::thread first(writer, QStringLiteral("/dev/ttyUSB0")), second(writer, QStringLiteral("COM3"));
    first.join();
    second.join();
    RecordContents read = readRecord(path);
    QVERIFY(read.problem.isEmpty() && !read.tornLastLine);
    QCOMPARE(read.entries.size(), 600);
    const RecordEntry &back = read.entries.last();
    QCOMPARE(back.panelName, QStringLiteral("COACH, \"NEW\""));
    QCOMPARE(back.codesReadBack[0], std::optional<Code>(13));
    QVERIFY(!back.codesReadBack[1]);
    QCOMPARE(back.time.timeSpec(), Qt::UTC);
    QVERIFY(QDateTime::currentDateTimeUtc().msecsTo(back.time) <= 0);

    // A line cut short at the end is left out; anywhere else, or in a file that is no
    // record, the file is refused.
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    file.write(Record::line(entry(QStringLiteral("COM3"), 0)).left(40));
    file.close();
    read = readRecord(path);
    QVERIFY(read.problem.isEmpty() && read.tornLastLine);
    QCOMPARE(read.entries.size(), 600);
    QVERIFY(file.open(QIODevice::Append));
    file.write("\n" + Record::line(entry(QStringLiteral("COM3"), 0)));
    file.close();
    QCOMPARE(readRecord(path).problem, QStringLiteral("not a production record: line 601 is no record entry"));
    QFile other(m_dir.filePath(QStringLiteral("notes.txt")));
    QVERIFY(other.open(QIODevice::WriteOnly) && other.write("just notes\n") > 0);
    other.close();
    QVERIFY(readRecord(other.fileName()).problem.startsWith(QStringLiteral("not a production record")));
    QVERIFY(!RecordFile(m_dir.filePath(QStringLiteral("gone/line.jsonl"))).problemAppending().isEmpty());
}

void TestProductionRecord::listingsForPeopleAndSpreadsheets()
{
    QList<RecordEntry> entries{entry(QStringLiteral("COM3"), 0), entry(QStringLiteral("COM4"), 5)};
    entries[0].time = QDateTime(QDate(2026, 12, 9), QTime(23, 0), Qt::UTC);
    // Filters: from a time on, at one port.
    QCOMPARE(
        RecordListing::filtered(entries, {RecordListing::parseSince(QStringLiteral("2026-12-10T00:00Z")), {}}).size(),
        1);
    QCOMPARE(RecordListing::filtered(entries, {{}, QStringLiteral("COM4")}).first().port, QStringLiteral("COM4"));
    QVERIFY(!RecordListing::parseSince(QStringLiteral("yesterday")));
    // CSV: a byte order mark, quoted fields where needed, CR LF.
    const QByteArray csv = RecordListing::csv(entries);
    QVERIFY(csv.startsWith("\xEF\xBB\xBFtime,host,user,"));
    QVERIFY(csv.contains(",\"COACH, \"\"NEW\"\"\",13 - - - - - - - - -,13 - - - - - - - - -,"));
    QCOMPARE(csv.count("\r\n"), 3);
    // The table: a row each, columns lined up.
    const QStringList rows = RecordListing::table(entries).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[1].indexOf(QStringLiteral("station")), rows[0].indexOf(QStringLiteral("COMMAND")));
}

QTEST_GUILESS_MAIN(TestProductionRecord)
#include "tst_production_record.moc"
