#pragma once
// An INI file held in memory: read whole when created, changed in memory, written back whole
// (through the atomic writer) when asked to.
//  - Sections, entries, comments and blank lines keep their order; new sections go to the end,
//    new entries after the last entry of their section.
//  - Section and entry names are matched without regard to letter case; the first of two equal
//    names is the one read and written.
//  - Values are kept exactly as they stand after the "=" (no quoting, no escapes, no lists).
//  - Lines end in CR LF when written; CR LF, LF and CR end a line when read.
//  - A file with a byte-order mark is read and written back in its Unicode form; any other file is
//    system code page text, unless it comes to hold a character that page lacks: then it is
//    written as UTF-8 with a byte-order mark rather than lose the character.
#include "platform/StringList.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace platform {

class TMemIniFile {
public:
    // Reads the file when it exists (EFOpenError when it cannot be read); a missing file is an
    // empty one and is only created by UpdateFile.
    explicit TMemIniFile(const QString& FileName);

    QString FileName() const { return FFileName; }

    bool SectionExists(const QString& Section) const;
    bool ValueExists(const QString& Section, const QString& Ident) const;
    // Default when the section or the entry is missing.
    QString ReadString(const QString& Section, const QString& Ident, const QString& Default) const;
    // Default when missing or not a number (blanks around the number are allowed).
    int ReadInteger(const QString& Section, const QString& Ident, int Default) const;

    // A line break inside the value would end the entry early and make the rest a line of its
    // own: each one is stored as a blank.
    void WriteString(const QString& Section, const QString& Ident, const QString& Value);
    void WriteInteger(const QString& Section, const QString& Ident, int Value);

    // The file as UpdateFile writes it, each line followed by CR LF.
    QString Text() const;
    // Writes the whole file; EFCreateError when it cannot be written (the old file then stays).
    void UpdateFile();

private:
    struct TLine {
        bool Entry = false;
        QString Name;   // the entry's name, without surrounding blanks
        QString Value;  // the entry's value as written
        QString Raw;    // a comment, a blank line or a line that is no entry
    };
    struct TSection {
        QString Name;
        bool Header = true; // false: the lines before the first section header
        std::vector<TLine> Lines;
    };

    const TSection* FindSection(const QString& Section) const;
    TSection* FindSection(const QString& Section);
    static const TLine* FindEntry(const TSection& S, const QString& Ident);

    QString FFileName;
    TTextEncoding FEncoding = TTextEncoding::Default;
    std::vector<TSection> FSections;
};

} // namespace platform
