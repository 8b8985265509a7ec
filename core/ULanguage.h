#pragma once
// The language table: every text of the user interface by a fixed index, built-in English texts
// replaced entry by entry from a language file of the LANGUAGE folder.
#include <QString>
#include <QStringList>

// An ordered list of texts read by index. Reading outside the table gives an empty text rather
// than undefined behaviour.
class TLangTable {
public:
    void Clear() { FItems.clear(); }
    void Add(const QString& Text) { FItems.append(Text); }
    int Count() const { return FItems.size(); }
    const QString& operator[](int Index) const;
    const QString& Get(int Index) const { return (*this)[Index]; }
    void Set(int Index, const QString& Text);

private:
    QStringList FItems;
};

extern TLangTable Lang_Table;
extern int Lang_Table_Size; // 2800 once the built-in texts are loaded

constexpr int Lang_Table_Entries = 2800;

// The built-in English texts, index 0 .. 2799 (" " at every unused index).
extern const char* const Default_Lang_Texts[Lang_Table_Entries];

// Clears the table and refills it with the built-in texts.
void Load_Default_Language();
// Applies one line of a language file ("STR", key, separator, "=", text); false when ignored.
bool Apply_Language_Line(const QString& Line);
// Applies the lines of one language file to the table.
void Load_Language_File(const QString& FileName);
// Built-in texts, then the file of Active_Language, else English (Active_Language may change).
void Load_Language();
