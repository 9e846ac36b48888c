#include "forms/combobox.h"

namespace forms {

ComboBox::ComboBox(QWidget *parent) : QComboBox(parent)
{
    // Qt leaves the current index alone when items arrive in an empty list only while a
    // placeholder is set. A blank one shows nothing, like the original's empty text.
    setPlaceholderText(QStringLiteral(" "));
}

} // namespace forms
