#include "office/office.h"

#include "common/savefile.h"
#include "common/vberror.h"

#include <QDir>
#include <QFileInfo>
#include <QVarLengthArray>

namespace office {

namespace {

// Windows-1252 bytes 0x80-0x9F; 0 where the code page leaves the byte undefined.
constexpr char16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char toByte(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] != 0 && kHigh[i] == c)
            return char(0x80 + i);
    return '?';
}

// Appends text in Windows-1252 to out; with quoted, each '"' twice.
void appendWindows1252(QByteArray &out, QStringView text, bool quoted = false)
{
    const qsizetype start = out.size();
    out.resize(start + text.size() * (quoted ? 2 : 1));
    char *p = out.data() + start;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i; // one character outside the basic plane: one "?"
            *p++ = '?';
            continue;
        }
        const char b = toByte(c.unicode());
        *p++ = b;
        if (quoted && b == '"')
            *p++ = '"';
    }
    out.resize(p - out.constData());
}

bool needsQuotes(QStringView field)
{
    for (const QChar c : field)
        if (c == u';' || c == u'"' || c == u'\r' || c == u'\n')
            return true;
    return false;
}

} // namespace

QByteArray toWindows1252(const QString &text)
{
    QByteArray out;
    appendWindows1252(out, text);
    return out;
}

QString fromWindows1252(const QByteArray &bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if (u >= 0x80 && u <= 0x9F)
            out += kHigh[u - 0x80] ? QChar(kHigh[u - 0x80]) : QChar(QChar::ReplacementCharacter);
        else
            out += QChar(u);
    }
    return out;
}

QList<QStringList> parseDelimited(const QString &text)
{
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool inQuotes = false;
    bool open = false; // a field has begun since the last ";" or line end
    auto endRecord = [&] {
        if (open)
            record.append(field);
        records.append(record);
        record.clear();
        field.clear();
        open = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (inQuotes) {
            if (c == u'"') {
                if (i + 1 < text.size() && text.at(i + 1) == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                field += c;
            }
        } else if (c == u'"') {
            inQuotes = true;
            open = true;
        } else if (c == u';') {
            record.append(field);
            field.clear();
            open = false;
        } else if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
            ++i;
            endRecord();
        } else if (c == u'\n') {
            endRecord();
        } else {
            field += c;
            open = true;
        }
    }
    if (open || !record.isEmpty())
        endRecord();
    return records;
}

QString quoteField(const QString &field)
{
    if (!needsQuotes(field))
        return field;
    QString quoted = field;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

struct DelimitedFile::State
{
    explicit State(const QString &path) : file(path) {}
    savefile::Writer file;
    QByteArray buffer;
};

namespace {

[[noreturn]] void raise(const savefile::Writer &file, const QString &path)
{
    const QString where = QDir::toNativeSeparators(path);
    if (file.fault() == savefile::Fault::Open)
        throw vb::Error(err::PathFileAccess,
                        QStringLiteral("Fehler beim Zugriff auf Pfad/Datei: %1 (%2)").arg(where, file.errorString()));
    throw vb::Error(err::DiskFull, QStringLiteral("Datenträger voll: %1 (%2)").arg(where, file.errorString()));
}

} // namespace

DelimitedFile::DelimitedFile(const QString &path) : path_(path)
{}

DelimitedFile::~DelimitedFile() = default; // an uncommitted file is discarded, the target stays as it was

void DelimitedFile::open()
{
    const QFileInfo target(path_);
    const QString folder = target.absolutePath();
    if (!QFileInfo(folder).isDir())
        throw vb::Error(err::PathNotFound,
                        QStringLiteral("Pfad nicht gefunden: %1").arg(QDir::toNativeSeparators(folder)));
    d_ = std::make_unique<State>(target.absoluteFilePath());
    // The lists hold members' addresses: the file is its owner's alone, also when it replaces one
    // that was not.
    if (!d_->file.open(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        raise(d_->file, path_);
}

void DelimitedFile::writeRow(const QStringList &fields)
{
    QVarLengthArray<QStringView, 16> views(fields.begin(), fields.end());
    writeRow(std::span<const QStringView>(views.constData(), std::size_t(views.size())));
}

void DelimitedFile::writeRow(std::span<const QStringView> fields)
{
    if (!d_ || d_->file.fault() != savefile::Fault::None)
        return;
    // As quoteField and toWindows1252 write each field, straight into the buffer.
    QByteArray &out = d_->buffer;
    for (const QStringView f : fields) {
        if (needsQuotes(f)) {
            out += '"';
            appendWindows1252(out, f, true);
            out += '"';
        } else {
            appendWindows1252(out, f);
        }
        out += ';';
    }
    out += "\r\n";
    if (d_->buffer.size() >= 64 * 1024) {
        d_->file.write(d_->buffer); // a failure is kept and raised by commit()
        d_->buffer.resize(0);       // its room is kept for the next lines
    }
}

void DelimitedFile::commit()
{
    if (!d_)
        throw vb::Error(err::PathFileAccess, QStringLiteral("Fehler beim Zugriff auf Pfad/Datei: %1 (nicht geöffnet)")
                                                 .arg(QDir::toNativeSeparators(path_)));
    if (!d_->buffer.isEmpty()) {
        d_->file.write(d_->buffer);
        d_->buffer.clear();
    }
    if (!d_->file.commit())
        raise(d_->file, path_);
}

} // namespace office
