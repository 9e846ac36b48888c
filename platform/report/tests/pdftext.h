#pragma once
// A written PDF read back with poppler's tools, for print-out tests.
//
// Print-out tests compare words, not blanks: how many spaces pdftotext puts between two words of
// a line depends on the fonts and the layout it finds, so every text handed out here has each run
// of blanks inside a line as one space and no blanks at the line ends (SingleSpaced), and the
// needles searched for have their runs of blanks as one space too.
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <string>

namespace pdftext {

// True when pdftotext and pdfinfo can be run.
bool Available();

// The text with each run of spaces and tabs as one space and the lines without blanks at their
// ends; line breaks are kept.
QString SingleSpaced(const QString &text);

// The text of each page (pdftotext -layout: lines as they stand on the paper), single-spaced.
QStringList Pages(const QString &pdf);
// All pages joined.
QString Text(const QString &pdf);
// The number of pages (pdfinfo).
int PageCount(const QString &pdf);

struct Word
{
    int page = 0;
    QRectF box; // points
    QString text;
};
// Every word with its box (pdftotext -bbox).
QList<Word> Words(const QString &pdf);
// Descriptions of the word pairs on one page whose boxes overlap by more than tolerance points
// in both directions: text printed over text. Empty when there is none.
QStringList Overlaps(const QList<Word> &words, double tolerance = 0.5);

// The first needle that does not follow the previous ones in text; empty when all stand in
// this order. Text and needles are compared single-spaced (see above).
std::string NotInOrder(const QString &text, const QStringList &needles);

// Number of non-overlapping occurrences of needle, single-spaced as NotInOrder.
int Count(const QString &text, const QString &needle);

} // namespace pdftext
