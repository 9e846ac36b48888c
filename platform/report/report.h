#pragma once
// Reports: a layout of sections and controls, bound to the rows of a record set, printed,
// previewed in a window, or written to PDF.
//
// A report has five sections, addressed by name, in this order on the page:
//     Section4  report header  once, at the top of the first page
//     Section2  page header    at the top of every page
//     Section1  detail         one band per row of the data
//     Section3  page footer    at the bottom of every page
//     Section5  report footer  once, after the last row
// Controls are labels (a caption), text boxes (the value of the row's field named by
// DataField, with an optional display format, see format.h), functions (the sum or the count of a
// field over all rows), lines and frame shapes. Positions and sizes are in points (1/72 inch),
// x from the left margin, y from the top of the section. All text is set in Arial.
//
// A label's caption may hold %p (page number), %P (number of pages) and %d (date of printing).
//
// Texts never overprint: a text box or label with CanGrow wraps its text (at word boundaries,
// or anywhere in a word too long for the width) and its band grows to hold every line; any other
// text is kept inside its box, wrapped over the lines that fit when WordWrap is set, else on one
// line cut off with "…". A box is at least one line of its font tall: where a box is lower than
// its font, or its first line would reach below its section, the band grows to hold that line
// whole. Texts are measured and cut to their box, never clipped: a line of text stands whole or
// not at all. A band taller than a page is cut off at the page's end, after its last whole line.
//
// Pages break between bands; the page header and footer stand on every page. The data is read
// by Refresh() (the record set may be closed afterwards); what is printed, previewed or written
// is the layout and the data as they are at that moment.
#include <QDate>
#include <QHash>
#include <QList>
#include <QMarginsF>
#include <QPointer>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <deque>
#include <memory>

class QPagedPaintDevice;
class QPainter;
class QPaintDevice;
class QWidget;

namespace dao {
class Recordset;
}

namespace report {

enum class ControlType { Label, TextBox, Function, Line, Shape };
enum class FunctionType { Sum, Count };
enum class Align { Left, Right, Center };

class Control
{
public:
    QString Name;
    ControlType Type = ControlType::Label;
    QRectF Rect;        // a line runs from Rect's top-left to its bottom-right
    QString Caption;    // labels
    QString DataField;  // text boxes and functions; matched without regard to letter case
    QString DataFormat; // text boxes and functions, see format.h
    FunctionType Function = FunctionType::Sum;
    Align Alignment = Align::Left;
    double FontSize = 9;
    bool FontBold = false;
    bool CanGrow = false;      // wrap and let the band grow
    bool WordWrap = false;     // wrap inside the box (cut off at its bottom)
    bool AtBandBottom = false; // lines: drawn at the bottom of the band, however tall it grew
};

class Section
{
public:
    explicit Section(const QString &name = QString()) : Name(name) {}

    QString Name;
    double Height = 0;
    bool Visible = true;

    // The control of that name (letter case does not matter); an unknown name raises
    // vb::Error 3265 naming it.
    Control &Controls(const QString &name);
    const Control &Controls(const QString &name) const;
    bool hasControl(const QString &name) const;
    const std::deque<Control> &controls() const { return controls_; }

    Control &AddLabel(const QString &name, const QString &caption, const QRectF &rect, Align align = Align::Left,
                      double size = 9, bool bold = false);
    Control &AddTextBox(const QString &name, const QString &dataField, const QRectF &rect, Align align = Align::Left,
                        const QString &format = QString());
    Control &AddFunction(const QString &name, const QString &dataField, const QRectF &rect, Align align = Align::Right,
                         const QString &format = QString(), FunctionType function = FunctionType::Sum);
    Control &AddLine(const QPointF &from, const QPointF &to, bool atBandBottom = false);
    Control &AddShape(const QString &name, const QRectF &rect);

private:
    Control &add(Control c);
    std::deque<Control> controls_; // references stay valid as controls are added
};

// The cells of a report's rows, held compactly: a cell is a mark of its type and eight bytes, and
// a text is held once however many cells of the rows hold it (names, waters, months repeat in a
// list), so that the rows of a long list take a fraction of what a list of QVariantLists takes.
// A value comes back as it went in, its type included. The first row appended sets the number of
// columns: the cells of a longer row beyond it are dropped, those missing in a shorter row are
// invalid.
class RowValues
{
public:
    int size() const { return rows_; }
    bool isEmpty() const { return rows_ == 0; }
    int columnCount() const { return columns_; }

    // The cell; an invalid value outside the rows and columns.
    QVariant value(int row, int column) const;
    void append(const QVariantList &row);

    bool operator==(const RowValues &other) const;
    bool operator!=(const RowValues &other) const { return !(*this == other); }

private:
    enum Kind : quint8 { Invalid, LongLong, Int, Double, Text, Other };
    union Slot {
        qint64 whole;
        double real;
        quint32 index; // into texts_ or others_
    };
    int columns_ = -1;
    int rows_ = 0;
    // Row after row; a deque grows without copying what it holds.
    std::deque<quint8> kinds_;
    std::deque<Slot> slots_;
    QList<QString> texts_;
    QList<QVariant> others_;
    // Where a text already stands in texts_; only the first texts met are looked up, which is
    // where the repeating ones are, so that a column of different texts costs no index.
    QHash<QString, quint32> textIndex_;
};

// The rows a report was bound to, read once by Refresh.
struct Rows
{
    QStringList columns;
    RowValues values;
};

// Everything needed to lay out and paint: a copy of the layout with its data (the rows are
// shared, not copied). Previews keep the document they were shown with.
struct Document
{
    QString caption;
    QSizeF pageSize;
    QMarginsF margins;
    Section sections[5]; // in page order: Section4, Section2, Section1, Section3, Section5
    std::shared_ptr<const Rows> rows;
    QDate printDate;
};

class PreviewWindow;

class Report
{
public:
    explicit Report(const QString &caption);
    ~Report();
    Report(const Report &) = delete;
    Report &operator=(const Report &) = delete;

    // The preview window's title.
    QString Caption;
    // A4 portrait by default.
    QSizeF PageSize;
    QMarginsF Margins;

    // "Section1" .. "Section5"; another name raises vb::Error 3265.
    Section &Sections(const QString &name);
    const Section &Sections(const QString &name) const;
    Section &ReportHeader() { return Sections(QStringLiteral("Section4")); }
    Section &PageHeader() { return Sections(QStringLiteral("Section2")); }
    Section &Detail() { return Sections(QStringLiteral("Section1")); }
    Section &PageFooter() { return Sections(QStringLiteral("Section3")); }
    Section &ReportFooter() { return Sections(QStringLiteral("Section5")); }

    // The record set the next Refresh reads (not owned; nullptr: no data).
    void setDataSource(dao::Recordset *recordset) { source_ = recordset; }
    // Reads every row of the data source from its first, and checks the bindings: a DataField
    // that is no column of the data, or a sum over a value that is no figure, raises vb::Error.
    // Without a data source the report has no rows.
    void Refresh();
    int rowCount() const;
    const Rows &rows() const;

    // The date printed for %d; today unless set (tests).
    void setPrintDate(const QDate &date) { printDate_ = date; }

    // A copy of the layout with the data last read.
    Document document() const;

    // Number of pages on a device of that resolution (dots per inch).
    int PageCount(int dpi = 300) const;

    // Writes the report to a PDF file, replacing it. Raises vb::Error when it cannot be written.
    void ExportPdf(const QString &path) const;
    // Paints every page on a printer or another paged device (full page, no device margins),
    // laid out on the device's paper. Raises vb::Error when the device refuses.
    void PrintTo(QPagedPaintDevice &device) const;

    // The preview window: created on first use and kept, showing the report as it is now; the
    // caller hosts and shows it. Destroyed with the widget that hosts it; then created afresh.
    QWidget *Show();
    QWidget *window() const;

private:
    Section sections_[5];
    dao::Recordset *source_ = nullptr;
    std::shared_ptr<const Rows> rows_;
    QDate printDate_;
    QPointer<PreviewWindow> preview_;
};

// Lays out a document on a device of the given resolution and paints its pages. Where the pages
// break is found at once (so their number is known); a page's bands are laid out when it is
// painted, so that a long list holds a few bytes a page.
class PageLayout
{
public:
    PageLayout(const Document &doc, QPaintDevice *device);
    ~PageLayout();
    PageLayout(const PageLayout &) = delete;
    PageLayout &operator=(const PageLayout &) = delete;

    int pageCount() const;
    // Size of a page in device pixels.
    QSizeF pageSizePx() const;
    // Paints page (from 0) with its top-left corner at the painter's origin.
    void paintPage(QPainter &painter, int page) const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace report
