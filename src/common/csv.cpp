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

// Of the first characters of a text, more than one in this many being control characters (and
// more than a few) makes it no text at all, a program's own file, rather than text with a stray
// character.
constexpr int SampleCharacters = 4096;
constexpr int ControlsInText = 20;
constexpr int StrayControls = 8;

bool formulaStart(QChar c)
{
    return c == u'=' || c == u'+' || c == u'-' || c == u'@' || c == u'\t' || c == u'\r';
}

// Apostrophes, then a character that starts a formula.
bool risky(QStringView s)
{
    qsizetype i = 0;
    while (i < s.size() && s[i] == u'\'')
        ++i;
    return i < s.size() && formulaStart(s[i]);
}

// A character no field may hold: C0 and C1 controls and DEL, but for tab and line ends.
bool control(QChar c)
{
    const char16_t u = c.unicode();
    return (u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') || (u >= 0x7F && u < 0xA0);
}

bool blank(const QStringList &fields)
{
    for (const QString &f : fields)
        if (!f.trimmed().isEmpty())
            return false;
    return true;
}

// Why the text is not one a spreadsheet saves, or "": no text at all, or the first control
// character with its place.
QString textFault(const QString &text)
{
    const qsizetype sample = std::min<qsizetype>(text.size(), SampleCharacters);
    qsizetype controls = 0;
    for (qsizetype i = 0; i < sample; ++i)
        controls += control(text[i]) ? 1 : 0;
    if (controls > StrayControls && controls * ControlsInText > sample)
        return QStringLiteral("it is not a text file");
    int line = 1;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            ++line;
            lineStart = i + 1;
        } else if (control(c)) {
            return QStringLiteral("line %1, column %2 holds a control character (U+%3)")
                .arg(line)
                .arg(i - lineStart + 1)
                .arg(QString::number(c.unicode(), 16).toUpper().rightJustified(4, u'0'));
        }
    }
    return {};
}

} // namespace

QString guarded(const QString &value)
{
    return risky(value) ? u'\'' + value : value;
}

QString unguarded(const QString &cell)
{
    return cell.startsWith(u'\'') && risky(cell) ? cell.mid(1) : cell;
}

QString field(const QString &value, QChar separator)
{
    QString cell = guarded(value);
    const bool quote = cell.contains(separator) || cell.contains(u'"') || cell.contains(u'\n') ||
                       cell.contains(u'\r') ||
                       (!cell.isEmpty() && (cell.front().isSpace() || cell.back().isSpace()));
    if (!quote)
        return cell;
    cell.replace(u'"', QStringLiteral("\"\""));
    return u'"' + cell + u'"';
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
    for (const auto &[mark, encoding] : {std::pair{QByteArrayView("\xFF\xFE"), QStringDecoder::Utf16LE},
                                         std::pair{QByteArrayView("\xFE\xFF"), QStringDecoder::Utf16BE}})
        if (bytes.startsWith(mark)) {
            QStringDecoder utf16(encoding, QStringDecoder::Flag::Stateless);
            QString text = utf16.decode(QByteArrayView(bytes).sliced(2));
            return utf16.hasError() || bytes.size() % 2 != 0 ? QString() : text;
        }
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
    int tabs = 0;
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
        else if (c == u'\t')
            ++tabs;
        else if ((c == u'\n' || c == u'\r') && commas + semicolons + tabs > 0)
            break;
    }
    if (commas >= semicolons && commas >= tabs)
        return u',';
    return semicolons >= tabs ? QChar(u';') : QChar(u'\t');
}

Sheet parse(const QString &text, QChar separator)
{
    enum class At { Start, Unquoted, Quoted, AfterQuote };
    Sheet sheet;
    Record record{1, {}};
    QString value;
    At at = At::Start;
    qsizetype quotedLength = 0; // of a quoted field's value, what its quotes held
    int lineNumber = 1;
    int quoteLine = 0; // the line the open quote opened on

    const auto endField = [&] {
        if (at == At::AfterQuote)
            record.fields << value.left(quotedLength) + value.mid(quotedLength).trimmed();
        else
            record.fields << value.trimmed();
        value.clear();
        at = At::Start;
    };
    const auto endRecord = [&] {
        endField();
        if (!blank(record.fields))
            sheet.records.push_back(std::move(record));
        record = Record{lineNumber, {}};
    };

    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (at == At::Quoted) {
            if (c == u'"') {
                if (i + 1 < n && text[i + 1] == u'"') {
                    value += u'"';
                    ++i;
                } else {
                    at = At::AfterQuote;
                    quotedLength = value.size();
                }
            } else {
                if (c == u'\n' || (c == u'\r' && !(i + 1 < n && text[i + 1] == u'\n')))
                    ++lineNumber;
                value += c;
            }
        } else if (c == separator) {
            endField();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            ++lineNumber;
            endRecord();
        } else if (at == At::Start && c == u'"') {
            value.clear(); // the blanks before the opening quote
            at = At::Quoted;
            quoteLine = lineNumber;
        } else {
            value += c;
            if (at == At::Start && !c.isSpace())
                at = At::Unquoted;
        }
    }
    if (at == At::Quoted) {
        sheet.records.clear();
        sheet.refusal = QStringLiteral("a quote opened on line %1 is never closed").arg(quoteLine);
        return sheet;
    }
    if (!value.isEmpty() || !record.fields.isEmpty() || at == At::AfterQuote)
        endRecord();
    return sheet;
}

Sheet read(const QByteArray &bytes)
{
    Sheet sheet;
    if (bytes.startsWith("PK\x03\x04") || bytes.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")) {
        sheet.refusal = QStringLiteral("it is a spreadsheet program's own file, not text; save it as CSV "
                                       "and choose that file");
        return sheet;
    }
    const QString text = decode(bytes);
    sheet.refusal = text.isNull() ? QStringLiteral("it is not a text file") : textFault(text);
    if (!sheet.refusal.isEmpty())
        return sheet;
    sheet = parse(text, separatorOf(text));
    for (Record &record : sheet.records)
        for (QString &f : record.fields)
            if (f.startsWith(u'\''))
                f = unguarded(f);
    return sheet;
}

} // namespace Csv
