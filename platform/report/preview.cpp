#include "report/preview.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
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

class PageCanvas : public QWidget
{
public:
    explicit PageCanvas(PreviewWindow *owner) : QWidget(owner), owner_(owner) { setAttribute(Qt::WA_OpaquePaintEvent); }

    void reset()
    {
        layout_.reset();
        updateSize();
        update();
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

    void updateSize()
    {
        const QSizeF page = pageSize();
        const int n = std::max(1, layout_->pageCount());
        resize(int(std::ceil(page.width())) + 2 * kGap, int(std::ceil(n * (page.height() + kGap))) + kGap);
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        ensureLayout();
        QPainter p(this);
        p.fillRect(event->rect(), QColor(128, 128, 128));
        const double zoom = owner_->zoom_;
        const QSizeF page = layout_->pageSizePx();
        const double pitch = page.height() * zoom + kGap;
        const int first = std::max(0, int((event->rect().top() - kGap) / pitch));
        const int last = std::min(layout_->pageCount() - 1, int(event->rect().bottom() / pitch));
        for (int i = first; i <= last; ++i) {
            const QRectF paper(kGap, kGap + i * pitch, page.width() * zoom, page.height() * zoom);
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

    void changeEvent(QEvent *event) override
    {
        // A new parent may stand on a screen of another resolution: lay out again.
        if (event->type() == QEvent::ParentChange)
            reset();
        QWidget::changeEvent(event);
    }

private:
    void ensureLayout()
    {
        if (!layout_)
            layout_ = std::make_unique<PageLayout>(owner_->doc_, this);
    }

    PreviewWindow *owner_;
    std::unique_ptr<PageLayout> layout_;
};

PreviewWindow::PreviewWindow(QWidget *parent)
    : QWidget(parent), toolBar_(new QToolBar(this)), scroll_(new QScrollArea(this)), canvas_(new PageCanvas(this))
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

    scroll_->setWidget(canvas_);
    scroll_->setWidgetResizable(false);
    scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll_->setBackgroundRole(QPalette::Dark);
    connect(scroll_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int v) { followScroll(v); });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar_);
    layout->addWidget(scroll_, 1);
    updateControls();
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::setDocument(const Document &doc)
{
    doc_ = doc;
    setWindowTitle(doc.caption);
    canvas_->reset();
    page_ = 0;
    moving_ = true;
    scroll_->verticalScrollBar()->setValue(0);
    scroll_->horizontalScrollBar()->setValue(0);
    moving_ = false;
    updateControls();
}

int PreviewWindow::pageCount() const
{
    return canvas_->pageCount();
}

double PreviewWindow::pitch() const
{
    return canvas_->pageSize().height() + kGap;
}

void PreviewWindow::showPage(int page)
{
    page_ = std::clamp(page, 0, std::max(0, pageCount() - 1));
    // The page's top edge at the top of the view, as far as the scroll range reaches.
    moving_ = true;
    scroll_->verticalScrollBar()->setValue(int(std::lround(page_ * pitch())));
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
    canvas_->updateSize();
    canvas_->update();
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
