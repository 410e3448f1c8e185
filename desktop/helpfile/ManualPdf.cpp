#include "desktop/helpfile/ManualPdf.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <utility>
#include <vector>

#include "desktop/helpfile/ManualSource.h"

namespace {

// Dots per inch of the page coordinates; text and lines are vectors whatever it is.
constexpr int kResolution = 300;
constexpr double kBodyPoints = 10.0;
constexpr double kCodePoints = 8.5;
const char* const kTextFamily = "DejaVu Sans";
const char* const kCodeFamily = "DejaVu Sans Mono";
// Code of at most so many lines is not split between pages.
constexpr int kCodeKeptWhole = 16;

double Dots(double points) {
    return points * kResolution / 72.0;
}

QFont Font(const char* family, double points, bool bold = false) {
    QFont font(family);
    // Without ligatures, so that the PDF's text reads "file", not a ligature of "fi".
    font.setStyleStrategy(QFont::PreferNoShaping);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

struct TocEntry {
    ManualHeading heading;
    int page = 0;
};

// Styles the document that the Markdown reader made: heading sizes, code, tables, spacing.
class Typesetter {
  public:
    Typesetter(QTextDocument& document, double textWidth, double textHeight)
        : document_(document), textWidth_(textWidth), textHeight_(textHeight) {}

    void StyleBlocks() {
        bool firstChapter = true;
        for (QTextBlock block = document_.begin(); block.isValid(); block = block.next()) {
            QTextCursor cursor(block);
            QTextBlockFormat format = block.blockFormat();
            const int level = format.headingLevel();
            QTextCharFormat text;
            if (level > 0) {
                const double sizes[] = {20.0, 14.0, 11.5, 10.5, 10.0, 10.0};
                text.setFont(Font(kTextFamily, sizes[std::min(level, 6) - 1], true));
                format.setTopMargin(Dots(level == 1 ? 0 : 12 - level));
                format.setBottomMargin(Dots(level == 1 ? 16 : 5));
                if (level == 1 && !firstChapter)
                    format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                firstChapter = firstChapter && level != 1;
            } else if (format.hasProperty(QTextFormat::BlockCodeLanguage)) {
                // Fenced or indented code; a line too long for the page wraps rather than being
                // cut off at its edge.
                text.setFont(Font(kCodeFamily, kCodePoints));
                format.setNonBreakableLines(false);
                format.setBackground(QColor(243, 243, 240));
                format.setLeftMargin(Dots(8));
                format.setTopMargin(0);
                format.setBottomMargin(0);
            } else if (cursor.currentTable()) {
                format.setTopMargin(0);
                format.setBottomMargin(0);
            } else if (!block.textList() || block.next().textList() != block.textList()) {
                // Paragraphs, and a list after its last item.
                format.setBottomMargin(Dots(5));
            }
            cursor.setBlockFormat(format);
            if (text.hasProperty(QTextFormat::FontFamilies)) {
                cursor.select(QTextCursor::BlockUnderCursor);
                cursor.mergeCharFormat(text);
            }
        }
    }

    // Code spans keep the monospaced face of the code blocks, a little smaller than the text.
    void StyleCodeSpans() {
        std::vector<std::pair<int, int>> spans;
        for (QTextBlock block = document_.begin(); block.isValid(); block = block.next()) {
            if (block.blockFormat().hasProperty(QTextFormat::BlockCodeLanguage))
                continue;
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                if (fragment.isValid() && fragment.charFormat().fontFixedPitch())
                    spans.emplace_back(fragment.position(), fragment.length());
            }
        }
        QTextCharFormat code;
        code.setFontFamilies({kCodeFamily});
        code.setFontPointSize(kBodyPoints * 0.92);
        for (const auto& [position, length] : spans) {
            QTextCursor cursor(&document_);
            cursor.setPosition(position);
            cursor.setPosition(position + length, QTextCursor::KeepAnchor);
            cursor.mergeCharFormat(code);
        }
    }

    void StyleTables(QTextFrame* frame) {
        for (QTextFrame* child : frame->childFrames()) {
            if (auto* table = qobject_cast<QTextTable*>(child)) {
                QTextTableFormat format = table->format();
                format.setBorder(Dots(0.5));
                format.setBorderBrush(QColor(150, 150, 150));
                format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
                format.setBorderCollapse(true);
                format.setCellSpacing(0);
                format.setCellPadding(Dots(3));
                format.setTopMargin(Dots(2));
                format.setBottomMargin(Dots(8));
                format.setHeaderRowCount(1);
                table->setFormat(format);
                DropLeadingEmptyParagraph(table->cellAt(0, 0));
                for (int column = 0; column < table->columns(); ++column) {
                    QTextCursor cursor = table->cellAt(0, column).firstCursorPosition();
                    cursor.setPosition(table->cellAt(0, column).lastCursorPosition().position(),
                                       QTextCursor::KeepAnchor);
                    QTextCharFormat bold;
                    bold.setFontWeight(QFont::Bold);
                    cursor.mergeCharFormat(bold);
                }
            }
            StyleTables(child);
        }
    }

    // Pictures at the size their resolution gives, shrunk to the text width and to most of a
    // page, each paragraph of pictures centred.
    void PlacePictures() {
        struct Placement {
            int position;
            QTextImageFormat format;
        };
        std::vector<Placement> placements;
        for (QTextBlock block = document_.begin(); block.isValid(); block = block.next()) {
            bool hasPicture = false;
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                if (!fragment.isValid() || !fragment.charFormat().isImageFormat())
                    continue;
                QTextImageFormat format = fragment.charFormat().toImageFormat();
                const QImage image(format.name());
                if (image.isNull())
                    throw ManualError("cannot load the picture " + format.name().toStdString());
                document_.addResource(QTextDocument::ImageResource, QUrl(format.name()), image);
                const double dotsPerMeter =
                    image.dotsPerMeterX() > 0 ? image.dotsPerMeterX() : 96 / 0.0254;
                const double scale = kResolution / (dotsPerMeter * 0.0254);
                double width = image.width() * scale;
                double height = image.height() * scale;
                const double fit = std::min({1.0, textWidth_ / width, textHeight_ * 0.8 / height});
                // The layout takes picture sizes in pixels of 96 per inch and scales them to the
                // resolution of the page itself.
                const double toLayout = fit * 96.0 / kResolution;
                format.setWidth(width * toLayout);
                format.setHeight(height * toLayout);
                placements.push_back({fragment.position(), format});
                hasPicture = true;
            }
            if (hasPicture) {
                QTextBlockFormat centred = block.blockFormat();
                centred.setAlignment(Qt::AlignHCenter);
                centred.setTopMargin(Dots(4));
                centred.setBottomMargin(Dots(2));
                QTextCursor(block).setBlockFormat(centred);
            }
        }
        for (const Placement& placement : placements) {
            QTextCursor cursor(&document_);
            cursor.setPosition(placement.position);
            cursor.setPosition(placement.position + 1, QTextCursor::KeepAnchor);
            cursor.setCharFormat(placement.format);
        }
    }

    // The layout splits a paragraph between pages line by line, a picture included, and leaves a
    // heading at the foot of a page whose text starts on the next. Such paragraphs start a page;
    // a picture's heading goes with it. A break moves only what follows it, so one pass from the
    // top settles every paragraph with the layout of those before it final.
    void KeepTogether() {
        QAbstractTextDocumentLayout* layout = document_.documentLayout();
        const auto pageOf = [&](double y) { return int(y / textHeight_); };
        QTextBlock previous;
        for (QTextBlock block = document_.begin(); block.isValid();
             previous = block, block = block.next()) {
            const QRectF box = layout->blockBoundingRect(block);
            const QTextBlock next = block.next();
            const bool heading = block.blockFormat().headingLevel() > 1;
            if (HasPicture(block) && pageOf(box.top()) != pageOf(box.bottom() - 1)) {
                const bool headed =
                    previous.isValid() && previous.blockFormat().headingLevel() > 1 &&
                    pageOf(layout->blockBoundingRect(previous).top()) == pageOf(box.top());
                BreakBefore(headed ? previous : block);
            } else if ((heading || IsLead(block)) && next.isValid() && !HasPicture(next) &&
                       pageOf(box.top()) != pageOf(FirstLineTop(next))) {
                BreakBefore(block);
            } else if (LonelyFirstLine(block)) {
                // A paragraph's first line alone at the foot of a page (a message and the line
                // that explains it) goes with the rest.
                BreakBefore(block);
            } else if (IsCode(block) && !(previous.isValid() && IsCode(previous))) {
                // A short piece of code reads as one: it goes whole to the next page.
                QTextBlock last = block;
                int lines = 1;
                for (; last.next().isValid() && IsCode(last.next()); last = last.next())
                    ++lines;
                if (lines <= kCodeKeptWhole &&
                    pageOf(FirstLineTop(block)) !=
                        pageOf(layout->blockBoundingRect(last).bottom() - 1))
                    BreakBefore(block);
            }
        }
    }

  private:
    void BreakBefore(const QTextBlock& block) {
        QTextBlockFormat format = block.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(block).setBlockFormat(format);
    }

    // The Markdown reader opens a table that follows code with an empty paragraph in its first
    // cell, which would push that cell's text a line down.
    static void DropLeadingEmptyParagraph(const QTextTableCell& cell) {
        QTextCursor cursor = cell.firstCursorPosition();
        if (cursor.block().text().isEmpty() &&
            cursor.block().position() + 1 <= cell.lastCursorPosition().position())
            cursor.deleteChar();
    }

    // The layout moves a line that does not fit to the next page inside its paragraph, whose
    // box still starts on the page before.
    double FirstLineTop(const QTextBlock& block) const {
        const double top = document_.documentLayout()->blockBoundingRect(block).top();
        const QTextLayout* lines = block.layout();
        return lines && lines->lineCount() > 0 ? top + lines->lineAt(0).y() + 1 : top + 1;
    }

    bool LonelyFirstLine(const QTextBlock& block) const {
        const QTextLayout* lines = block.layout();
        if (!lines || lines->lineCount() < 2 || QTextCursor(block).currentTable())
            return false;
        const double top = document_.documentLayout()->blockBoundingRect(block).top();
        const auto pageOfLine = [&](int i) {
            return int((top + lines->lineAt(i).y() + 1) / textHeight_);
        };
        return pageOfLine(0) != pageOfLine(1);
    }

    // A line in bold that leads the paragraph after it, as a message leads its explanation.
    static bool IsLead(const QTextBlock& block) {
        const QTextLayout* lines = block.layout();
        const auto first = block.begin();
        return lines && lines->lineCount() == 1 && !first.atEnd() &&
               first.fragment().charFormat().fontWeight() >= QFont::Bold &&
               !QTextCursor(block).currentTable();
    }

    static bool IsCode(const QTextBlock& block) {
        return block.blockFormat().hasProperty(QTextFormat::BlockCodeLanguage);
    }

    static bool HasPicture(const QTextBlock& block) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().isValid() && it.fragment().charFormat().isImageFormat())
                return true;
        }
        return false;
    }

    QTextDocument& document_;
    double textWidth_;
    double textHeight_;
};

// The pages of the chapters' and sections' headings, counted from the first page of the text.
std::vector<TocEntry> HeadingPages(const ManualSource& manual, const QTextDocument& body,
                                   double pageHeight) {
    std::vector<TocEntry> entries;
    for (const ManualChapter& chapter : manual.chapters) {
        for (const ManualHeading& heading : chapter.headings)
            entries.push_back({heading, 0});
    }
    size_t next = 0;
    QAbstractTextDocumentLayout* layout = body.documentLayout();
    for (QTextBlock block = body.begin(); block.isValid() && next < entries.size();
         block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level < 1 || level > 2)
            continue;
        entries[next++].page = int(layout->blockBoundingRect(block).top() / pageHeight);
    }
    if (next != entries.size())
        throw ManualError("the typeset text lost a heading");
    return entries;
}

class PageWriter {
  public:
    PageWriter(QPdfWriter& writer, QPainter& painter) : writer_(writer), painter_(painter) {}

    void NewPage() {
        if (pages_ > 0)
            writer_.newPage();
        ++pages_;
    }

    void Footer() {
        painter_.setFont(Font(kTextFamily, 8.5));
        painter_.setPen(QColor(90, 90, 90));
        const QRectF area(0, writer_.height() - Dots(14), writer_.width(), Dots(14));
        painter_.drawText(area, Qt::AlignHCenter | Qt::AlignBottom, QString::number(pages_));
        painter_.setPen(Qt::black);
    }

  private:
    QPdfWriter& writer_;
    QPainter& painter_;
    int pages_ = 0;
};

void DrawTitlePage(QPainter& painter, const QPdfWriter& writer, const QString& title) {
    painter.setFont(Font(kTextFamily, 28, true));
    const QRectF area(0, writer.height() * 0.3, writer.width(), Dots(120));
    painter.drawText(area, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, title);
}

struct TocLine {
    const TocEntry* entry;
    double y;
};

// Lays the contents out on pages of the given height; the first page also holds its heading.
std::vector<std::vector<TocLine>> TocPages(const std::vector<TocEntry>& entries, double pageHeight,
                                           double headingHeight) {
    std::vector<std::vector<TocLine>> pages(1);
    double y = headingHeight;
    for (const TocEntry& entry : entries) {
        const double above = entry.heading.level == 1 ? Dots(9) : 0;
        const double height = Dots(entry.heading.level == 1 ? 14 : 13);
        if (y + above + height > pageHeight) {
            pages.emplace_back();
            y = 0;
        }
        y += pages.back().empty() ? 0 : above;
        pages.back().push_back({&entry, y});
        y += height;
    }
    return pages;
}

void DrawTocLine(QPainter& painter, double width, const TocLine& line) {
    const ManualHeading& heading = line.entry->heading;
    const bool chapter = heading.level == 1;
    const QFont font = Font(kTextFamily, chapter ? 10.5 : 9.5, chapter);
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    const double indent = chapter ? 0 : Dots(16);
    const QString page = QString::number(line.entry->page);
    const double pageWidth = metrics.horizontalAdvance(page);
    const double baseline = line.y + metrics.ascent();
    // Number and title in one run, so that a reader of the PDF's text keeps them together.
    const double titleRoom = width - pageWidth - Dots(24) - indent;
    const QString title =
        metrics.elidedText(heading.number + ' ' + heading.title, Qt::ElideRight, titleRoom);
    painter.drawText(QPointF(indent, baseline), title);
    painter.drawText(QPointF(width - pageWidth, baseline), page);
    // Dot leaders between the title and its page.
    const QString dot(".");
    const double step = metrics.horizontalAdvance(QStringLiteral(" ."));
    painter.setFont(Font(kTextFamily, 9.5));
    for (double x = indent + metrics.horizontalAdvance(title) + Dots(6);
         x < width - pageWidth - Dots(8); x += step)
        painter.drawText(QPointF(x, baseline), dot);
}

}  // namespace

void WriteManualPdf(const ManualSource& manual, const QString& pdfFile) {
    QSaveFile file(pdfFile);
    if (!file.open(QIODevice::WriteOnly))
        throw ManualError("cannot write " + pdfFile.toStdString() + ": " +
                          file.errorString().toStdString());
    QPdfWriter writer(&file);
    writer.setResolution(kResolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(22, 20, 22, 16), QPageLayout::Millimeter));
    writer.setTitle(manual.title);
    writer.setCreator("makehelp");

    const double textWidth = writer.width();
    const double textHeight = writer.height() - Dots(24);

    QTextDocument body;
    body.documentLayout()->setPaintDevice(&writer);
    body.setDefaultFont(Font(kTextFamily, kBodyPoints));
    body.setDocumentMargin(0);
    body.setPageSize(QSizeF(textWidth, textHeight));
    QStringList chapters;
    for (const ManualChapter& chapter : manual.chapters)
        chapters << chapter.markdown;
    body.setMarkdown(chapters.join("\n\n"));
    Typesetter typesetter(body, textWidth, textHeight);
    typesetter.StyleBlocks();
    typesetter.StyleCodeSpans();
    typesetter.StyleTables(body.rootFrame());
    typesetter.PlacePictures();
    typesetter.KeepTogether();

    std::vector<TocEntry> entries = HeadingPages(manual, body, textHeight);
    const double tocHeading = Dots(40);
    const auto tocPages = TocPages(entries, textHeight, tocHeading);
    const int firstBodyPage = 2 + int(tocPages.size());
    for (TocEntry& entry : entries)
        entry.page += firstBodyPage;

    QPainter painter;
    if (!painter.begin(&writer))
        throw ManualError("cannot write " + pdfFile.toStdString());
    PageWriter pages(writer, painter);
    pages.NewPage();
    DrawTitlePage(painter, writer, manual.title);
    for (size_t p = 0; p < tocPages.size(); ++p) {
        pages.NewPage();
        if (p == 0) {
            painter.setFont(Font(kTextFamily, 20, true));
            painter.drawText(QPointF(0, QFontMetricsF(painter.font(), &writer).ascent()),
                             "Contents");
        }
        for (const TocLine& line : tocPages[p])
            DrawTocLine(painter, textWidth, line);
        pages.Footer();
    }
    for (int page = 0; page < body.pageCount(); ++page) {
        pages.NewPage();
        const QRectF clip(0, page * textHeight, textWidth, textHeight);
        painter.save();
        painter.translate(0, -clip.top());
        painter.setClipRect(clip);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = clip;
        context.palette.setColor(QPalette::Text, Qt::black);
        body.documentLayout()->draw(&painter, context);
        painter.restore();
        pages.Footer();
    }
    if (!painter.end() || !file.commit())
        throw ManualError("cannot write " + pdfFile.toStdString() + ": " +
                          file.errorString().toStdString());
}
