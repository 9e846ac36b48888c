#include "report/preview.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace report {

namespace {
constexpr int kGap = 12; // pixels around and between the pages
// The scales the tool bar steps through.
constexpr double kZooms[] = {0.5, 0.75, 1.0, 1.25, 1.5, 2.0};
} // namespace

// The pages one below the other on a grey ground, in a scrolled view. The view paints from its
// scroll bars' values, not from a widget as tall as every page: a widget stops growing at
// QWIDGETSIZE_MAX (16,777,215 pixels, some 14,000 pages at 100 %), and the pages of a longer list
// could not be scrolled to.
class PageView : public QAbstractScrollArea
{
public:
    explicit PageView(PreviewWindow *owner) : QAbstractScrollArea(owner), owner_(owner)
    {
        viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
        verticalScrollBar()->setSingleStep(20);
        horizontalScrollBar()->setSingleStep(20);
    }

    void reset()
    {
        layout_.reset();
        updateSize();
    }

    int pageCount()
    {
        ensureLayout();
        return layout_->pageCount();
    }

    // A page at the view's scale.
    QSizeF pageSize()
    {
        ensureLayout();
        return layout_->pageSizePx() * owner_->zoom_;
    }

    // The pages with their gaps, at the view's scale.
    QSize contentsSize()
    {
        const QSizeF page = pageSize();
        const int n = std::max(1, layout_->pageCount());
        return {int(std::ceil(page.width())) + 2 * kGap, int(std::ceil(n * (page.height() + kGap))) + kGap};
    }

    void updateSize()
    {
        const QSize all = contentsSize();
        const QSize room = viewport()->size();
        verticalScrollBar()->setPageStep(room.height());
        verticalScrollBar()->setRange(0, std::max(0, all.height() - room.height()));
        horizontalScrollBar()->setPageStep(room.width());
        horizontalScrollBar()->setRange(0, std::max(0, all.width() - room.width()));
        viewport()->update();
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        ensureLayout();
        QPainter p(viewport());
        p.fillRect(event->rect(), QColor(128, 128, 128));
        const double zoom = owner_->zoom_;
        const QSizeF page = layout_->pageSizePx();
        const double pitch = page.height() * zoom + kGap;
        // The pages stand centred while the view is wider than they are.
        const int spare = viewport()->width() - contentsSize().width();
        const double x0 = spare > 0 ? spare / 2 : -horizontalScrollBar()->value();
        const double y0 = -double(verticalScrollBar()->value());
        const double top = event->rect().top() - y0;
        const double bottom = event->rect().bottom() - y0;
        const int first = std::max(0, int((top - kGap) / pitch));
        const int last = std::min(layout_->pageCount() - 1, int(bottom / pitch));
        for (int i = first; i <= last; ++i) {
            const QRectF paper(x0 + kGap, y0 + kGap + i * pitch, page.width() * zoom, page.height() * zoom);
            p.fillRect(paper, Qt::white);
            p.setPen(Qt::black);
            p.drawRect(paper.adjusted(-1, -1, 0, 0));
            p.save();
            p.translate(paper.topLeft());
            p.scale(zoom, zoom);
            p.setClipRect(QRectF(QPointF(0, 0), page));
            layout_->paintPage(p, i);
            p.restore();
        }
    }

    void resizeEvent(QResizeEvent *event) override
    {
        QAbstractScrollArea::resizeEvent(event);
        updateSize();
    }

    void scrollContentsBy(int, int) override { viewport()->update(); }

private:
    void ensureLayout()
    {
        if (!layout_)
            layout_ = std::make_unique<PageLayout>(owner_->doc_, viewport());
    }

    PreviewWindow *owner_;
    std::unique_ptr<PageLayout> layout_;
};

PreviewWindow::PreviewWindow(QWidget *parent) : QWidget(parent), toolBar_(new QToolBar(this)), view_(new PageView(this))
{
    toolBar_->setObjectName(QStringLiteral("Vorschauleiste"));
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto aktion = [this](const char *name, const QString &text, const QString &tipp, auto wirkung) {
        QAction *a = toolBar_->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        a->setToolTip(tipp);
        connect(a, &QAction::triggered, this, wirkung);
        return a;
    };
    print_ = aktion("tbDrucken", QStringLiteral("Drucken..."), QStringLiteral("Bericht drucken"), [this] {
        if (onPrint_)
            onPrint_();
    });
    toolBar_->addSeparator();
    first_ = aktion("tbErsteSeite", QStringLiteral("|<"), QStringLiteral("Erste Seite"), [this] { showPage(0); });
    previous_ = aktion("tbVorherigeSeite", QStringLiteral("<"), QStringLiteral("Vorherige Seite"),
                       [this] { showPage(page_ - 1); });
    pageLabel_ = new QLabel(toolBar_);
    pageLabel_->setObjectName(QStringLiteral("lblSeite"));
    pageLabel_->setAlignment(Qt::AlignCenter);
    pageLabel_->setContentsMargins(6, 0, 6, 0);
    toolBar_->addWidget(pageLabel_);
    next_ = aktion("tbNaechsteSeite", QStringLiteral(">"), QStringLiteral("Nächste Seite"),
                   [this] { showPage(page_ + 1); });
    last_ = aktion("tbLetzteSeite", QStringLiteral(">|"), QStringLiteral("Letzte Seite"),
                   [this] { showPage(pageCount() - 1); });
    toolBar_->addSeparator();
    smaller_ = aktion("tbVerkleinern", QStringLiteral("Verkleinern"), QStringLiteral("Kleiner anzeigen"), [this] {
        auto it = std::find_if(std::rbegin(kZooms), std::rend(kZooms), [this](double z) { return z < zoom_ - 1e-9; });
        if (it != std::rend(kZooms))
            setZoom(*it);
    });
    zoomLabel_ = new QLabel(toolBar_);
    zoomLabel_->setObjectName(QStringLiteral("lblZoom"));
    zoomLabel_->setAlignment(Qt::AlignCenter);
    zoomLabel_->setContentsMargins(6, 0, 6, 0);
    toolBar_->addWidget(zoomLabel_);
    larger_ = aktion("tbVergroessern", QStringLiteral("Vergrößern"), QStringLiteral("Größer anzeigen"), [this] {
        auto it = std::find_if(std::begin(kZooms), std::end(kZooms), [this](double z) { return z > zoom_ + 1e-9; });
        if (it != std::end(kZooms))
            setZoom(*it);
    });
    toolBar_->addSeparator();
    close_ = aktion("tbSchliessen", QStringLiteral("Schließen"), QStringLiteral("Vorschau schließen"), [this] {
        if (onClose_)
            onClose_();
    });
    print_->setVisible(false);
    close_->setVisible(false);

    view_->setBackgroundRole(QPalette::Dark);
    connect(view_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int v) { followScroll(v); });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar_);
    layout->addWidget(view_, 1);
    updateControls();
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::setDocument(const Document &doc)
{
    doc_ = doc;
    setWindowTitle(doc.caption);
    view_->reset();
    page_ = 0;
    moving_ = true;
    view_->verticalScrollBar()->setValue(0);
    view_->horizontalScrollBar()->setValue(0);
    moving_ = false;
    updateControls();
}

int PreviewWindow::pageCount() const
{
    return view_->pageCount();
}

QAbstractScrollArea *PreviewWindow::scrollArea() const
{
    return view_;
}

QSize PreviewWindow::pagesSize() const
{
    return view_->contentsSize();
}

double PreviewWindow::pitch() const
{
    return view_->pageSize().height() + kGap;
}

void PreviewWindow::showPage(int page)
{
    page_ = std::clamp(page, 0, std::max(0, pageCount() - 1));
    // The page's top edge at the top of the view, as far as the scroll range reaches.
    moving_ = true;
    view_->verticalScrollBar()->setValue(int(std::lround(page_ * pitch())));
    moving_ = false;
    updateControls();
}

void PreviewWindow::setZoom(double zoom)
{
    zoom = std::clamp(zoom, std::begin(kZooms)[0], std::end(kZooms)[-1]);
    if (zoom == zoom_)
        return;
    const int seite = page_;
    zoom_ = zoom;
    view_->updateSize();
    showPage(seite);
}

void PreviewWindow::setPrintHandler(std::function<void()> print)
{
    onPrint_ = std::move(print);
    print_->setVisible(bool(onPrint_));
}

void PreviewWindow::setCloseHandler(std::function<void()> close)
{
    onClose_ = std::move(close);
    close_->setVisible(bool(onClose_));
}

void PreviewWindow::followScroll(int value)
{
    if (moving_)
        return;
    // The page whose upper half is at the top of the view.
    page_ = std::clamp(int((value + pitch() / 2) / pitch()), 0, std::max(0, pageCount() - 1));
    updateControls();
}

void PreviewWindow::updateControls()
{
    const int n = std::max(1, pageCount());
    pageLabel_->setText(QStringLiteral("Seite %1 von %2").arg(page_ + 1).arg(n));
    zoomLabel_->setText(QStringLiteral("%1 %").arg(std::lround(zoom_ * 100)));
    first_->setEnabled(page_ > 0);
    previous_->setEnabled(page_ > 0);
    next_->setEnabled(page_ < n - 1);
    last_->setEnabled(page_ < n - 1);
    smaller_->setEnabled(zoom_ > std::begin(kZooms)[0] + 1e-9);
    larger_->setEnabled(zoom_ < std::end(kZooms)[-1] - 1e-9);
}

} // namespace report
