#include "platform/EditMask.h"

#include "platform/SysUtils.h"

namespace platform {

namespace {

// A character the Qt mask gives a meaning of its own: written escaped when it stands for itself.
bool IsQtMaskChar(QChar c)
{
    return QStringLiteral("AaNnXx90Dd#HhBb><![]{}\\;").contains(c);
}

QString Literal(QChar c)
{
    return IsQtMaskChar(c) ? QStringLiteral("\\") + c : QString(c);
}

} // namespace

QString QtInputMask(const QString& EditMask)
{
    if (EditMask.isEmpty())
        return QString();
    // The fields: the mask, whether literals are saved, the blank character. A ";" escaped with
    // "\" belongs to the mask.
    QString mask;
    QChar blank = QLatin1Char('_');
    int fields = 0;
    QString rest;
    for (int i = 0; i < EditMask.size(); ++i) {
        const QChar c = EditMask[i];
        if (fields == 0 && c == QLatin1Char('\\') && i + 1 < EditMask.size()) {
            mask += c;
            mask += EditMask[++i];
            continue;
        }
        if (c == QLatin1Char(';')) {
            ++fields;
            if (fields == 2)
                rest.clear();
            continue;
        }
        if (fields == 0)
            mask += c;
        else if (fields == 2)
            rest += c;
    }
    if (!rest.isEmpty())
        blank = rest[0];

    const TFormatSettings& fs = FormatSettings();
    QString out;
    for (int i = 0; i < mask.size(); ++i) {
        const QChar c = mask[i];
        switch (c.unicode()) {
        case '\\':
            if (i + 1 < mask.size())
                out += Literal(mask[++i]);
            break;
        case '0': out += QLatin1Char('9'); break;
        case '9': out += QLatin1Char('0'); break;
        case '#': out += QLatin1Char('#'); break;
        case 'L': out += QLatin1Char('A'); break;
        case 'l': out += QLatin1Char('a'); break;
        case 'A': out += QLatin1Char('N'); break;
        case 'a': out += QLatin1Char('n'); break;
        case 'C': out += QLatin1Char('X'); break;
        case 'c': out += QLatin1Char('x'); break;
        case '>': out += QLatin1Char('>'); break;
        case '<':
            // "<>" ends a case change.
            if (i + 1 < mask.size() && mask[i + 1] == QLatin1Char('>')) {
                out += QLatin1Char('!');
                ++i;
            } else {
                out += QLatin1Char('<');
            }
            break;
        case '!': break; // no equivalent
        case '_': out += QLatin1Char(' '); break;
        case ':': out += Literal(fs.TimeSeparator); break;
        case '/': out += Literal(fs.DateSeparator); break;
        default: out += Literal(c); break;
        }
    }
    if (out.isEmpty())
        return QString();
    return out + QLatin1Char(';') + blank;
}

} // namespace platform
