#pragma once
// Files for the office programs of the desktop: handing a file to the word processor or the
// spreadsheet program, and writing the semicolon-separated text files those programs read.
//
// Handing a file over
// -------------------
// The program never drives an office program step by step; it writes a finished file (a CSV
// file for the spreadsheet, an OpenDocument text for the word processor) and asks the office
// port to open it:
//
//     if (!office::Office().Open(office::Program::Spreadsheet, path))
//         ZeigeMeldung("Es ist kein Excel verfügbar !");   // the caller's own message
//
// Open returns false when no program could be started (or the file does not exist); it never
// shows a message itself, so each caller shows the one its window is meant to show. It returns
// at once: the started program runs on by itself and outlives ours.
//
// The desktop's port (DesktopOffice) starts LibreOffice when it is installed ("libreoffice" or
// "soffice" on the PATH; Writer for a text, Calc for a spreadsheet file), else the desktop's
// default program for the file (xdg-open, else Qt's QDesktopServices). Calc is given the import
// options of the files DelimitedFile writes (csvImportFilter), so it opens them without its
// import dialog and reads every cell as written; the caller names the columns that are text
// (a padded number, "2025.10"), the others are read as German numbers:
//
//     office::Office().Open(office::Program::Spreadsheet, path, {1, 4}); Tests put a recording fake
// in its place (office/fakeoffice.h), which sees the program and the file and can fail on demand.
//
// Writing a delimited text file
// -----------------------------
// DelimitedFile writes lines of fields, each field followed by ";" (the last one too), each
// line ended by CR LF, in Windows-1252 bytes:
//
//     office::DelimitedFile f(folder + "/SERI.txt");
//     f.open();                                   // vb::Error 76 when the folder is missing
//     f.writeRow({"Mitgl.-Nr", "Firma"});          // "Mitgl.-Nr;Firma;\r\n"
//     f.writeRow({"7", "Fisch & Co; Teiche"});     // "7;\"Fisch & Co; Teiche\";\r\n"
//     f.commit();                                 // the file appears under its name only now
//
// parseDelimited(fromWindows1252(bytes)) reads such a file back into its records.
//
// - A field that holds ";", a double quote, a carriage return or a line feed is enclosed in
//   double quotes, with each quote inside doubled, so that a reader never sees a column shift.
//   Other fields are written as they are (no trimming, no padding: that is the caller's part).
// - A character that Windows-1252 cannot hold is written as "?" (one per character, also for
//   characters outside the basic plane); the file stays readable.
// - The lines go to a temporary file beside the target, which commit() renames over it: a
//   failure at any point (every write, the flush and the sync are checked, see
//   common/savefile.h) leaves the old file (or none) in place, never half a file. A
//   DelimitedFile destroyed without commit() (an error on the caller's path) discards what it
//   wrote and closes the file.
// - Failures are raised as vb::Error with the runtime's file numbers: 76 "Pfad nicht gefunden"
//   (missing folder), 75 "Fehler beim Zugriff auf Pfad/Datei" (read-only folder, no rights), 61
//   "Datenträger voll" (a write or the rename failed). After a failure the object writes nothing
//   more and commit() raises the error again.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <span>

#include <functional>
#include <memory>

class QUrl;

namespace office {

// The programs a file is handed to.
enum class Program {
    WordProcessor, // an OpenDocument text (.odt)
    Spreadsheet,   // a CSV file
};

class OfficePort
{
public:
    virtual ~OfficePort() = default;
    // Starts the program on the file at path and returns at once. False when nothing could be
    // started or the file does not exist. textColumns (from 1) are the columns of a spreadsheet
    // file whose cells are text whatever they look like.
    virtual bool Open(Program program, const QString &path, const QList<int> &textColumns = {}) = 0;
};

// The desktop's programs: LibreOffice when installed, else the desktop's default for the file.
class DesktopOffice : public OfficePort
{
public:
    // The ways out of the process, replaceable for tests of the choice between them.
    struct Hooks
    {
        // Folders searched for the programs; empty: the PATH.
        QStringList searchPaths;
        // Starts a program detached; default QProcess::startDetached.
        std::function<bool(const QString &program, const QStringList &arguments)> startDetached;
        // Opens a file URL with the desktop's default; default QDesktopServices::openUrl.
        std::function<bool(const QUrl &url)> openUrl;
    };

    DesktopOffice();
    explicit DesktopOffice(Hooks hooks);
    bool Open(Program program, const QString &path, const QList<int> &textColumns = {}) override;

private:
    Hooks hooks_;
};

// The port in use (a DesktopOffice unless replaced).
OfficePort &Office();
// Installs a port (not owned); nullptr restores the desktop's. Returns the one replaced.
OfficePort *SetOffice(OfficePort *port);

// LibreOffice's import filter with its options for a file DelimitedFile writes: separator ";",
// quote '"', Windows-1252, from line 1, textColumns (from 1) as text, the other cells read by
// German rules ("150,00" is a number), e.g.
//     "Text - txt - csv (StarOffice Calc):59,34,1,1,1/2/4/2,1031"
// Given to Calc as --infilter=<this>.
QString csvImportFilter(const QList<int> &textColumns);

// Runtime error numbers raised by DelimitedFile.
namespace err {
inline constexpr int DiskFull = 61;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;
} // namespace err

// Windows-1252 bytes of text; a character the code page cannot hold becomes "?".
QByteArray toWindows1252(const QString &text);
// One field as DelimitedFile writes it (quoted when it holds ";", a quote or a line break),
// before the conversion to bytes.
QString quoteField(const QString &field);

// Text of Windows-1252 bytes (the five bytes the code page leaves undefined read as U+FFFD).
QString fromWindows1252(const QByteArray &bytes);
// The records of a delimited text as DelimitedFile writes it: ";" between fields (one after
// the last field is no further field), "..." quoting with "" for a quote inside (a line break
// inside quotes belongs to the field), records ended by CR LF or LF. Empty lines give empty
// records.
QList<QStringList> parseDelimited(const QString &text);

class DelimitedFile
{
public:
    explicit DelimitedFile(const QString &path);
    ~DelimitedFile(); // without commit(): discards the temporary file, the target is unchanged
    DelimitedFile(const DelimitedFile &) = delete;
    DelimitedFile &operator=(const DelimitedFile &) = delete;

    // Opens the temporary file beside path. Raises vb::Error (76, 75) when it cannot.
    void open();
    // One line: each field, quoted where needed, followed by ";"; then CR LF.
    void writeRow(const QStringList &fields);
    void writeRow(std::span<const QStringView> fields);
    // Writes out and renames the temporary file over path. Raises vb::Error (61, 75) when that
    // fails; the target is then unchanged.
    void commit();

    const QString &path() const { return path_; }

private:
    struct State;
    QString path_;
    std::unique_ptr<State> d_;
};

} // namespace office
