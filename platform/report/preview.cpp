#include "report/preview.h"

#include <QEvent>
#include <QPaintEvent>

#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace report {

namespace {
constexpr int kGap = 12; // pixels around and between the pages
}

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

protected:
    void paintEvent(QPaintEvent *event) override
    {
        ensureLayout();
        QPainter p(this);
        p.fillRect(event->rect(), QColor(128, 128, 128));
        const QSizeF page = layout_->pageSizePx();
        const double pitch = page.height() + kGap;
        const int first = std::max(0, int((event->rect().top() - kGap) / pitch));
        const int last = std::min(layout_->pageCount() - 1, int(event->rect().bottom() / pitch));
        for (int i = first; i <= last; ++i) {
            const QRectF paper(kGap, kGap + i * pitch, page.width(), page.height());
            p.fillRect(paper, Qt::white);
            p.setPen(Qt::black);
            p.drawRect(paper.adjusted(-1, -1, 0, 0));
            p.save();
            p.translate(paper.topLeft());
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

    void updateSize()
    {
        ensureLayout();
        const QSizeF page = layout_->pageSizePx();
        const int n = std::max(1, layout_->pageCount());
        resize(int(page.width()) + 2 * kGap, int(n * (page.height() + kGap)) + kGap);
    }

    PreviewWindow *owner_;
    std::unique_ptr<PageLayout> layout_;
};

PreviewWindow::PreviewWindow(QWidget *parent) : QScrollArea(parent), canvas_(new PageCanvas(this))
{
    setWidget(canvas_);
    setWidgetResizable(false);
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setBackgroundRole(QPalette::Dark);
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::setDocument(const Document &doc)
{
    doc_ = doc;
    setWindowTitle(doc.caption);
    canvas_->reset();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
}

int PreviewWindow::pageCount() const
{
    return canvas_->pageCount();
}

} // namespace report
