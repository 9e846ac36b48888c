#pragma once
// A date field of the contact editor: the date-edit control LzDate2, created by its class and
// set to the German form (separator ".", day.month.four-digit year). Where the control's library
// is not installed, a text box with the date key filter takes its place, so that the editor
// still works.
//
// The field holds no date (empty) or one day. Texts are "dd.MM.yyyy"; the value is an OLE date,
// KeinDatum (0) for none.

#include <QWidget>

class QLineEdit;

namespace ole {
class ControlContainer;
}

namespace contacts {

class Datumsfeld : public QWidget
{
    Q_OBJECT
public:
    explicit Datumsfeld(const QString &name, QWidget *parent = nullptr);

    // True when the date-edit control hosts the field (false: the text-box stand-in).
    bool hatSteuerelement() const;
    ole::ControlContainer *steuerelement() const { return container_; }
    QLineEdit *textfeld() const { return text_; }

    // "" empties the field; a day.month.year text sets that day. A text that is no date leaves
    // the control unchanged (the stand-in shows it as typed, and gueltig() is false then).
    void setText(const QString &text);
    // "dd.MM.yyyy", or "" when the field holds no date.
    QString text() const;
    // The OLE date, KeinDatum when the field holds no date or no valid one.
    double wert() const;
    // Empty or a day that exists; false while the user's typing names a day that does not exist
    // (the date control's status says so).
    bool gueltig() const;
    void leeren() { setText(QString()); }
    // Back to the day last set by setText (the stored one of a loaded record, none for a new
    // one), whatever the user typed since.
    void zuruecksetzen() { setText(gesetzt_); }

    // Background as an OLE colour (system colours 0x800000nn included).
    void setHintergrund(quint32 oleColor);

protected:
    void changeEvent(QEvent *event) override;

private:
    ole::ControlContainer *container_ = nullptr;
    QLineEdit *text_ = nullptr;
    QString gesetzt_; // the text of the last setText
};

} // namespace contacts
