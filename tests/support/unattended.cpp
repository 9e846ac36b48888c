#include "unattended.h"

#include "forms/form.h"
#include "office/office.h"
#include "sound/sound.h"

namespace unattended {

namespace {

class Silence : public tvsound::SoundPort
{
public:
    void play(const QString &) override {}
};

} // namespace

void install(forms::MsgBoxService &boxes)
{
    static Silence silence;
    static office::DesktopOffice nothingStarts(office::DesktopOffice::Hooks{
        {}, [](const QString &, const QStringList &) { return false; }, [](const QUrl &) { return false; }});
    forms::setMsgBoxService(&boxes);
    forms::setModalShowWaits(false);
    tvsound::setPort(&silence);
    office::SetOffice(&nothingStarts);
}

int DefaultAnswers::show(const QString &, int flags, const QString &)
{
    return forms::defaultAnswer(flags);
}

} // namespace unattended
