#include "grouppane.h"

namespace navrail {

GroupPaneWidget::GroupPaneWidget(Group *group, QWidget *barWidget) : QWidget(barWidget), group_(group)
{
    setObjectName(QStringLiteral("lzNavrailGroup"));
    const int header = 22;
    setGeometry(0, header, barWidget->width(), qMax(0, barWidget->height() - header));
    hide();
}

} // namespace navrail
