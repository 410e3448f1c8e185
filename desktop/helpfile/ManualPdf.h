#pragma once

class QString;
struct ManualSource;

// Typesets the manual as an A4 PDF: a title page, the table of contents with the pages of the
// chapters and their sections, then the chapters, each from a new page, with the page number at
// the foot of every page after the title page. Pictures keep the resolution their files state
// (96 dots per inch when they state none) and shrink to fit the text. Throws ManualError when a
// picture does not load or the file cannot be written; the file is replaced only when whole.
void WriteManualPdf(const ManualSource& manual, const QString& pdfFile);
