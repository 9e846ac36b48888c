#pragma once
// A sound port for tests: records what would have been played, and puts itself in place of the
// process's port for its lifetime.
#include "sound/sound.h"

#include <QStringList>

namespace tvsound {

class RecordingSoundPort : public SoundPort
{
public:
    RecordingSoundPort() : previous_(setPort(this)) {}
    ~RecordingSoundPort() override { setPort(previous_); }
    RecordingSoundPort(const RecordingSoundPort &) = delete;
    RecordingSoundPort &operator=(const RecordingSoundPort &) = delete;

    void play(const QString &path) override { played_.append(path); }
    const QStringList &played() const { return played_; }
    void clear() { played_.clear(); }

private:
    SoundPort *previous_;
    QStringList played_;
};

} // namespace tvsound
