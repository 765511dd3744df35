#include "common/csv.h"

#include <QStringDecoder>

#include <array>

namespace Csv {
namespace {

// Windows-1252 where it differs from Latin-1: 0x80 to 0x9F (0 where the code page has no
// character; those bytes stay the control characters Latin-1 gives them).
constexpr std::array<char16_t, 32> Cp1252High{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

bool blank(const QStringList &fields)
{
    for (const QString &f : fields)
        if (!f.trimmed().isEmpty())
            return false;
    return true;
}

} // namespace

QString field(const QString &value, QChar separator)
{
    const bool quote =
        value.contains(separator) || value.contains(u'"') || value.contains(u'\n') || value.contains(u'\r');
    if (!quote)
        return value;
    QString quoted = value;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString line(const QStringList &values, QChar separator)
{
    QStringList fields;
    fields.reserve(values.size());
    for (const QString &v : values)
        fields << field(v, separator);
    return fields.join(separator);
}

QByteArray document(const QStringList &header, const QVector<QStringList> &rows, QChar separator)
{
    QString text = line(header, separator) + QStringLiteral("\r\n");
    for (const QStringList &row : rows)
        text += line(row, separator) + QStringLiteral("\r\n");
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

QString decode(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        return text;
    }
    text.clear();
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        const char16_t high = (b >= 0x80 && b < 0xA0) ? Cp1252High[b - 0x80] : 0;
        text += QChar(high ? high : char16_t(b));
    }
    return text;
}

QChar separatorOf(const QString &text)
{
    int commas = 0;
    int semicolons = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == u',')
            ++commas;
        else if (c == u';')
            ++semicolons;
        else if ((c == u'\n' || c == u'\r') && commas + semicolons > 0)
            break;
    }
    return semicolons > commas ? QChar(u';') : QChar(u',');
}

QVector<Record> parse(const QString &text, QChar separator)
{
    QVector<Record> records;
    Record record{1, {}};
    QString value;
    bool quoted = false;   // inside a quoted field
    bool fieldOpen = true; // at the start of a field: a quote here opens a quoted one
    int lineNumber = 1;

    const auto endRecord = [&] {
        record.fields << value;
        value.clear();
        if (!blank(record.fields))
            records.push_back(std::move(record));
        record = Record{lineNumber, {}};
        fieldOpen = true;
    };

    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < n && text[i + 1] == u'"') {
                    value += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == u'\n' || (c == u'\r' && !(i + 1 < n && text[i + 1] == u'\n')))
                    ++lineNumber;
                value += c;
            }
            continue;
        }
        if (c == u'"' && fieldOpen && value.trimmed().isEmpty()) {
            value.clear();
            quoted = true;
            fieldOpen = false;
        } else if (c == separator) {
            record.fields << value;
            value.clear();
            fieldOpen = true;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            ++lineNumber;
            endRecord();
        } else {
            value += c;
            if (!c.isSpace())
                fieldOpen = false;
        }
    }
    if (!value.isEmpty() || !record.fields.isEmpty())
        endRecord();
    return records;
}

} // namespace Csv
