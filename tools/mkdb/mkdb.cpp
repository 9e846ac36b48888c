// mkdb <path>: creates a starter database for Torvana at path. An existing file is left alone.
#include "schema/schema.h"

#include <QFileInfo>
#include <QString>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "Aufruf: mkdb <Pfad der neuen Datenbank>\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    if (QFileInfo::exists(path)) {
        std::fprintf(stderr, "mkdb: '%s' existiert bereits und wird nicht überschrieben.\n", argv[1]);
        return 1;
    }
    try {
        schema::CreateStarterDatabase(path);
    } catch (const vb::Error &e) {
        std::fprintf(stderr, "mkdb: Die Datenbank '%s' konnte nicht angelegt werden: %s (Fehler %d)\n", argv[1],
                     e.description().toLocal8Bit().constData(), e.number());
        return 1;
    }
    std::printf("mkdb: Startdatenbank '%s' angelegt (Benutzer \"Verwalter\").\n", argv[1]);
    return 0;
}
