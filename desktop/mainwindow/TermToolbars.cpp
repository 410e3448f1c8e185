#include "desktop/mainwindow/TermToolbars.h"

#include <QFontMetrics>
#include <QLabel>

#include <vector>

#include "core/lang/WordTables.h"
#include "toolbars/TToolbarButtonKit.h"
#include "toolbars/TToolbarKit.h"
#include "toolbars/TToolbarSepKit.h"

namespace {

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QStringList AtomicTerms(int first, int last) {
    QStringList words;
    for (int i = first; i <= last; ++i)
        words << Text(kAtomicTerms[i].full);
    return words;
}

QStringList Hedges() {
    QStringList words;
    for (const FixedWord& hedge : kHedges)
        words << Text(hedge.full);
    return words;
}

}  // namespace

const std::vector<TermToolbarTable>& TermToolbarTables() {
    static const std::vector<TermToolbarTable> specs = {
        {"ToolbarBasicTerms", "Basic Terms", " Basic\n expressions: ", AtomicTerms(0, 2)},
        {"ToolbarSignedBasicTerms", "Signed basic terms",
         " Signed\n Basic\n expressions: ", AtomicTerms(3, 11)},
        {"ToolbarModifiers", "Modifiers", " Modifiers: ", Hedges()},
        {"ToolbarConnectives", "Connectives", " Connectives: ", {"and", "or"}},
        {"ToolbarUserTerms", "User Terms", " User\n expressions: ", {}},
    };
    return specs;
}

TToolbarKit* BuildTermToolbar(QWidget& form, const TermToolbarTable& table) {
    auto* toolbar = new TToolbarKit(&form);
    toolbar->setObjectName(table.objectName);
    toolbar->SetCaption(table.caption);
    toolbar->SetVisible(false);
    auto* label = new QLabel(table.label, toolbar);
    label->setObjectName(QString(table.objectName) + "Label");
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->adjustSize();
    new TToolbarSepKit(toolbar);
    for (const QString& word : table.words)
        AddWordButton(*toolbar, word);
    return toolbar;
}

TToolbarButtonKit* AddWordButton(TToolbarKit& toolbar, const QString& caption) {
    auto* button = new TToolbarButtonKit(&toolbar);
    button->setObjectName(toolbar.objectName() + "Word" +
                          QString::number(toolbar.children().size()));
    button->SetCaption(caption);
    button->SetFlat(true);
    button->resize(QFontMetrics(button->font()).horizontalAdvance(caption) + 7, button->height());
    return button;
}

QString WordShortForm(const QString& caption) {
    for (const FixedWord& term : kAtomicTerms) {
        if (caption == Text(term.full))
            return Text(term.shortForm);
    }
    for (const FixedWord& hedge : kHedges) {
        if (caption == Text(hedge.full))
            return Text(hedge.shortForm);
    }
    return caption;
}
