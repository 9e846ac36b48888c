#pragma once
// An office port for tests: records which program was asked to open which file (and keeps a
// copy of the file's bytes, since callers may overwrite it later), and can fail on demand. It
// puts itself in place of the port for its lifetime.
#include "office/office.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

namespace office {

class FakeOffice : public OfficePort
{
public:
    struct Call
    {
        Program program;
        QString path;
        QByteArray content; // the file as it was when handed over
        QList<int> textColumns;
    };

    FakeOffice() : previous_(SetOffice(this)) {}
    ~FakeOffice() override { SetOffice(previous_); }
    FakeOffice(const FakeOffice &) = delete;
    FakeOffice &operator=(const FakeOffice &) = delete;

    bool Open(Program program, const QString &path, const QList<int> &textColumns = {}) override
    {
        QFile f(path);
        QByteArray content;
        if (f.open(QIODevice::ReadOnly))
            content = f.readAll();
        calls.append({program, path, content, textColumns});
        return !fail;
    }

    bool fail = false; // no program can be started
    QList<Call> calls;

private:
    OfficePort *previous_;
};

} // namespace office
