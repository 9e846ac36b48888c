#pragma once
// Compaction and repair of the application database: close it, write a compacted copy into the
// program folder's temp/ folder, put the copy in place of the database file, open it again.
//
// The database file is never deleted: the copy replaces it by one atomic rename, and only
// after the copy was written, synced and checked. A crash at any point leaves either the old
// or the new file whole; a failure leaves the old one untouched and no copy behind. Where
// tv01.mdb is a link, the file it names is compacted and replaced in its own folder; the link
// stays.
#include <QString>

namespace modTools {

// Compacts the database; reports success or failure. A damaged database (error 3056) ends the
// program; any other failure reopens the database as it was.
void KomprimiereDatenbank();
// The same with the repair's messages. Also called by the start-up when the database could not
// be opened (it is not open then). When the database cannot be opened again afterwards, the
// program ends with a message.
void RepariereDatenbank();

// The temporary database: temp/tvtmp.mdb in the program folder.
QString Temporaerdatei();

// The two file steps, behind a port that tests replace to make a step fail.
class Dateien
{
public:
    virtual ~Dateien() = default;
    // Writes the compacted copy of quelle to ziel (which must not exist).
    virtual void Komprimiere(const QString &quelle, const QString &ziel, const QString &verbindung);
    // Puts kopie in place of datei by one atomic rename and makes the rename durable. A kopie on
    // another file system is first copied beside datei (whole, with its mode) and renamed there.
    virtual void Ersetze(const QString &kopie, const QString &datei);
};
// Installs the file steps (not owned); nullptr restores the real ones. Returns the replaced.
Dateien *setDateien(Dateien *dateien);

} // namespace modTools
