#pragma once
// 8-bit text: the "system code page" (Windows-1252) and the "OEM code page" (437). Bytes 0 to 127
// are ASCII in both; characters a code page cannot hold become "?".
#include <QByteArray>
#include <QChar>
#include <QString>

namespace platform {

enum class TCodePage { Ansi, Oem };

QByteArray ToCodePage(const QString& text, TCodePage cp);
QString FromCodePage(const QByteArray& bytes, TCodePage cp);

inline QByteArray ToAnsi(const QString& text) { return ToCodePage(text, TCodePage::Ansi); }
inline QString FromAnsi(const QByteArray& bytes) { return FromCodePage(bytes, TCodePage::Ansi); }
inline QByteArray ToOem(const QString& text) { return ToCodePage(text, TCodePage::Oem); }
inline QString FromOem(const QByteArray& bytes) { return FromCodePage(bytes, TCodePage::Oem); }

// Text forms of the conversions: the text converted to the OEM code page and those bytes read
// back as system code page characters, and the reverse (what an 8-bit program sees after
// converting a string in place).
QString AnsiToOemText(const QString& text);
QString OemToAnsiText(const QString& text);

// The character of an upper-half byte (128..255) in our own built-in table of the code page,
// used when the system's converter does not know the code page.
QChar BuiltInUpperHalf(TCodePage cp, unsigned char byte);
// True when the system's converter serves the code page (false: the built-in table is used).
bool CodePageFromSystem(TCodePage cp);

} // namespace platform
