// SPDX-License-Identifier: GPL-3.0-or-later
#include "KdcFormat.h"

#include "Windows1252.h"

#include "model/DecimalText.h"

#include <limits>

namespace kdr::Kdc {

namespace {

constexpr char kQuote = '"';

std::optional<QByteArray> quoted(const QString &text)
{
    const auto bytes = Windows1252::encode(text);
    if (!bytes)
        return std::nullopt;
    return kQuote + *bytes + kQuote;
}

// Reads fields one at a time the way the tool always has: a comma or a line end
// ends a field, and a field that opens with a quote runs to the next quote.
class FieldReader {
public:
    explicit FieldReader(const QByteArray &bytes) : m_bytes(bytes) {}

    // Empty at the end of the file, where no further field starts.
    std::optional<QByteArray> next()
    {
        skipBlanks();
        if (m_pos >= m_bytes.size())
            return std::nullopt;
        QByteArray field;
        if (m_bytes[m_pos] == kQuote) {
            const qsizetype close = m_bytes.indexOf(kQuote, m_pos + 1);
            const qsizetype end = close < 0 ? m_bytes.size() : close;
            field = m_bytes.mid(m_pos + 1, end - m_pos - 1);
            m_pos = close < 0 ? m_bytes.size() : close + 1;
            skipToSeparator(); // what stands between the closing quote and the comma is dropped
        } else {
            const qsizetype start = m_pos;
            skipToSeparator();
            field = m_bytes.mid(start, m_pos - start);
            // No text may hold a quote: it could not be written back between quotes.
            if (const qsizetype quote = field.indexOf(kQuote); quote >= 0)
                field.truncate(quote);
            field = field.trimmed();
        }
        consumeSeparator();
        return field;
    }

    // Whether the field read last was ended by a line end or the end of the file
    // rather than by a comma.
    bool endedLine() const { return m_endedLine; }

    // Whether nothing but blanks and line ends is left.
    bool onlyBlanksLeft() const
    {
        for (qsizetype i = m_pos; i < m_bytes.size(); ++i)
            if (m_bytes[i] != ' ' && m_bytes[i] != '\t' && !isLineEnd(m_bytes[i]))
                return false;
        return true;
    }

private:
    bool isLineEnd(char c) const { return c == '\r' || c == '\n'; }

    void skipBlanks()
    {
        while (m_pos < m_bytes.size() && (m_bytes[m_pos] == ' ' || m_bytes[m_pos] == '\t'))
            ++m_pos;
    }

    void skipToSeparator()
    {
        while (m_pos < m_bytes.size() && m_bytes[m_pos] != ',' && !isLineEnd(m_bytes[m_pos]))
            ++m_pos;
    }

    void consumeSeparator()
    {
        m_endedLine = m_pos >= m_bytes.size() || isLineEnd(m_bytes[m_pos]);
        if (m_pos >= m_bytes.size())
            return;
        if (m_bytes[m_pos] == '\r' && m_pos + 1 < m_bytes.size() && m_bytes[m_pos + 1] == '\n')
            ++m_pos;
        ++m_pos;
    }

    const QByteArray &m_bytes;
    qsizetype m_pos = 0;
    bool m_endedLine = false;
};

// A field that is a whole decimal number and nothing else (blanks around it are
// gone already), with an optional sign; empty for anything else. Too many digits
// for 64 bits read as the largest number.
std::optional<qint64> wholeNumber(const QByteArray &field)
{
    const LeadingDecimal number = scanLeadingDecimal(field);
    if (number.digits == 0 || number.fraction || number.end != field.size())
        return std::nullopt;
    bool fits = false;
    const qint64 value = field.toLongLong(&fits);
    return fits ? value : std::numeric_limits<qint64>::max();
}

} // namespace

std::optional<QByteArray> format(const KdcRecord &record)
{
    auto line = quoted(record.panel);
    if (!line)
        return std::nullopt;
    for (int i = 0; i < kSwitchCount; ++i) {
        const auto designation = quoted(record.designations[i]);
        if (!designation)
            return std::nullopt;
        *line += ',' + *designation + ',' + QByteArray::number(record.codes[i]);
    }
    *line += ',' + QByteArray::number(record.closing) + "\r\n";
    return line;
}

std::optional<KdcRecord> parse(const QByteArray &bytes, QString *problem)
{
    const auto refuse = [problem](const QString &why) -> std::optional<KdcRecord> {
        if (problem)
            *problem = why;
        return std::nullopt;
    };
    static const QByteArray kByteOrderMark("\xEF\xBB\xBF");
    const QByteArray text = bytes.startsWith(kByteOrderMark) ? bytes.mid(kByteOrderMark.size()) : bytes;
    if (text.trimmed().isEmpty())
        return refuse(QStringLiteral("the file is empty"));

    const auto wrongFieldCount = [&](int count) {
        return refuse(QStringLiteral("not a configuration file: line has %1 field%2, expected %3")
                          .arg(count)
                          .arg(count == 1 ? QString() : QStringLiteral("s"))
                          .arg(kFieldCount));
    };
    FieldReader reader(text);
    std::array<QByteArray, kFieldCount> fields;
    for (int n = 0; n < kFieldCount; ++n) {
        auto next = reader.next();
        if (!next)
            return wrongFieldCount(n);
        fields[n] = std::move(*next);
        // The whole record stands on one line: a line end before its last field
        // means this is some other text, whose lines would be taken for fields.
        if (n < kFieldCount - 1 && reader.endedLine())
            return wrongFieldCount(n + 1);
    }
    // And nothing follows it: more fields (a trailing comma is one) or more lines
    // would be data that an open drops and a save loses.
    if (!reader.endedLine()) {
        int count = kFieldCount;
        while (reader.next()) {
            ++count;
            if (reader.endedLine())
                break;
        }
        return wrongFieldCount(count);
    }
    if (!reader.onlyBlanksLeft())
        return refuse(QStringLiteral("not a configuration file: more text follows the record's line"));

    KdcRecord record;
    record.panel = Windows1252::decode(fields[0]);
    for (int i = 0; i < kSwitchCount; ++i) {
        record.designations[i] = Windows1252::decode(fields[1 + 2 * i]);
        const int n = 2 + 2 * i;
        const auto code = wholeNumber(fields[n]);
        if (!code)
            return refuse(QStringLiteral("not a configuration file: field %1 (SW%2's code) is not a whole number")
                              .arg(n + 1)
                              .arg(i + 1));
        if (*code < 0 || *code > kCodeNotAssigned)
            return refuse(QStringLiteral("not a configuration file: field %1 (SW%2's code) is %3, outside 0 to %4")
                              .arg(n + 1)
                              .arg(i + 1)
                              .arg(QString::fromLatin1(fields[n]))
                              .arg(kCodeNotAssigned));
        record.codes[i] = Code(*code);
    }
    const auto closing = wholeNumber(fields[kFieldCount - 1]);
    if (!closing)
        return refuse(QStringLiteral("not a configuration file: field %1 (the closing value) is not a whole number")
                          .arg(kFieldCount));
    if (*closing < std::numeric_limits<Code>::min() || *closing > std::numeric_limits<Code>::max())
        return refuse(
            QStringLiteral("not a configuration file: the number in field %1 is out of range").arg(kFieldCount));
    record.closing = Code(*closing);
    return record;
}

bool isStorable(const QString &text)
{
    for (const QChar c : text)
        if (c == QLatin1Char(kQuote) || !Windows1252::canEncode(c))
            return false;
    return true;
}

bool isTypeable(QChar c)
{
    return c.unicode() >= 0x20 && c.unicode() != 0x7F && isStorable(QString(c));
}

QString typeablePart(const QString &text)
{
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text)
        if (isTypeable(c))
            kept += c;
    return kept;
}

} // namespace kdr::Kdc
