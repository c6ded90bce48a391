// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ConfigurationFile.h"
#include "files/KdcFormat.h"
#include "files/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QTest>

#if __has_include(<iconv.h>)
#include <iconv.h>
#define KDR_HAVE_ICONV 1
#endif

using namespace kdr;

namespace {

const QByteArray kCoachAllNotAssigned =
    "\"COACH\",\"DESIGNATION \",160,\"DESIGNATION \",160,\"DESIGNATION \",160,\"DESIGNATION \",160,"
    "\"DESIGNATION \",160,\"DESIGNATION \",160,\"DESIGNATION \",160,\"DESIGNATION \",160,"
    "\"DESIGNATION \",160,\"DESIGNATION \",160,159\r\n";

QByteArray line(const QByteArray &panel, const QList<QByteArray> &rest)
{
    return "\"" + panel + "\"," + rest.join(',') + "\r\n";
}

} // namespace

class TestKdcFormat : public QObject {
    Q_OBJECT
private slots:
    void writesTheExampleLine();
    void everyCodeRoundTrips();
    void everyByteRoundTrips();
    void tableAgreesWithTheCLibrary();
    void readingRules();
    void brokenFilesFail_data();
    void brokenFilesFail();
    void storableText();
    void presetFileNames();
    void fuzzFindingsStayFixed();
};

void TestKdcFormat::writesTheExampleLine()
{
    KdcRecord record;
    record.panel = QStringLiteral("COACH");
    record.designations.fill(QStringLiteral("DESIGNATION "));
    record.codes.fill(160);
    QCOMPARE(Kdc::format(record).value(), kCoachAllNotAssigned);

    const auto read = Kdc::parse(kCoachAllNotAssigned);
    QVERIFY(read);
    QCOMPARE(read->panel, QStringLiteral("COACH"));
    QCOMPARE(read->designations[9], QStringLiteral("DESIGNATION "));
    QCOMPARE(read->codes[4], 160);
    QCOMPARE(read->closing, 159);
}

void TestKdcFormat::everyCodeRoundTrips()
{
    for (int first = 0; first <= 160; first += kSwitchCount) {
        KdcRecord record;
        record.panel = QStringLiteral("RIG %1").arg(first);
        for (int i = 0; i < kSwitchCount; ++i) {
            record.codes[i] = Code(std::min(first + i, 160));
            record.designations[i] = QStringLiteral(" PORCH, LEFT %1 ").arg(i);
        }
        const auto bytes = Kdc::format(record);
        QVERIFY(bytes);
        const auto back = Kdc::parse(*bytes);
        QVERIFY(back);
        QCOMPARE(back->panel, record.panel);
        QCOMPARE(back->designations, record.designations);
        QCOMPARE(back->codes, record.codes);
        QCOMPARE(Kdc::format(*back), bytes);
    }
}

void TestKdcFormat::everyByteRoundTrips()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = Windows1252::decode(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(text[0x80], QChar(0x20AC)); // shown as the technician typed it
    QCOMPARE(text[0x81], QChar(0x0081));
    QCOMPARE(Windows1252::encode(text).value(), all);
    QVERIFY(!Windows1252::encode(QStringLiteral("\u2713")).has_value());

    // Every byte but the quote and the line ends survives a whole file, too.
    QByteArray designation;
    for (int b = 1; b < 256; ++b)
        if (b != '"')
            designation.append(char(b));
    QList<QByteArray> rest;
    for (int i = 0; i < kSwitchCount; ++i)
        rest << "\"" + designation + "\""
             << "7";
    rest << "159";
    const QByteArray file = line("\xC4\x80\x9D", rest);
    const auto record = Kdc::parse(file);
    QVERIFY(record);
    QCOMPARE(Kdc::format(*record).value(), file);
}

void TestKdcFormat::tableAgreesWithTheCLibrary()
{
#ifdef KDR_HAVE_ICONV
    iconv_t cp1252 = iconv_open("UTF-16LE", "CP1252");
    if (cp1252 == iconv_t(-1))
        QSKIP("the C library has no CP1252 table");
    int compared = 0;
    for (int b = 0; b < 256; ++b) {
        char in = char(b);
        char16_t out = 0;
        char *inPtr = &in, *outPtr = reinterpret_cast<char *>(&out);
        size_t inLeft = 1, outLeft = sizeof out;
        const QChar ours = Windows1252::decode(QByteArray(1, in)).at(0);
        if (iconv(cp1252, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1)) {
            // The five bytes Windows-1252 leaves unassigned stand for the C1 control of their value.
            QCOMPARE(ours.unicode(), char16_t(b));
            QVERIFY2(b >= 0x80 && b <= 0x9F, qPrintable(QString::number(b, 16)));
            continue;
        }
        QVERIFY2(ours.unicode() == out, qPrintable(QStringLiteral("byte %1").arg(b, 2, 16)));
        ++compared;
    }
    iconv_close(cp1252);
    QVERIFY(compared >= 251);
#else
    QSKIP("no iconv on this platform");
#endif
}

void TestKdcFormat::readingRules()
{
    // Blanks around a number, a sign, leading zeros, LF alone and blank lines after
    // the record are fine.
    QList<QByteArray> rest;
    for (int i = 0; i < kSwitchCount; ++i)
        rest << "\"D\"" << (i == 3 ? " 25 " : i == 4 ? "+7" : "23");
    rest << "0159";
    QByteArray lf = line("P", rest) + " \r\n\r\n";
    lf.replace("\r\n", "\n");
    const auto record = Kdc::parse(lf);
    QVERIFY(record);
    QCOMPARE(record->codes[3], 25);
    QCOMPARE(record->codes[4], 7);
    QCOMPARE(record->codes[0], 23);
    QCOMPARE(record->closing, 159);

    // A field ends at its closing quote; a 13-character name reads whole.
    QByteArray tricky = "\"THIRTEEN CHAR\",\"A \"\"B\",1";
    for (int i = 1; i < kSwitchCount; ++i)
        tricky += ",\"\"," + QByteArray::number(i);
    tricky += ",159"; // and no line end at all
    const auto t = Kdc::parse(tricky);
    QVERIFY(t);
    QCOMPARE(t->panel, QStringLiteral("THIRTEEN CHAR"));
    QCOMPARE(t->designations[0], QStringLiteral("A "));
    QCOMPARE(t->codes[0], 1);
    QCOMPARE(t->codes[9], 9);
    QCOMPARE(t->designations[5], QString());

    // A byte order mark that a Windows editor put in front is no part of the name.
    const auto marked = Kdc::parse("\xEF\xBB\xBF" + kCoachAllNotAssigned);
    QVERIFY(marked);
    QCOMPARE(marked->panel, QStringLiteral("COACH"));
}

void TestKdcFormat::brokenFilesFail_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("named"); // what the reason must name
    QList<QByteArray> rest;
    for (int i = 0; i < kSwitchCount; ++i)
        rest << "\"D\""
             << "160";
    rest << "159";
    const QByteArray good = line("P", rest);

    const QString none;
    QTest::newRow("empty") << QByteArray() << none;
    QTest::newRow("line end only") << QByteArray("\r\n") << none;
    QTest::newRow("ten fields") << good.split(',').mid(0, 10).join(',') + "\r\n" << none;
    QTest::newRow("21 fields and a comma") << good.left(good.lastIndexOf(',') + 1) << none;
    QTest::newRow("40-digit code") << QByteArray(good).replace("\"D\",160", "\"D\"," + QByteArray(40, '9'))
                                   << QStringLiteral("field 3");
    QTest::newRow("32768") << QByteArray(good).replace(",159\r", ",32768\r") << QStringLiteral("field 22");
    QTest::newRow("open quote to the end") << QByteArray("\"P\",\"never closed, 160, 160\r\n") << none;
    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary.append(char(std::clamp((i * 73 + 11) % 256, 14, 255))); // no comma, CR or LF
    QTest::newRow("binary without separators") << binary.replace(',', '\0') << none;
    // Text that is no configuration, and codes no panel holds, are refused by name.
    QByteArray lines = good;
    QTest::newRow("record over two lines")
        << lines.replace(",\"D\",160,\"D\"", ",\"D\",160\r\n\"D\"") << QStringLiteral("line has 3 fields");
    QTest::newRow("other text") << QByteArray("# A README\n\nSome, words\nand more\n") << QStringLiteral("expected 22");
    for (const char *code : {"abc", "", "1e3", "16.5"})
        QTest::newRow(qPrintable(QStringLiteral("code '%1'").arg(QLatin1String(code))))
            << QByteArray(good).replace("\"D\",160", "\"D\"," + QByteArray(code))
            << QStringLiteral("field 3 (SW1's code) is not a whole number");
    // Whatever follows the record would be lost by an open and a save.
    QTest::newRow("23 fields") << QByteArray(good).replace(",159\r", ",159,7\r")
                               << QStringLiteral("line has 23 fields");
    QTest::newRow("a trailing comma") << QByteArray(good).replace(",159\r", ",159,\r")
                                      << QStringLiteral("line has 23 fields");
    QTest::newRow("a second line") << good + "hello,world\r\n" << QStringLiteral("more text follows");
    QTest::newRow("closing value 'X'") << QByteArray(good).replace(",159\r", ",X\r")
                                       << QStringLiteral("field 22 (the closing value) is not a whole number");
    for (const char *code : {"161", "255", "32767", "-7"})
        QTest::newRow(qPrintable(QStringLiteral("code %1").arg(QLatin1String(code))))
            << QByteArray(good).replace("\"D\",160", "\"D\"," + QByteArray(code))
            << QStringLiteral("field 3 (SW1's code) is %1, outside 0 to 160").arg(QLatin1String(code));
}

void TestKdcFormat::brokenFilesFail()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, named);
    QString problem;
    QVERIFY(!Kdc::parse(bytes, &problem).has_value());
    QVERIFY2(problem.contains(named), qPrintable(problem));
}

void TestKdcFormat::storableText()
{
    QVERIFY(Kdc::isStorable(QStringLiteral("PORCH, LEFT \u20AC \u00E9")));
    QVERIFY(!Kdc::isStorable(QStringLiteral("12\" TV")));
    QVERIFY(!Kdc::isStorable(QStringLiteral("\u2713 OK")));
    KdcRecord record;
    record.designations[3] = QStringLiteral("\u2713");
    QVERIFY(!Kdc::format(record).has_value());
}

void TestKdcFormat::presetFileNames()
{
    // A file name on Windows or Linux; the panel name itself is saved as it is.
    QCOMPARE(ConfigurationFile::fileNameFor(QStringLiteral("COACH")), QStringLiteral("COACH.kdc"));
    QCOMPARE(ConfigurationFile::fileNameFor(QStringLiteral("RV 2/3")), QStringLiteral("RV 2_3.kdc"));
    QCOMPARE(ConfigurationFile::fileNameFor(QStringLiteral("SMITH COACH ")), QStringLiteral("SMITH COACH.kdc"));
    QCOMPARE(ConfigurationFile::fileNameFor(QStringLiteral("A\\B:C*D?E<F>G|H")), QStringLiteral("A_B_C_D_E_F_G_H.kdc"));
    QCOMPARE(ConfigurationFile::fileNameFor(QStringLiteral("   ")), QStringLiteral("_.kdc"));
}

void TestKdcFormat::fuzzFindingsStayFixed()
{
    // Every input the fuzzer ever crashed on, plus its seeds, must read (or fail)
    // cleanly and write back to the same record.
    int checked = 0;
    for (const char *folder : {KDC_REGRESSIONS_DIR, KDC_CORPUS_DIR}) {
        const QDir dir(QString::fromLocal8Bit(folder));
        for (const QFileInfo &entry : dir.entryInfoList(QDir::Files)) {
            QFile file(entry.filePath());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const auto record = Kdc::parse(file.readAll());
            ++checked;
            if (!record)
                continue;
            const auto again = Kdc::parse(Kdc::format(*record).value());
            QVERIFY2(again && again->designations == record->designations && again->codes == record->codes,
                     qPrintable(entry.fileName()));
        }
    }
    QVERIFY(checked > 0);
}

QTEST_APPLESS_MAIN(TestKdcFormat)
#include "tst_kdc_format.moc"
