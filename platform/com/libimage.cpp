#include "com/activation.h"

#include <QFile>

#include <dlfcn.h>
#include <elf.h>

#include <cstring>
#include <limits>

namespace com {

namespace {

#if UINTPTR_MAX > 0xFFFFFFFFu
using Ehdr = Elf64_Ehdr;
using Phdr = Elf64_Phdr;
using Shdr = Elf64_Shdr;
constexpr unsigned char kClass = ELFCLASS64;
#else
using Ehdr = Elf32_Ehdr;
using Phdr = Elf32_Phdr;
using Shdr = Elf32_Shdr;
constexpr unsigned char kClass = ELFCLASS32;
#endif

// The header of this runtime's own library: a shared object built for this machine.
bool ownHeader(Ehdr *out)
{
    static Ehdr header;
    static const bool ok = [] {
        QFile self(modulePath(reinterpret_cast<const void *>(&ownHeader)));
        return self.open(QIODevice::ReadOnly) &&
               self.read(reinterpret_cast<char *>(&header), sizeof header) == qint64(sizeof header);
    }();
    if (ok)
        *out = header;
    return ok;
}

// offset + count * size <= limit, without overflow.
bool fits(uint64_t offset, uint64_t count, uint64_t size, uint64_t limit)
{
    if (offset > limit)
        return false;
    if (size != 0 && count > (limit - offset) / size)
        return false;
    return true;
}

bool refuse(QString *why, const QString &text)
{
    if (why)
        *why = text;
    return false;
}

} // namespace

bool checkLibraryImage(const QString &path, QString *why)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(why, QStringLiteral("Die Datei kann nicht gelesen werden (%1).").arg(file.errorString()));
    const uint64_t size = uint64_t(file.size());
    Ehdr h;
    if (file.read(reinterpret_cast<char *>(&h), sizeof h) != qint64(sizeof h))
        return refuse(why, QStringLiteral("Die Datei ist zu kurz für eine Bibliothek (%1 Bytes).").arg(size));
    if (std::memcmp(h.e_ident, ELFMAG, SELFMAG) != 0)
        return refuse(why, QStringLiteral("Die Datei ist keine Bibliothek."));
    Ehdr own;
    const bool known = ownHeader(&own);
    if (h.e_ident[EI_CLASS] != kClass || (known && h.e_ident[EI_DATA] != own.e_ident[EI_DATA]) ||
        (known && h.e_machine != own.e_machine))
        return refuse(why, QStringLiteral("Die Bibliothek ist für einen anderen Rechnertyp gebaut."));
    if (h.e_type != ET_DYN)
        return refuse(why, QStringLiteral("Die Datei ist keine gemeinsam genutzte Bibliothek."));
    if (h.e_ehsize < sizeof h || h.e_phnum == 0 || h.e_phentsize != sizeof(Phdr) ||
        !fits(h.e_phoff, h.e_phnum, sizeof(Phdr), size))
        return refuse(why, QStringLiteral("Die Kopfdaten der Bibliothek sind beschädigt."));
    if (h.e_shoff != 0 && (h.e_shentsize != sizeof(Shdr) || !fits(h.e_shoff, h.e_shnum, sizeof(Shdr), size)))
        return refuse(why, QStringLiteral("Die Bibliothek ist unvollständig (%1 Bytes).").arg(size));
    // Every part the loader maps has to lie inside the file: a cut file would be mapped past its
    // end, and reading there ends the program with a bus error.
    if (!file.seek(qint64(h.e_phoff)))
        return refuse(why, QStringLiteral("Die Kopfdaten der Bibliothek sind beschädigt."));
    for (int i = 0; i < h.e_phnum; ++i) {
        Phdr p;
        if (file.read(reinterpret_cast<char *>(&p), sizeof p) != qint64(sizeof p))
            return refuse(why, QStringLiteral("Die Kopfdaten der Bibliothek sind beschädigt."));
        if (p.p_type == PT_NULL)
            continue;
        if (p.p_filesz > p.p_memsz && p.p_type == PT_LOAD)
            return refuse(why, QStringLiteral("Die Kopfdaten der Bibliothek sind beschädigt."));
        if (!fits(p.p_offset, 1, p.p_filesz, size))
            return refuse(why, QStringLiteral("Die Bibliothek ist unvollständig (%1 Bytes).").arg(size));
    }
    return true;
}

} // namespace com
