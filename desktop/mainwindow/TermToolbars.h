#pragma once

#include <QString>
#include <QStringList>

class QWidget;
class TToolbarButtonKit;
class TToolbarKit;

// The term toolbars of the main window: a bold label, one separator, then one flat button per
// word. Clicking a word inserts its short form into the active editor's rules grid.

struct TermToolbarTable {
    const char* objectName;
    const char* caption;
    // "\n" breaks the label into lines.
    const char* label;
    QStringList words;
};

// In the order the main window builds them: basic terms, signed basic terms, modifiers,
// connectives, user terms.
const std::vector<TermToolbarTable>& TermToolbarTables();

// The toolbar, hidden, with its label and separator and the table's word buttons.
TToolbarKit* BuildTermToolbar(QWidget& form, const TermToolbarTable& table);
// A flat button for a word at the toolbar's end, as wide as its caption and 7 pixels more.
TToolbarButtonKit* AddWordButton(TToolbarKit& toolbar, const QString& caption);

// The short form a word button inserts: an atomic term's or hedge's abbreviation ("very
// roughly" gives "vr"), else the caption itself ("and").
QString WordShortForm(const QString& caption);
