#include "sound/sound.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QUrl>

#ifdef TVSOUND_HAVE_MULTIMEDIA
#include <QHash>
#include <QSoundEffect>
#endif

namespace tvsound {

namespace {

#ifdef TVSOUND_HAVE_MULTIMEDIA
// One sound effect per file, kept by a holder that the application object owns, so that the
// effects go before the application (and its audio backend) does.
class EffectCache : public QObject
{
public:
    explicit EffectCache(QObject *parent) : QObject(parent) {}

    void play(const QString &path)
    {
        QSoundEffect *effect = effects_.value(path);
        if (!effect) {
            const QUrl url = path.startsWith(QLatin1String(":/"))
                                 ? QUrl(QLatin1String("qrc") + path)
                                 : QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
            effect = new QSoundEffect(this);
            effect->setSource(url);
            effects_.insert(path, effect);
        }
        // One sound at a time, as an asynchronous player of the desktop does.
        for (QSoundEffect *other : std::as_const(effects_))
            if (other != effect && other->isPlaying())
                other->stop();
        effect->play();
    }

private:
    QHash<QString, QSoundEffect *> effects_;
};
#endif

class DefaultPort : public SoundPort
{
public:
    void play(const QString &path) override
    {
#ifdef TVSOUND_HAVE_MULTIMEDIA
        QCoreApplication *app = QCoreApplication::instance();
        if (!app || path.isEmpty() || !QFileInfo::exists(path))
            return;
        if (!cache_)
            cache_ = new EffectCache(app);
        cache_->play(path);
#else
        (void)path;
#endif
    }

private:
#ifdef TVSOUND_HAVE_MULTIMEDIA
    QPointer<EffectCache> cache_;
#endif
};

DefaultPort &defaultPort()
{
    static DefaultPort p;
    return p;
}

SoundPort *g_port = nullptr;

} // namespace

void play(const QString &path)
{
    port().play(path);
}

SoundPort &port()
{
    return g_port ? *g_port : defaultPort();
}

SoundPort *setPort(SoundPort *port)
{
    SoundPort *previous = g_port ? g_port : &defaultPort();
    g_port = port == &defaultPort() ? nullptr : port;
    return previous;
}

bool hasAudioOutput()
{
#ifdef TVSOUND_HAVE_MULTIMEDIA
    return true;
#else
    return false;
#endif
}

} // namespace tvsound
