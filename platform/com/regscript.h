#pragma once
// Registry scripts: the textual form component libraries register themselves with.
//
//   HKCR
//   {
//       NavrailBar.LzNavrailBar.1 = s 'Larkspire NavrailBar'
//       {
//           CLSID = s '{02587AFF-D0A5-11D2-9BB5-00A0CC3AD9E7}'
//       }
//       NoRemove CLSID
//       {
//           ForceRemove {02587AFF-D0A5-11D2-9BB5-00A0CC3AD9E7} = s 'Larkspire NavrailBar'
//           {
//               InprocServer32 = s '%MODULE%'
//               {
//                   val ThreadingModel = s 'Apartment'
//               }
//               'MiscStatus' = s '0' { '1' = s '164241' }
//           }
//       }
//   }
//
// Roots: HKCR, HKCU, HKLM, HKU or their long names. A key line is [NoRemove|ForceRemove|Delete]
// name [= type 'value'] [{ ... }]; a value line is  val name = type 'value'. Types: s (string),
// d (number: decimal, 0x hex, or quoted), b (hex bytes). Names and values may be quoted with single
// quotes ('' inside is one quote). %NAME% is replaced from the replacement map (%% is one percent).
//
// Register: keys are created and values written; ForceRemove first deletes the existing key with
// everything below it; Delete deletes the key. Unregister: NoRemove keys stay (their children are
// processed, their listed values removed); ForceRemove keys are deleted with everything below;
// other keys are deleted after their children when nothing else is left below them. Keys that
// are absent are skipped: unregistering twice succeeds. A run is one registry write: on a syntax
// error or a failed write nothing changes.
#include "com/types.h"

#include <QMap>
#include <QString>

namespace com {

// S_OK; DISP_E_EXCEPTION for a syntax error (the line and reason in the thread's error object and
// in *message); REGDB_E_WRITEREGDB / REGDB_E_READREGDB when the registry cannot be written or read.
HRESULT runRegistryScript(const QString &script, bool doRegister, const QMap<QString, QString> &replacements,
                          QString *message = nullptr);

} // namespace com
