#pragma once
// A status bar with panels addressed by number, counted from 1.
#include <QStatusBar>
#include <vector>

class QLabel;

namespace forms {

class StatusBar : public QStatusBar
{
    Q_OBJECT
public:
    explicit StatusBar(int panels, QWidget *parent = nullptr);

    int panelCount() const { return static_cast<int>(panels_.size()); }
    // Panel index 1..panelCount(); another index raises vb::Error 35600.
    QString panelText(int index) const;
    void setPanelText(int index, const QString &text);
    // Minimum width of a panel in twips.
    void setPanelWidth(int index, int twips);

private:
    QLabel *panel(int index) const;
    std::vector<QLabel *> panels_;
};

} // namespace forms
