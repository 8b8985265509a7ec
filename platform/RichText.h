#pragma once
// The library's one rich text (RTF) codec: RTF bytes into a QTextDocument, a QTextDocument back
// into RTF, and RTF into plain text.
//
// Read: groups, \rtf1 \ansi \ansicpg1252, the font and colour tables, \plain \b \i \ul \ulnone
// \strike \f \fs \cf \highlight, \par \line \tab, \pard \ql \qc \qr, \up \dn \super \sub
// \nosupersub, \'hh (Windows-1252), \uN with \ucN, and the escapes \\ \{ \} \~. Destinations
// marked {\* ...}, pictures, the style sheet and the document information are skipped, other
// control words ignored. Malformed input (braces that do not balance, nesting deeper than
// RtfMaxDepth, numbers of more digits than any parameter has) ends the reading: what was read so
// far is kept.
//
// Written: ASCII only (other characters as \'hh for Windows-1252, else \uN with one "?"), so that
// a cell holds the RTF one byte per character.
#include <QByteArray>
#include <QString>
#include <QTextFormat>

class QTextDocument;

namespace platform {

// Group nesting beyond this ends the reading.
constexpr int RtfMaxDepth = 64;

// Character format property holding the baseline offset in twips (\upN, \dnN are half points:
// \up4 is +40 twips). Positive raises the text.
constexpr int RtfOffsetProperty = QTextFormat::UserProperty + 0x4B01;

// Replaces the content of Doc with the RTF text. False when the input was malformed (the text
// read up to the fault is in the document).
bool RtfToDocument(const QByteArray& Rtf, QTextDocument& Doc);
// The document as RTF.
QByteArray DocumentToRtf(const QTextDocument& Doc);
// The plain text of an RTF text: paragraphs and line breaks as CR LF, tabs as tab characters.
QString RtfToPlainText(const QByteArray& Rtf);
// True when the text looks like RTF (starts with "{\rtf" after blanks).
bool IsRtf(const QByteArray& Rtf);

} // namespace platform
