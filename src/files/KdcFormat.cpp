// SPDX-License-Identifier: GPL-3.0-or-later
#include "KdcFormat.h"

#include "Windows1252.h"

#include "model/DecimalText.h"

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
        if (m_pos >= m_bytes.size())
            return;
        if (m_bytes[m_pos] == '\r' && m_pos + 1 < m_bytes.size() && m_bytes[m_pos + 1] == '\n')
            ++m_pos;
        ++m_pos;
    }

    const QByteArray &m_bytes;
    qsizetype m_pos = 0;
};

// The number at the start of the field, rounded half to even; 0 when it does not
// start with one, empty when it does not fit 16 bits.
std::optional<Code> integerField(const QByteArray &field)
{
    const CodeValue value = toCode(roundHalfEven(leadingDecimal(field)));
    if (value.outside16Bit)
        return std::nullopt;
    return value.code;
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

    FieldReader reader(text);
    std::array<QByteArray, kFieldCount> fields;
    for (int n = 0; n < kFieldCount; ++n) {
        auto next = reader.next();
        if (!next)
            return refuse(QStringLiteral("not a configuration file: line has %1 field%2, expected %3")
                              .arg(n)
                              .arg(n == 1 ? "" : "s")
                              .arg(kFieldCount));
        fields[n] = std::move(*next);
    }

    const auto integer = [&](int n) -> std::optional<Code> {
        const auto code = integerField(fields[n]);
        if (!code)
            refuse(QStringLiteral("not a configuration file: the number in field %1 is out of range").arg(n + 1));
        return code;
    };
    KdcRecord record;
    record.panel = Windows1252::decode(fields[0]);
    for (int i = 0; i < kSwitchCount; ++i) {
        record.designations[i] = Windows1252::decode(fields[1 + 2 * i]);
        const auto code = integer(2 + 2 * i);
        if (!code)
            return std::nullopt;
        record.codes[i] = *code;
    }
    const auto closing = integer(kFieldCount - 1);
    if (!closing)
        return std::nullopt;
    record.closing = *closing;
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
