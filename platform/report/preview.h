#pragma once
// The preview window of a report: a tool bar over its pages, which stand one below the other on a
// grey ground, scrolled. Only the pages in view are painted, so a report of hundreds of pages
// opens at once.
//
// The tool bar pages through the report (first, previous, next, last page; "Seite 2 von 5"),
// zooms it (smaller, larger; the scale shown in per cent, 100 % the paper's own size) and offers
// to print and to close. Printing and closing are the host's: it hands in what either does
// (printing goes through the print dialog of the printer port, closing puts the window back
// that the preview stood in for); without a handler the button is not shown.
#include "report/report.h"

#include <QSize>
#include <QWidget>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QAbstractScrollArea;
class QToolBar;

namespace report {

class PageView;

class PreviewWindow : public QWidget
{
    Q_OBJECT
public:
    explicit PreviewWindow(QWidget *parent = nullptr);
    ~PreviewWindow() override;

    // Shows this document from its first page at the scale it had; the title is the document's
    // caption.
    void setDocument(const Document &doc);
    const Document &document() const { return doc_; }
    int pageCount() const;

    // The page at the top of the view (from 0), and a move there.
    int currentPage() const { return page_; }
    void showPage(int page);

    // The scale, 1.0 the paper's own size; kept within the steps the tool bar offers.
    double zoom() const { return zoom_; }
    void setZoom(double zoom);

    // What "Drucken" and "Schließen" do; an empty function hides the button.
    void setPrintHandler(std::function<void()> print);
    void setCloseHandler(std::function<void()> close);

    QToolBar *toolBar() const { return toolBar_; }
    // The scrolled view of the pages; they are painted on its viewport.
    QAbstractScrollArea *scrollArea() const;
    // The pages one below the other with their gaps, in pixels at the current scale.
    QSize pagesSize() const;

private:
    friend class PageView;
    void updateControls();
    void followScroll(int value);
    // Height of a page and its gap in the view's pixels.
    double pitch() const;

    Document doc_;
    QToolBar *toolBar_;
    PageView *view_;
    QAction *print_, *first_, *previous_, *next_, *last_, *smaller_, *larger_, *close_;
    QLabel *pageLabel_, *zoomLabel_;
    std::function<void()> onPrint_, onClose_;
    int page_ = 0;
    double zoom_ = 1.0;
    bool moving_ = false;
};

} // namespace report
