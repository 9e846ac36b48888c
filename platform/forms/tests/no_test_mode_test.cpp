// The runtime has no test mode: whatever the environment holds, a question and a modal window
// reach the user unless the program put stand-ins in place through the runtime's setters (as
// the tests' own main does).
#include "forms/form.h"
#include "forms/services.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace forms;

namespace {

class Frage : public Form
{};

// The runtime as the shipped program has it, for the lifetime of the object: its own message
// service, modal windows that wait, and the environment of a test run of old (TORVANA_TESTING).
class WieAusgeliefert
{
public:
    WieAusgeliefert() : boxes_(setMsgBoxService(nullptr)), waits_(setModalShowWaits(true)), hook_(setModalHook(nullptr))
    {
        qputenv("TORVANA_TESTING", "1");
    }
    ~WieAusgeliefert()
    {
        qunsetenv("TORVANA_TESTING");
        setModalHook(std::move(hook_));
        setModalShowWaits(waits_);
        setMsgBoxService(boxes_);
    }

private:
    MsgBoxService *boxes_;
    bool waits_;
    ModalHook hook_;
};

// Clicks the button captioned caption of the message box open now, once one is open.
void klickeInDerBox(const QString &caption, QString &text)
{
    auto *timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, caption, &text] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        text = box->text();
        for (QPushButton *b : box->findChildren<QPushButton *>())
            if (b->text() == caption)
                b->click();
        timer->deleteLater();
    });
    timer->start(10);
}

} // namespace

TEST(NoTestMode, WithTheOldSwitchSetAQuestionIsAskedAndTheUsersAnswerCounts)
{
    WieAusgeliefert ausgeliefert;
    EXPECT_NE(dynamic_cast<QtMsgBoxService *>(&msgBoxService()), nullptr);
    QString gezeigt;
    klickeInDerBox(QStringLiteral("Nein"), gezeigt);
    // Yes is the default: only the user's click answers No.
    EXPECT_EQ(MsgBox(QStringLiteral("Fangeintrag wirklich löschen ?"), vbYesNo + vbQuestion, QStringLiteral("Torvana")),
              vbNo);
    EXPECT_EQ(gezeigt, QStringLiteral("Fangeintrag wirklich löschen ?"));
}

TEST(NoTestMode, WithTheOldSwitchSetAModalWindowWaitsUntilItGoes)
{
    WieAusgeliefert ausgeliefert;
    bool weg = false;
    Frage &frage = form<Frage>();
    QTimer::singleShot(0, &frage, [&] {
        weg = true;
        frage.Hide();
    });
    frage.Show(vbModal);
    EXPECT_TRUE(weg) << "the modal show returned before the window went";
    unloadAll();
}
