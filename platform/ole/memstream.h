#pragma once
// In-memory streams and storages.
#include "com/interfaces.h"

#include <QByteArray>

namespace ole {

// An IStream over a growable byte buffer, positioned at 0. Read past the end returns the bytes
// that are there and S_FALSE when fewer than asked; Seek before 0 gives STG_E_INVALIDFUNCTION.
com::ComPtr<IStream> createMemoryStream(const QByteArray &initial = QByteArray());
// The whole contents of a stream made by createMemoryStream (other streams: read from 0 to the end;
// the position is restored).
QByteArray streamContents(IStream *stream);
// An IStorage in memory with named streams and sub-storages (names compare case-insensitively,
// at most 31 characters).
com::ComPtr<IStorage> createMemoryStorage();

} // namespace ole
