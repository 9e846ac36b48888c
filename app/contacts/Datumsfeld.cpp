#include "contacts/Datumsfeld.h"

#include "core/modRun.h"

#include "com/variant.h"
#include "common/datetext.h"
#include "dao/oledate.h"
#include "forms/gridlist.h"
#include "forms/keyfilter.h"
#include "ole/container.h"

#include "LzDateEdit.h"

#include <QEvent>
#include <QLineEdit>
#include <QVBoxLayout>
#include <cmath>

namespace contacts {

namespace {

// The control's status: lzdValid (a day), lzdNull (none) or lzdInvalid (a day typed that does
// not exist); lzdInvalid when the control does not answer.
SHORT statusDes(const ole::ControlContainer &c)
{
    com::Variant status;
    if (FAILED(c.getProperty(DISPID_LD_Status, &status)))
        return lzdInvalid;
    com::Variant s;
    if (FAILED(VariantChangeType(&s, &status, 0, VT_I2)))
        return lzdInvalid;
    return s.iVal;
}

// The control's value as an OLE date, or KeinDatum when it holds none.
double wertDes(const ole::ControlContainer &c)
{
    if (statusDes(c) != lzdValid)
        return modRun::KeinDatum;
    com::Variant v;
    if (FAILED(c.getProperty(DISPID_LD_Value, &v)) || v.vt != VT_DATE)
        return modRun::KeinDatum;
    // The editor keeps days only.
    return std::floor(v.date);
}

} // namespace

Datumsfeld::Datumsfeld(const QString &name, QWidget *parent) : QWidget(parent)
{
    setObjectName(name);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *c = new ole::ControlContainer(this);
    if (SUCCEEDED(c->createControl(CLSID_LzDate2))) {
        container_ = c;
        container_->setObjectName(name + QStringLiteral("_LzDate2"));
        container_->setProperty(DISPID_LD_Separator, com::Variant::string(QStringLiteral(".")));
        container_->setProperty(DISPID_LD_DateFormat, com::Variant::i2(lzdDdmmyyyy));
        container_->setProperty(DISPID_LD_NullString, com::Variant::string(QString()));
        container_->setMinimumHeight(QLineEdit().sizeHint().height());
        layout->addWidget(container_);
        setFocusProxy(container_->controlWidget() ? container_->controlWidget() : container_);
    } else {
        delete c;
        text_ = new QLineEdit(this);
        text_->setObjectName(name + QStringLiteral("_Text"));
        forms::installKeyPress(text_, [](int &k) { k = modRun::PruefeTasteDatum(k); });
        layout->addWidget(text_);
        setFocusProxy(text_);
    }
    leeren();
}

bool Datumsfeld::hatSteuerelement() const
{
    return container_ != nullptr;
}

void Datumsfeld::setText(const QString &text)
{
    gesetzt_ = text;
    if (text_) {
        text_->setText(text);
        return;
    }
    // Empty first, so that a text that is no date leaves no earlier day behind.
    container_->setProperty(DISPID_LD_Value, com::Variant::fromDate(0.0));
    if (text.trimmed().isEmpty())
        return;
    const double tag = modRun::ErmittleDatum(text);
    if (tag != modRun::KeinDatum)
        container_->setProperty(DISPID_LD_Value, com::Variant::fromDate(tag));
}

QString Datumsfeld::text() const
{
    if (text_)
        return text_->text();
    const double tag = wertDes(*container_);
    return tag == modRun::KeinDatum ? QString() : datetext::date(dao::OleDateToDate(tag));
}

double Datumsfeld::wert() const
{
    if (text_)
        return modRun::ErmittleDatum(text_->text());
    return wertDes(*container_);
}

bool Datumsfeld::gueltig() const
{
    if (text_)
        return text_->text().trimmed().isEmpty() || modRun::ErmittleDatum(text_->text()) != modRun::KeinDatum;
    // A day typed that does not exist leaves the control invalid until it is corrected.
    return statusDes(*container_) != lzdInvalid;
}

void Datumsfeld::setHintergrund(quint32 oleColor)
{
    if (container_) {
        container_->setProperty(DISPID_LD_BackColor, com::Variant::i4(LONG(oleColor)));
        return;
    }
    QPalette pal = text_->palette();
    pal.setColor(QPalette::Base, forms::GridList::toColor(oleColor));
    text_->setPalette(pal);
}

void Datumsfeld::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && container_)
        container_->setProperty(DISPID_LD_Enabled, com::Variant::boolean(isEnabled()));
}

} // namespace contacts
