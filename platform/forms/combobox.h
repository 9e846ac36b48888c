#pragma once
// The forms runtime's combo box. Filling the list from code chooses no entry: a box whose items
// were added by code has no current entry (index -1) and an empty text until the user picks one
// or code sets the index or the text. (Qt's own combo box makes the first item added to an empty
// list the current one, so that a window showing freshly filled lists would offer, and save,
// entries the user never chose.) Every window creates its combo boxes as this class.
#include <QComboBox>

namespace forms {

class ComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit ComboBox(QWidget *parent = nullptr);
};

} // namespace forms
