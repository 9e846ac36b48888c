#include "report/report.h"
#include "ole/clock.h"
#include "report/format.h"
#include "report/preview.h"

#include "common/datetext.h"
#include "common/vberror.h"
#include "dao/dao.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QHash>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <unordered_map>

namespace report {

namespace {

const char *const kSectionNames[5] = {"Section4", "Section2", "Section1", "Section3", "Section5"};
enum { ReportHeaderIdx = 0, PageHeaderIdx = 1, DetailIdx = 2, PageFooterIdx = 3, ReportFooterIdx = 4 };

[[noreturn]] void notFound(const QString &name)
{
    throw vb::Error(3265, QStringLiteral("Das Element '%1' wurde in der Auflistung nicht gefunden.").arg(name));
}

int sectionIndex(const QString &name)
{
    for (int i = 0; i < 5; ++i)
        if (name.compare(QLatin1String(kSectionNames[i]), Qt::CaseInsensitive) == 0)
            return i;
    notFound(name);
}

int columnIndex(const QStringList &columns, const QString &field)
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns.at(i).compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool isBound(const Control &c)
{
    return (c.Type == ControlType::TextBox || c.Type == ControlType::Function) && !c.DataField.isEmpty();
}

// Line breaks of any kind become the separator that text layout breaks at.
QString withLineSeparators(QString text)
{
    text.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
    text.replace(QLatin1String("\n\r"), QString(QChar::LineSeparator));
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    text.replace(QLatin1Char('\r'), QChar::LineSeparator);
    return text;
}

} // namespace

// ---- sections ---------------------------------------------------------------------------------

Control &Section::Controls(const QString &name)
{
    for (Control &c : controls_)
        if (c.Name.compare(name, Qt::CaseInsensitive) == 0 && !name.isEmpty())
            return c;
    notFound(name);
}

const Control &Section::Controls(const QString &name) const
{
    return const_cast<Section *>(this)->Controls(name);
}

bool Section::hasControl(const QString &name) const
{
    return std::any_of(controls_.begin(), controls_.end(), [&](const Control &c) {
        return !name.isEmpty() && c.Name.compare(name, Qt::CaseInsensitive) == 0;
    });
}

Control &Section::add(Control c)
{
    controls_.push_back(std::move(c));
    return controls_.back();
}

Control &Section::AddLabel(const QString &name, const QString &caption, const QRectF &rect, Align align, double size,
                           bool bold)
{
    Control c;
    c.Name = name;
    c.Type = ControlType::Label;
    c.Caption = caption;
    c.Rect = rect;
    c.Alignment = align;
    c.FontSize = size;
    c.FontBold = bold;
    return add(std::move(c));
}

Control &Section::AddTextBox(const QString &name, const QString &dataField, const QRectF &rect, Align align,
                             const QString &format)
{
    Control c;
    c.Name = name;
    c.Type = ControlType::TextBox;
    c.DataField = dataField;
    c.Rect = rect;
    c.Alignment = align;
    c.DataFormat = format;
    return add(std::move(c));
}

Control &Section::AddFunction(const QString &name, const QString &dataField, const QRectF &rect, Align align,
                              const QString &format, FunctionType function)
{
    Control c;
    c.Name = name;
    c.Type = ControlType::Function;
    c.DataField = dataField;
    c.Rect = rect;
    c.Alignment = align;
    c.DataFormat = format;
    c.Function = function;
    return add(std::move(c));
}

Control &Section::AddLine(const QPointF &from, const QPointF &to, bool atBandBottom)
{
    Control c;
    c.Type = ControlType::Line;
    c.Rect = QRectF(from, to);
    c.AtBandBottom = atBandBottom;
    return add(std::move(c));
}

Control &Section::AddShape(const QString &name, const QRectF &rect)
{
    Control c;
    c.Name = name;
    c.Type = ControlType::Shape;
    c.Rect = rect;
    return add(std::move(c));
}

// ---- rows -------------------------------------------------------------------------------------

namespace {
constexpr qsizetype kLookedUpTexts = 4096; // texts a RowValues finds again, at most
} // namespace

QVariant RowValues::value(int row, int column) const
{
    if (row < 0 || row >= rows_ || column < 0 || column >= columns_)
        return QVariant();
    const std::size_t i = std::size_t(row) * std::size_t(columns_) + std::size_t(column);
    const Slot &s = slots_[i];
    switch (kinds_[i]) {
    case LongLong: return QVariant(qlonglong(s.whole));
    case Int: return QVariant(int(s.whole));
    case Double: return QVariant(s.real);
    case Text: return QVariant(texts_.at(s.index));
    case Other: return others_.at(s.index);
    default: return QVariant();
    }
}

void RowValues::append(const QVariantList &row)
{
    if (columns_ < 0)
        columns_ = int(row.size());
    for (int c = 0; c < columns_; ++c) {
        Slot s{};
        Kind k = Invalid;
        if (c < row.size()) {
            const QVariant &v = row.at(c);
            switch (v.typeId()) {
            case QMetaType::UnknownType: break;
            case QMetaType::LongLong:
                k = LongLong;
                s.whole = v.toLongLong();
                break;
            case QMetaType::Int:
                k = Int;
                s.whole = v.toInt();
                break;
            case QMetaType::Double:
                k = Double;
                s.real = v.toDouble();
                break;
            case QMetaType::QString:
                if (!v.isNull()) {
                    const QString t = v.toString();
                    auto it = textIndex_.constFind(t);
                    if (it != textIndex_.constEnd()) {
                        s.index = *it;
                    } else {
                        s.index = quint32(texts_.size());
                        texts_ << t;
                        if (textIndex_.size() < kLookedUpTexts)
                            textIndex_.insert(t, s.index);
                    }
                    k = Text;
                    break;
                }
                [[fallthrough]];
            default:
                k = Other;
                s.index = quint32(others_.size());
                others_ << v;
            }
        }
        kinds_.push_back(k);
        slots_.push_back(s);
    }
    ++rows_;
}

bool RowValues::operator==(const RowValues &other) const
{
    if (rows_ != other.rows_ || (rows_ > 0 && columns_ != other.columns_))
        return false;
    for (int r = 0; r < rows_; ++r)
        for (int c = 0; c < columns_; ++c)
            if (value(r, c) != other.value(r, c))
                return false;
    return true;
}

// ---- report -----------------------------------------------------------------------------------

Report::Report(const QString &caption)
    : Caption(caption),
      PageSize(QPageSize(QPageSize::A4).size(QPageSize::Point)),
      Margins(42, 36, 36, 36),
      rows_(std::make_shared<Rows>())
{
    for (int i = 0; i < 5; ++i)
        sections_[i].Name = QLatin1String(kSectionNames[i]);
}

Report::~Report()
{
    // A preview that no pane took over goes with its report (widgets only while the
    // application exists).
    if (preview_ && !preview_->parent() && QCoreApplication::instance())
        delete preview_.data();
}

Section &Report::Sections(const QString &name)
{
    return sections_[sectionIndex(name)];
}

const Section &Report::Sections(const QString &name) const
{
    return sections_[sectionIndex(name)];
}

void Report::Refresh()
{
    auto rows = std::make_shared<Rows>();
    if (source_) {
        dao::Recordset &rs = *source_;
        const int n = rs.FieldCount();
        for (int i = 0; i < n; ++i)
            rows->columns << rs.Fields(i).Name();
        // A forward read is read as it comes (its count would be one more query).
        if (rs.Type() == dao::dbOpenForwardOnly ? !rs.Eof() : rs.RecordCount() > 0) {
            rs.MoveFirst();
            QVariantList values;
            values.reserve(n);
            while (!rs.Eof()) {
                values.clear();
                for (int i = 0; i < n; ++i)
                    values << rs.Fields(i).Value();
                rows->values.append(values);
                rs.MoveNext();
            }
        }
    }
    // Every binding must name a column; a sum must find figures.
    for (const Section &s : sections_) {
        for (const Control &c : s.controls()) {
            if (!isBound(c))
                continue;
            const int col = columnIndex(rows->columns, c.DataField);
            if (col < 0)
                throw vb::Error(3265, QStringLiteral("Das Datenfeld '%1' des Steuerelements '%2' wurde nicht gefunden.")
                                          .arg(c.DataField, c.Name));
            if (c.Type != ControlType::Function || c.Function != FunctionType::Sum)
                continue;
            for (int r = 0; r < rows->values.size(); ++r) {
                const QVariant v = rows->values.value(r, col);
                if (v.typeId() == QMetaType::LongLong) // a whole number as read
                    continue;
                if (!v.isValid() || v.isNull() ||
                    (v.typeId() == QMetaType::QString && v.toString().trimmed().isEmpty()))
                    continue;
                if (!ToNumber(v))
                    throw vb::Error(13, QStringLiteral("Typen unverträglich: '%1' im Feld '%2' ist keine Zahl.")
                                            .arg(PlainText(v), c.DataField));
            }
        }
    }
    rows_ = std::move(rows);
}

int Report::rowCount() const
{
    return int(rows_->values.size());
}

const Rows &Report::rows() const
{
    return *rows_;
}

Document Report::document() const
{
    Document doc;
    doc.caption = Caption;
    doc.pageSize = PageSize;
    doc.margins = Margins;
    for (int i = 0; i < 5; ++i)
        doc.sections[i] = sections_[i];
    doc.rows = rows_;
    doc.printDate = printDate_.isValid() ? printDate_ : ole::Today();
    return doc;
}

namespace {

// A device of a given resolution for measuring text and counting pages.
class MeasureDevice : public QPaintDevice
{
public:
    explicit MeasureDevice(int dpi) : dpi_(dpi) {}
    QPaintEngine *paintEngine() const override { return nullptr; }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return dpi_;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
        case PdmDepth: return 32;
        case PdmNumColors: return INT_MAX;
        case PdmWidth:
        case PdmHeight: return 10000;
        case PdmWidthMM:
        case PdmHeightMM: return int(10000 * 25.4 / dpi_);
        default: return 0;
        }
    }

private:
    int dpi_;
};

} // namespace

int Report::PageCount(int dpi) const
{
    MeasureDevice device(dpi);
    return PageLayout(document(), &device).pageCount();
}

void Report::ExportPdf(const QString &path) const
{
    const Document doc = document();
    QPdfWriter writer(path);
    writer.setResolution(600);
    writer.setPageSize(QPageSize(doc.pageSize, QPageSize::Point));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(doc.caption);
    writer.setCreator(QStringLiteral("Torvana"));
    QPainter painter;
    if (!painter.begin(&writer))
        throw vb::Error(75, QStringLiteral("Fehler beim Zugriff auf Pfad/Datei: %1").arg(path));
    PageLayout layout(doc, &writer);
    for (int i = 0; i < layout.pageCount(); ++i) {
        if (i > 0 && !writer.newPage())
            throw vb::Error(75, QStringLiteral("Fehler beim Zugriff auf Pfad/Datei: %1").arg(path));
        layout.paintPage(painter, i);
    }
    if (!painter.end())
        throw vb::Error(75, QStringLiteral("Fehler beim Zugriff auf Pfad/Datei: %1").arg(path));
}

void Report::PrintTo(QPagedPaintDevice &device) const
{
    Document doc = document();
    // Laid out on the paper the printer was given (the print dialog may have changed it).
    const QSizeF paper = device.pageLayout().fullRectPoints().size();
    if (paper.isValid() && !paper.isEmpty())
        doc.pageSize = paper;
    QPainter painter;
    if (!painter.begin(&device))
        throw vb::Error(482, QStringLiteral("Druckerfehler: der Drucker nimmt den Auftrag nicht an."));
    PageLayout layout(doc, &device);
    for (int i = 0; i < layout.pageCount(); ++i) {
        if (i > 0 && !device.newPage())
            throw vb::Error(482, QStringLiteral("Druckerfehler: eine neue Seite kann nicht begonnen werden."));
        layout.paintPage(painter, i);
    }
    if (!painter.end())
        throw vb::Error(482, QStringLiteral("Druckerfehler: der Auftrag konnte nicht abgeschlossen werden."));
}

QWidget *Report::Show()
{
    if (!preview_)
        preview_ = new PreviewWindow();
    preview_->setDocument(document());
    return preview_;
}

QWidget *Report::window() const
{
    return preview_.data();
}

// ---- layout and painting ----------------------------------------------------------------------

struct PageLayout::Impl
{
    struct Band
    {
        int section;
        int row;  // detail rows; -1 otherwise
        double y; // page points, from the paper's top
        double height;
    };

    Document doc;
    QPaintDevice *device;
    double scale; // device pixels per point
    double top = 0;
    double bottom = 0; // where the page footer begins
    // A page keeps only where its detail rows begin; its bands are laid out again when it is
    // painted, so that a long list holds four bytes a page, not its every band.
    std::vector<int> firstRows; // each page's first detail row; the next page's first ends it
    int rowsPlaced = 0;         // the detail rows on the pages: all, or none when it is hidden
    int footerPage = -1;        // the page of the report footer; -1: none
    QHash<const Control *, int> fields;
    QHash<const Control *, QString> functionTexts;
    // A font with its metrics on the device, and the widths of the texts measured in it (texts of
    // a list repeat: names, months, years), so that each is shaped once for layout and painting.
    struct Face
    {
        Face(const QFont &f, QPaintDevice *device, double scale)
            : font(f),
              metrics(f, device),
              lineSpacing(metrics.lineSpacing()),
              ascent(metrics.ascent()),
              height(metrics.ascent() + metrics.descent()),
              spacing(std::max(0.0, f.letterSpacing()) * scale),
              slack(scale)
        {
            advances.fill(-1);
        }
        QFont font;
        QFontMetricsF metrics;
        double lineSpacing; // device pixels
        double ascent;
        double height;  // ascent and descent: what a line of text covers
        double spacing; // added to each letter, at most
        double slack;   // one point: more than kerning moves the letters of a field's text
        mutable QHash<QString, double> widths;
        mutable std::array<double, 256> advances; // of the Latin-1 letters; -1 until measured

        // Whether a text surely fits a width without shaping it: its letters' advances added up
        // stay a point inside the width. Only for Latin-1 text; anything else is measured.
        bool surelyFits(const QString &text, double widthPx) const
        {
            const double limit = widthPx - slack;
            double w = 0;
            for (const QChar ch : text) {
                const char16_t u = ch.unicode();
                if (u < 32 || u >= 256)
                    return false;
                double &a = advances[u];
                if (a < 0)
                    a = metrics.horizontalAdvance(ch) + spacing;
                w += a;
                if (w > limit)
                    return false;
            }
            return true;
        }

        double width(const QString &text) const
        {
            auto it = widths.constFind(text);
            if (it != widths.constEnd())
                return *it;
            if (widths.size() >= 100000) // bounded for a preview kept open on a long list
                widths.clear();
            const double w = metrics.horizontalAdvance(text);
            widths.insert(text, w);
            return w;
        }
    };
    mutable std::unordered_map<quint32, std::unique_ptr<Face>> faces;

    Impl(const Document &d, QPaintDevice *dev) : doc(d), device(dev), scale(dev->logicalDpiY() / 72.0) {}

    const Section &section(int i) const { return doc.sections[i]; }
    bool shows(int i) const { return section(i).Visible && section(i).Height > 0; }

    const Face &face(const Control &c) const
    {
        const quint32 key = quint32(std::lround(c.FontSize * 10)) << 1 | (c.FontBold ? 1u : 0u);
        auto it = faces.find(key);
        if (it != faces.end())
            return *it->second;
        QFont f(QStringLiteral("Arial"));
        f.setPointSizeF(c.FontSize);
        f.setBold(c.FontBold);
        f.setHintingPreference(QFont::PreferNoHinting);
        // A spacing too small to see keeps the shaper from joining letters into ligatures
        // ("fi" as one glyph), so that the text of a written PDF can be searched and copied.
        f.setLetterSpacing(QFont::AbsoluteSpacing, 0.05);
        return *faces.emplace(key, std::make_unique<Face>(f, device, scale)).first->second;
    }

    // The lines of a text at a width (device pixels): wrapped at word boundaries, inside words
    // too long for the width, and at the text's own line breaks.
    QStringList wrap(const QString &text, const Face &face, double widthPx) const
    {
        const bool breaks = text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
        if (!breaks && (face.surelyFits(text, widthPx) || face.width(text) <= widthPx))
            return {text};
        const QString t = withLineSeparators(text);
        QTextLayout layout(t, face.font, device);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        QStringList lines;
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(std::max(1.0, widthPx));
            QString part = t.mid(line.textStart(), line.textLength());
            while (!part.isEmpty() && (part.back().isSpace() || part.back() == QChar::LineSeparator))
                part.chop(1);
            lines << part;
        }
        layout.endLayout();
        if (lines.isEmpty())
            lines << QString();
        return lines;
    }

    QString labelText(const Control &c, int page) const
    {
        QString t = c.Caption;
        if (!t.contains(QLatin1Char('%')))
            return t;
        QString out;
        for (int i = 0; i < t.size(); ++i) {
            if (t.at(i) == QLatin1Char('%') && i + 1 < t.size()) {
                const QChar k = t.at(i + 1);
                if (k == QLatin1Char('p')) {
                    out += QString::number(page + 1);
                    ++i;
                    continue;
                }
                if (k == QLatin1Char('P')) {
                    out += QString::number(firstRows.size());
                    ++i;
                    continue;
                }
                if (k == QLatin1Char('d')) {
                    out += datetext::date(doc.printDate);
                    ++i;
                    continue;
                }
            }
            out += t.at(i);
        }
        return out;
    }

    QString text(const Control &c, int sectionIdx, int row, int page) const
    {
        switch (c.Type) {
        case ControlType::Label: return labelText(c, page);
        case ControlType::TextBox: {
            if (sectionIdx != DetailIdx || row < 0)
                return QString();
            const int col = fields.value(&c, -1);
            if (col < 0)
                return QString();
            return FormatValue(doc.rows->values.value(row, col), c.DataFormat);
        }
        case ControlType::Function: return functionTexts.value(&c);
        default: return QString();
        }
    }

    bool isText(const Control &c) const
    {
        return c.Type == ControlType::Label || c.Type == ControlType::TextBox || c.Type == ControlType::Function;
    }

    // Height of a band: the section's, grown to hold every line of its growing texts, and the
    // whole first line of any text whose box is lower than its font or reaches below the section.
    double bandHeight(int sectionIdx, int row) const
    {
        const Section &s = section(sectionIdx);
        double extra = 0;
        for (const Control &c : s.controls()) {
            if (!isText(c))
                continue;
            const Face &fc = face(c);
            const double firstLine = c.Rect.top() + fc.height / scale - s.Height;
            if (!c.CanGrow && firstLine <= extra)
                continue;
            const QString t = text(c, sectionIdx, row, 0);
            if (t.isEmpty())
                continue;
            extra = std::max(extra, firstLine);
            if (c.CanGrow) {
                // Each line below the first adds the font's line spacing; the last line covers
                // the font's whole height, which some fonts (negative leading) make taller than
                // their line spacing.
                const int lines = int(wrap(t, fc, c.Rect.width() * scale).size());
                const double needed = ((lines - 1) * fc.lineSpacing + std::max(fc.lineSpacing, fc.height)) / scale;
                extra = std::max(extra, needed - c.Rect.height());
            }
        }
        return s.Height + extra;
    }

    void bindFields()
    {
        const Rows &rows = *doc.rows;
        for (const Section &s : doc.sections) {
            for (const Control &c : s.controls()) {
                if (!isBound(c))
                    continue;
                const int col = columnIndex(rows.columns, c.DataField);
                fields.insert(&c, col);
                if (c.Type != ControlType::Function)
                    continue;
                double sum = 0;
                long long count = 0;
                if (col >= 0) {
                    for (int r = 0; r < rows.values.size(); ++r) {
                        const QVariant v = rows.values.value(r, col);
                        if (!v.isValid() || v.isNull())
                            continue;
                        if (const auto n = ToNumber(v)) {
                            sum += *n;
                            ++count;
                        } else if (!(v.typeId() == QMetaType::QString && v.toString().trimmed().isEmpty())) {
                            ++count;
                        }
                    }
                }
                const double value = c.Function == FunctionType::Count ? double(count) : sum;
                functionTexts.insert(&c, FormatValue(value, c.DataFormat));
            }
        }
    }

    // Where the pages break: between bands, a band that does not fit below the last on a page
    // going to the next (a page holds at least one band besides its headers).
    void paginate()
    {
        const double pageHeight = doc.pageSize.height();
        top = doc.margins.top();
        bottom = pageHeight - doc.margins.bottom() - (shows(PageFooterIdx) ? section(PageFooterIdx).Height : 0);
        const double reportHeader = shows(ReportHeaderIdx) ? bandHeight(ReportHeaderIdx, -1) : 0;
        const double pageHeader = shows(PageHeaderIdx) ? bandHeight(PageHeaderIdx, -1) : 0;
        rowsPlaced = section(DetailIdx).Visible ? int(doc.rows->values.size()) : 0;
        double y = top + reportHeader + pageHeader;
        bool content = false; // a band below the headers on the page
        firstRows.push_back(0);
        auto place = [&](int sectionIdx, int row) {
            const double h = bandHeight(sectionIdx, row);
            if (y + h > bottom && content) {
                firstRows.push_back(row >= 0 ? row : rowsPlaced);
                y = top + pageHeader;
            }
            y += h;
            content = true;
        };
        for (int r = 0; r < rowsPlaced; ++r)
            place(DetailIdx, r);
        if (shows(ReportFooterIdx)) {
            place(ReportFooterIdx, -1);
            footerPage = int(firstRows.size()) - 1;
        }
    }

    // The bands of a page, from its top, as paginate placed them.
    std::vector<Band> bands(int page) const
    {
        std::vector<Band> out;
        double y = top;
        auto put = [&](int sectionIdx, int row) {
            const double h = bandHeight(sectionIdx, row);
            out.push_back({sectionIdx, row, y, h});
            y += h;
        };
        if (page == 0 && shows(ReportHeaderIdx))
            put(ReportHeaderIdx, -1);
        if (shows(PageHeaderIdx))
            put(PageHeaderIdx, -1);
        const int end = std::size_t(page) + 1 < firstRows.size() ? firstRows[std::size_t(page) + 1] : rowsPlaced;
        for (int r = firstRows[std::size_t(page)]; r < end; ++r)
            put(DetailIdx, r);
        if (page == footerPage)
            put(ReportFooterIdx, -1);
        return out;
    }

    // The pen and font last set while painting a page: a written PDF gets a change of state only
    // where one is needed.
    mutable const Face *paintedFace = nullptr;
    mutable double paintedPen = -1; // its width; -1: none set yet

    void usePen(QPainter &p, double width) const
    {
        if (paintedPen == width)
            return;
        QPen pen(Qt::black);
        pen.setWidthF(width);
        p.setPen(pen);
        paintedPen = width;
    }

    // Controls are drawn without clipping: a clip and a saved painter state for every text make a
    // written PDF several times larger and slower. Texts are measured and cut to their box instead,
    // and a line of text is drawn only where it stands whole inside its box and the band's room.
    void paintControl(QPainter &p, const Control &c, int sectionIdx, int row, int page, const QRectF &bandPx,
                      const QRectF &roomPx, double bandGrowth) const
    {
        const double left = doc.margins.left() * scale;
        const double eps = 0.01 * scale;
        if (c.Type == ControlType::Line) {
            QLineF line(left + c.Rect.left() * scale, bandPx.top() + c.Rect.top() * scale,
                        left + c.Rect.right() * scale, bandPx.top() + c.Rect.bottom() * scale);
            if (c.AtBandBottom) {
                const double yb = roomPx.bottom() - 0.5 * scale;
                line = QLineF(line.x1(), yb, line.x2(), yb);
            }
            if (std::max(line.y1(), line.y2()) > roomPx.bottom() + eps)
                return;
            usePen(p, 0.5 * scale);
            p.drawLine(line);
            return;
        }
        QRectF r(left + c.Rect.left() * scale, bandPx.top() + c.Rect.top() * scale, c.Rect.width() * scale,
                 c.Rect.height() * scale);
        if (c.Type == ControlType::Shape) {
            const QRectF shown = r.intersected(roomPx);
            if (shown.isEmpty())
                return;
            usePen(p, 0.75 * scale);
            p.drawRect(shown);
            return;
        }
        const QString t = text(c, sectionIdx, row, page);
        if (t.isEmpty())
            return;
        const Face &fc = face(c);
        const QFontMetricsF &fm = fc.metrics;
        const double lh = fc.lineSpacing;
        if (c.CanGrow)
            r.setHeight(r.height() + bandGrowth * scale);
        QStringList lines;
        if (c.CanGrow || c.WordWrap) {
            lines = wrap(t, fc, r.width());
            // The lines whose whole height the box holds (as the drawing below counts them).
            const int fit = std::max(1, int(std::floor((r.height() - std::max(lh, fc.height) + 0.01) / lh)) + 1);
            if (!c.CanGrow && lines.size() > fit) {
                lines = lines.mid(0, fit);
                lines.last() = fm.elidedText(lines.last() + QStringLiteral("…"), Qt::ElideRight, r.width());
            }
        } else {
            QString one = t;
            one.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
            lines << one;
        }
        // The box's room: at least one line of its font tall, never past the band's room.
        const double boxBottom = std::min(roomPx.bottom(), std::max(r.bottom(), r.top() + fc.height));
        if (paintedFace != &fc) {
            p.setFont(fc.font);
            paintedFace = &fc;
        }
        if (paintedPen < 0) // texts take any of the black pens
            usePen(p, 0.5 * scale);
        for (int i = 0; i < lines.size(); ++i) {
            const double top = r.top() + i * lh;
            if (top + fc.height > boxBottom + eps)
                break;
            QString line = lines.at(i);
            if (line.isEmpty())
                continue;
            // A left-aligned text that surely fits needs no width.
            double x = r.left();
            if (c.Alignment != Align::Left || !fc.surelyFits(line, r.width())) {
                double width = fc.width(line);
                if (width > r.width() + eps) {
                    line = fm.elidedText(line, Qt::ElideRight, r.width());
                    width = fc.width(line);
                    if (line.isEmpty())
                        continue;
                }
                if (c.Alignment == Align::Right)
                    x = r.right() - width;
                else if (c.Alignment == Align::Center)
                    x = r.left() + (r.width() - width) / 2;
            }
            p.drawText(QPointF(x, top + fc.ascent), line);
        }
    }

    void paintBand(QPainter &p, int sectionIdx, int row, double y, double height, int page, double limit) const
    {
        const double pageWidth = doc.pageSize.width() * scale;
        const QRectF band(0, y * scale, pageWidth, height * scale);
        // A band taller than the page's room is cut off where the room ends.
        QRectF room = band;
        if (room.bottom() > limit * scale)
            room.setBottom(limit * scale);
        const double growth = height - section(sectionIdx).Height;
        for (const Control &c : section(sectionIdx).controls())
            paintControl(p, c, sectionIdx, row, page, band, room, growth);
    }
};

PageLayout::PageLayout(const Document &doc, QPaintDevice *device) : d(std::make_unique<Impl>(doc, device))
{
    if (!d->doc.rows)
        d->doc.rows = std::make_shared<Rows>();
    d->bindFields();
    d->paginate();
}

PageLayout::~PageLayout() = default;

int PageLayout::pageCount() const
{
    return int(d->firstRows.size());
}

QSizeF PageLayout::pageSizePx() const
{
    return d->doc.pageSize * d->scale;
}

void PageLayout::paintPage(QPainter &painter, int page) const
{
    if (page < 0 || page >= pageCount())
        return;
    painter.save();
    painter.setBrush(Qt::NoBrush);
    d->paintedFace = nullptr;
    d->paintedPen = -1;
    for (const Impl::Band &b : d->bands(page)) {
        const double limit =
            b.section == PageHeaderIdx || b.section == ReportHeaderIdx ? d->doc.pageSize.height() : d->bottom;
        d->paintBand(painter, b.section, b.row, b.y, b.height, page, limit);
    }
    if (d->shows(PageFooterIdx)) {
        const double h = d->section(PageFooterIdx).Height;
        d->paintBand(painter, PageFooterIdx, -1, d->bottom, h, page, d->doc.pageSize.height());
    }
    painter.restore();
}

} // namespace report
