#pragma once
// The preview window of a report: its pages one below the other on a grey ground, scrolled.
// Only the pages in view are painted, so a report of hundreds of pages opens at once.
#include "report/report.h"

#include <QScrollArea>

#include <memory>

namespace report {

class PageCanvas;

class PreviewWindow : public QScrollArea
{
    Q_OBJECT
public:
    explicit PreviewWindow(QWidget *parent = nullptr);
    ~PreviewWindow() override;

    // Shows this document from its first page; the title is the document's caption.
    void setDocument(const Document &doc);
    const Document &document() const { return doc_; }
    int pageCount() const;

private:
    friend class PageCanvas;
    Document doc_;
    PageCanvas *canvas_;
};

} // namespace report
